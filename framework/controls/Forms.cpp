#include "framework/controls/Forms.h"

#include "framework/controls/Application.h"
#include "framework/controls/FormHost.h"
#include "framework/controls/Screen.h"
#include "framework/graphics/Bitmap.h"
#include "framework/runtime/sysutils.h"

#include <QMenu>

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
    // The widgets are scaled to the screen first, so components that measure
    // the form or paint on it see it as it will be shown; then components made
    // while loading activate in creation order (hooking components hook the
    // window here: form shadow, caption styler, form services).
    if (scaled_)
        ScaleForScreen();
    for (int i = 0; i < ComponentCount(); ++i)
        Components(i)->Loaded();
    Loaded();
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

void FrameStyleBits(const TFrameStyle& frame, std::uint32_t& style, std::uint32_t& exStyle)
{
    constexpr std::uint32_t frameBits =
        WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    constexpr std::uint32_t frameExBits = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP;
    style &= ~frameBits;
    exStyle &= ~frameExBits;
    const TFormBorderStyle border = frame.BorderStyle;
    if (border == bsNone)
        return;
    // WS_CAPTION is the border line and the dialog frame together.
    style |= WS_CAPTION;
    if (border == bsSizeable || border == bsSizeToolWin)
        style |= WS_THICKFRAME;
    if (border == bsDialog)
        exStyle |= WS_EX_DLGMODALFRAME;
    if (border == bsToolWindow || border == bsSizeToolWin)
        exStyle |= WS_EX_TOOLWINDOW;
    const TBorderIcons icons = frame.BorderIcons;
    if (!icons.Contains(biSystemMenu))
        return;
    style |= WS_SYSMENU;
    // Dialogs and tool windows have no minimise and maximise boxes.
    const bool boxes = border != bsDialog && border != bsToolWindow && border != bsSizeToolWin;
    if (boxes && icons.Contains(biMinimize))
        style |= WS_MINIMIZEBOX;
    if (boxes && icons.Contains(biMaximize))
        style |= WS_MAXIMIZEBOX;
    if (icons.Contains(biHelp) && (border == bsDialog || !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))))
        exStyle |= WS_EX_CONTEXTHELP;
}

void TCustomForm::UpdateFrameStyleBits()
{
    if (!HandleAllocated())
        return;
    auto style = static_cast<std::uint32_t>(GetWindowLong(Handle(), GWL_STYLE));
    auto exStyle = static_cast<std::uint32_t>(GetWindowLong(Handle(), GWL_EXSTYLE));
    FrameStyleBits(FrameStyle(), style, exStyle);
    SetWindowLong(Handle(), GWL_STYLE, static_cast<std::intptr_t>(style));
    SetWindowLong(Handle(), GWL_EXSTYLE, static_cast<std::intptr_t>(exStyle));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style)
{
    if (style == borderStyle_)
        return;
    const TRect client = ClientRect();
    borderStyle_ = style;
    UpdateFrameStyleBits();
    SetClientSize({client.Width(), client.Height()});
    if (auto* binding = FormBinding()) {
        binding->LayoutClient();
        binding->InvalidateFrame();
    }
}

void TCustomForm::SetBorderIcons(TBorderIcons icons)
{
    borderIcons_ = icons;
    UpdateFrameStyleBits();
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

void TCustomForm::SetBounds(int left, int top, int width, int height)
{
    TFormBinding* binding = FormBinding();
    if (binding == nullptr || !HandleAllocated() || !binding->AsksBeforeBounds()) {
        TWinControl::SetBounds(left, top, width, height);
        return;
    }
    const TRect agreed = binding->AgreedBounds(Bounds(left, top, width, height));
    TWinControl::SetBounds(agreed.Left, agreed.Top, agreed.Width(), agreed.Height());
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
    params.Style = 0;
    FrameStyleBits(FrameStyle(), params.Style, params.ExStyle);
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
    // OnShow ran before the message (see the form window's show event).
    if (m.WParam == 0)
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
