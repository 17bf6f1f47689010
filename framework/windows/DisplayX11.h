// The real screen on X11 as a surface (DisplayX11.cpp): nullptr when there is no X11 display.
#pragma once

#include "framework/graphics/Surface.h"

#include <functional>
#include <memory>

std::unique_ptr<TSurface> CreateX11ScreenSurface();
// The next read of an X11 screen surface grabs the screen again (no-op for other surfaces).
void MarkScreenSurfaceStale(TSurface* surface);
// Stacks a top-level window directly above owner's top-level window (its
// window manager's frame when it has one), so both stay together under
// every other program's windows. Nothing happens off X11.
void X11StackAbove(unsigned long window, unsigned long owner);

// Tells onRestack, at most once per pass of the event loop, that a managed
// top-level window was mapped or restacked (another program's window raised,
// a window manager raising a frame), while it lives.
class TX11TopLevelWatch {
public:
    virtual ~TX11TopLevelWatch() = default;
};
// nullptr when there is no X11 display.
std::unique_ptr<TX11TopLevelWatch> WatchX11TopLevels(std::function<void()> onRestack);
