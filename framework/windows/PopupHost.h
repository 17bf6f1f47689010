// The host of a popup window made by CreateWindowEx: a borderless top-level
// widget owned by its owner's window, shown without activation, painted from
// WM_ERASEBKGND (a device context in WParam) and WM_PAINT on its own surface.
#pragma once

#include "framework/windows/Windows.h"

#include <memory>
#include <string>

std::unique_ptr<TWindowHost> CreatePopupHost(HWND owner, const std::string& windowName, const TRect& bounds);
