// The real screen on X11 as a surface (DisplayX11.cpp): nullptr when there is no X11 display.
#pragma once

#include "framework/graphics/Surface.h"

#include <memory>

std::unique_ptr<TSurface> CreateX11ScreenSurface();
// The next read of an X11 screen surface grabs the screen again (no-op for other surfaces).
void MarkScreenSurfaceStale(TSurface* surface);
