#include "framework/controls/Forms.h"

#include "framework/controls/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/controls/Screen.h"
#include "framework/controls/WindowBinding.h"
#include "framework/runtime/sysutils.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

#include <climits>

// ---------------------------------------------------------------------------
// Pure arithmetic

int CentredPosition(int screenExtent, int windowExtent)
{
    // C++ division truncates toward zero, as the classic div does.
    return static_cast<int>((static_cast<long long>(screenExtent) - windowExtent) / 2);
}

TFormScaling ComputeFormScaling(int fontHeight, int designPixelsPerInch, int screenPixelsPerInch,
                                int designTextHeight, const std::function<int(int)>& textHeightOf)
{
    TFormScaling scaling;
    scaling.FontHeight = fontHeight;
    if (designPixelsPerInch > 0 && screenPixelsPerInch > 0 && screenPixelsPerInch != designPixelsPerInch)
        scaling.FontHeight = MulDiv(fontHeight, screenPixelsPerInch, designPixelsPerInch);
    if (designTextHeight > 0 && textHeightOf) {
        const int textHeight = textHeightOf(scaling.FontHeight);
        if (textHeight > 0 && textHeight != designTextHeight) {
            scaling.M = textHeight;
            scaling.D = designTextHeight;
        }
    }
    return scaling;
}

namespace {

int TextHeightOfFont(const TFont& font)
{
    const HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font.Handle());
    TSize size;
    GetTextExtentPoint32(dc, "0", &size);
    DeleteDC(dc);
    return size.cy;
}

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

} // namespace

// ---------------------------------------------------------------------------
// The form's window: a frameless top-level widget showing the retained window
// surface (the frame), with the client area as a child widget.

class TFormBinding;

