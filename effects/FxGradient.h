// Colour gradients: the gradient description, its band colours and palette,
// and the painters that lay the bands out as filled shapes.
#pragma once

#include "services/FxObjects.h"

#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GdiObjects.h"

#include <cstdint>
#include <vector>

enum TFxGradientStyle {
    gstHorizontal,
    gstVertical,
    gstSquare,
    gstElliptic,
    gstTopLeft,
    gstTopRight,
    gstBottomLeft,
    gstBottomRight
};

// Number of bands: 2..236.
using TFxColorCount = std::uint8_t;
constexpr TFxColorCount MinColorCount = 2;
constexpr TFxColorCount MaxColorCount = 236;

// Band colours, plain RGB, first band first.
using TFxColorList = std::vector<TColor>;

// Flags of FillGradientRect and PaintGradientRect.
constexpr WORD gfClip = 0x0001;       // clip to the rectangle (not with gfUseBitmap)
constexpr WORD gfUseBitmap = 0x0004;  // paint off screen, transfer in one copy
constexpr WORD gfPalette = 0x1000;    // select and realise the palette

// Packs a clip offset: x in the low 16 bits, y in the high 16 bits.
constexpr DWORD MakeClipOffset(std::uint16_t x, std::uint16_t y) { return DWORD{x} | (DWORD{y} << 16); }

class TFxGradient : public TFxObject {
public:
    TFxGradient();
    ~TFxGradient() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color) { SetAndChange(color_, color); }
    // Values outside 2..236 are brought into that range.
    TFxColorCount ColorCount() const { return colorCount_; }
    void SetColorCount(TFxColorCount count);
    TFxGradientStyle Style() const { return style_; }
    void SetStyle(TFxGradientStyle style) { SetAndChange(style_, style); }
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor color) { SetAndChange(endColor_, color); }
    bool PaletteRealize() const { return paletteRealize_; }
    void SetPaletteRealize(bool realize) { SetAndChange(paletteRealize_, realize); }

    // Recomputed on every change, before listeners hear of it.
    const TFxColorList& BandColors() const { return bandColors_; }
    // A palette of the band colours while PaletteRealize is on, else null.
    HPALETTE PaletteHandle() const { return palette_; }

    void Assign(const TPersistent* source) override;
    void Change() override;

private:
    void RebuildColors();
    void DeletePalette();

    TColor color_ = clBlue;
    TFxColorCount colorCount_ = 16;
    TFxGradientStyle style_ = gstVertical;
    TColor endColor_ = clBlack;
    bool paletteRealize_ = false;
    TFxColorList bandColors_;
    HPALETTE palette_ = nullptr;
};

// Fills colors with count bands from start to end (both included); per
// channel start + MulDiv(i, end - start, count - 1), modulo 256. Nothing
// happens for a null list or a count of 0.
void BuildGradientColors(TColor start, TColor end, int count, TFxColorList* colors);

// A logical palette of the colours (no-collapse entries); null for a null or
// empty list. The caller deletes it.
HPALETTE CreateGradientPalette(const TFxColorList* colors);

// Paints the bands of colors into rect in the style's geometry, as at most
// colors->size() filled shapes. The canvas is left with a solid brush and a
// clear pen. palette may be null.
void FillGradientRect(TCanvas* canvas, const TRect& rect, TFxGradientStyle style, const TFxColorList* colors,
                      HPALETTE palette, WORD flags, DWORD clipOffset);

// FillGradientRect with band colours made for the call (and a palette when
// flags ask for one), released afterwards.
void PaintGradientRect(TCanvas* canvas, const TRect& rect, TColor start, TColor end, int count,
                       TFxGradientStyle style, WORD flags, DWORD clipOffset);
