#include "framework/windows/Windows.h"

#include "framework/graphics/DeviceContext.h"
#include "framework/windows/Display.h"
#include "framework/windows/ErrorGuard.h"
#include "framework/windows/PopupHost.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QApplication>
#include <QPointer>
#include <QTimerEvent>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_map>
#include <vector>

namespace {

struct TWindowRecord {
    HWND handle = nullptr;
    TWindowHost* host = nullptr;
    std::unique_ptr<TWindowHost> ownedHost; // popups and utility windows belong to their record
    WNDPROC procedure;
    std::string className;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    HWND owner = nullptr;
    std::vector<unsigned char> extra;
    std::intptr_t userData = 0;
    bool destroyStarted = false; // DestroyWindow is running: a second call does nothing
    bool destroying = false;     // past WM_NCDESTROY: the handle no longer counts
};

struct TTimerKey {
    HWND window;
    std::uintptr_t id;
    friend bool operator<(const TTimerKey& a, const TTimerKey& b)
    {
        return a.window != b.window ? std::less<HWND>()(a.window, b.window) : a.id < b.id;
    }
};

// Posted messages and message timers are delivered by one object living in the
// GUI thread, a child of the application object so it goes with it.
class TMessageQueue : public QObject {
public:
    static constexpr QEvent::Type PostedMessageEvent = static_cast<QEvent::Type>(QEvent::User + 0x100);

    struct PostedMessage : QEvent {
        PostedMessage(HWND w, UINT m, WPARAM wp, LPARAM lp)
            : QEvent(PostedMessageEvent), window(w), msg(m), wParam(wp), lParam(lp)
        {
        }
        HWND window;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit TMessageQueue(QObject* parent) : QObject(parent) {}

    int StartTimer(TTimerKey key, UINT milliseconds)
    {
        const int qtId = startTimer(static_cast<int>(std::min<UINT>(milliseconds, 0x7FFFFFFF)), Qt::PreciseTimer);
        if (qtId != 0)
            timers_[qtId] = key;
        return qtId;
    }
    void StopTimer(int qtId)
    {
        killTimer(qtId);
        timers_.erase(qtId);
    }

protected:
    void customEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    std::unordered_map<int, TTimerKey> timers_;
};

// The one registry of windows. Handles count up and are never reused, so a
// handle of a destroyed window stays unknown.
struct TWindowRegistry {
    std::unordered_map<HWND, std::unique_ptr<TWindowRecord>> windows;
    std::uintptr_t lastHandle = 0;
    std::map<std::string, TWndClass> classes;
    std::map<TTimerKey, int> timers; // (window, id) -> Qt timer id
    QPointer<TMessageQueue> queue;
    HWND capture = nullptr;
};

TWindowRegistry& Registry()
{
    static TWindowRegistry registry;
    return registry;
}

TWindowRecord* Find(HWND window)
{
    auto& windows = Registry().windows;
    const auto it = windows.find(window);
    return it == windows.end() ? nullptr : it->second.get();
}

TMessageQueue* Queue()
{
    auto& registry = Registry();
    if (registry.queue.isNull() && QCoreApplication::instance() != nullptr)
        registry.queue = new TMessageQueue(QCoreApplication::instance());
    return registry.queue.data();
}

void TMessageQueue::customEvent(QEvent* event)
{
    if (event->type() != PostedMessageEvent)
        return;
    const auto* posted = static_cast<PostedMessage*>(event);
    if (!IsWindow(posted->window))
        return;
    RunGuarded(nullptr, [posted] { SendMessage(posted->window, posted->msg, posted->wParam, posted->lParam); });
}

void TMessageQueue::timerEvent(QTimerEvent* event)
{
    const auto it = timers_.find(event->timerId());
    if (it == timers_.end())
        return;
    const TTimerKey key = it->second;
    RunGuarded(nullptr, [key] { SendMessage(key.window, WM_TIMER, key.id, 0); });
}

void KillTimersOf(HWND window)
{
    auto& registry = Registry();
    for (auto it = registry.timers.begin(); it != registry.timers.end();) {
        if (it->first.window == window) {
            if (TMessageQueue* queue = registry.queue.data())
                queue->StopTimer(it->second);
            it = registry.timers.erase(it);
        } else {
            ++it;
        }
    }
}

// A hidden window without a widget: it only receives messages.
class TUtilityHost : public TWindowHost {
public:
    QWidget* Widget() override { return nullptr; }
};

TRect ToRect(const QRect& r) { return Bounds(r.x(), r.y(), r.width(), r.height()); }

} // namespace

// ---------------------------------------------------------------------------

WNDPROC MakeWindowProc(TWindowProcFunction function)
{
    return std::make_shared<const TWindowProcFunction>(std::move(function));
}

LRESULT TWindowHost::DefaultAction(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NCACTIVATE:
        return 1;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_SYSCOMMAND: {
        // A child window hands system keys and commands to its top-level window.
        QWidget* widget = Widget();
        if (widget != nullptr && !widget->isWindow()) {
            const HWND top = WindowFromWidget(widget->window());
            if (top != nullptr && top != window)
                return SendMessage(top, msg, wParam, lParam);
        }
        return 0;
    }
    default:
        return 0;
    }
}