class TFormWindow : public QWidget {
public:
    TFormWindow(TCustomForm* form, TFormBinding* binding)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), form_(form), binding_(binding)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { SendNonClientMouse(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { SendNonClientMouse(event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { SendNonClientMouse(event); }
    void mouseMoveEvent(QMouseEvent* event) override { SendNonClientMouse(event); }

private:
    void SendNonClientMouse(QMouseEvent* event);

    TCustomForm* form_;
    TFormBinding* binding_;
};

class TFormBinding : public TWindowBinding {
public:
    explicit TFormBinding(TCustomForm* form) : form_(form)
    {
        window_ = new TFormWindow(form, this);
        windowSurface_ = std::make_unique<TWindowSurface>(window_);
        client_ = new TControlWidget(form, nullptr, window_);
        clientSurface_ = std::make_unique<TWindowSurface>(client_);
        client_->SetSurface(clientSurface_.get());
        window_->setWindowTitle(QString::fromStdString(form->Caption()));
    }

    ~TFormBinding() override
    {
        if (!client_.isNull())
            client_->SetSurface(nullptr);
        if (!systemMenu_.isNull())
            delete systemMenu_.data();
        if (!window_.isNull())
            delete window_.data();
    }

    HWND Handle() const { return form_->HandleAllocated() ? const_cast<TCustomForm*>(form_)->Handle() : nullptr; }
    QWidget* Widget() override { return window_.data(); }
    QWidget* Client() { return client_.data(); }
    TSurface* Surface() override { return clientSurface_.get(); }
    TSurface* WindowSurface() override { return windowSurface_.get(); }
    TSurface* ClientSurface() override { return clientSurface_.get(); }
    TPoint ClientOrigin() const override
    {
        const TRect insets = ClientInsets(form_->FrameStyle());
        return {insets.Left, insets.Top};
    }
    TSize ClientSize() const override
    {
        const TRect r = form_->ClientRect();
        return {r.Width(), r.Height()};
    }

    void SetBoundsFromControl() override
    {
        if (syncing_ || window_.isNull())
            return;
        window_->setGeometry(form_->Left(), form_->Top(), std::max(form_->Width(), 1), std::max(form_->Height(), 1));
        LayoutClient();
    }

    void LayoutClient()
    {
        if (client_.isNull())
            return;
        const TRect insets = ClientInsets(form_->FrameStyle());
        client_->setGeometry(insets.Left, insets.Top, std::max(form_->Width() - insets.Left - insets.Right, 0),
                             std::max(form_->Height() - insets.Top - insets.Bottom, 0));
        client_->Invalidate(client_->rect());
    }

    // The window system moved or sized the window: take the new bounds
    // without pushing them back.
    void TakeBounds(const QRect& r)
    {
        syncing_ = true;
        form_->SetBounds(r.x(), r.y(), r.width(), r.height());
        syncing_ = false;
    }

    void SyncVisibility() override
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

    TRect WindowRect() const override { return form_->BoundsRect(); }
    void SetWindowRect(const TRect& rect) override { form_->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); }
    bool Iconic() const override { return form_->WindowState() == wsMinimized; }
    bool Zoomed() const override { return form_->WindowState() == wsMaximized; }
    TRect NormalRect() const override
    {
        return form_->WindowState() == wsNormal ? form_->BoundsRect() : normalRect_;
    }
    void SetNormalRect(const TRect& rect) override
    {
        normalRect_ = rect;
        if (form_->WindowState() == wsNormal)
            SetWindowRect(rect);
    }

    void ShowCommand(int command) override;
    void InvalidateClient(const TRect* rect) override
    {
        if (!client_.isNull())
            client_->Invalidate(rect != nullptr ? QRect(rect->Left, rect->Top, rect->Width(), rect->Height())
                                                : client_->rect());
    }
    TRect PaintRect() const override { return client_.isNull() ? TRect{} : client_->PaintRect(); }
    void InvalidateFrame() override { SendMessage(Handle(), WM_NCPAINT, 1, 0); }
    void UpdateNow() override
    {
        if (!client_.isNull())
            client_->repaint();
        if (!window_.isNull())
            window_->repaint();
    }

    LRESULT DefaultAction(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Draws the frame into the window surface now.
    void PaintFrameNow()
    {
        windowSurface_->Resize(form_->Width(), form_->Height(), ColorToQRgb(clBtnFace));
        TFramePaintState state;
        state.Active = ncActive_;
        state.Caption = form_->Caption();
        state.Icon = form_->Icon() != nullptr ? form_->Icon() : Application != nullptr ? Application->Icon() : nullptr;
        state.PressedButton = buttonDown_ ? pressedButton_ : cbNone;
        const HDC dc = CreateSurfaceDC(windowSurface_.get());
        struct Release {
            HDC dc;
            ~Release() { DeleteDC(dc); }
        } release{dc};
        PaintFrame(dc, {form_->Width(), form_->Height()}, form_->FrameStyle(), state);
        framePainted_ = true;
    }

    bool FramePainted() const { return framePainted_; }
    TWindowSurface* FrameSurface() { return windowSurface_.get(); }
    QMenu* SystemMenu() { return systemMenu_.data(); }
    void ShowSystemMenu(TPoint at);

    // Sends WM_SIZE for the current state and client size.
    void SendSize()
    {
        const TRect client = form_->ClientRect();
        SendMessage(Handle(), WM_SIZE, SizeKind(form_->WindowState()), MakeLParam(client.Width(), client.Height()));
    }

    bool stateChanging = false; // WM_SIZE is sent once at the end of a state change
    QPoint lastPos{INT_MIN, INT_MIN};
    QSize lastSize{-1, -1};

private:
    void Maximize();
    void Restore();
    void Minimize();
    LRESULT NonClientButtonDown(UINT hit, TPoint screen);
    void NonClientMouseMove(TPoint screen);
    void NonClientButtonUp();
    int HitTest(TPoint screen) const
    {
        const TSize size{form_->Width(), form_->Height()};
        return FrameHitTest(FrameGeometry(size, form_->FrameStyle()), form_->FrameStyle(), size,
                            {screen.X - form_->Left(), screen.Y - form_->Top()});
    }
    static int HitOf(TCaptionButton button)
    {
        return button == cbClose ? HTCLOSE : button == cbMaximize ? HTMAXBUTTON : HTMINBUTTON;
    }

    TCustomForm* form_;
    QPointer<TFormWindow> window_;
    QPointer<TControlWidget> client_;
    QPointer<QMenu> systemMenu_;
    std::unique_ptr<TWindowSurface> windowSurface_;
    std::unique_ptr<TWindowSurface> clientSurface_;
    bool syncing_ = false;
    bool framePainted_ = false;
    TRect normalRect_;
    TWindowState stateBeforeMinimize_ = wsNormal;

public:
    bool ncActive_ = false;
    // A caption button held down, and whether the pointer is still on it.
    TCaptionButton pressedButton_ = cbNone;
    bool buttonDown_ = false;
    // Moving the window ourselves (no window manager to do it).
    bool dragging_ = false;
    TPoint dragStartCursor_;
    TPoint dragStartPos_;
};

// ---------------------------------------------------------------------------
// TFormWindow events

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
    if (pos() == binding_->lastPos)
        return;
    binding_->lastPos = pos();
    binding_->TakeBounds(geometry());
    const HWND target = binding_->Handle();
    const TPoint client = form_->ClientOrigin();
    TWindowPos position{target, nullptr, x(), y(), width(), height(), SWP_NOSIZE | SWP_NOZORDER};
    RunGuarded(form_, [target, client, &position] {
        SendMessage(target, WM_MOVE, 0, MakeLParam(client.X, client.Y));
        SendMessage(target, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    });
}

void TFormWindow::resizeEvent(QResizeEvent*)
{
    if (size() == binding_->lastSize)
        return;
    binding_->lastSize = size();
    binding_->TakeBounds(geometry());
    binding_->LayoutClient();
    const HWND target = binding_->Handle();
    const bool sendSize = !binding_->stateChanging;
    const TRect client = form_->ClientRect();
    const WPARAM kind = SizeKind(form_->WindowState());
    TWindowPos position{target, nullptr, x(), y(), width(), height(), SWP_NOMOVE | SWP_NOZORDER};
    RunGuarded(form_, [=, &position] {
        SendMessage(target, WM_NCPAINT, 1, 0);
        if (sendSize)
            SendMessage(target, WM_SIZE, kind, MakeLParam(client.Width(), client.Height()));
        SendMessage(target, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    });
}

void TFormWindow::showEvent(QShowEvent* event)
{
    if (event->spontaneous())
        return;
    // Qt delivers the show event before the native window is mapped.
    const HWND target = binding_->Handle();
    RunGuarded(form_, [target] {
        SendMessage(target, WM_SHOWWINDOW, 1, 0);
        SendMessage(target, WM_NCPAINT, 1, 0);
    });
}

void TFormWindow::hideEvent(QHideEvent* event)
{
    if (event->spontaneous())
        return;
    const HWND target = binding_->Handle();
    RunGuarded(form_, [target] { SendMessage(target, WM_SHOWWINDOW, 0, 0); });
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
        const bool active = isActiveWindow();
        if (active == binding_->ncActive_)
            return;
        const int minimized = form_->WindowState() == wsMinimized ? 1 : 0;
        RunGuarded(form_, [target, active, minimized] {
            SendMessage(target, WM_NCACTIVATE, active ? 1 : 0, 0);
            SendMessage(target, WM_ACTIVATE, MakeWParam(active ? WA_ACTIVE : WA_INACTIVE, minimized), 0);
        });
    } else if (event->type() == QEvent::WindowStateChange && !binding_->stateChanging) {
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
    const HWND target = binding_->Handle();
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
    RunGuarded(form_, [target, msg, point] {
        const LRESULT hit = SendMessage(target, WM_NCHITTEST, 0, point);
        SendMessage(target, msg, static_cast<WPARAM>(hit), point);
    });
}

// ---------------------------------------------------------------------------
// TFormBinding: the frame's default actions and the window states

LRESULT TFormBinding::DefaultAction(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const TPoint screen{LoSWord(static_cast<std::uintptr_t>(lParam)), HiSWord(static_cast<std::uintptr_t>(lParam))};
    switch (msg) {
    case WM_NCPAINT:
        PaintFrameNow();
        return 0;
    case WM_NCACTIVATE:
        ncActive_ = wParam != 0;
        PaintFrameNow();
        return 1;
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
        if (wParam == HTCAPTION && form_->BorderIcons().Contains(biMaximize))
            SendMessage(window, WM_SYSCOMMAND, form_->WindowState() == wsMaximized ? SC_RESTORE : SC_MAXIMIZE, lParam);
        else if (wParam == HTSYSMENU)
            SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return 0;
    case WM_NCRBUTTONUP:
        if (wParam == HTCAPTION || wParam == HTSYSMENU)
            ShowSystemMenu(screen);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendMessage(window, WM_CLOSE);
            return 0;
        case SC_MINIMIZE:
            ShowCommand(SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            ShowCommand(SW_MAXIMIZE);
            return 0;
        case SC_RESTORE:
            ShowCommand(SW_RESTORE);
            return 0;
        case SC_KEYMENU:
        case SC_MOUSEMENU:
            if ((wParam & 0xFFF0) == SC_MOUSEMENU || lParam == ' ') {
                const TFrameGeometry g = form_->FrameLayout();
                ShowSystemMenu({form_->Left() + g.Icon.Left, form_->Top() + g.Caption.Bottom});
            }
            return 0;
        default:
            return 0;
        }
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4) {
            SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        }
        return 0;
    case WM_SYSCHAR:
        if (wParam == ' ')
            SendMessage(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<TMinMaxInfo*>(lParam);
        if (info == nullptr || Screen == nullptr)
            return 0;
        const int frame = FrameWidthFor(form_->BorderStyle());
        info->ptMaxSize = {Screen->Width() + 2 * frame, Screen->Height() + 2 * frame};
        info->ptMaxPosition = {-frame, -frame};
        info->ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        info->ptMaxTrackSize = info->ptMaxSize;
        return 0;
    }
    default:
        return TWindowHost::DefaultAction(window, msg, wParam, lParam);
    }
}

LRESULT TFormBinding::NonClientButtonDown(UINT hit, TPoint screen)
{
    const HWND window = Handle();
    switch (hit) {
    case HTCAPTION: {
        if (form_->WindowState() == wsMaximized)
            return 0;
        QWindow* native = window_.isNull() ? nullptr : window_->windowHandle();
        if (native != nullptr && native->startSystemMove())
            return 0;
        // No window manager to move it: follow the pointer ourselves.
        dragging_ = true;
        dragStartCursor_ = screen;
        dragStartPos_ = {form_->Left(), form_->Top()};
        return 0;
    }
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
        pressedButton_ = button;
        buttonDown_ = true;
        SendMessage(window, WM_NCPAINT, 1, 0);
        return 0;
    }
    default:
        return 0;
    }
}

void TFormBinding::NonClientMouseMove(TPoint screen)
{
    if (dragging_) {
        form_->SetBounds(dragStartPos_.X + screen.X - dragStartCursor_.X, dragStartPos_.Y + screen.Y - dragStartCursor_.Y,
                         form_->Width(), form_->Height());
        return;
    }
    if (pressedButton_ == cbNone)
        return;
    const bool inside = HitTest(screen) == HitOf(pressedButton_);
    if (inside != buttonDown_) {
        buttonDown_ = inside;
        SendMessage(Handle(), WM_NCPAINT, 1, 0);
    }
}

void TFormBinding::NonClientButtonUp()
{
    dragging_ = false;
    if (pressedButton_ == cbNone)
        return;
    const TCaptionButton button = pressedButton_;
    const bool released = buttonDown_;
    pressedButton_ = cbNone;
    buttonDown_ = false;
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
    TMinMaxInfo info;
    SendMessage(Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (form_->WindowState() == wsNormal)
        normalRect_ = form_->BoundsRect();
    stateChanging = true;
    form_->windowState_ = wsMaximized;
    form_->SetBounds(info.ptMaxPosition.X, info.ptMaxPosition.Y, info.ptMaxSize.X, info.ptMaxSize.Y);
    stateChanging = false;
    SendMessage(Handle(), WM_NCPAINT, 1, 0);
    SendSize();
}

void TFormBinding::Restore()
{
    const TWindowState state = form_->WindowState();
    if (state == wsNormal)
        return;
    stateChanging = true;
    if (state == wsMinimized) {
        if (!window_.isNull())
            window_->showNormal();
        form_->windowState_ = stateBeforeMinimize_;
    } else {
        form_->windowState_ = wsNormal;
        form_->SetBounds(normalRect_.Left, normalRect_.Top, normalRect_.Width(), normalRect_.Height());
    }
    stateChanging = false;
    SendMessage(Handle(), WM_NCPAINT, 1, 0);
    SendSize();
}

void TFormBinding::Minimize()
{
    if (form_->WindowState() == wsMinimized)
        return;
    stateBeforeMinimize_ = form_->WindowState();
    if (stateBeforeMinimize_ == wsNormal)
        normalRect_ = form_->BoundsRect();
    stateChanging = true;
    form_->windowState_ = wsMinimized;
    if (!window_.isNull() && window_->isVisible())
        window_->showMinimized();
    stateChanging = false;
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

// ---------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    SetVisible(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    if (Application != nullptr)
        Application->FormCreated(this);
    if (Screen != nullptr)
        Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    BeforeDestruction();
    if (Screen != nullptr)
        Screen->RemoveForm(this);
    if (Application != nullptr)
        Application->FormDestroyed(this);
}

void TCustomForm::BeginLoad()
{
    loading_ = true;
    BeginLoading();
    for (int i = 0; i < ComponentCount(); ++i)
        Components(i)->BeginLoading();
}

void TCustomForm::EndLoad()
{
    // Components made while loading activate in creation order (hooking
    // components hook the window here, in that order).
    for (int i = 0; i < ComponentCount(); ++i)
        Components(i)->Loaded();
    Loaded();
    if (scaled_)
        ScaleForScreen();
    loading_ = false;
    if (!created_) {
        created_ = true;
        DoCreate();
    }
}

void TCustomForm::BeforeDestruction()
{
    if (destructionStarted_)
        return;
    destructionStarted_ = true;
    if (OnDestroy)
        RunGuarded(this, [this] { OnDestroy(this); });
    // Components unhook newest first while the window still exists.
    DestroyComponents();
    activeControl_ = nullptr;
    DestroyWnd();
}

void TCustomForm::ScaleForScreen()
{
    const int screenPixelsPerInch = Screen != nullptr ? Screen->PixelsPerInch() : DisplayPixelsPerInch();
    const TFormScaling scaling =
        ComputeFormScaling(Font()->Height(), pixelsPerInch_, screenPixelsPerInch, textHeight_, [this](int height) {
            TFont font;
            font.Assign(Font());
            font.SetHeight(height);
            return TextHeightOfFont(font);
        });
    if (scaling.FontHeight != Font()->Height())
        Font()->SetHeight(scaling.FontHeight);
    if (scaling.ScalesLayout())
        ScaleControls(scaling.M, scaling.D);
    pixelsPerInch_ = screenPixelsPerInch;
}

void TCustomForm::ScaleControls(int m, int d)
{
    const TRect client = ClientRect();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->ChangeScale(m, d);
    SetClientSize({MulDiv(client.Width(), m, d), MulDiv(client.Height(), m, d)});
}

int TCustomForm::GetTextHeight() const
{
    return TextHeightOfFont(*Font());
}

TFrameStyle TCustomForm::FrameStyle() const
{
    return {borderStyle_, borderIcons_, windowState_ == wsMaximized};
}

TFrameGeometry TCustomForm::FrameLayout() const
{
    return FrameGeometry({Width(), Height()}, FrameStyle());
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style)
{
    if (style == borderStyle_)
        return;
    const TRect client = ClientRect();
    borderStyle_ = style;
    SetClientSize({client.Width(), client.Height()});
    if (auto* binding = FormBinding()) {
        binding->LayoutClient();
        binding->InvalidateFrame();
    }
}

void TCustomForm::SetBorderIcons(TBorderIcons icons)
{
    borderIcons_ = icons;
    if (auto* binding = FormBinding())
        binding->InvalidateFrame();
}

void TCustomForm::SetWindowState(TWindowState state)
{
    if (state == windowState_)
        return;
    if (!HandleAllocated() || !Visible()) {
        windowState_ = state;
        return;
    }
    ShowWindow(Handle(), state == wsMaximized ? SW_MAXIMIZE : state == wsMinimized ? SW_MINIMIZE : SW_RESTORE);
}

void TCustomForm::SetIcon(const TBitmap* icon)
{
    if (icon == nullptr) {
        icon_.reset();
    } else {
        icon_ = std::make_unique<TBitmap>();
        icon_->Assign(icon);
        icon_->SetTransparent(true);
    }
    if (auto* binding = FormBinding())
        binding->InvalidateFrame();
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (QWidget* widget = Widget()) {
        RaiseWindow(widget);
        widget->activateWindow();
    }
}

void TCustomForm::Hide()
{
    SetVisible(false);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action)
{
    if (OnClose)
        OnClose(this, action);
}

void TCustomForm::Close()
{
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    switch (action) {
    case caNone:
        return;
    case caMinimize:
        SetWindowState(wsMinimized);
        return;
    case caHide:
    case caFree:
        Hide();
        break;
    }
    if (Application != nullptr && Application->MainForm() == this)
        Application->MainFormClosed();
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control != nullptr && control->ParentForm() != this)
        return;
    FocusControl(control);
}

void TCustomForm::FocusControl(TWinControl* control)
{
    if (control == activeControl_) {
        if (control != nullptr && HandleAllocated() && Widget()->isActiveWindow())
            control->Widget()->setFocus(Qt::OtherFocusReason);
        return;
    }
    activeControl_ = control;
    if (control != nullptr && control->HandleAllocated())
        control->Widget()->setFocus(Qt::OtherFocusReason);
    FocusChanged(control);
}

void TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (control == activeControl_)
        return;
    activeControl_ = control;
    FocusChanged(control);
}

void TCustomForm::FocusChanged(TWinControl* control)
{
    TMessage message{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control), 0};
    Broadcast(message);
    if (control != nullptr)
        control->Invalidate();
}

