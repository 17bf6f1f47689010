#include "framework/controls/FormHost.h"

#include "framework/controls/Application.h"
#include "framework/controls/FrameTracking.h"
#include "framework/graphics/DcGuards.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>
#include <utility>

WPARAM SizeKind(TWindowState state)
{
    switch (state) {
    case wsMinimized:
        return SIZE_MINIMIZED;
    case wsMaximized:
        return SIZE_MAXIMIZED;
    default:
        return SIZE_RESTORED;
    }
}

// ---------------------------------------------------------------------------
// TFormWindow

TFormWindow::TFormWindow(TCustomForm* form, TFormBinding* binding)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), form_(form), binding_(binding)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
}

bool TFormWindow::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const HWND target = binding_->Handle();
        RunGuarded(form_, [target, key] { EventTranslation::SendKeyPress(target, key); });
        return true;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        const HWND target = binding_->Handle();
        RunGuarded(form_, [target, key] { EventTranslation::SendKeyRelease(target, key); });
        return true;
    }
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    default:
        return QWidget::event(event);
    }
}

void TFormWindow::paintEvent(QPaintEvent* event)
{
    if (!binding_->FramePainted()) {
        const HWND target = binding_->Handle();
        RunGuarded(form_, [target] { SendMessage(target, WM_NCPAINT, 1, 0); });
    }
    ShowSurface(this, binding_->FrameSurface()->Image(), event->rect());
}

void TFormWindow::moveEvent(QMoveEvent*)
{
    binding_->TakeBounds(geometry());
    // Inside a move or size loop the window is told where it ended up once,
    // when the button comes up.
    if (!binding_->Tracking())
        binding_->ReportMove();
}

void TFormWindow::resizeEvent(QResizeEvent*)
{
    binding_->TakeBounds(geometry());
    binding_->LayoutClient();
    if (binding_->Tracking()) {
        // The frame follows the size at once; the window hears of it at the end.
        const HWND target = binding_->Handle();
        RunGuarded(form_, [target] { SendMessage(target, WM_NCPAINT, 1, 0); });
        return;
    }
    binding_->ReportSize();
}

void TFormWindow::showEvent(QShowEvent* event)
{
    if (event->spontaneous())
        return;
    // Qt delivers the show event before the native window is mapped. OnShow
    // runs first, so WM_SHOWWINDOW finds the window where OnShow put it; an
    // error from OnShow is reported and the window is still shown and framed.
    const HWND target = binding_->Handle();
    RunGuarded(form_, [this] { binding_->RunShowHandler(); });
    RunGuarded(form_, [target] { SendMessage(target, WM_SHOWWINDOW, 1, 0); });
    RunGuarded(form_, [target] { SendMessage(target, WM_NCPAINT, 1, 0); });
    SendShowPosition(SWP_SHOWWINDOW);
}

