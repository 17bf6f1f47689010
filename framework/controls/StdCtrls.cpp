#include "framework/controls/StdCtrls.h"

#include "framework/graphics/DcGuards.h"

#include "framework/graphics/DeviceContext.h"
#include "framework/controls/Forms.h"

namespace {

constexpr UINT AlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER}; // by TAlignment

void FillSolid(HDC dc, const TRect& rect, TColor color)
{
    const HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, rect, brush);
    DeleteObject(brush);
}


} // namespace

void DrawCaption(HDC dc, const std::string& caption, TRect rect, UINT format, const TFont* font, bool enabled)
{
    TSavedDCState saved(dc);
    SelectObject(dc, font->Handle());
    SetBkMode(dc, TRANSPARENT);
    if (enabled) {
        SetTextColor(dc, font->Color());
        DrawText(dc, caption, rect, format);
    } else {
        // engraved: a light copy one pixel down-right, the grey text over it
        TRect light = OffsetRect(rect, 1, 1);
        SetTextColor(dc, clBtnHighlight);
        DrawText(dc, caption, light, format);
        SetTextColor(dc, clBtnShadow);
        DrawText(dc, caption, rect, format);
    }
}

// ---------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
    ControlStyle = ControlStyle + TControlStyle{csOpaque, csReplicatable};
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    Invalidate();
}

void TLabel::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLabel::SetLayout(TTextLayout layout)
{
    if (layout == layout_)
        return;
    layout_ = layout;
    Invalidate();
}

void TLabel::SetWordWrap(bool wordWrap)
{
    if (wordWrap == wordWrap_)
        return;
    wordWrap_ = wordWrap;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool transparent)
{
    if (transparent == Transparent())
        return;
    if (transparent)
        ControlStyle.Exclude(csOpaque);
    else
        ControlStyle.Include(csOpaque);
    Invalidate();
}

void TLabel::SetShowAccelChar(bool show)
{
    if (show == showAccelChar_)
        return;
    showAccelChar_ = show;
    Invalidate();
}

void TLabel::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    focusControl_.Notification(component, operation);
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

UINT TLabel::TextFlags() const
{
    UINT flags = DT_EXPANDTABS | AlignmentFlags[alignment_];
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::DoDrawText(HDC dc, TRect& rect, UINT flags)
{
    std::string text = Caption();
    // An empty caption still measures one line.
    if ((flags & DT_CALCRECT) != 0 && (text.empty() || (showAccelChar_ && text == "&")))
        text += ' ';
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    if ((flags & DT_CALCRECT) != 0) {
        TSavedDCState saved(dc);
        SelectObject(dc, Font()->Handle());
        DrawText(dc, text, rect, flags);
        return;
    }
    DrawCaption(dc, text, rect, flags, Font(), Enabled());
}

void TLabel::Paint()
{
    TCanvas* canvas = ControlCanvas();
    const HDC dc = canvas->Handle();
    const TRect client = ClientRect();
    if (!Transparent())
        FillSolid(dc, client, Color());
    TRect rect = client;
    if (layout_ != tlTop) {
        TRect measured = client;
        DoDrawText(dc, measured, TextFlags() | DT_CALCRECT);
        const int offset = layout_ == tlBottom ? client.Height() - measured.Height()
                                               : (client.Height() - measured.Height()) / 2;
        rect = OffsetRect(rect, 0, offset);
    }
    DoDrawText(dc, rect, TextFlags());
}

void TLabel::AdjustBounds()
{
    if (!autoSize_ || IsLoading())
        return;
    TOwnedDC measure(CreateCompatibleDC(nullptr)); // measuring outside a paint
    TRect rect = ClientRect();
    if (!wordWrap_)
        rect.Right = rect.Left + 0x7FFF;
    DoDrawText(measure.get(), rect, TextFlags() | DT_CALCRECT);
    int left = Left();
    if (alignment_ == taRightJustify)
        left += Width() - rect.Right;
    SetBounds(left, Top(), rect.Right, rect.Bottom);
}

void TLabel::TextChanged()
{
    Invalidate();
    AdjustBounds();
}

void TLabel::FontChanged()
{
    Invalidate();
    AdjustBounds();
}

void TLabel::WndProc(TMessage& m)
{
    if (m.Msg == CM_DIALOGCHAR) {
        // The accelerator moves the focus to the label's control.
        TWinControl* focusControl = focusControl_.Get();
        if (focusControl != nullptr && Enabled() && showAccelChar_ && IsAccel(static_cast<char>(m.WParam), Caption()) &&
            focusControl->CanFocus()) {
            focusControl->SetFocus();
            m.Result = 1;
        }
        return;
    }
    TGraphicControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TGroupBox

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner)
{
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csReplicatable};
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 105);
}

