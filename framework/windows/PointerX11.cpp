#include "framework/windows/PointerX11.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

std::optional<bool> X11LeftButtonHeld()
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr)
        return std::nullopt;
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask) == 0)
        return std::nullopt;
    return (mask & Button1Mask) != 0;
}
