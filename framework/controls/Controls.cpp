// TControl and TGraphicControl: bounds, caption, font and colour with their
// notifications, mouse messages and capture, and the shared helpers.
#include "framework/controls/Controls.h"
#include "framework/graphics/DcGuards.h"

#include "framework/controls/Application.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
#include "framework/controls/WindowBinding.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <cctype>

// ---------------------------------------------------------------------------
// Helpers

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState shift;
    if ((keys & MK_SHIFT) != 0)
        shift.Include(ssShift);
    if ((keys & MK_CONTROL) != 0)
        shift.Include(ssCtrl);
    if ((keys & MK_LBUTTON) != 0)
        shift.Include(ssLeft);
    if ((keys & MK_RBUTTON) != 0)
        shift.Include(ssRight);
    if ((keys & MK_MBUTTON) != 0)
        shift.Include(ssMiddle);
    if (QGuiApplication::queryKeyboardModifiers().testFlag(Qt::AltModifier))
        shift.Include(ssAlt);
    return shift;
}

TShiftState KeyboardShiftState()
{
    const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    TShiftState shift;
    if (modifiers.testFlag(Qt::ShiftModifier))
        shift.Include(ssShift);
    if (modifiers.testFlag(Qt::ControlModifier))
        shift.Include(ssCtrl);
    if (modifiers.testFlag(Qt::AltModifier))
        shift.Include(ssAlt);
    return shift;
}

char AcceleratorOf(const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

bool IsAccel(char ch, const std::string& caption)
{
    const char accel = AcceleratorOf(caption);
    return accel != 0 && accel == static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
}

std::string StripAccelerators(const std::string& caption)
{
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i; // the mark goes; of "&&" one ampersand stays
        text += caption[i];
    }
    return text;
}

// ---------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::FreeHandle()
{
    if (ownDC_ == nullptr)
        return;
    if (HandleAllocated())
        SetHandle(nullptr);
    DeleteDC(ownDC_);
    ownDC_ = nullptr;
}

void TControlCanvas::CreateHandle()
{
    FreeHandle();
    TSurface* surface = nullptr;
    TPoint origin;
    TRect clip;
    if (auto* windowed = dynamic_cast<TWinControl*>(control_)) {
        surface = windowed->ClientSurface();
        clip = windowed->ClientRect();
    } else if (TWinControl* parent = control_->Parent()) {
        surface = parent->ClientSurface();
        origin = {control_->Left(), control_->Top()};
        clip = control_->BoundsRect();
    }
    if (surface == nullptr)
        return;
    ownDC_ = CreateSurfaceDC(surface, origin, &clip);
    SetHandle(ownDC_);
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner)
    : TComponent(owner), font_(std::make_unique<TFont>()), canvas_(std::make_unique<TControlCanvas>(this))
{
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    font_->OnChange = [this](TObject*) { FontObjectChanged(); };
}

TControl::~TControl()
{
    font_->OnChange = nullptr;
    canvas_->FreeHandle();
    ForgetAccessibleControl(this);
    if (Application != nullptr)
        Application->ControlDestroyed(this);
    if (parent_ != nullptr)
        parent_->RemoveControl(this);
    parent_ = nullptr;
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_ != nullptr) {
        Invalidate();
        parent_->RemoveControl(this);
    }
    parent_ = parent;
    if (parent_ != nullptr) {
        parent_->InsertControl(this);
        Perform(CM_PARENTFONTCHANGED);
        Perform(CM_PARENTCOLORCHANGED);
        Perform(CM_PARENTSHOWHINTCHANGED);
        Invalidate();
    }
}

TCustomForm* TControl::ParentForm() const
{
    const TControl* top = this;
    while (top->Parent() != nullptr)
        top = top->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    const bool windowless = dynamic_cast<TWinControl*>(this) == nullptr;
    if (windowless)
        Invalidate(); // the old place
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    if (windowless)
        Invalidate();
}

TRect TControl::ClientRect() const
{
    return Rect(0, 0, width_, height_);
}

void TControl::SetClientSize(TSize size)
{
    const TRect client = ClientRect();
    SetBounds(left_, top_, width_ + size.cx - client.Width(), height_ + size.cy - client.Height());
}

void TControl::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    const std::optional<std::string> oldText = AccessibleText();
    caption_ = caption;
    Perform(CM_TEXTCHANGED);
    NotifyAccessibleTextChanged(oldText);
}

