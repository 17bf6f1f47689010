#include "framework/controls/FormHost.h"

#include "framework/controls/FrameTracking.h"
#include "framework/controls/Screen.h"
#include "framework/runtime/ScopeExit.h"
#include "framework/windows/PointerTrack.h"

#include <algorithm>
#include <QAction>
#include <QTimer>
#include <QWindow>

// ---------------------------------------------------------------------------
// DefWindowProc for a form: the frame's default actions. One switch hands
// each message to its handler; a message the frame does not know gets what
// every window gets.

LRESULT TFormBinding::DefaultAction(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const TPoint screen{LoSWord(static_cast<std::uintptr_t>(lParam)), HiSWord(static_cast<std::uintptr_t>(lParam))};
    switch (msg) {
    case WM_NCPAINT:
        PaintFrameNow();
        return 0;
    case WM_NCACTIVATE:
        return NonClientActivate(wParam);
    case WM_NCHITTEST:
        return HitTest(screen);
    case WM_NCLBUTTONDOWN:
        return NonClientButtonDown(static_cast<UINT>(wParam), screen);
    case WM_NCMOUSEMOVE:
        NonClientMouseMove(screen);
        return 0;
    case WM_NCLBUTTONUP:
        NonClientButtonUp();
        return 0;
    case WM_NCLBUTTONDBLCLK:
        NonClientDoubleClick(window, static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_NCRBUTTONUP:
        if (wParam == HTCAPTION || wParam == HTSYSMENU)
            ShowSystemMenu(screen);
        return 0;
    case WM_SYSCOMMAND:
        SystemCommand(window, wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
        SystemKeyDown(window, wParam);
        return 0;
    case WM_SYSCHAR:
        SystemChar(window, wParam);
        return 0;
    case WM_GETMINMAXINFO:
        // The sender filled in the system's defaults before the hooks saw it.
        return 0;
    default:
        return TWindowHost::DefaultAction(window, msg, wParam, lParam);
    }
}

namespace {

int HitOf(TCaptionButton button)
{
    return button == cbClose ? HTCLOSE : button == cbMaximize ? HTMAXBUTTON : HTMINBUTTON;
}

} // namespace

int TFormBinding::HitTest(TPoint screen) const
{
    const TSize size{form_->Width(), form_->Height()};
    return FrameHitTest(FrameGeometry(size, form_->FrameStyle()), form_->FrameStyle(), size,
                        {screen.X - form_->Left(), screen.Y - form_->Top()});
}

// The caption redraws active or inactive; returning 1 lets the change happen.
LRESULT TFormBinding::NonClientActivate(WPARAM active)
{
    ncActive_ = active != 0;
    PaintFrameNow();
    return 1;
}

LRESULT TFormBinding::NonClientButtonDown(UINT hit, TPoint screen)
{
    const HWND window = Handle();
    switch (hit) {
    case HTCAPTION:
        if (form_->WindowState() != wsMaximized)
            TrackMoveSize(HTCAPTION, screen);
        return 0;
    case HTSYSMENU:
        SendMessage(window, WM_SYSCOMMAND, SC_MOUSEMENU, MakeLParam(screen.X, screen.Y));
        return 0;
    case HTCLOSE:
    case HTMAXBUTTON:
    case HTMINBUTTON: {
        const TCaptionButton button = CaptionButtonFromHit(static_cast<int>(hit));
        if ((button == cbMaximize && !form_->BorderIcons().Contains(biMaximize)) ||
            (button == cbMinimize && !form_->BorderIcons().Contains(biMinimize)))
            return 0;
        press_ = {button, true};
        SendMessage(window, WM_NCPAINT, 1, 0);
        return 0;
    }
    default:
        if (IsSizingHit(static_cast<int>(hit)) && form_->WindowState() == wsNormal)
            TrackMoveSize(static_cast<int>(hit), screen);
        return 0;
    }
}

void TFormBinding::NonClientMouseMove(TPoint screen)
{
    SetFrameCursor(HitTest(screen));
    if (press_.Button == cbNone)
        return;
    const bool inside = HitTest(screen) == HitOf(press_.Button);
    if (inside != press_.Down) {
        press_.Down = inside;
        SendMessage(Handle(), WM_NCPAINT, 1, 0);
    }
}

void TFormBinding::NonClientButtonUp()
{
    if (press_.Button == cbNone)
        return;
    const TCaptionButton button = press_.Button;
    const bool released = press_.Down;
    press_ = {};
    const HWND window = Handle();
    SendMessage(window, WM_NCPAINT, 1, 0);
    if (!released)
        return;
    switch (button) {
    case cbClose:
        SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case cbMaximize:
        SendMessage(window, WM_SYSCOMMAND, form_->WindowState() == wsMaximized ? SC_RESTORE : SC_MAXIMIZE, 0);
        break;
    case cbMinimize:
        SendMessage(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case cbNone:
        break;
    }
}

// Over a sizing border the pointer shows which way the window will grow.
void TFormBinding::SetFrameCursor(int hit)
{
    if (window_.isNull())
        return;
    switch (hit) {
    case HTLEFT:
    case HTRIGHT:
        window_->setCursor(Qt::SizeHorCursor);
        return;
    case HTTOP:
    case HTBOTTOM:
        window_->setCursor(Qt::SizeVerCursor);
        return;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        window_->setCursor(Qt::SizeFDiagCursor);
        return;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        window_->setCursor(Qt::SizeBDiagCursor);
        return;
    default:
        window_->unsetCursor();
        return;
    }
}

namespace {

Qt::Edges QtEdgesOf(int hit)
{
    switch (hit) {
    case HTLEFT:
        return Qt::LeftEdge;
    case HTRIGHT:
        return Qt::RightEdge;
    case HTTOP:
        return Qt::TopEdge;
    case HTBOTTOM:
        return Qt::BottomEdge;
    case HTTOPLEFT:
        return Qt::TopEdge | Qt::LeftEdge;
    case HTTOPRIGHT:
        return Qt::TopEdge | Qt::RightEdge;
    case HTBOTTOMLEFT:
        return Qt::BottomEdge | Qt::LeftEdge;
    case HTBOTTOMRIGHT:
        return Qt::BottomEdge | Qt::RightEdge;
    default:
        return {};
    }
}

} // namespace

// The classic loop: WM_ENTERSIZEMOVE, the pointer followed until the button
// comes up, then the window told once where it ended up, WM_EXITSIZEMOVE.
// While the button is held only WM_MOVING and WM_SIZING report the steps (a
// procedure may change the rectangle), as the classic desktop does when it
// drags an outline; with a window manager the manager moves or sizes the
// window and enforces the track limits, and the loop waits for the release.
void TFormBinding::TrackMoveSize(int hit, TPoint cursor)
{
    if (window_.isNull() || tracking_)
        return;
    const HWND window = Handle();
    const bool sizing = hit != HTCAPTION;
    TMinMaxInfo limits;
    if (sizing) {
        FillMinMaxInfo(&limits);
        SendMessage(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    }
    const TRect start = form_->BoundsRect();
    SendMessage(window, WM_ENTERSIZEMOVE);
    if (window_.isNull())
        return;

    tracking_ = true;
    TScopeExit stopTracking([this] { tracking_ = false; });
    if (sizing) {
        window_->setMinimumSize(std::max(limits.ptMinTrackSize.X, 1), std::max(limits.ptMinTrackSize.Y, 1));
        window_->setMaximumSize(std::clamp(limits.ptMaxTrackSize.X, 1, QWIDGETSIZE_MAX),
                                std::clamp(limits.ptMaxTrackSize.Y, 1, QWIDGETSIZE_MAX));
    }
    QPointer<TFormWindow> widget = window_;
    TScopeExit freeLimits([widget, sizing] {
        if (!sizing || widget.isNull())
            return;
        widget->setMinimumSize(0, 0);
        widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    });

    QWindow* native = window_->windowHandle();
    const bool managed = native != nullptr && (sizing ? native->startSystemResize(QtEdgesOf(hit)) : native->startSystemMove());
    const TTrackEnd end = managed ? AwaitRelease(window_)
                                  : FollowPointer(window_, [&](TPoint p) {
                                        FollowTrack(hit, start, {p.X - cursor.X, p.Y - cursor.Y}, limits);
                                    });
    if (window_.isNull())
        return;
    if (end.Cancelled && !managed)
        window_->setGeometry(start.Left, start.Top, start.Width(), start.Height());
    tracking_ = false;
    EndTrack(start);
    SendMessage(window, WM_EXITSIZEMOVE);
    if (!end.Cancelled)
        trackRelease_ = end.Release;
    // A window manager gives the keyboard back when it lets the pointer go:
    // whatever the activation is once that has arrived is delivered then.
    // The window that was active before the move is active after it.
    if (managed && !window_.isNull()) {
        if (deliveredActive_)
            window_->activateWindow();
        QTimer::singleShot(100, window_.data(), [this] { DeliverActivation(); });
    }
}

void TFormBinding::FollowTrack(int hit, const TRect& start, TPoint delta, const TMinMaxInfo& limits)
{
    const HWND window = Handle();
    TRect r;
    if (hit == HTCAPTION) {
        r = OffsetRect(start, delta.X, delta.Y);
        SendMessage(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        r = Bounds(r.Left, r.Top, start.Width(), start.Height());
    } else {
        r = TrackedRect(hit, start, delta, limits.ptMinTrackSize, limits.ptMaxTrackSize);
        SendMessage(window, WM_SIZING, static_cast<WPARAM>(SizingEdge(hit)), reinterpret_cast<LPARAM>(&r));
        r = LimitTrackedRect(hit, r, limits.ptMinTrackSize, limits.ptMaxTrackSize);
    }
    if (!window_.isNull())
        window_->setGeometry(r.Left, r.Top, std::max(r.Width(), 1), std::max(r.Height(), 1));
}

// The end of a loop is one move or size of the window: asked first
// (WM_WINDOWPOSCHANGING may keep the old place or size), then reported.
void TFormBinding::EndTrack(const TRect& start)
{
    if (window_.isNull())
        return;
    const QRect ended = window_->geometry();
    const TRect now = Bounds(ended.x(), ended.y(), ended.width(), ended.height());
    TRect agreed = now;
    if (ChangeFlags(start, now) != (SWP_NOMOVE | SWP_NOSIZE)) {
        TWindowPos position{Handle(), nullptr, now.Left, now.Top, now.Width(), now.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE | ChangeFlags(start, now)};
        SendMessage(Handle(), WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
        agreed = AgreedRect(position, start);
    }
    if (window_.isNull())
        return;
    if (agreed != now)
        window_->setGeometry(agreed.Left, agreed.Top, std::max(agreed.Width(), 1), std::max(agreed.Height(), 1));
    TakeBounds(window_->geometry());
    ReportSize();
    ReportMove();
}

void TFormBinding::ShowCommand(int command)
{
    switch (command) {
    case SW_HIDE:
        form_->SetVisible(false);
        return;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        Minimize();
        return;
    case SW_MAXIMIZE:
        Maximize();
        return;
    case SW_RESTORE:
        Restore();
        return;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        if (!window_.isNull())
            window_->setAttribute(Qt::WA_ShowWithoutActivating, true);
        form_->SetVisible(true);
        if (!window_.isNull())
            window_->setAttribute(Qt::WA_ShowWithoutActivating, false);
        return;
    default:
        if (form_->WindowState() != wsNormal && command == SW_SHOWNORMAL)
            Restore();
        form_->SetVisible(true);
        return;
    }
}

void TFormBinding::Maximize()
{
    if (form_->WindowState() == wsMaximized)
        return;
    if (form_->WindowState() == wsMinimized && !window_.isNull())
        window_->showNormal();
    if (form_->WindowState() == wsNormal)
        normalRect_ = form_->BoundsRect();
    const TRect maximized = MaximizedBounds();
    stateChanging_ = true;
    form_->windowState_ = wsMaximized;
    form_->SetBoundsRect(maximized);
    stateChanging_ = false;
    SendMessage(Handle(), WM_NCPAINT, 1, 0);
    SendSize();
}

void TFormBinding::Restore()
{
    const TWindowState state = form_->WindowState();
    if (state == wsNormal)
        return;
    stateChanging_ = true;
    if (state == wsMinimized) {
        if (!window_.isNull())
            window_->showNormal();
        form_->windowState_ = stateBeforeMinimize_;
        // Back where it was, or where a placement set meanwhile says; told to
        // come back maximised, maximised where it would be maximised now.
        form_->SetBoundsRect(stateBeforeMinimize_ == wsMaximized ? MaximizedBounds() : normalRect_);
    } else {
        form_->windowState_ = wsNormal;
        form_->SetBounds(normalRect_.Left, normalRect_.Top, normalRect_.Width(), normalRect_.Height());
    }
    stateChanging_ = false;
    SendMessage(Handle(), WM_NCPAINT, 1, 0);
    SendSize();
}

// Where a maximised window lies: the system's defaults, as the procedures
// changed them, the size kept within their track limits.
TRect TFormBinding::MaximizedBounds()
{
    TMinMaxInfo info;
    FillMinMaxInfo(&info);
    SendMessage(Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const int width = std::clamp(info.ptMaxSize.X, info.ptMinTrackSize.X, std::max(info.ptMinTrackSize.X, info.ptMaxTrackSize.X));
    const int height = std::clamp(info.ptMaxSize.Y, info.ptMinTrackSize.Y, std::max(info.ptMinTrackSize.Y, info.ptMaxTrackSize.Y));
    return Bounds(info.ptMaxPosition.X, info.ptMaxPosition.Y, width, height);
}

void TFormBinding::Minimize()
{
    if (form_->WindowState() == wsMinimized)
        return;
    stateBeforeMinimize_ = form_->WindowState();
    if (stateBeforeMinimize_ == wsNormal)
        normalRect_ = form_->BoundsRect();
    stateChanging_ = true;
    form_->windowState_ = wsMinimized;
    if (!window_.isNull() && window_->isVisible())
        window_->showMinimized();
    stateChanging_ = false;
    SendSize();
}

void TFormBinding::ShowSystemMenu(TPoint at)
{
    if (window_.isNull())
        return;
    if (!systemMenu_.isNull())
        delete systemMenu_.data();
    auto* menu = new QMenu(window_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const TFrameStyle style = form_->FrameStyle();
    const bool minimized = form_->WindowState() == wsMinimized;
    const HWND window = Handle();
    for (const TSystemMenuEntry& entry : SystemMenuEntries) {
        if (entry.Separator)
            menu->addSeparator();
        QString text = QString::fromUtf8(entry.Text);
        if (entry.Shortcut[0] != '\0')
            text += QLatin1Char('\t') + QString::fromUtf8(entry.Shortcut);
        QAction* action = menu->addAction(text);
        action->setEnabled(SystemMenuItemEnabled(entry.Item, style, minimized));
        const unsigned command = entry.Command;
        QObject::connect(action, &QAction::triggered, menu, [window, command] {
            PostMessage(window, WM_SYSCOMMAND, command, 0);
        });
    }
    systemMenu_ = menu;
    menu->popup(QPoint(at.X, at.Y));
}

void TFormBinding::NonClientDoubleClick(HWND window, UINT hit, LPARAM lParam)
{
    if (hit == HTCAPTION && form_->BorderIcons().Contains(biMaximize))
        SendMessage(window, WM_SYSCOMMAND, form_->WindowState() == wsMaximized ? SC_RESTORE : SC_MAXIMIZE, lParam);
    else if (hit == HTSYSMENU)
        SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, lParam);
}

void TFormBinding::SystemCommand(HWND window, WPARAM command, LPARAM lParam)
{
    switch (command & 0xFFF0) {
    case SC_CLOSE:
        SendMessage(window, WM_CLOSE);
        return;
    case SC_MINIMIZE:
        ShowCommand(SW_MINIMIZE);
        return;
    case SC_MAXIMIZE:
        ShowCommand(SW_MAXIMIZE);
        return;
    case SC_RESTORE:
        ShowCommand(SW_RESTORE);
        return;
    case SC_KEYMENU:
    case SC_MOUSEMENU:
        if ((command & 0xFFF0) == SC_MOUSEMENU || lParam == ' ') {
            const TFrameGeometry g = form_->FrameLayout();
            ShowSystemMenu({form_->Left() + g.Icon.Left, form_->Top() + g.Caption.Bottom});
        }
        return;
    default:
        return;
    }
}

// Alt+F4 closes.
void TFormBinding::SystemKeyDown(HWND window, WPARAM key)
{
    if (key == VK_F4)
        SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// Alt+Space opens the system menu.
void TFormBinding::SystemChar(HWND window, WPARAM key)
{
    if (key == ' ')
        SendMessage(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
}

// The system's defaults: maximised, the frame lies just outside the screen.
void TFormBinding::FillMinMaxInfo(TMinMaxInfo* info) const
{
    if (info == nullptr || Screen == nullptr)
        return;
    const int frame = FrameWidthFor(form_->BorderStyle());
    info->ptMaxSize = {Screen->Width() + 2 * frame, Screen->Height() + 2 * frame};
    info->ptMaxPosition = {-frame, -frame};
    info->ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info->ptMaxTrackSize = info->ptMaxSize;
}
