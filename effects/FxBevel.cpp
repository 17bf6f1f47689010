#include "effects/FxBevel.h"

#include <algorithm>

namespace {

// The colours a frame is drawn in, by role.
enum TFrameRole { frLight, frShadow, frDarkShadow, frSoftLight, frFace, frWindowFrame };

struct TFramePair {
    TFrameRole TopLeft;
    TFrameRole BottomRight;
};

// The standard border styles: up to two one-pixel frames, outer first.
struct TStandardBorder {
    TFxBorderStyle Style;
    int Frames;
    TFramePair Outer;
    TFramePair Inner;
};

constexpr TStandardBorder StandardBorders[] = {
    {lsNone, 0, {}, {}},
    {lsSingle, 1, {frWindowFrame, frWindowFrame}, {}},
    {lsLowered, 2, {frShadow, frLight}, {frDarkShadow, frSoftLight}},       // sunken client edge
    {lsRaised, 2, {frSoftLight, frDarkShadow}, {frLight, frShadow}},        // raised button edge
    {lsRaisedspb, 2, {frLight, frDarkShadow}, {frFace, frShadow}},          // speed button up
    {lsLoweredspb, 2, {frDarkShadow, frLight}, {frShadow, frFace}},         // speed button down
    {lsRaisedExt, 2, {frLight, frDarkShadow}, {frSoftLight, frShadow}},
    {lsLoweredExt, 2, {frDarkShadow, frLight}, {frShadow, frSoftLight}},
    {lsFrameInset, 2, {frShadow, frLight}, {frLight, frShadow}},            // etched groove
    {lsFrameOffset, 2, {frLight, frShadow}, {frShadow, frLight}},           // bump ridge
    {lsWindowBorder, 2, {frFace, frDarkShadow}, {frLight, frShadow}},       // classic window frame
    {lsSingleRaised, 1, {frLight, frShadow}, {}},
    {lsSingleLowered, 1, {frShadow, frLight}, {}},
    {lsDoubleRaised, 2, {frLight, frShadow}, {frLight, frShadow}},
    {lsDoubleLowered, 2, {frShadow, frLight}, {frShadow, frLight}},
};

// The window system's edges of the edge mode.
constexpr UINT EdgeFlags[] = {
    BDR_RAISEDINNER,  // etRaisedInner
    BDR_RAISEDOUTER,  // etRaisedOuter
    BDR_SUNKENINNER,  // etSunkenInner
    BDR_SUNKENOUTER,  // etSunkenOuter
    EDGE_BUMP,        // etBump
    EDGE_ETCHED,      // etEtched
    EDGE_RAISED,      // etRaised
    EDGE_SUNKEN,      // etSunken
};

UINT SideFlags(TFxBorderSides sides)
{
    UINT flags = 0;
    if (sides.Contains(fsLeft))
        flags |= BF_LEFT;
    if (sides.Contains(fsTop))
        flags |= BF_TOP;
    if (sides.Contains(fsRight))
        flags |= BF_RIGHT;
    if (sides.Contains(fsBottom))
        flags |= BF_BOTTOM;
    return flags;
}

bool IsFrameStyle(TFxBevelStyle style)
{
    return style == TFxBevelStyle::bvFrameLowered || style == TFxBevelStyle::bvFrameRaised;
}

// Gives the canvas its pen and brush back after local drawing.
class TToolsKeeper {
public:
    explicit TToolsKeeper(TCanvas* canvas) : canvas_(canvas)
    {
        pen_.Assign(canvas->Pen());
        brush_.Assign(canvas->Brush());
    }
    ~TToolsKeeper()
    {
        canvas_->SetPen(&pen_);
        canvas_->SetBrush(&brush_);
    }
    TToolsKeeper(const TToolsKeeper&) = delete;
    TToolsKeeper& operator=(const TToolsKeeper&) = delete;

private:
    TCanvas* canvas_;
    TPen pen_;
    TBrush brush_;
};

} // namespace

TFxBevel::TFxBevel()
{
    totalWidth_ = ComputeTotalWidth();
}