TRect TWindowHost::WindowRect() const
{
    QWidget* widget = const_cast<TWindowHost*>(this)->Widget();
    if (widget == nullptr)
        return {};
    if (widget->isWindow())
        return ToRect(widget->geometry());
    return ToRect(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

void TWindowHost::SetWindowRect(const TRect& rect)
{
    if (QWidget* widget = Widget())
        widget->setGeometry(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void TWindowHost::ShowCommand(int command)
{
    QWidget* widget = Widget();
    if (widget == nullptr)
        return;
    switch (command) {
    case SW_HIDE:
        widget->hide();
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
    case SW_SHOWMINNOACTIVE:
        widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
        if (command == SW_SHOWMINNOACTIVE)
            widget->showMinimized();
        else
            widget->show();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        widget->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        widget->showMaximized();
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        widget->showNormal();
        break;
    default:
        widget->show();
        break;
    }
}

TSize TWindowHost::ClientSize() const
{
    const TRect r = WindowRect();
    return {r.Width(), r.Height()};
}

bool TWindowHost::Iconic() const
{
    QWidget* widget = const_cast<TWindowHost*>(this)->Widget();
    return widget != nullptr && widget->isMinimized();
}

bool TWindowHost::Zoomed() const
{
    QWidget* widget = const_cast<TWindowHost*>(this)->Widget();
    return widget != nullptr && widget->isMaximized();
}

void TWindowHost::SurfaceChanged()
{
    if (QWidget* widget = Widget())
        widget->update();
}

void TWindowHost::InvalidateClient(const TRect*)
{
    if (QWidget* widget = Widget())
        widget->update();
}

void TWindowHost::UpdateNow()
{
    if (QWidget* widget = Widget())
        widget->repaint();
}

// ---------------------------------------------------------------------------

HWND RegisterWindow(TWindowHost* host, WNDPROC procedure, std::string className, std::uint32_t style, HWND owner)
{
    auto& registry = Registry();
    auto record = std::make_unique<TWindowRecord>();
    record->handle = reinterpret_cast<HWND>(++registry.lastHandle);
    record->host = host;
    record->procedure = std::move(procedure);
    record->className = std::move(className);
    record->style = style;
    record->owner = owner;
    const HWND handle = record->handle;
    registry.windows.emplace(handle, std::move(record));
    return handle;
}

TWindowHost* WindowHost(HWND window)
{
    TWindowRecord* record = Find(window);
    return record != nullptr ? record->host : nullptr;
}

HWND WindowFromWidget(const QWidget* widget)
{
    if (widget == nullptr)
        return nullptr;
    for (const auto& [handle, record] : Registry().windows)
        if (!record->destroying && record->host->Widget() == widget)
            return handle;
    return nullptr;
}

WNDPROC GetWindowProc(HWND window)
{
    TWindowRecord* record = Find(window);
    return record != nullptr ? record->procedure : nullptr;
}

WNDPROC SetWindowProc(HWND window, WNDPROC procedure)
{
    TWindowRecord* record = Find(window);
    if (record == nullptr)
        return nullptr;
    std::swap(record->procedure, procedure);
    return procedure;
}

LRESULT CallWindowProc(const WNDPROC& procedure, HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!procedure || !*procedure)
        return DefWindowProc(window, msg, wParam, lParam);
    return (*procedure)(window, msg, wParam, lParam);
}

LRESULT SendMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWindowRecord* record = Find(window);
    if (record == nullptr)
        return 0;
    // Hold the procedure: it may unhook itself while it runs.
    const WNDPROC procedure = record->procedure;
    return CallWindowProc(procedure, window, msg, wParam, lParam);
}

bool PostMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessageQueue* queue = Queue();
    if (Find(window) == nullptr || queue == nullptr)
        return false;
    QCoreApplication::postEvent(queue, new TMessageQueue::PostedMessage(window, msg, wParam, lParam));
    return true;
}

LRESULT DefWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWindowRecord* record = Find(window);
    if (record == nullptr)
        return 0;
    return record->host->DefaultAction(window, msg, wParam, lParam);
}