void TControl::FontObjectChanged()
{
    if (!updatingParentFont_)
        parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool parentFont)
{
    if (parentFont == parentFont_)
        return;
    parentFont_ = parentFont;
    if (parentFont_)
        Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool parentColor)
{
    if (parentColor == parentColor_)
        return;
    parentColor_ = parentColor;
    if (parentColor_)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetHint(const std::string& hint)
{
    hint_ = hint;
    if (auto* windowed = dynamic_cast<TWinControl*>(this); windowed != nullptr && windowed->HandleAllocated())
        windowed->Widget()->setAccessibleDescription(QString::fromStdString(hint));
}

bool TControl::ShowHint() const
{
    if (parentShowHint_)
        return parent_ != nullptr && parent_->ShowHint();
    return showHint_;
}

void TControl::SetShowHint(bool showHint)
{
    showHint_ = showHint;
    parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool parentShowHint)
{
    parentShowHint_ = parentShowHint;
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
}

bool TControl::Showing() const
{
    for (const TControl* c = this; c != nullptr; c = c->Parent())
        if (!c->Visible())
            return false;
    return true;
}

void TControl::SetCursor(TCursor cursor)
{
    if (cursor == cursor_)
        return;
    cursor_ = cursor;
    Perform(CM_CURSORCHANGED);
    if (parent_ != nullptr && dynamic_cast<TWinControl*>(this) == nullptr)
        parent_->Perform(CM_CURSORCHANGED);
}

void TControl::SetAccessibleName(const std::string& name)
{
    accessibleName_ = name;
    if (auto* windowed = dynamic_cast<TWinControl*>(this); windowed != nullptr && windowed->HandleAllocated())
        windowed->Widget()->setAccessibleName(QString::fromStdString(name));
}

void TControl::Invalidate()
{
    if (parent_ != nullptr && parent_->HandleAllocated() && (visible_ || IsDesigning())) {
        const TRect bounds = BoundsRect();
        InvalidateRect(parent_->Handle(), &bounds, !ControlStyle.Contains(csOpaque));
    }
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    if (parent_ != nullptr)
        parent_->Update();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

namespace {

// WM_GETTEXT's answer: as much of text as fits a buffer of size bytes with its
// terminating zero; the number of characters copied.
LRESULT CopyWindowText(const std::string& text, WPARAM size, LPARAM buffer)
{
    auto* out = reinterpret_cast<char*>(buffer);
    if (out == nullptr || size == 0)
        return 0;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.data(), n, out);
    out[n] = '\0';
    return static_cast<LRESULT>(n);
}

} // namespace

void TControl::WndProc(TMessage& m)
{
    // Controls that do not take double clicks see a second press instead.
    if (!ControlStyle.Contains(csDoubleClicks) &&
        (m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK))
        m.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;

    switch (m.Msg) {
    case WM_LBUTTONDOWN: WMMouseButton(m, mbLeft, true, false); break;
    case WM_LBUTTONDBLCLK: WMMouseButton(m, mbLeft, true, true); break;
    case WM_LBUTTONUP: WMMouseButton(m, mbLeft, false, false); break;
    case WM_RBUTTONDOWN: WMMouseButton(m, mbRight, true, false); break;
    case WM_RBUTTONDBLCLK: WMMouseButton(m, mbRight, true, true); break;
    case WM_RBUTTONUP: WMMouseButton(m, mbRight, false, false); break;
    case WM_MBUTTONDOWN: WMMouseButton(m, mbMiddle, true, false); break;
    case WM_MBUTTONDBLCLK: WMMouseButton(m, mbMiddle, true, true); break;
    case WM_MBUTTONUP: WMMouseButton(m, mbMiddle, false, false); break;
    case WM_MOUSEMOVE: WMMouseMove(m); break;
    case CM_FONTCHANGED: FontChanged(); break;
    case CM_TEXTCHANGED: TextChanged(); break;
    case CM_ENABLEDCHANGED: EnabledChanged(); break;
    case CM_COLORCHANGED: ColorChanged(); break;
    case CM_VISIBLECHANGED: VisibleChanged(); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); break;
    case CM_HITTEST: CMHitTest(m); break;
    case WM_GETTEXT: m.Result = CopyWindowText(caption_, m.WParam, m.LParam); break;
    case WM_GETTEXTLENGTH: m.Result = static_cast<LRESULT>(caption_.size()); break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
    case CM_HINTSHOW:
    case CM_CURSORCHANGED:
        break;
    default: DefaultHandler(m); break;
    }
}

void TControl::DefaultHandler(TMessage&)
{
}

void TControl::VisibleChanged()
{
    if (parent_ != nullptr && parent_->HandleAllocated()) {
        const TRect bounds = BoundsRect();
        InvalidateRect(parent_->Handle(), &bounds, true);
    }
}

