// Windows, their handles and procedures, messages, timers, capture and the
// window-level calls (placement, showing, device contexts). Every window — a form,
// a windowed control, a popup, a hidden utility window — has a handle and a
// current window procedure; Qt events reach the program as messages sent through
// that procedure, so a component that subclasses a window sees them first.
#pragma once

#include "framework/windows/Cursors.h"
#include "framework/windows/Messages.h"
#include "framework/windows/SystemMetrics.h"
#include "framework/runtime/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWidget;
class TObject;
class TSurface;
class TDeviceContext;
using HDC = TDeviceContext*;

// ---------------------------------------------------------------------------
// Window procedures

using TWindowProcFunction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// A window procedure is a shared callable: whoever replaces a window's procedure
// keeps the previous one alive, calls it with CallWindowProc and puts exactly
// that object back when it unhooks. Procedures compare by identity.
using WNDPROC = std::shared_ptr<const TWindowProcFunction>;

WNDPROC MakeWindowProc(TWindowProcFunction function);

// ---------------------------------------------------------------------------
// The framework's side of a window

// What the window layer needs from the object behind a window (a form's frame,
// a control's widget, a popup, a utility window). Windows.cpp keeps the records
// and routes the calls below to the host.
class TWindowHost {
public:
    virtual ~TWindowHost() = default;

    // The Qt widget of the window; nullptr for a message-only (utility) window.
    virtual QWidget* Widget() = 0;