bool IsWindow(HWND window)
{
    const TWindowRecord* record = Find(window);
    return record != nullptr && !record->destroying;
}

bool IsWindowVisible(HWND window)
{
    TWindowRecord* record = Find(window);
    if (record == nullptr)
        return false;
    QWidget* widget = record->host->Widget();
    return widget != nullptr && widget->isVisible();
}

bool DestroyWindow(HWND window)
{
    auto& registry = Registry();
    TWindowRecord* record = Find(window);
    if (record == nullptr || record->destroyStarted)
        return false;
    record->destroyStarted = true;

    // Whatever the procedures do, the handle is gone afterwards.
    struct Finish {
        HWND window;
        ~Finish()
        {
            auto& windows = Registry().windows;
            const auto it = windows.find(window);
            if (it == windows.end())
                return;
            std::unique_ptr<TWindowRecord> record = std::move(it->second);
            windows.erase(it);
            record->host->HandleDestroyed();
        }
    } finish{window};

    KillTimersOf(window);
    if (registry.capture == window)
        registry.capture = nullptr;
    SendMessage(window, WM_DESTROY);
    SendMessage(window, WM_NCDESTROY);
    record->destroying = true;

    // Popups owned by this window go with it.
    std::vector<HWND> owned;
    for (const auto& [handle, other] : registry.windows)
        if (other->owner == window && other->ownedHost)
            owned.push_back(handle);
    for (HWND handle : owned)
        DestroyWindow(handle);
    return true;
}

std::string GetWindowText(HWND window)
{
    const LRESULT length = SendMessage(window, WM_GETTEXTLENGTH);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessage(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

std::intptr_t GetWindowLong(HWND window, int index)
{
    TWindowRecord* record = Find(window);
    if (record == nullptr)
        return 0;
    switch (index) {
    case GWL_STYLE: {
        // The minimised and maximised bits follow the window's state.
        std::uint32_t style = record->style & ~(WS_MINIMIZE | WS_MAXIMIZE);
        if (record->host != nullptr && record->host->Iconic())
            style |= WS_MINIMIZE;
        else if (record->host != nullptr && record->host->Zoomed())
            style |= WS_MAXIMIZE;
        return static_cast<std::intptr_t>(style);
    }
    case GWL_EXSTYLE:
        return static_cast<std::intptr_t>(record->exStyle);
    case GWL_USERDATA:
        return record->userData;
    default:
        break;
    }
    if (index < 0 || static_cast<std::size_t>(index) + 4 > record->extra.size())
        return 0;
    std::int32_t value = 0;
    std::memcpy(&value, record->extra.data() + index, sizeof value);
    return value;
}

std::intptr_t SetWindowLong(HWND window, int index, std::intptr_t value)
{
    TWindowRecord* record = Find(window);
    if (record == nullptr)
        return 0;
    const std::intptr_t previous = GetWindowLong(window, index);
    switch (index) {
    case GWL_STYLE:
        record->style = static_cast<std::uint32_t>(value);
        return previous;
    case GWL_EXSTYLE:
        record->exStyle = static_cast<std::uint32_t>(value);
        return previous;
    case GWL_USERDATA:
        record->userData = value;
        return previous;
    default:
        break;
    }
    if (index < 0 || static_cast<std::size_t>(index) + 4 > record->extra.size())
        return 0;
    const auto stored = static_cast<std::int32_t>(value);
    std::memcpy(record->extra.data() + index, &stored, sizeof stored);
    return previous;
}

std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT milliseconds)
{
    auto& registry = Registry();
    TMessageQueue* queue = Queue();
    if (!IsWindow(window) || queue == nullptr)
        return 0;
    const TTimerKey key{window, id};
    if (const auto it = registry.timers.find(key); it != registry.timers.end()) {
        queue->StopTimer(it->second);
        registry.timers.erase(it);
    }
    const int qtId = queue->StartTimer(key, milliseconds);
    if (qtId == 0)
        return 0;
    registry.timers[key] = qtId;
    return id != 0 ? id : 1;
}

bool KillTimer(HWND window, std::uintptr_t id)
{
    auto& registry = Registry();
    const auto it = registry.timers.find(TTimerKey{window, id});
    if (it == registry.timers.end())
        return false;
    if (TMessageQueue* queue = registry.queue.data())
        queue->StopTimer(it->second);
    registry.timers.erase(it);
    return true;
}

bool GetWindowRect(HWND window, TRect& rect)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    rect = host->WindowRect();
    return true;
}