TRect TCustomForm::ClientRect() const
{
    const TRect insets = ClientInsets(FrameStyle());
    return Rect(0, 0, std::max(Width() - insets.Left - insets.Right, 0), std::max(Height() - insets.Top - insets.Bottom, 0));
}

void TCustomForm::SetClientSize(TSize size)
{
    const TSize outer = WindowSizeForClient(size, FrameStyle());
    SetBounds(Left(), Top(), outer.cx, outer.cy);
}

QWidget* TCustomForm::ClientWidget()
{
    HandleNeeded();
    TFormBinding* binding = FormBinding();
    return binding != nullptr ? binding->Client() : nullptr;
}

TPoint TCustomForm::ClientOrigin() const
{
    const TRect insets = ClientInsets(FrameStyle());
    return {Left() + insets.Left, Top() + insets.Top};
}

QMenu* TCustomForm::SystemMenu()
{
    TFormBinding* binding = FormBinding();
    return binding != nullptr ? binding->SystemMenu() : nullptr;
}

void TCustomForm::ShowSystemMenu(TPoint screenPoint)
{
    if (TFormBinding* binding = FormBinding())
        binding->ShowSystemMenu(screenPoint);
}

TFormBinding* TCustomForm::FormBinding() const
{
    return static_cast<TFormBinding*>(Binding());
}