    // DefWindowProc's work for this kind of window. The base answers what every
    // window does (WM_CLOSE destroys the window, WM_ERASEBKGND is done, child
    // windows hand system keys to their top-level window); forms add the frame.
    virtual LRESULT DefaultAction(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    // The window is being destroyed: its handle has just become invalid.
    virtual void HandleDestroyed() {}

    // Placement. The defaults work on Widget(). WindowRect is in screen pixels;
    // SetWindowRect takes the parent's client coordinates for a child window and
    // screen pixels for a top-level one, as MoveWindow does.
    virtual TRect WindowRect() const;
    virtual void SetWindowRect(const TRect& rect);
    virtual void ShowCommand(int command);
    virtual bool Iconic() const;
    virtual bool Zoomed() const;
    virtual TSize ClientSize() const;
    virtual TRect NormalRect() const { return WindowRect(); }
    virtual void SetNormalRect(const TRect& rect) { SetWindowRect(rect); }
    // Whether a minimised window comes back maximised when it is restored.
    virtual bool RestoresToMaximized() const { return false; }
    virtual void SetRestoresToMaximized(bool) {}

    // Retained pixels. The window surface covers the whole window (frame
    // included); the client surface covers the client area, which starts at
    // ClientOrigin() in window coordinates. Either may be the same surface.
    virtual TSurface* WindowSurface() { return nullptr; }
    virtual TSurface* ClientSurface() { return WindowSurface(); }
    virtual TPoint ClientOrigin() const { return {}; }
    // Drawing outside a paint ended (a DC was released): show the retained pixels.
    virtual void SurfaceChanged();
    // Mark (part of) the client invalid so the next paint sends WM_PAINT; frame
    // true also redraws the frame (WM_NCPAINT).
    virtual void InvalidateClient(const TRect* rect);
    virtual void InvalidateFrame() {}
    virtual void UpdateNow();
};

// Registers a window for host with procedure as its current procedure and
// returns its new handle. The host outlives the handle; it calls DestroyWindow
// (or ForgetWindow) before it goes.
HWND RegisterWindow(TWindowHost* host, WNDPROC procedure, std::string className = {},
                    std::uint32_t style = 0, HWND owner = nullptr);

// The host of a window, or nullptr for an unknown handle.
TWindowHost* WindowHost(HWND window);
// The handle registered for host's widget, or nullptr.
HWND WindowFromWidget(const QWidget* widget);

// ---------------------------------------------------------------------------
// The classic calls

WNDPROC GetWindowProc(HWND window);
// Installs procedure and returns the one it replaces (nullptr for an unknown window).
WNDPROC SetWindowProc(HWND window, WNDPROC procedure);
LRESULT CallWindowProc(const WNDPROC& procedure, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// Sends through the window's current procedure and returns its result; 0 for an unknown window.
LRESULT SendMessage(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues the message; it is delivered later through the procedure, inside the
// application's guard, if the window still exists. False for an unknown window.
bool PostMessage(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// The framework's default processing (see TWindowHost::DefaultAction).
LRESULT DefWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

// The window's text as its procedure answers WM_GETTEXTLENGTH and WM_GETTEXT,
// so a hook that answers them is obeyed; empty for an unknown window.
std::string GetWindowText(HWND window);

bool IsWindow(HWND window);
bool IsWindowVisible(HWND window);
// Sends WM_DESTROY and WM_NCDESTROY, stops the window's timers, forgets the
// handle, then tells the host. False for an unknown window or one already going.
bool DestroyWindow(HWND window);

// Window-long values: GWL_STYLE, GWL_EXSTYLE, GWL_USERDATA, or an offset into
// the extra bytes of a registered class (4-byte values). 0 for anything else;
// the procedure (GWL_WNDPROC) is reached with GetWindowProc/SetWindowProc.
std::intptr_t GetWindowLong(HWND window, int index);
std::intptr_t SetWindowLong(HWND window, int index, std::intptr_t value);

// Message timers: every Interval milliseconds WM_TIMER (WParam = id) goes through
// the window's procedure inside the application's guard. Setting an existing id
// again restarts it with the new interval. 0 (failure) for an unknown window.
std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT milliseconds);
bool KillTimer(HWND window, std::uintptr_t id);

// Placement and state.
bool GetWindowRect(HWND window, TRect& rect);
bool GetClientRect(HWND window, TRect& rect);
bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint = true);
bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool ShowWindow(HWND window, int command);
bool IsIconic(HWND window);
bool IsZoomed(HWND window);
bool ClientToScreen(HWND window, TPoint& point);
bool ScreenToClient(HWND window, TPoint& point);

// TWindowPlacement::flags: a minimised window comes back maximised.
inline constexpr UINT WPF_RESTORETOMAXIMIZED = 0x0002;

struct TWindowPlacement {
    UINT flags = 0;
    UINT showCmd = SW_SHOWNORMAL;
    TPoint ptMinPosition{-1, -1};
    TPoint ptMaxPosition{-1, -1};
    TRect rcNormalPosition; // outer rectangle of the restored window
};
bool GetWindowPlacement(HWND window, TWindowPlacement& placement);
bool SetWindowPlacement(HWND window, const TWindowPlacement& placement);

// Repainting.
bool InvalidateRect(HWND window, const TRect* rect, bool erase);
bool UpdateWindow(HWND window);
bool RedrawWindow(HWND window, const TRect* rect, UINT flags);

// Device contexts on a window's retained surface, valid outside paint events
// until ReleaseDC. GetDC covers the client area, GetWindowDC the whole window
// (frame included). For window 0 both return the screen's device context.
// nullptr for an unknown window.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

// Mouse capture: while a window holds it, the framework routes the mouse to it.
HWND SetCapture(HWND window);
bool ReleaseCapture();
HWND GetCapture();
bool GetCursorPos(TPoint& point);

// Focus and activation.
HWND GetFocus();
HWND SetFocus(HWND window);
HWND GetActiveWindow();

// ---------------------------------------------------------------------------
// Window classes and popup windows

struct TWndClass {
    std::string ClassName;
    WNDPROC WndProc;
    int WndExtra = 0;   // bytes of per-window data for GetWindowLong/SetWindowLong
    UINT Style = 0;
    TCursor Cursor = crDefault; // the pointer over the class's windows
};
bool RegisterClass(const TWndClass& windowClass);
bool UnregisterClass(const std::string& className);

// Creates a window of a registered class. Only what the program uses exists:
// WS_POPUP windows (borderless top-level windows owned by owner, shown without
// activation, painted from WM_ERASEBKGND and WM_PAINT on their own surface).
// Created hidden unless style has WS_VISIBLE. nullptr for an unknown class.
HWND CreateWindowEx(std::uint32_t exStyle, const std::string& className, const std::string& windowName,
                    std::uint32_t style, int x, int y, int width, int height, HWND owner);

// A hidden message-only window whose procedure is procedure (for timers).
HWND AllocateHWnd(WNDPROC procedure);
void DeallocateHWnd(HWND window);