bool GetClientRect(HWND window, TRect& rect)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    const TSize size = host->ClientSize();
    rect = Rect(0, 0, size.cx, size.cy);
    return true;
}

bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    host->SetWindowRect(Bounds(x, y, width, height));
    if (repaint)
        host->InvalidateClient(nullptr);
    return true;
}

bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    QWidget* widget = host->Widget();
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        TRect r = host->WindowRect();
        if (widget != nullptr && !widget->isWindow() && widget->parentWidget() != nullptr) {
            const QPoint p = widget->parentWidget()->mapFromGlobal(QPoint(r.Left, r.Top));
            r = Bounds(p.x(), p.y(), r.Width(), r.Height());
        }
        if ((flags & SWP_NOMOVE) == 0)
            r = Bounds(x, y, r.Width(), r.Height());
        if ((flags & SWP_NOSIZE) == 0)
            r = Bounds(r.Left, r.Top, cx, cy);
        host->SetWindowRect(r);
    }
    if (widget != nullptr && insertAfter == HWND_TOPMOST && widget->isWindow() &&
        !widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        widget->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if ((flags & SWP_HIDEWINDOW) != 0)
        host->ShowCommand(SW_HIDE);
    else if ((flags & SWP_SHOWWINDOW) != 0)
        host->ShowCommand((flags & SWP_NOACTIVATE) != 0 ? SW_SHOWNOACTIVATE : SW_SHOW);
    else if (widget != nullptr && (flags & SWP_NOZORDER) == 0 && widget->isVisible() &&
             QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget->raise();
    if ((flags & SWP_NOREDRAW) == 0)
        host->InvalidateClient(nullptr);
    return true;
}

bool ShowWindow(HWND window, int command)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    const bool wasVisible = host->Widget() != nullptr && host->Widget()->isVisible();
    host->ShowCommand(command);
    return wasVisible;
}

bool IsIconic(HWND window)
{
    TWindowHost* host = WindowHost(window);
    return host != nullptr && host->Iconic();
}

bool IsZoomed(HWND window)
{
    TWindowHost* host = WindowHost(window);
    return host != nullptr && host->Zoomed();
}

bool ClientToScreen(HWND window, TPoint& point)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    const TRect outer = host->WindowRect();
    const TPoint origin = host->ClientOrigin();
    point = {point.X + outer.Left + origin.X, point.Y + outer.Top + origin.Y};
    return true;
}

bool ScreenToClient(HWND window, TPoint& point)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    const TRect outer = host->WindowRect();
    const TPoint origin = host->ClientOrigin();
    point = {point.X - outer.Left - origin.X, point.Y - outer.Top - origin.Y};
    return true;
}

bool GetWindowPlacement(HWND window, TWindowPlacement& placement)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    placement = {};
    const bool iconic = host->Iconic();
    const bool zoomed = !iconic && host->Zoomed();
    placement.showCmd = iconic ? SW_SHOWMINIMIZED : zoomed ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    if (iconic && host->RestoresToMaximized())
        placement.flags |= WPF_RESTORETOMAXIMIZED;
    if (zoomed)
        placement.ptMaxPosition = host->WindowRect().TopLeft();
    // Minimised windows have no place of their own on this desktop.
    placement.rcNormalPosition = host->NormalRect();
    return true;
}

bool SetWindowPlacement(HWND window, const TWindowPlacement& placement)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    // The restored rectangle; a minimised or maximised window keeps its place
    // until it is restored.
    host->SetNormalRect(placement.rcNormalPosition);
    QWidget* widget = host->Widget();
    // Like the classic call, a hidden window with a "show" command is shown,
    // and SW_HIDE leaves a hidden window hidden.
    if (placement.showCmd != SW_HIDE || (widget != nullptr && widget->isVisible()))
        host->ShowCommand(static_cast<int>(placement.showCmd));
    if (host->Iconic())
        host->SetRestoresToMaximized((placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
    return true;
}

bool InvalidateRect(HWND window, const TRect* rect, bool)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    host->InvalidateClient(rect);
    return true;
}

bool UpdateWindow(HWND window)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    host->UpdateNow();
    return true;
}

