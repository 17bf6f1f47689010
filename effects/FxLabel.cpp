#include "effects/FxLabel.h"

#include "effects/FxText.h"

#include <optional>

namespace {

// DrawText's alignment bits for each placement, in TFxAlignment order.
constexpr UINT AlignmentFormats[] = {
    DT_LEFT | DT_TOP,        // agTopLeft
    DT_CENTER | DT_TOP,      // agTopCenter
    DT_RIGHT | DT_TOP,       // agTopRight
    DT_LEFT | DT_VCENTER,    // agCenterLeft
    DT_CENTER | DT_VCENTER,  // agCenter
    DT_RIGHT | DT_VCENTER,   // agCenterRight
    DT_LEFT | DT_BOTTOM,     // agBottomLeft
    DT_CENTER | DT_BOTTOM,   // agBottomCenter
    DT_RIGHT | DT_BOTTOM,    // agBottomRight
};

bool InTopRow(TFxAlignment alignment)
{
    return alignment == agTopLeft || alignment == agTopCenter || alignment == agTopRight;
}

// Outline fonts rotate; the raster stand-ins do not.
bool IsTrueTypeFont(const TFont& font)
{
    const HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font.Handle());
    TEXTMETRIC metrics;
    GetTextMetrics(dc, &metrics);
    DeleteDC(dc);
    return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

} // namespace

UINT AlignmentTextFormat(TFxAlignment alignment)
{
    return AlignmentFormats[alignment];
}

// ---------------------------------------------------------------------------
// TFxBaseLabel

TFxBaseLabel::TFxBaseLabel(TComponent* owner) : TFxBaseGraphicControl(owner)
{
    ControlStyle.Include(csReplicatable);
    SetParentColor(true);
}

void TFxBaseLabel::SetAlignment(TFxAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    ContentChanged(this);
}

void TFxBaseLabel::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TFxBaseLabel::SetShowAccelChar(bool show)
{
    if (show == showAccelChar_)
        return;
    showAccelChar_ = show;
    PaintNow();
}

void TFxBaseLabel::SetMultiLine(bool multiLine)
{
    if (multiLine == multiLine_)
        return;
    multiLine_ = multiLine;
    ContentChanged(this);
}

void TFxBaseLabel::Notification(TComponent* component, TOperation operation)
{
    TFxBaseGraphicControl::Notification(component, operation);
    focusControl_.Notification(component, operation);
}

void TFxBaseLabel::Loaded()
{
    TFxBaseGraphicControl::Loaded();
    ControlCanvas()->SetFont(Font());
    AdjustBounds();
}

bool TFxBaseLabel::IsEmptyContent() const
{
    return Transparent() && Caption().empty();
}

void TFxBaseLabel::ContentChanged(TObject*)
{
    AdjustBounds();
    PaintNow();
}

void TFxBaseLabel::FontChanged(TObject*)
{
}

void TFxBaseLabel::TextChanged()
{
    AdjustBounds();
    PaintNow();
}

void TFxBaseLabel::EnabledChanged()
{
    TFxBaseGraphicControl::EnabledChanged();
    PaintNow();
}

void TFxBaseLabel::WndProc(TMessage& message)
{
    if (message.Msg == CM_DIALOGCHAR) {
        // The caption's accelerator moves the focus to the label's control.
        TWinControl* focusControl = focusControl_.Get();
        if (showAccelChar_ && focusControl != nullptr && Enabled() &&
            IsAccel(static_cast<char>(message.WParam), Caption()) && focusControl->CanFocus()) {
            focusControl->SetFocus();
            message.Result = 1;
        }
        return;
    }
    TFxBaseGraphicControl::WndProc(message);
}

// ---------------------------------------------------------------------------
// TFxCustomLabel

TFxCustomLabel::TFxCustomLabel(TComponent* owner)
    : TFxBaseLabel(owner), bevel_(std::make_unique<TFxBevel>()), fontFx_(std::make_unique<TFxCaption>())
{
    bevel_->OnChange = [this](TObject* sender) { ContentChanged(sender); };
    fontFx_->OnChange = [this](TObject* sender) { FontChanged(sender); };
}

