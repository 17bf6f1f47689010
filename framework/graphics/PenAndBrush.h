// The persistent brush and pen a canvas paints with.
#pragma once

#include "framework/runtime/Classes.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GdiObjects.h"
#include "framework/graphics/RasterOps.h"

#include <QImage>

#include <memory>

class TBitmap;

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// Defaults: solid white. Each setter raises OnChange once, and only on a real change.
class TBrush : public TPersistent {
public:
    TBrush();
    ~TBrush() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // A pattern bitmap, not owned. Setting one makes this a pattern brush
    // painting a snapshot of the bitmap's pixels as they are now, tiled from
    // the device origin; null returns to Style. The pointer is only reported
    // back by Bitmap(), never followed later, so the bitmap may go first.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);

    LOGBRUSH Description() const;
    // The brush object of this description, owned by the TBrush: one object
    // for the TBrush's whole life, its description following every change.
    HBRUSH Handle() const;

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    QImage pattern_;
    bool patternMonochrome_ = false;
    mutable std::unique_ptr<TBrushObject> handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
// The ROP2 code of a pen mode.
int PenModeToRop2(TPenMode mode);

// Defaults: solid black, width 1, mode pmCopy.
class TPen : public TPersistent {
public:
    TPen();
    ~TPen() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);

    LOGPEN Description() const;
    // The pen object, owned by the TPen for its whole life (description follows changes).
    HPEN Handle() const;

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    mutable std::unique_ptr<TPenObject> handle_;
};