void TCustomForm::CreateParams(TCreateParams& params)
{
    params.Style = WS_CAPTION | WS_SYSMENU;
    if (borderIcons_.Contains(biMinimize))
        params.Style |= WS_MINIMIZEBOX;
    if (borderIcons_.Contains(biMaximize))
        params.Style |= WS_MAXIMIZEBOX;
    if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin)
        params.Style |= WS_THICKFRAME;
}

std::unique_ptr<TWindowBinding> TCustomForm::CreateBinding()
{
    return std::make_unique<TFormBinding>(this);
}

void TCustomForm::TextChanged()
{
    if (TFormBinding* binding = FormBinding()) {
        if (QWidget* widget = binding->Widget())
            widget->setWindowTitle(QString::fromStdString(Caption()));
        binding->InvalidateFrame();
    }
}

void TCustomForm::FontChanged()
{
    TWinControl::FontChanged();
}

void TCustomForm::VisibleChanged()
{
    if (Visible())
        HandleNeeded();
    TWinControl::VisibleChanged();
}

void TCustomForm::BoundsChanged()
{
    TWinControl::BoundsChanged();
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        RunGuarded(this, [this] { OnCreate(this); });
}

void TCustomForm::DoShow()
{
    if (position_ == poScreenCenter && Screen != nullptr)
        SetBounds(CentredPosition(Screen->Width(), Width()), CentredPosition(Screen->Height(), Height()), Width(),
                  Height());
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_SHOWWINDOW:
        WMShowWindow(m);
        return;
    case WM_ACTIVATE:
        WMActivate(m);
        return;
    case WM_CLOSE:
        WMClose(m);
        return;
    case WM_SIZE:
        WMSize(m);
        return;
    case WM_DESTROY:
        WMDestroy(m);
        return;
    case WM_SETFOCUS:
        if (activeControl_ != nullptr && activeControl_->HandleAllocated())
            activeControl_->Widget()->setFocus(Qt::OtherFocusReason);
        return;
    case CM_DIALOGKEY:
        CMDialogKey(m);
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(m);
        return;
    case CM_MOUSELEAVE:
        // The pointer left the window's client area.
        if (Application != nullptr)
            Application->CancelHint();
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomForm::WMShowWindow(TMessage& m)
{
    if (m.WParam != 0)
        DoShow();
    else
        DoHide();
}

void TCustomForm::WMActivate(TMessage& m)
{
    active_ = LoWord(m.WParam) != WA_INACTIVE;
    if (active_) {
        if (activeControl_ == nullptr)
            activeControl_ = FindNextControl(nullptr, true, true, false);
        if (activeControl_ != nullptr) {
            activeControl_->Widget()->setFocus(Qt::ActiveWindowFocusReason);
            FocusChanged(activeControl_);
        }
        if (OnActivate)
            OnActivate(this);
    } else {
        if (Application != nullptr)
            Application->CancelHint();
        if (OnDeactivate)
            OnDeactivate(this);
    }
}

void TCustomForm::WMClose(TMessage&)
{
    Close();
}

void TCustomForm::WMSize(TMessage& m)
{
    DefaultHandler(m);
}

void TCustomForm::WMDestroy(TMessage& m)
{
    DefaultHandler(m);
}

void TCustomForm::CMDialogKey(TMessage& m)
{
    const WORD key = static_cast<WORD>(m.WParam);
    const bool shift = (static_cast<WPARAM>(m.LParam) & MK_SHIFT) != 0;
    const bool ctrl = (static_cast<WPARAM>(m.LParam) & MK_CONTROL) != 0;
    switch (key) {
    case VK_TAB:
        if (ctrl)
            return;
        SelectNext(activeControl_, !shift, true);
        m.Result = 1;
        return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        // Arrows move among the tab stops that share the focused control's parent.
        if (activeControl_ != nullptr && activeControl_->Parent() != nullptr) {
            TWinControl* next = activeControl_->Parent()->FindNextControl(
                activeControl_, key == VK_RIGHT || key == VK_DOWN, true, true);
            if (next != nullptr)
                next->SetFocus();
        }
        m.Result = 1;
        return;
    default:
        // Enter and Escape: the buttons decide (focused, default, cancel).
        Broadcast(m);
        return;
    }
}

void TCustomForm::CMDialogChar(TMessage& m)
{
    Broadcast(m);
}