void TControl::WMMouseButton(TMessage& m, TMouseButton button, bool down, bool doubleClick)
{
    const int x = LoSWord(static_cast<std::uintptr_t>(m.LParam));
    const int y = HiSWord(static_cast<std::uintptr_t>(m.LParam));
    TShiftState shift = KeysToShiftState(m.WParam);
    if (down) {
        if (Application != nullptr)
            Application->CancelHint();
        if (button == mbLeft) {
            if (ControlStyle.Contains(csCaptureMouse))
                SetMouseCapture(true);
            if (ControlStyle.Contains(csClickEvents))
                ControlState.Include(csClicked);
            if (doubleClick && ControlStyle.Contains(csClickEvents))
                DblClick();
        }
        if (doubleClick)
            shift.Include(ssDouble);
        MouseDown(button, shift, x, y);
        return;
    }
    if (button == mbLeft) {
        if (ControlStyle.Contains(csCaptureMouse))
            SetMouseCapture(false);
        if (ControlState.Contains(csClicked)) {
            ControlState.Exclude(csClicked);
            if (ClientRect().Contains({x, y}))
                Click();
        }
    }
    MouseUp(button, shift, x, y);
}

void TControl::WMMouseMove(TMessage& m)
{
    const int x = LoSWord(static_cast<std::uintptr_t>(m.LParam));
    const int y = HiSWord(static_cast<std::uintptr_t>(m.LParam));
    if (Application != nullptr)
        Application->HintMouseMessage(this, ClientToScreen({x, y}));
    MouseMove(KeysToShiftState(m.WParam), x, y);
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (!parentFont_ || parent_ == nullptr)
        return;
    updatingParentFont_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        updatingParentFont_ = false;
        throw;
    }
    updatingParentFont_ = false;
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (!parentColor_ || parent_ == nullptr)
        return;
    if (color_ != parent_->Color()) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED);
    }
}

void TControl::CMParentShowHintChanged(TMessage&)
{
}

void TControl::CMHitTest(TMessage& m)
{
    m.Result = HTCLIENT;
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

bool TControl::MouseCapture() const
{
    if (auto* windowed = dynamic_cast<const TWinControl*>(this))
        return windowed->HandleAllocated() && GetCapture() == const_cast<TWinControl*>(windowed)->Handle() &&
               windowed->CaptureControl() == nullptr;
    return parent_ != nullptr && parent_->CaptureControl() == this && parent_->HandleAllocated() &&
           GetCapture() == parent_->Handle();
}

void TControl::SetMouseCapture(bool capture)
{
    if (capture == MouseCapture())
        return;
    if (auto* windowed = dynamic_cast<TWinControl*>(this)) {
        if (capture)
            SetCapture(windowed->Handle());
        else
            ReleaseCapture();
        return;
    }
    if (parent_ == nullptr)
        return;
    if (capture) {
        parent_->captureControl_ = this;
        SetCapture(parent_->Handle());
    } else {
        parent_->captureControl_ = nullptr;
        ReleaseCapture();
    }
}

TPoint TControl::ClientOrigin() const
{
    if (parent_ == nullptr)
        return {left_, top_};
    const TPoint origin = parent_->ClientOrigin();
    return {origin.X + left_, origin.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint point) const
{
    const TPoint origin = ClientOrigin();
    return {point.X + origin.X, point.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint point) const
{
    const TPoint origin = ClientOrigin();
    return {point.X - origin.X, point.Y - origin.Y};
}

void TControl::ChangeScale(int m, int d)
{
    const int x = MulDiv(left_, m, d);
    const int y = MulDiv(top_, m, d);
    // Scale the far edges, so neighbours that touched still touch.
    const int w = ControlStyle.Contains(csFixedWidth) ? width_ : MulDiv(left_ + width_, m, d) - x;
    const int h = ControlStyle.Contains(csFixedHeight) ? height_ : MulDiv(top_ + height_, m, d) - y;
    SetBounds(x, y, w, h);
    if (!parentFont_) {
        updatingParentFont_ = true; // scaling keeps the font the control's own
        font_->SetHeight(MulDiv(font_->Height(), m, d));
        updatingParentFont_ = false;
    }
}

// ---------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner)
{
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m)
{
    if (m.Msg != WM_PAINT || m.WParam == 0) {
        TControl::WndProc(m);
        return;
    }
    TControlCanvas* canvas = Canvas();
    canvas->FreeHandle();
    TCanvasBinding bound(*canvas, reinterpret_cast<HDC>(m.WParam));
    Paint();
}
