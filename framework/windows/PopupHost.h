// The host of a popup window made by CreateWindowEx: a borderless top-level
// widget owned by its owner's window, shown without activation, painted from
// WM_ERASEBKGND (a device context in WParam) and WM_PAINT on its own surface,
// which starts out holding the screen under it. No window manager manages it:
// the host keeps it directly above its owner and off the screen while the
// owner is (another desktop, minimised by the manager).
#pragma once

#include "framework/windows/Windows.h"

#include <memory>
#include <string>

std::unique_ptr<TWindowHost> CreatePopupHost(HWND owner, const std::string& windowName, const TRect& bounds);
