#include "effects/FxGradient.h"

#include "effects/FxClip.h"
#include "effects/FxDisplay.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/DcGuards.h"
#include "framework/runtime/sysutils.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

// ---------------------------------------------------------------------------
// TFxGradient

TFxGradient::TFxGradient()
{
    RebuildColors();
}

TFxGradient::~TFxGradient()
{
    DeletePalette();
}

void TFxGradient::SetColorCount(TFxColorCount count)
{
    SetAndChange(colorCount_, std::clamp(count, MinColorCount, MaxColorCount));
}

void TFxGradient::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TFxGradient*>(source);
    if (other == nullptr) {
        TFxObject::Assign(source);
        return;
    }
    BeginUpdate();
    SetColorCount(other->colorCount_);
    SetColor(other->color_);
    SetStyle(other->style_);
    SetEndColor(other->endColor_);
    SetPaletteRealize(other->paletteRealize_);
    EndUpdate(true);
}

void TFxGradient::Change()
{
    RebuildColors();
    TFxObject::Change();
}

void TFxGradient::DeletePalette()
{
    if (palette_ != nullptr && DeleteObject(palette_))
        palette_ = nullptr;
}

void TFxGradient::RebuildColors()
{
    DeletePalette();
    bandColors_.clear();
    BuildGradientColors(color_, endColor_, colorCount_, &bandColors_);
    if (paletteRealize_ && palette_ == nullptr)
        palette_ = CreateGradientPalette(&bandColors_);
}

// ---------------------------------------------------------------------------
// Band colours and palette

void BuildGradientColors(TColor start, TColor end, int count, TFxColorList* colors)
{
    if (colors == nullptr || count <= 0)
        return;
    colors->clear();
    const TColor from = ColorToRGB(start);
    const TColor to = ColorToRGB(end);
    // One band is the start colour (the general rule would divide by zero).
    const int steps = std::max(count - 1, 1);
    const auto channel = [steps](int c1, int c2, int i) {
        return static_cast<std::uint8_t>((c1 + MulDiv(i, c2 - c1, steps)) & 0xFF);
    };
    for (int i = 0; i < count; ++i)
        colors->push_back(RGB(channel(GetRValue(from), GetRValue(to), i), channel(GetGValue(from), GetGValue(to), i),
                              channel(GetBValue(from), GetBValue(to), i)));
}

HPALETTE CreateGradientPalette(const TFxColorList* colors)
{
    if (colors == nullptr || colors->empty())
        return nullptr;
    LOGPALETTE description;
    description.palVersion = 0x300;
    for (TColor c : *colors)
        description.palPalEntry.push_back({GetRValue(c), GetGValue(c), GetBValue(c), PC_NOCOLLAPSE});
    return CreatePalette(&description);
}

// ---------------------------------------------------------------------------
// Gradient painting

