// Qt's mouse and key events as window messages.
#pragma once

#include "framework/graphics/GdiObjects.h"
#include "framework/windows/Windows.h"

class QKeyEvent;
class QMouseEvent;

// Mouse and keyboard translation shared by every widget of the framework.
namespace EventTranslation {
// The window message for a Qt mouse event (0 for a button the framework ignores).
UINT MouseMessage(const QMouseEvent* event);
WPARAM MouseKeys(const QMouseEvent* event);
LPARAM MousePoint(const QMouseEvent* event);
// The virtual key of a Qt key (0 when there is none).
WORD VirtualKey(int qtKey);
// Sends a key press as WM_KEYDOWN (WM_SYSKEYDOWN with Alt) followed by WM_CHAR
// (WM_SYSCHAR) for a printable character. Returns false for an unmapped key.
bool SendKeyPress(HWND window, const QKeyEvent* event);
void SendKeyRelease(HWND window, const QKeyEvent* event);
} // namespace EventTranslation