void TFxBevel::SetCoupledStyle(TFxBevelStyle& field, TFxBevelStyle& other, TFxBevelStyle style)
{
    if (style == field)
        return;
    if (style == TFxBevelStyle::bvShadow)
        other = TFxBevelStyle::bvShadow;
    else if (field == TFxBevelStyle::bvShadow)
        other = TFxBevelStyle::bvNone;
    field = style;
    Change();
}

void TFxBevel::SetWidthInner(std::uint8_t width)
{
    SetAndChange(widthInner_, std::min(width, MaxBevelWidth));
}

void TFxBevel::SetWidthOuter(std::uint8_t width)
{
    SetAndChange(widthOuter_, std::min(width, MaxBevelWidth));
}

void TFxBevel::SetStandardStyle(TFxBorderStyle style)
{
    if (style == standardStyle_)
        return;
    standardStyle_ = style;
    if (mode_ == bmStandard)
        Change();
}

int TFxBevel::ComputeTotalWidth() const
{
    switch (mode_) {
    case bmCustom: {
        if (styleInner_ == TFxBevelStyle::bvShadow)
            return widthOuter_ / 2 + widthInner_ + 1 + borderInnerWidth_;
        int width = borderWidth_ + borderInnerWidth_;
        if (styleOuter_ != TFxBevelStyle::bvNone)
            width += widthOuter_ + (IsFrameStyle(styleOuter_) ? 1 : 0);
        if (styleInner_ != TFxBevelStyle::bvNone)
            width += widthInner_ + (IsFrameStyle(styleInner_) ? 1 : 0);
        return width;
    }
    case bmStandard:
        return StandardBorders[standardStyle_].Frames + borderInnerWidth_;
    case bmEdge:
        return (borderSides_.Empty() ? 0 : 2) + borderInnerWidth_;
    }
    return 0;
}

void TFxBevel::Change()
{
    totalWidth_ = ComputeTotalWidth();
    TFxObject::Change();
}

void TFxBevel::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TFxBevel*>(source);
    if (other == nullptr) {
        TFxObject::Assign(source);
        return;
    }
    BeginUpdate();
    styleInner_ = other->styleInner_;
    styleOuter_ = other->styleOuter_;
    widthInner_ = other->widthInner_;
    widthOuter_ = other->widthOuter_;
    borderColor_ = other->borderColor_;
    borderSides_ = other->borderSides_;
    borderWidth_ = other->borderWidth_;
    borderInnerWidth_ = other->borderInnerWidth_;
    edgeStyle_ = other->edgeStyle_;
    lightColor_ = other->lightColor_;
    mode_ = other->mode_;
    shadowColor_ = other->shadowColor_;
    standardStyle_ = other->standardStyle_;
    EndUpdate(true);
}

TRect TFxBevel::PaintBevel(TCanvas* canvas, const TRect& rect, bool skipBorder) const
{
    if (canvas == nullptr || totalWidth_ == 0)
        return rect;
    const TToolsKeeper keeper(canvas);
    switch (mode_) {
    case bmCustom: return PaintCustom(canvas, rect, skipBorder);
    case bmStandard: return PaintBorderBand(canvas, PaintStandard(canvas, rect), borderInnerWidth_, skipBorder);
    case bmEdge: return PaintBorderBand(canvas, PaintEdge(canvas, rect), borderInnerWidth_, skipBorder);
    }
    return rect;
}

// Nested one-pixel frames in BorderColor, or just the room they take.
TRect TFxBevel::PaintBorderBand(TCanvas* canvas, TRect rect, int width, bool skip) const
{
    if (!skip && width > 0) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(borderColor_);
        for (int i = 0; i < width; ++i)
            canvas->FrameRect(InflateRect(rect, -i, -i));
    }
    return InflateRect(rect, -width, -width);
}