namespace {

enum class TBandShape {
    Columns,         // stripes across the width, first band left
    Rows,            // stripes down the height, first band on top
    CentredSquare,   // nested rectangles about the centre, first band innermost
    CentredEllipse,  // nested ellipses about the centre, first band innermost
    Corner,          // nested rectangles grown from a corner, first band at the corner
};

// How a style lays out its bands. The origin is relative to the rectangle
// (width w, height h); the corner styles give theirs with reversed edges,
// which the shapes normalise. A corner band's rectangle is the origin with
// each edge moved by the growth factor times the band's extent (dw or dh).
struct TStyleGeometry {
    TFxGradientStyle Style;
    TBandShape Shape;
    TRect (*Origin)(int w, int h);
    int GrowLeft, GrowTop, GrowRight, GrowBottom;
};

constexpr TStyleGeometry StyleGeometries[] = {
    {gstHorizontal, TBandShape::Columns, [](int w, int h) { return Rect(0, 0, w, h); }, 0, 0, 0, 0},
    {gstVertical, TBandShape::Rows, [](int w, int h) { return Rect(0, 0, w, h); }, 0, 0, 0, 0},
    {gstSquare, TBandShape::CentredSquare, [](int w, int h) { return Rect(w / 2, h / 2, w / 2, h / 2); }, 0, 0, 0, 0},
    {gstElliptic, TBandShape::CentredEllipse, [](int w, int h) { return Rect(w / 2, h / 2, w / 2, h / 2); }, 0, 0, 0, 0},
    {gstTopLeft, TBandShape::Corner, [](int, int) { return Rect(0, 0, 1, 1); }, 0, 0, 1, 1},
    {gstTopRight, TBandShape::Corner, [](int w, int) { return Rect(w, 1, w + 1, 0); }, -1, 1, 0, 0},
    {gstBottomLeft, TBandShape::Corner, [](int, int h) { return Rect(1, h, 0, h + 1); }, 1, -1, 0, 0},
    {gstBottomRight, TBandShape::Corner, [](int w, int h) { return Rect(w, h, w + 1, h + 1); }, -1, -1, 0, 0},
};

const TStyleGeometry& GeometryOf(TFxGradientStyle style)
{
    for (const TStyleGeometry& g : StyleGeometries)
        if (g.Style == style)
            return g;
    return StyleGeometries[gstVertical];
}

TRect Normalised(const TRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

// The ellipse radius that lets the outermost ellipse reach the corners.
int EllipseRadius(int extent)
{
    return static_cast<int>(std::lround(extent * 5.0 / 7.0));
}

// Paints band i of n over area (w x h, origin placed in it). The canvas has
// a solid brush of the band's colour and a clear pen.
void PaintBand(TCanvas* canvas, const TStyleGeometry& g, const TRect& area, const TRect& origin, int i, int n)
{
    const int w = area.Width();
    const int h = area.Height();
    const int dw = MulDiv(i + 1, w, n);
    const int dh = MulDiv(i + 1, h, n);
    const int cx = origin.Left;
    const int cy = origin.Top;
    switch (g.Shape) {
    case TBandShape::Columns:
        canvas->FillRect(Rect(origin.Left + MulDiv(i, w, n), origin.Top, origin.Left + dw, origin.Bottom));
        break;
    case TBandShape::Rows:
        canvas->FillRect(Rect(origin.Left, origin.Top + MulDiv(i, h, n), origin.Right, origin.Top + dh));
        break;
    case TBandShape::CentredSquare:
        canvas->Rectangle(cx - dw / 2, cy - dh / 2, cx + dw / 2 + 2, cy + dh / 2 + 2);
        break;
    case TBandShape::CentredEllipse: {
        // The outermost ellipse is meant to reach the corners; without a pen
        // it misses a corner pixel or two, so that band covers the whole area.
        if (i == n - 1) {
            canvas->FillRect(area);
            break;
        }
        const int a = EllipseRadius(dw);
        const int b = EllipseRadius(dh);
        canvas->Ellipse(cx - a, cy - b, cx + a, cy + b);
        break;
    }
    case TBandShape::Corner:
        canvas->Rectangle(Normalised(Rect(origin.Left + g.GrowLeft * dw, origin.Top + g.GrowTop * dh,
                                          origin.Right + g.GrowRight * dw, origin.Bottom + g.GrowBottom * dh)));
        break;
    }
}

} // namespace

void FillGradientRect(TCanvas* canvas, const TRect& rect, TFxGradientStyle style, const TFxColorList* colors,
                      HPALETTE palette, WORD flags, DWORD clipOffset)
{
    if (canvas == nullptr || colors == nullptr || colors->empty() || rect.IsEmpty())
        return;
    const int w = rect.Width();
    const int h = rect.Height();
    const int n = static_cast<int>(colors->size());
    const bool usePalette = (flags & gfPalette) != 0 && PaletteUseAllowed();
    const TStyleGeometry& geometry = GeometryOf(style);
    TRect origin = geometry.Origin(w, h);
    TRect area = Rect(0, 0, w, h);

    // Declared in release order: the clip and the palettes go before the bitmap.
    std::unique_ptr<TBitmap> offscreen;
    std::optional<TFxScopedClip> clip;
    TCanvas* target = canvas;
    if ((flags & gfUseBitmap) != 0) {
        offscreen = std::make_unique<TBitmap>(w, h);
        target = offscreen->Canvas();
    } else {
        if ((flags & gfClip) != 0) {
            const TRect clipRect =
                clipOffset == 0 ? rect : OffsetRect(rect, static_cast<int>(clipOffset & 0xFFFF), static_cast<int>(clipOffset >> 16));
            clip.emplace(canvas->Handle(), clipRect);
        }
        origin = OffsetRect(origin, rect.Left, rect.Top);
        area = rect;
    }
    std::optional<TFxPaletteSelection> targetPalette;
    if (usePalette)
        targetPalette.emplace(target->Handle(), palette);

    target->Brush()->SetStyle(bsSolid);
    target->Pen()->SetStyle(psClear);
    const auto paint = [&](int i) {
        const TColor c = (*colors)[static_cast<std::size_t>(i)];
        target->Brush()->SetColor(usePalette ? (ColorToRGB(c) | PaletteRelativeFlag) : ColorToRGB(c));
        PaintBand(target, geometry, area, origin, i, n);
    };
    // Later (larger) shapes go first so the smaller ones overdraw them.
    if (geometry.Shape == TBandShape::Columns)
        for (int i = 0; i < n; ++i)
            paint(i);
    else
        for (int i = n - 1; i >= 0; --i)
            paint(i);

    if (offscreen) {
        std::optional<TFxPaletteSelection> canvasPalette;
        if (usePalette)
            canvasPalette.emplace(canvas->Handle(), palette);
        const TCopyMode mode = canvas->CopyMode();
        canvas->SetCopyMode(cmSrcCopy);
        canvas->CopyRect(rect, *offscreen->Canvas(), Rect(0, 0, w, h));
        canvas->SetCopyMode(mode);
    }
}

void PaintGradientRect(TCanvas* canvas, const TRect& rect, TColor start, TColor end, int count,
                       TFxGradientStyle style, WORD flags, DWORD clipOffset)
{
    TFxColorList colors;
    BuildGradientColors(start, end, count, &colors);
    const HPALETTE palette = (flags & gfPalette) != 0 ? CreateGradientPalette(&colors) : nullptr;
    TOwnedObject ownedPalette(palette);
    FillGradientRect(canvas, rect, style, &colors, palette, flags, clipOffset);
}
