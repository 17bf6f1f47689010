#include "framework/graphics/PenAndBrush.h"

#include "framework/graphics/Bitmap.h"

#include <array>

namespace {

// TPenMode in declaration order, and the ROP2 code each one means.
constexpr std::array<int, 16> PenModeRop2 = {
    R2_BLACK,        // pmBlack
    R2_WHITE,        // pmWhite
    R2_NOP,          // pmNop
    R2_NOT,          // pmNot
    R2_COPYPEN,      // pmCopy
    R2_NOTCOPYPEN,   // pmNotCopy
    R2_MERGEPENNOT,  // pmMergePenNot
    R2_MASKPENNOT,   // pmMaskPenNot
    R2_MERGENOTPEN,  // pmMergeNotPen
    R2_MASKNOTPEN,   // pmMaskNotPen
    R2_MERGEPEN,     // pmMerge
    R2_NOTMERGEPEN,  // pmNotMerge
    R2_MASKPEN,      // pmMask
    R2_NOTMASKPEN,   // pmNotMask
    R2_XORPEN,       // pmXor
    R2_NOTXORPEN,    // pmNotXor
};

// TPenStyle in declaration order, and the pen style each one means.
constexpr std::array<UINT, 7> PenStyleCode = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL,
                                              PS_INSIDEFRAME};

// The hatch of each hatched TBrushStyle (from bsHorizontal on).
constexpr std::array<int, 6> BrushHatch = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL,
                                           HS_BDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};

}  // namespace

int PenModeToRop2(TPenMode mode)
{
    return PenModeRop2[static_cast<std::size_t>(mode)];
}

// ---- TBrush ------------------------------------------------------------------

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TBrush::SetStyle(TBrushStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TBrush::SetBitmap(TBitmap* bitmap)
{
    QImage pattern = bitmap != nullptr ? bitmap->Image() : QImage();
    const bool monochrome = bitmap != nullptr && bitmap->Monochrome();
    if (bitmap == bitmap_ && pattern == pattern_ && monochrome == patternMonochrome_)
        return;
    bitmap_ = bitmap;
    pattern_ = std::move(pattern);
    patternMonochrome_ = monochrome;
    Changed();
}

LOGBRUSH TBrush::Description() const
{
    LOGBRUSH brush;
    brush.lbColor = color_;
    if (bitmap_ != nullptr && !pattern_.isNull()) {
        brush.lbStyle = BS_PATTERN;
        brush.lbPattern = pattern_;
        brush.lbPatternMonochrome = patternMonochrome_;
    } else if (style_ == bsSolid) {
        brush.lbStyle = BS_SOLID;
    } else if (style_ == bsClear) {
        brush.lbStyle = BS_NULL;
    } else {
        brush.lbStyle = BS_HATCHED;
        brush.lbHatch = BrushHatch[static_cast<std::size_t>(style_ - bsHorizontal)];
    }
    return brush;
}

HBRUSH TBrush::Handle() const
{
    if (!handle_)
        handle_ = std::make_unique<TBrushObject>(Description());
    return handle_.get();
}

void TBrush::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TBrush*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (color_ == other->color_ && style_ == other->style_ && bitmap_ == other->bitmap_ &&
        pattern_ == other->pattern_)
        return;
    color_ = other->color_;
    style_ = other->style_;
    bitmap_ = other->bitmap_;
    pattern_ = other->pattern_;
    patternMonochrome_ = other->patternMonochrome_;
    Changed();
}

void TBrush::Changed()
{
    // The object stays (a context or a caller may hold it); its description follows.
    if (handle_)
        handle_->Brush = Description();
    if (OnChange)
        OnChange(this);
}

// ---- TPen ----------------------------------------------------------------------

TPen::TPen() = default;
TPen::~TPen() = default;

void TPen::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TPen::SetWidth(int width)
{
    if (width == width_)
        return;
    width_ = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TPen::SetMode(TPenMode mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    Changed();
}

LOGPEN TPen::Description() const
{
    return LOGPEN{PenStyleCode[static_cast<std::size_t>(style_)], width_, color_};
}

HPEN TPen::Handle() const
{
    if (!handle_)
        handle_ = std::make_unique<TPenObject>(Description());
    return handle_.get();
}

void TPen::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TPen*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (color_ == other->color_ && width_ == other->width_ && style_ == other->style_ && mode_ == other->mode_)
        return;
    color_ = other->color_;
    width_ = other->width_;
    style_ = other->style_;
    mode_ = other->mode_;
    Changed();
}

void TPen::Changed()
{
    if (handle_)
        handle_->Pen = Description();
    if (OnChange)
        OnChange(this);
}
