// The display the windows live on: the primary screen's size and pixels per
// inch, the pointer, and the screen surface behind GetDC(0).
//
// The screen surface: on the offscreen platform (tests) drawing goes to a
// virtual screen image that tests read; copying from it gives what was drawn
// there. On X11 the surface copies the real screen when it is read and draws
// focus rectangles natively on the root window (XOR, across child windows),
// so a trail drawn twice leaves the screen as it was.
//
// The screen object of the controls layer owns the display and installs it at
// start; the window calls (GetSystemMetrics, GetCursorPos, GetDC(0)) read the
// installed one.
#pragma once

#include "framework/graphics/Surface.h"
#include "framework/runtime/Types.h"

#include <functional>
#include <map>
#include <memory>

class QObject;
class TX11TopLevelWatch;

class TDisplay {
public:
    TDisplay();
    ~TDisplay();
    TDisplay(const TDisplay&) = delete;
    TDisplay& operator=(const TDisplay&) = delete;

    // The primary screen in pixels.
    int Width() const;
    int Height() const;
    // Pins the size (tests of placement rules); {0, 0} unpins.
    void SetSizeOverride(TSize size) { sizeOverride_ = size; }
    // Qt's logical pixels per inch (through the canvas layer, which tests may pin).
    int PixelsPerInch() const;

    TPoint CursorPos() const;
    void SetCursorPos(TPoint point);

    // The screen's surface for GetDC(0).
    TSurface* ScreenSurface();

    // Called when the primary screen's size changes; the owner wires and unwires it.
    std::function<void()> OnSizeChanged;

    // Calls onRestack whenever another window may have come between a window
    // and the popups that stand above it (on X11: some program's managed
    // window was mapped or restacked; nothing happens elsewhere). Returns the
    // token the watcher unwires itself with before it goes.
    int WatchRestacking(std::function<void()> onRestack);
    void UnwatchRestacking(int token);

    // The offscreen platform's virtual screen reports each rectangle drawn on
    // it and each rectangle read from it (a copy from the screen), as it
    // happens: a way to watch a drawing on the screen step by step. Whoever
    // sets one clears it; the real screen reports nothing.
    std::function<void(const TRect&)> OnVirtualScreenDrawn;
    std::function<void(const TRect&)> OnVirtualScreenRead;

private:
    void Restacked();

    TSize sizeOverride_;
    std::unique_ptr<QObject> watcher_;
    std::unique_ptr<TSurface> surface_;
    std::map<int, std::function<void()>> restackWatchers_;
    int lastRestackToken_ = 0;
    std::unique_ptr<TX11TopLevelWatch> topLevels_; // while anyone watches, on X11
};

// The installed display, or nullptr before the screen object exists.
TDisplay* CurrentDisplay();
// Installs display (nullptr removes it) and returns the previous one.
TDisplay* InstallDisplay(TDisplay* display);