bool RedrawWindow(HWND window, const TRect* rect, UINT flags)
{
    TWindowHost* host = WindowHost(window);
    if (host == nullptr)
        return false;
    if ((flags & RDW_FRAME) != 0)
        host->InvalidateFrame();
    if ((flags & RDW_INVALIDATE) != 0)
        host->InvalidateClient(rect);
    if ((flags & RDW_UPDATENOW) != 0)
        host->UpdateNow();
    return true;
}

HWND SetCapture(HWND window)
{
    auto& registry = Registry();
    const HWND previous = registry.capture;
    if (!IsWindow(window))
        return previous;
    registry.capture = window;
    if (previous != nullptr && previous != window)
        SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    return previous;
}

bool ReleaseCapture()
{
    auto& registry = Registry();
    const HWND previous = registry.capture;
    registry.capture = nullptr;
    if (previous != nullptr)
        SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND GetCapture()
{
    return Registry().capture;
}

bool GetCursorPos(TPoint& point)
{
    if (const TDisplay* display = CurrentDisplay()) {
        point = display->CursorPos();
        return true;
    }
    const QPoint p = QCursor::pos();
    point = {p.x(), p.y()};
    return true;
}

HWND GetFocus()
{
    return WindowFromWidget(QApplication::focusWidget());
}

HWND SetFocus(HWND window)
{
    const HWND previous = GetFocus();
    if (TWindowHost* host = WindowHost(window))
        if (QWidget* widget = host->Widget())
            widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

HWND GetActiveWindow()
{
    return WindowFromWidget(QApplication::activeWindow());
}

bool RegisterClass(const TWndClass& windowClass)
{
    auto& classes = Registry().classes;
    if (windowClass.ClassName.empty() || classes.count(windowClass.ClassName) != 0)
        return false;
    classes.emplace(windowClass.ClassName, windowClass);
    return true;
}

bool UnregisterClass(const std::string& className)
{
    auto& registry = Registry();
    for (const auto& [handle, record] : registry.windows)
        if (record->className == className)
            return false; // a window of the class still exists
    return registry.classes.erase(className) != 0;
}

HWND AllocateHWnd(WNDPROC procedure)
{
    auto host = std::make_unique<TUtilityHost>();
    const HWND handle = RegisterWindow(host.get(), std::move(procedure), "TPUtilWindow");
    Find(handle)->ownedHost = std::move(host);
    return handle;
}

void DeallocateHWnd(HWND window)
{
    DestroyWindow(window);
}

HWND CreateWindowEx(std::uint32_t exStyle, const std::string& className, const std::string& windowName,
                    std::uint32_t style, int x, int y, int width, int height, HWND owner)
{
    auto& registry = Registry();
    const auto it = registry.classes.find(className);
    if (it == registry.classes.end() || (style & WS_CHILD) != 0)
        return nullptr;
    std::unique_ptr<TWindowHost> host = CreatePopupHost(owner, windowName, Bounds(x, y, width, height));
    const HWND handle = RegisterWindow(host.get(), it->second.WndProc, className, style, owner);
    TWindowRecord* record = Find(handle);
    record->ownedHost = std::move(host);
    record->exStyle = exStyle;
    record->extra.assign(static_cast<std::size_t>(std::max(it->second.WndExtra, 0)), 0);
    SendMessage(handle, WM_NCCREATE);
    SendMessage(handle, WM_CREATE);
    if ((style & WS_VISIBLE) != 0)
        ShowWindow(handle, SW_SHOWNOACTIVATE);
    return handle;
}

HDC GetDC(HWND window)
{
    if (window == nullptr)
        {
        TDisplay* display = CurrentDisplay();
        return display != nullptr ? CreateSurfaceDC(display->ScreenSurface()) : nullptr;
    }
    TWindowHost* host = WindowHost(window);
    TSurface* surface = host != nullptr ? host->ClientSurface() : nullptr;
    return surface != nullptr ? CreateSurfaceDC(surface) : nullptr;
}

HDC GetWindowDC(HWND window)
{
    if (window == nullptr)
        return GetDC(nullptr);
    TWindowHost* host = WindowHost(window);
    TSurface* surface = host != nullptr ? host->WindowSurface() : nullptr;
    return surface != nullptr ? CreateSurfaceDC(surface) : nullptr;
}

int ReleaseDC(HWND, HDC dc)
{
    return dc != nullptr && DeleteDC(dc) ? 1 : 0;
}