// Showing and hiding change the window's position state too: WM_WINDOWPOSCHANGED
// tells the window which of the two happened.
void TFormWindow::SendShowPosition(UINT flag)
{
    const HWND target = binding_->Handle();
    TWindowPos position{target, nullptr, x(), y(), width(), height(), SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | flag};
    RunGuarded(form_, [target, &position] {
        SendMessage(target, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    });
}

void TFormWindow::hideEvent(QHideEvent* event)
{
    if (event->spontaneous())
        return;
    const HWND target = binding_->Handle();
    RunGuarded(form_, [target] { SendMessage(target, WM_SHOWWINDOW, 0, 0); });
    SendShowPosition(SWP_HIDEWINDOW);
}

void TFormWindow::closeEvent(QCloseEvent* event)
{
    // The form decides (WM_CLOSE); Qt never closes the window by itself.
    event->ignore();
    const HWND target = binding_->Handle();
    RunGuarded(form_, [target] { SendMessage(target, WM_CLOSE); });
}

void TFormWindow::changeEvent(QEvent* event)
{
    const HWND target = binding_->Handle();
    if (event->type() == QEvent::ActivationChange) {
        // A window manager that moves or sizes the window takes the keyboard
        // for the while; the window stays active on the classic desktop.
        if (!binding_->Tracking())
            binding_->DeliverActivation();
    } else if (event->type() == QEvent::WindowStateChange && !binding_->StateChanging()) {
        // The window manager minimised or restored the window.
        const bool minimized = windowState().testFlag(Qt::WindowMinimized);
        if (minimized != (form_->WindowState() == wsMinimized))
            RunGuarded(form_, [target, minimized] {
                SendMessage(target, WM_SYSCOMMAND, minimized ? SC_MINIMIZE : SC_RESTORE, 0);
            });
    }
    QWidget::changeEvent(event);
}

void TFormWindow::SendNonClientMouse(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    const LPARAM point = MakeLParam(global.x(), global.y());
    UINT msg = 0;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        msg = event->button() == Qt::LeftButton ? WM_NCLBUTTONDOWN : event->button() == Qt::RightButton ? WM_NCRBUTTONDOWN : 0;
        break;
    case QEvent::MouseButtonRelease:
        msg = event->button() == Qt::LeftButton ? WM_NCLBUTTONUP : event->button() == Qt::RightButton ? WM_NCRBUTTONUP : 0;
        break;
    case QEvent::MouseButtonDblClick:
        msg = event->button() == Qt::LeftButton ? WM_NCLBUTTONDBLCLK : 0;
        break;
    case QEvent::MouseMove:
        msg = WM_NCMOUSEMOVE;
        break;
    default:
        break;
    }
    if (msg == 0)
        return;
    const HWND target = binding_->Handle();
    RunGuarded(form_, [target, msg, point] {
        const LRESULT hit = SendMessage(target, WM_NCHITTEST, 0, point);
        SendMessage(target, msg, static_cast<WPARAM>(hit), point);
    });
    // A press that ran a move or size loop returns when the button came up;
    // that release still reaches the window, where the pointer is now.
    if (const std::optional<TPoint> release = binding_->TakeTrackRelease()) {
        const LPARAM at = MakeLParam(release->X, release->Y);
        RunGuarded(form_, [target, at] {
            const LRESULT hit = SendMessage(target, WM_NCHITTEST, 0, at);
            if (hit != HTCLIENT)
                SendMessage(target, WM_NCLBUTTONUP, static_cast<WPARAM>(hit), at);
        });
    }
}

// ---------------------------------------------------------------------------
// TFormBinding: the host's widgets, surfaces and geometry

TFormBinding::TFormBinding(TCustomForm* form) : form_(form)
{
    window_ = new TFormWindow(form, this);
    windowSurface_ = std::make_unique<TWindowSurface>(window_);
    client_ = new TControlWidget(form, nullptr, window_);
    clientSurface_ = std::make_unique<TWindowSurface>(client_);
    client_->SetSurface(clientSurface_.get());
    window_->setWindowTitle(QString::fromStdString(form->Caption()));
}

TFormBinding::~TFormBinding()
{
    if (!client_.isNull())
        client_->SetSurface(nullptr);
    if (!systemMenu_.isNull())
        delete systemMenu_.data();
    if (!window_.isNull())
        delete window_.data();
}

TPoint TFormBinding::ClientOrigin() const
{
    const TRect insets = ClientInsets(form_->FrameStyle());
    return {insets.Left, insets.Top};
}

TSize TFormBinding::ClientSize() const
{
    const TRect r = form_->ClientRect();
    return {r.Width(), r.Height()};
}

void TFormBinding::SetBoundsFromControl()
{
    if (syncing_ || window_.isNull())
        return;
    window_->setGeometry(form_->Left(), form_->Top(), std::max(form_->Width(), 1), std::max(form_->Height(), 1));
    LayoutClient();
}

void TFormBinding::LayoutClient()
{
    if (client_.isNull())
        return;
    const TRect insets = ClientInsets(form_->FrameStyle());
    client_->setGeometry(insets.Left, insets.Top, std::max(form_->Width() - insets.Left - insets.Right, 0),
                         std::max(form_->Height() - insets.Top - insets.Bottom, 0));
    client_->Invalidate(client_->rect());
}

void TFormBinding::TakeBounds(const QRect& r)
{
    syncing_ = true;
    form_->SetBounds(r.x(), r.y(), r.width(), r.height());
    syncing_ = false;
}

bool TFormBinding::MovedTo(QPoint position)
{
    if (position == last_.Position)
        return false;
    last_.Position = position;
    return true;
}

bool TFormBinding::ResizedTo(QSize size)
{
    if (size == last_.Size)
        return false;
    last_.Size = size;
    return true;
}

