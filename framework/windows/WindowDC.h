// A device context borrowed from a window (GetDC, GetWindowDC, GetDC(0) for the
// screen) for one scope, released on every exit:
//
//     TWindowDC frame = TWindowDC::Window(form);   // frame included
//     if (!frame) return;
//     TCanvasBinding bound(canvas, frame.get());
#pragma once

#include "framework/windows/Windows.h"

#include <utility>

class TWindowDC {
public:
    // The whole window (frame included), or the screen for window 0.
    static TWindowDC Window(HWND window) { return TWindowDC(window, GetWindowDC(window)); }
    // The client area, or the screen for window 0.
    static TWindowDC Client(HWND window) { return TWindowDC(window, GetDC(window)); }

    TWindowDC(TWindowDC&& other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    TWindowDC& operator=(TWindowDC&&) = delete;
    TWindowDC(const TWindowDC&) = delete;
    ~TWindowDC()
    {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    TWindowDC(HWND window, HDC dc) : window_(window), dc_(dc) {}
    HWND window_;
    HDC dc_;
};