// One custom frame of the given width:
//   lowered: shadow top-left, light bottom-right; raised: the reverse;
//   frame lowered (etched): lowered, then one raised pixel inside;
//   frame raised (bump): raised, then one lowered pixel inside;
//   normal: a flat frame in the window-frame colour.
TRect TFxBevel::PaintFrame(TCanvas* canvas, TRect rect, TFxBevelStyle style, int width) const
{
    switch (style) {
    case TFxBevelStyle::bvNone:
    case TFxBevelStyle::bvShadow:
        break;
    case TFxBevelStyle::bvLowered:
        Frame3D(canvas, rect, shadowColor_, lightColor_, width);
        break;
    case TFxBevelStyle::bvRaised:
        Frame3D(canvas, rect, lightColor_, shadowColor_, width);
        break;
    case TFxBevelStyle::bvFrameLowered:
        Frame3D(canvas, rect, shadowColor_, lightColor_, width);
        Frame3D(canvas, rect, lightColor_, shadowColor_, 1);
        break;
    case TFxBevelStyle::bvFrameRaised:
        Frame3D(canvas, rect, lightColor_, shadowColor_, width);
        Frame3D(canvas, rect, shadowColor_, lightColor_, 1);
        break;
    case TFxBevelStyle::bvNormal:
        Frame3D(canvas, rect, clWindowFrame, clWindowFrame, width);
        break;
    }
    return rect;
}

//   +-----------+      the box: a one-pixel frame in the window-frame colour
//   | +-------+ |#     around a raised frame of WidthInner;
//   | |       | |#     the shadow: WidthOuter wide in ShadowColor, below and
//   | +-------+ |#     right of the box, set off by WidthOuter.
//   +-----------+#
//     ############
TRect TFxBevel::PaintCustom(TCanvas* canvas, TRect rect, bool skipBorder) const
{
    if (styleInner_ == TFxBevelStyle::bvShadow) {
        const int depth = widthOuter_;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(shadowColor_);
        // bottom shadow
        canvas->FillRect(Rect(rect.Left + depth, rect.Bottom - depth, rect.Right, rect.Bottom));
        // right shadow
        canvas->FillRect(Rect(rect.Right - depth, rect.Top + depth, rect.Right, rect.Bottom));
        TRect box = Rect(rect.Left, rect.Top, rect.Right - depth, rect.Bottom - depth);
        // box outline
        Frame3D(canvas, box, clWindowFrame, clWindowFrame, 1);
        // raised face frame
        Frame3D(canvas, box, lightColor_, shadowColor_, widthInner_);
        return PaintBorderBand(canvas, box, borderInnerWidth_, skipBorder);
    }
    rect = PaintFrame(canvas, rect, styleOuter_, widthOuter_);
    rect = PaintBorderBand(canvas, rect, borderWidth_, skipBorder);
    rect = PaintFrame(canvas, rect, styleInner_, widthInner_);
    return PaintBorderBand(canvas, rect, borderInnerWidth_, skipBorder);
}

TRect TFxBevel::PaintStandard(TCanvas* canvas, TRect rect) const
{
    const auto colour = [this](TFrameRole role) -> TColor {
        switch (role) {
        case frLight: return lightColor_;
        case frShadow: return shadowColor_;
        case frDarkShadow: return cl3DDkShadow;
        case frSoftLight: return cl3DLight;
        case frFace: return clBtnFace;
        case frWindowFrame: return clWindowFrame;
        }
        return clBtnFace;
    };
    const TStandardBorder& border = StandardBorders[standardStyle_];
    if (border.Frames >= 1) // outer frame
        Frame3D(canvas, rect, colour(border.Outer.TopLeft), colour(border.Outer.BottomRight), 1);
    if (border.Frames >= 2) // inner frame
        Frame3D(canvas, rect, colour(border.Inner.TopLeft), colour(border.Inner.BottomRight), 1);
    return rect;
}

TRect TFxBevel::PaintEdge(TCanvas* canvas, TRect rect) const
{
    if (borderSides_.Empty())
        return rect;
    TRect edge = rect;
    DrawEdge(canvas->Handle(), edge, EdgeFlags[edgeStyle_], SideFlags(borderSides_));
    return InflateRect(rect, -2, -2);
}
