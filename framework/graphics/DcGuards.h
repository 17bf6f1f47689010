// Scope guards for device-context and canvas state. Each takes what a piece of
// drawing borrows and gives it back when the scope ends, however it ends
// (a return, an exception from an owner-draw event):
//
//     TOwnedDC memory(CreateCompatibleDC(dc));        // deleted on exit
//     TSavedDCState saved(dc);                        // SaveDC now, RestoreDC on exit
//     TSelectedObject pen(dc, CreatePen(...), true);  // selected now; old one back, new one deleted
//     TCanvasBinding bound(canvas, dc);               // canvas draws on dc until the scope ends
//     TOwnedObject region(CreateRectRgn(...));        // deleted on exit
#pragma once

#include "framework/graphics/Canvas.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/graphics/GdiObjects.h"

#include <utility>

// A device context this scope created (CreateCompatibleDC, CreateSurfaceDC): deleted on exit.
class TOwnedDC {
public:
    explicit TOwnedDC(HDC dc) : dc_(dc) {}
    ~TOwnedDC()
    {
        if (dc_ != nullptr)
            DeleteDC(dc_);
    }
    TOwnedDC(const TOwnedDC&) = delete;
    TOwnedDC& operator=(const TOwnedDC&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// The whole state of a device context (objects, colours, modes, clip), saved
// now and restored on exit.
class TSavedDCState {
public:
    explicit TSavedDCState(HDC dc) : dc_(dc), level_(dc != nullptr ? SaveDC(dc) : 0) {}
    ~TSavedDCState()
    {
        if (level_ != 0)
            RestoreDC(dc_, level_);
    }
    TSavedDCState(const TSavedDCState&) = delete;
    TSavedDCState& operator=(const TSavedDCState&) = delete;

private:
    HDC dc_;
    int level_;
};

// An object selected into a device context for this scope: the one it replaced
// is selected back on exit, and, when owned, the object is then deleted.
class TSelectedObject {
public:
    TSelectedObject(HDC dc, HGDIOBJ object, bool owned)
        : dc_(dc), object_(object), owned_(owned), previous_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr)
    {
    }
    ~TSelectedObject()
    {
        if (previous_ != nullptr)
            SelectObject(dc_, previous_);
        if (owned_ && object_ != nullptr)
            DeleteObject(object_);
    }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    bool owned_;
    HGDIOBJ previous_;
};

// A GDI object this scope created and does not select (a palette, a region):
// deleted on exit.
class TOwnedObject {
public:
    explicit TOwnedObject(HGDIOBJ object) : object_(object) {}
    ~TOwnedObject()
    {
        if (object_ != nullptr)
            DeleteObject(object_);
    }
    TOwnedObject(const TOwnedObject&) = delete;
    TOwnedObject& operator=(const TOwnedObject&) = delete;

private:
    HGDIOBJ object_;
};

// A canvas drawing on a borrowed device context for this scope; detached on
// exit, so the canvas never keeps a handle that is about to go.
class TCanvasBinding {
public:
    TCanvasBinding(TCanvas& canvas, HDC dc) : canvas_(canvas), previous_(canvas.HandleAllocated() ? canvas.Handle() : nullptr)
    {
        canvas_.SetHandle(dc);
    }
    ~TCanvasBinding() { canvas_.SetHandle(previous_); }
    TCanvasBinding(const TCanvasBinding&) = delete;
    TCanvasBinding& operator=(const TCanvasBinding&) = delete;

private:
    TCanvas& canvas_;
    HDC previous_;
};
