// Window messages: the classic message numbers and the record that carries them
// through window procedures. WParam, LParam and the result are pointer-sized, so
// a pointer travels in LParam as on a 64-bit desktop.
#pragma once

#include "framework/runtime/Types.h"

#include <cstdint>

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// A window handle: opaque, 0 (nullptr) means none. Handles are looked up in one
// registry, so a handle of a destroyed window is simply unknown.
struct HWND__;
using HWND = HWND__*;

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Packing of two 16-bit values into one parameter, as the classic messages do.
constexpr LPARAM MakeLParam(int low, int high)
{
    return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(low)) |
                               (static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16));
}
constexpr WPARAM MakeWParam(int low, int high) { return static_cast<WPARAM>(MakeLParam(low, high)); }
constexpr int LoWord(std::uintptr_t v) { return static_cast<int>(v & 0xFFFF); }
constexpr int HiWord(std::uintptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); }
// Signed 16-bit halves: screen coordinates left of or above the origin.
constexpr int LoSWord(std::uintptr_t v) { return static_cast<std::int16_t>(v & 0xFFFF); }
constexpr int HiSWord(std::uintptr_t v) { return static_cast<std::int16_t>((v >> 16) & 0xFFFF); }

// Window messages (classic values).
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_WININICHANGE = 0x001A;
inline constexpr UINT WM_DEVMODECHANGE = 0x001B;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_FONTCHANGE = 0x001D;
inline constexpr UINT WM_TIMECHANGE = 0x001E;
inline constexpr UINT WM_CANCELMODE = 0x001F;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_PAINTICON = 0x0026;
inline constexpr UINT WM_SPOOLERSTATUS = 0x002A;
inline constexpr UINT WM_COMPACTING = 0x0041;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_POWER = 0x0048;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_GETICON = 0x007F;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_GETDLGCODE = 0x0087;
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCLBUTTONUP = 0x00A2;
inline constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr UINT WM_NCRBUTTONUP = 0x00A5;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_SIZING = 0x0214;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_MOVING = 0x0216;
inline constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
inline constexpr UINT WM_EXITSIZEMOVE = 0x0232;
inline constexpr UINT WM_DROPFILES = 0x0233;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_USER = 0x0400;

// Notifications between controls of the framework (from 0xB000, above WM_USER
// and below the effect library's own numbers).
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_HITTEST = CM_BASE + 10;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 25;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 26;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 29;
inline constexpr UINT CM_HINTSHOW = CM_BASE + 48;

// Hit-test codes answered to WM_NCHITTEST.
inline constexpr int HTERROR = -2;
inline constexpr int HTTRANSPARENT = -1;
inline constexpr int HTNOWHERE = 0;
inline constexpr int HTCLIENT = 1;
inline constexpr int HTCAPTION = 2;
inline constexpr int HTSYSMENU = 3;
inline constexpr int HTMINBUTTON = 8;
inline constexpr int HTMAXBUTTON = 9;
inline constexpr int HTLEFT = 10;
inline constexpr int HTRIGHT = 11;
inline constexpr int HTTOP = 12;
inline constexpr int HTTOPLEFT = 13;
inline constexpr int HTTOPRIGHT = 14;
inline constexpr int HTBOTTOM = 15;
inline constexpr int HTBOTTOMLEFT = 16;
inline constexpr int HTBOTTOMRIGHT = 17;
inline constexpr int HTBORDER = 18;
inline constexpr int HTCLOSE = 20;

// The edge WM_SIZING reports (WParam): the sizing border's hit-test code less 9.
inline constexpr int WMSZ_LEFT = 1;
inline constexpr int WMSZ_RIGHT = 2;
inline constexpr int WMSZ_TOP = 3;
inline constexpr int WMSZ_TOPLEFT = 4;
inline constexpr int WMSZ_TOPRIGHT = 5;
inline constexpr int WMSZ_BOTTOM = 6;
inline constexpr int WMSZ_BOTTOMLEFT = 7;
inline constexpr int WMSZ_BOTTOMRIGHT = 8;

// WM_SIZE kinds.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;
inline constexpr WPARAM SIZE_MAXSHOW = 3;
inline constexpr WPARAM SIZE_MAXHIDE = 4;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// WM_ACTIVATE states (low word of WParam).
inline constexpr int WA_INACTIVE = 0;
inline constexpr int WA_ACTIVE = 1;
inline constexpr int WA_CLICKACTIVE = 2;

// WM_SYSCOMMAND commands (the low four bits are the system's own).
inline constexpr WPARAM SC_SIZE = 0xF000;
inline constexpr WPARAM SC_MOVE = 0xF010;
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_MOUSEMENU = 0xF090;
inline constexpr WPARAM SC_KEYMENU = 0xF100;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// WM_GETDLGCODE answers: what keys a control wants for itself.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;
inline constexpr LRESULT DLGC_BUTTON = 0x2000;

// Modifier state carried in the WParam of mouse messages.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual key codes used by the dialog manager and the controls.
inline constexpr WPARAM VK_BACK = 0x08;
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_SHIFT = 0x10;
inline constexpr WPARAM VK_CONTROL = 0x11;
inline constexpr WPARAM VK_MENU = 0x12;
inline constexpr WPARAM VK_ESCAPE = 0x1B;
inline constexpr WPARAM VK_SPACE = 0x20;
inline constexpr WPARAM VK_PRIOR = 0x21;
inline constexpr WPARAM VK_NEXT = 0x22;
inline constexpr WPARAM VK_END = 0x23;
inline constexpr WPARAM VK_HOME = 0x24;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;
inline constexpr WPARAM VK_DELETE = 0x2E;
inline constexpr WPARAM VK_F4 = 0x73;

// Bit 29 of a key message's LParam: Alt was held (WM_SYSKEYDOWN, WM_SYSCHAR).
constexpr LPARAM KF_ALTDOWN_LPARAM = LPARAM{1} << 29;

// Window-long indexes; non-negative offsets address a window's extra bytes.
inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_USERDATA = -21;

// Window styles the framework understands.
inline constexpr std::uint32_t WS_POPUP = 0x80000000u;
inline constexpr std::uint32_t WS_CHILD = 0x40000000u;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000u;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000u;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000u;
inline constexpr std::uint32_t WS_BORDER = 0x00800000u;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000u;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000u;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000u;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000u;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000u;
inline constexpr std::uint32_t WS_MAXIMIZE = 0x01000000u;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000u;
inline constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001u;
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008u;
inline constexpr std::uint32_t WS_EX_CONTEXTHELP = 0x00000400u;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080u;
inline constexpr std::uint32_t WS_EX_NOACTIVATE = 0x08000000u;

// SetWindowPos flags and insert-after values.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

// RedrawWindow flags.
inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_ERASE = 0x0004;
inline constexpr UINT RDW_FRAME = 0x0400;
inline constexpr UINT RDW_UPDATENOW = 0x0100;

struct TWindowPos {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

// WM_GETMINMAXINFO's record (at LParam).
struct TMinMaxInfo {
    TPoint ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};
