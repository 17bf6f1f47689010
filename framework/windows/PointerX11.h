// The pointer's buttons as the X server sees them (PointerX11.cpp). While a
// window manager moves or sizes a window it holds the pointer, so the program
// gets no button events and asks the server instead.
#pragma once

#include <optional>

// Whether the left button is held; nullopt when there is no X11 display.
std::optional<bool> X11LeftButtonHeld();