//  ----Caption------------   etched line: shadow, with a highlight line one
//  |                     |   pixel right and down, starting half a text line
//  -----------------------   below the top
void TGroupBox::Paint()
{
    const HDC dc = ControlCanvas()->Handle();
    TOwnedDC measure(CreateCompatibleDC(nullptr));
    SelectObject(measure.get(), Font()->Handle());
    TSize zero;
    GetTextExtentPoint32(measure.get(), "0", &zero);
    const int textHeight = zero.cy;

    TCanvas* canvas = ControlCanvas();
    TRect frame = Rect(0, textHeight / 2 - 1, Width(), Height());
    // highlight line
    canvas->Brush()->SetColor(clBtnHighlight);
    canvas->FrameRect(Rect(frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom));
    // shadow line
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(Rect(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1));

    if (Caption().empty())
        return;
    TRect text = Rect(8, 0, 8, textHeight);
    {
        TSavedDCState saved(dc);
        SelectObject(dc, Font()->Handle());
        DrawText(dc, Caption(), text, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    }
    FillSolid(dc, text, Color());
    DrawCaption(dc, Caption(), text, DT_LEFT | DT_SINGLELINE, Font(), Enabled());
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
    ControlStyle = {csSetCaption, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetTabStop(true);
    SetColor(clBtnFace);
    SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool isDefault)
{
    if (isDefault == default_)
        return;
    default_ = isDefault;
    // Without a focused button the default one is the active one.
    TCustomForm* form = ParentForm();
    TWinControl* focused = form != nullptr ? form->ActiveControl() : nullptr;
    active_ = focused == this || (default_ && dynamic_cast<TButton*>(focused) == nullptr);
    Invalidate();
}

void TButton::Click()
{
    TWinControl::Click();
}

void TButton::SetDown(bool down)
{
    if (down == down_)
        return;
    down_ = down;
    Repaint();
}

void TButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CM_DIALOGKEY:
        if (((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_)) && CanFocus()) {
            Click();
            m.Result = 1;
        }
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
            SetFocus();
            Click();
            m.Result = 1;
        }
        return;
    case CM_FOCUSCHANGED: {
        auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
        const bool active = focused == this || (default_ && dynamic_cast<TButton*>(focused) == nullptr);
        if (active != active_) {
            active_ = active;
            Invalidate();
        }
        return;
    }
    default:
        TWinControl::WndProc(m);
        return;
    }
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && Enabled()) {
        if (CanFocus())
            SetFocus();
        mouseHeld_ = true;
        SetDown(true);
    }
    TWinControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y)
{
    if (mouseHeld_)
        SetDown(ClientRect().Contains({x, y}));
    TWinControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && mouseHeld_) {
        mouseHeld_ = false;
        SetDown(false);
    }
    TWinControl::MouseUp(button, shift, x, y);
}

void TButton::KeyDown(WORD& key, TShiftState shift)
{
    if (key == VK_SPACE && !spaceHeld_) {
        spaceHeld_ = true;
        SetDown(true);
    }
    TWinControl::KeyDown(key, shift);
}

void TButton::KeyUp(WORD& key, TShiftState shift)
{
    if (key == VK_SPACE && spaceHeld_) {
        spaceHeld_ = false;
        SetDown(false);
        Click();
    }
    TWinControl::KeyUp(key, shift);
}

//  [black frame while active]
//  outer edge: highlight / dark shadow, inner edge: light / shadow (raised)
//  pushed: one shadow line, content moved one pixel right and down
//  focus: dotted rectangle four pixels inside the outer edge
void TButton::PaintWindow(HDC dc)
{
    TRect face = ClientRect();
    FillSolid(dc, face, clBtnFace);
    {
        TCanvas canvas;
        TCanvasBinding bound(canvas, dc);
        if (active_) {
            canvas.Brush()->SetColor(clWindowFrame);
            canvas.FrameRect(face); // the button Enter presses
            face = InflateRect(face, -1, -1);
        }
        if (down_) {
            canvas.Brush()->SetColor(clBtnShadow);
            canvas.FrameRect(face);
            face = InflateRect(face, -1, -1);
        } else {
            Frame3D(&canvas, face, clBtnHighlight, cl3DDkShadow, 1); // outer edge
            Frame3D(&canvas, face, cl3DLight, clBtnShadow, 1);       // inner edge
        }
    }
    const TRect content = down_ ? OffsetRect(face, 1, 1) : face;
    {
        TCanvas contentCanvas;
        TCanvasBinding bound(contentCanvas, dc);
        PaintContent(&contentCanvas, content, down_);
    }
    if (Focused()) {
        const TRect focus = InflateRect(ClientRect(), -4, -4);
        DrawFocusRect(dc, focus);
    }
}

void TButton::PaintContent(TCanvas* canvas, const TRect& rect, bool)
{
    DrawCaption(canvas->Handle(), Caption(), rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Font(), Enabled());
}
