// Fill descriptions: what covers a rectangle (a brush, a pattern bitmap, a
// picture, a gradient) and the painter that lays it down.
#pragma once

#include "effects/FxGradient.h"
#include "effects/FxPicture.h"

#include "services/FxObjects.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/PenAndBrush.h"

#include <memory>

enum TFxFillStyle { sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient };
enum TFxTileMode { tmNone, tmCenter, tmStretch, tmTile };

// The part of a fill shared by every shape that can be filled.
class TFxShapeFill : public TFxObject {
public:
    TFxShapeFill();
    ~TFxShapeFill() override;

    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(const TBitmap* bitmap) { bitmap_->Assign(bitmap); }
    TFxFillStyle Style() const { return style_; }
    void SetStyle(TFxFillStyle style) { SetAndChange(style_, style); }
    TFxGradient* Gradient() const { return gradient_.get(); }
    void SetGradient(const TFxGradient* gradient) { gradient_->Assign(gradient); }
    TFxTileMode TileMode() const { return tileMode_; }
    void SetTileMode(TFxTileMode mode) { SetAndChange(tileMode_, mode); }

    // The picture an image list gave (painted by sfBitmapList).
    TBitmap* ListBitmap() const { return listBitmap_.get(); }

    // Nothing to paint: sfNone, or a bitmap style whose picture is empty.
    bool IsEmptyFill() const;

    void Assign(const TPersistent* source) override;

private:
    std::unique_ptr<TBitmap> bitmap_;
    std::unique_ptr<TBitmap> listBitmap_;
    std::unique_ptr<TFxGradient> gradient_;
    TFxFillStyle style_ = sfBrush;
    TFxTileMode tileMode_ = tmTile;
};

enum TFxFillOption {
    foFillInner,    // paint the background where a picture leaves the rectangle uncovered
    foQuickDraw,    // never select the picture's palette
    foGrUseBitmap,  // paint gradients off screen and transfer them in one copy
};
using TFxFillOptions = Set<TFxFillOption>;

// A complete fill: the shape fill with a brush, picture placement and options.
class TFxFillObject : public TFxShapeFill {
public:
    TFxFillObject();
    ~TFxFillObject() override;

    // Placement of an untiled picture; a change is announced only when it shows.
    TFxAlignment Alignment() const { return alignment_; }
    void SetAlignment(TFxAlignment alignment);
    int OffsetX() const { return offsetX_; }
    void SetOffsetX(int offset);
    int OffsetY() const { return offsetY_; }
    void SetOffsetY(int offset);

    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(const TBrush* brush) { brush_->Assign(brush); }
    TFxFillOptions Options() const { return options_; }
    void SetOptions(TFxFillOptions options) { SetAndChange(options_, options); }

    // Paints the fill into rect; background serves sfBrush's hatch gaps and
    // the uncovered part of a picture. True when something covering was
    // painted; false for sfNone and an empty picture.
    bool PaintFill(TCanvas* canvas, const TRect& rect, TColor background);

    // Alignment and offsets are not copied.
    void Assign(const TPersistent* source) override;

private:
    void SetPlacement(int& field, int value);
    bool PlacementShows() const;
    bool PaintPicture(TCanvas* canvas, const TRect& rect, TColor background, TBitmap& picture);
    void FillBackground(TCanvas* canvas, const TRect& rect, TColor background) const;

    TFxAlignment alignment_ = agTopLeft;
    std::unique_ptr<TBrush> brush_;
    int offsetX_ = 0;
    int offsetY_ = 0;
    TFxFillOptions options_{foFillInner, foGrUseBitmap};
};