TFxCustomLabel::~TFxCustomLabel()
{
    bevel_->OnChange = nullptr;
    fontFx_->OnChange = nullptr;
}

bool TFxCustomLabel::IsEmptyContent() const
{
    return TFxBaseLabel::IsEmptyContent() && bevel_->TotalWidth() == 0;
}

void TFxCustomLabel::FontChanged(TObject* source)
{
    if (IsLoading())
        return;
    ControlCanvas()->SetFont(Font());
    if (fontFx_->Angle() != 0 && !IsTrueTypeFont(*Font())) {
        // A raster font cannot turn: a new font drops the angle, a new angle
        // brings an outline font (whose change comes back here).
        if (source == Font()) {
            fontFx_->SetAngle(0);
        } else if (source == fontFx_.get()) {
            Font()->SetName("Arial");
            return;
        }
    }
    ContentChanged(source);
}

void TFxCustomLabel::AdjustBounds()
{
    if (!AutoSize() || IsLoading())
        return;
    TRect rect = ClientRect();
    MeasureEffectText(ControlCanvas(), Caption(), fontFx_.get(), rect, Font(), MultiLine(), ShowAccelChar(),
                      bevel_->TotalWidth());
    SetBounds(Left(), Top(), rect.Right, rect.Bottom);
}

bool TFxCustomLabel::SkipBevelBorder() const
{
    return bevel_->BorderColor() == Color() || Transparent();
}

void TFxCustomLabel::PaintBackground(TCanvas* canvas, const TRect& rect, bool withParentBackground)
{
    if (!Transparent()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->Pen()->SetStyle(psClear);
        canvas->FillRect(rect);
    } else if (withParentBackground && UsesParentBackground()) {
        PaintParentBackground(canvas, rect);
    }
}

TRect TFxCustomLabel::TextLayout(const TRect& inner, UINT& format)
{
    format = AlignmentTextFormat(Alignment()) | DT_WORDBREAK | DT_EXPANDTABS;
    if (!ShowAccelChar())
        format |= DT_NOPREFIX;
    if (AutoSize())
        return inner;
    const auto aligned = [&] {
        return AlignEffectText(Alignment(), Caption(), fontFx_.get(), inner, Font(), MultiLine(), ShowAccelChar());
    };
    if (fontFx_->Angle() != 0) {
        format |= DT_SINGLELINE;
        return Alignment() == agTopLeft ? inner : aligned();
    }
    if (!MultiLine()) {
        format |= DT_SINGLELINE;
        return inner;
    }
    return InTopRow(Alignment()) ? inner : aligned();
}

//  Design time only: a black dashed outline shows where the empty label lies.
void TFxCustomLabel::PaintDesignOutline()
{
    if (!IsDesigning())
        return;
    TCanvas* canvas = ControlCanvas();
    canvas->Pen()->SetStyle(psDash);
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(ClientRect());
}

void TFxCustomLabel::Paint()
{
    if (painting_ || IsLoading())
        return;
    if (IsEmptyContent()) {
        PaintDesignOutline();
        return;
    }
    const TFxFlagScope painting(painting_);
    TCanvas* canvas = ControlCanvas();
    PaintBackground(canvas, ClientRect(), false);
    TRect rect = ClientRect();
    TFxTextState state;
    if (Enabled())
        state.Include(tsEnabled);
    std::optional<TRect> clip;
    if (bevel_->TotalWidth() != 0) {
        rect = bevel_->PaintBevel(canvas, rect, SkipBevelBorder());
        state.Include(tsClip);
        // Our contexts clip in the control's own coordinates: no shift by its position.
        clip = rect;
    }
    UINT format = 0;
    const TRect textRect = TextLayout(rect, format);
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    DrawEffectText(canvas, Caption(), fontFx_.get(), textRect, format, state, clip ? &*clip : nullptr);
}