void TFormBinding::DeliverActivation()
{
    if (window_.isNull())
        return;
    const bool active = window_->isActiveWindow();
    if (active == deliveredActive_)
        return;
    deliveredActive_ = active;
    const HWND target = Handle();
    const int minimized = form_->WindowState() == wsMinimized ? 1 : 0;
    RunGuarded(form_, [target, active, minimized] {
        SendMessage(target, WM_NCACTIVATE, active ? 1 : 0, 0);
        SendMessage(target, WM_ACTIVATE, MakeWParam(active ? WA_ACTIVE : WA_INACTIVE, minimized), 0);
    });
}

void TFormBinding::ReportMove()
{
    if (window_.isNull() || !MovedTo(window_->pos()))
        return;
    const HWND target = Handle();
    const TPoint client = form_->ClientOrigin();
    const QRect r = window_->geometry();
    TWindowPos position{target, nullptr, r.x(), r.y(), r.width(), r.height(), SWP_NOSIZE | SWP_NOZORDER};
    RunGuarded(form_, [target, client, &position] {
        SendMessage(target, WM_MOVE, 0, MakeLParam(client.X, client.Y));
        SendMessage(target, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    });
}

void TFormBinding::ReportSize()
{
    if (window_.isNull() || !ResizedTo(window_->size()))
        return;
    const HWND target = Handle();
    const bool sendSize = !StateChanging();
    const TRect client = form_->ClientRect();
    const WPARAM kind = SizeKind(form_->WindowState());
    const QRect r = window_->geometry();
    TWindowPos position{target, nullptr, r.x(), r.y(), r.width(), r.height(), SWP_NOMOVE | SWP_NOZORDER};
    RunGuarded(form_, [=, &position] {
        SendMessage(target, WM_NCPAINT, 1, 0);
        if (sendSize)
            SendMessage(target, WM_SIZE, kind, MakeLParam(client.Width(), client.Height()));
        SendMessage(target, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    });
}

TRect TFormBinding::AgreedBounds(const TRect& wanted)
{
    const TRect current = form_->BoundsRect();
    const UINT unchanged = ChangeFlags(current, wanted);
    if (unchanged == (SWP_NOMOVE | SWP_NOSIZE))
        return wanted;
    TWindowPos position{Handle(), nullptr, wanted.Left, wanted.Top, wanted.Width(), wanted.Height(),
                        SWP_NOZORDER | SWP_NOACTIVATE | unchanged};
    SendMessage(Handle(), WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
    return AgreedRect(position, current);
}

std::optional<TPoint> TFormBinding::TakeTrackRelease()
{
    return std::exchange(trackRelease_, std::nullopt);
}

void TFormBinding::SyncVisibility()
{
    if (window_.isNull())
        return;
    if (form_->Visible()) {
        window_->show();
        RaiseWindow(window_.data());
        window_->activateWindow();
    } else {
        window_->hide();
    }
}

TRect TFormBinding::NormalRect() const
{
    return form_->WindowState() == wsNormal ? form_->BoundsRect() : normalRect_;
}

void TFormBinding::SetNormalRect(const TRect& rect)
{
    normalRect_ = rect;
    if (form_->WindowState() == wsNormal)
        SetWindowRect(rect);
}

void TFormBinding::InvalidateClient(const TRect* rect)
{
    if (!client_.isNull())
        client_->Invalidate(rect != nullptr ? QRect(rect->Left, rect->Top, rect->Width(), rect->Height())
                                            : client_->rect());
}

void TFormBinding::UpdateNow()
{
    if (!client_.isNull())
        client_->repaint();
    if (!window_.isNull())
        window_->repaint();
}

void TFormBinding::PaintFrameNow()
{
    windowSurface_->Resize(form_->Width(), form_->Height(), ColorToQRgb(clBtnFace));
    TFramePaintState state;
    state.Active = ncActive_;
    state.Caption = GetWindowText(form_->Handle());
    state.Icon = form_->Icon() != nullptr ? form_->Icon() : Application != nullptr ? Application->Icon() : nullptr;
    state.PressedButton = press_.Down ? press_.Button : cbNone;
    TOwnedDC dc(CreateSurfaceDC(windowSurface_.get()));
    PaintFrame(dc.get(), {form_->Width(), form_->Height()}, form_->FrameStyle(), state);
    framePainted_ = true;
}

void TFormBinding::SendSize()
{
    const TRect client = form_->ClientRect();
    SendMessage(Handle(), WM_SIZE, SizeKind(form_->WindowState()), MakeLParam(client.Width(), client.Height()));
}
