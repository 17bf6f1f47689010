#include "framework/windows/EventTranslation.h"

#include <QKeyEvent>
#include <QMouseEvent>

// ---------------------------------------------------------------------------
// Event translation

namespace EventTranslation {

namespace {

struct TKeyMapping {
    int qtKey;
    WORD virtualKey;
};

// Qt keys and their virtual keys; letters and digits map to themselves.
constexpr TKeyMapping KeyTable[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},        {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Delete, VK_DELETE},
};

LPARAM KeyData(const QKeyEvent* event)
{
    return 1 | (event->modifiers().testFlag(Qt::AltModifier) ? KF_ALTDOWN_LPARAM : 0);
}

} // namespace

UINT MouseMessage(const QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    const bool middle = event->button() == Qt::MiddleButton;
    switch (event->type()) {
    case QEvent::MouseMove:
        return WM_MOUSEMOVE;
    case QEvent::MouseButtonPress:
        return left ? WM_LBUTTONDOWN : right ? WM_RBUTTONDOWN : middle ? WM_MBUTTONDOWN : 0;
    case QEvent::MouseButtonRelease:
        return left ? WM_LBUTTONUP : right ? WM_RBUTTONUP : middle ? WM_MBUTTONUP : 0;
    case QEvent::MouseButtonDblClick:
        return left ? WM_LBUTTONDBLCLK : right ? WM_RBUTTONDBLCLK : middle ? WM_MBUTTONDBLCLK : 0;
    default:
        return 0;
    }
}

WPARAM MouseKeys(const QMouseEvent* event)
{
    WPARAM keys = 0;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons.testFlag(Qt::LeftButton))
        keys |= MK_LBUTTON;
    if (buttons.testFlag(Qt::RightButton))
        keys |= MK_RBUTTON;
    if (buttons.testFlag(Qt::MiddleButton))
        keys |= MK_MBUTTON;
    if (event->modifiers().testFlag(Qt::ShiftModifier))
        keys |= MK_SHIFT;
    if (event->modifiers().testFlag(Qt::ControlModifier))
        keys |= MK_CONTROL;
    return keys;
}

LPARAM MousePoint(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    return MakeLParam(p.x(), p.y());
}

WORD VirtualKey(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<WORD>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return static_cast<WORD>(0x70 + (qtKey - Qt::Key_F1));
    for (const TKeyMapping& mapping : KeyTable)
        if (mapping.qtKey == qtKey)
            return mapping.virtualKey;
    return 0;
}

bool SendKeyPress(HWND window, const QKeyEvent* event)
{
    const WORD key = VirtualKey(event->key());
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    const LPARAM data = KeyData(event);
    if (key != 0)
        SendMessage(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, data);
    // The character follows its key, as the message loop's translation makes it;
    // control characters other than backspace stay keys only.
    const QString text = event->text();
    if (IsWindow(window) && text.size() == 1) {
        const QChar ch = text.at(0);
        const bool printable = ch.unicode() >= 0x20 && ch.unicode() < 0x7F;
        if (printable || (ch.unicode() == 0x08 && !alt))
            SendMessage(window, alt ? WM_SYSCHAR : WM_CHAR, ch.unicode(), data);
    }
    return key != 0 || !text.isEmpty();
}

void SendKeyRelease(HWND window, const QKeyEvent* event)
{
    const WORD key = VirtualKey(event->key());
    if (key == 0)
        return;
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    SendMessage(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, KeyData(event) | (LPARAM{3} << 30));
}

} // namespace EventTranslation
