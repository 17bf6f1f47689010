#include "effects/FxPicture.h"

#include "framework/runtime/ScopeExit.h"

#include <cmath>
#include <vector>

TRect AlignRectIn(TFxAlignment alignment, const TRect& item, const TRect& container)
{
    const int column = static_cast<int>(alignment) % 3;  // left, centre, right
    const int row = static_cast<int>(alignment) / 3;     // top, centre, bottom
    const int freeX = container.Width() - item.Width();
    const int freeY = container.Height() - item.Height();
    const int x = column == 0 ? 0 : column == 1 ? freeX / 2 : freeX;
    const int y = row == 0 ? 0 : row == 1 ? freeY / 2 : freeY;
    return Bounds(container.Left + x, container.Top + y, item.Width(), item.Height());
}

namespace {

// Copies with a given copy mode, giving the target its own mode back.
void CopyWith(TCanvas* target, TCopyMode mode, const TRect& dest, TCanvas& source, const TRect& sourceRect)
{
    const TCopyMode previous = target->CopyMode();
    TScopeExit restore([target, previous] { target->SetCopyMode(previous); });
    target->SetCopyMode(mode);
    target->CopyRect(dest, source, sourceRect);
}

// Sets the context's text and background colours, which map a monochrome
// source onto a colour target, until the object goes.
class TMonoMapping {
public:
    TMonoMapping(HDC dc, TColor forBlack, TColor forWhite)
        : dc_(dc), text_(SetTextColor(dc, forBlack)), background_(SetBkColor(dc, forWhite))
    {
    }
    ~TMonoMapping()
    {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, background_);
    }
    TMonoMapping(const TMonoMapping&) = delete;
    TMonoMapping& operator=(const TMonoMapping&) = delete;

private:
    HDC dc_;
    COLORREF text_;
    COLORREF background_;
};

// The target keeps its pixels where the mask is white and takes the
// picture's elsewhere: AND with the mask, then OR the masked picture.
void MaskedTransfer(TCanvas* target, const TRect& dest, TBitmap& picture, TBitmap& mask, const TRect& source)
{
    const TMonoMapping mapping(target->Handle(), clBlack, clWhite);
    CopyWith(target, cmSrcAnd, dest, *mask.Canvas(), source);
    CopyWith(target, cmSrcPaint, dest, *picture.Canvas(), source);
}

// One copy of the picture: where it lands and which part of the picture it shows.
struct TPlacement {
    TRect Dest;
    TRect Source;
};

// Cuts an unscaled copy to bounds; false when nothing of it is left.
bool CropTo(TPlacement& p, const TRect& bounds)
{
    const TRect cut = IntersectRect(p.Dest, bounds);
    if (cut.IsEmpty())
        return false;
    p.Source = Bounds(p.Source.Left + cut.Left - p.Dest.Left, p.Source.Top + cut.Top - p.Dest.Top, cut.Width(),
                      cut.Height());
    p.Dest = cut;
    return true;
}

// The stretched destination: the whole of dest, or the picture's proportions
// fitted to dest's width, height or both, from dest's top-left.
TRect StretchTarget(const TRect& dest, const TRect& source, WORD flags)
{
    const double sw = source.Width();
    const double sh = source.Height();
    const double dw = dest.Width();
    const double dh = dest.Height();
    const bool fitWidth = (flags & dpFitWidth) != 0;
    const bool fitHeight = (flags & dpFitHeight) != 0;
    // Rounding half to even, as the default floating-point mode does.
    const auto round = [](double v) { return static_cast<int>(std::nearbyint(v)); };
    if (fitWidth && fitHeight) {
        const double scale = std::min(dw / sw, dh / sh);
        return Bounds(dest.Left, dest.Top, round(sw * scale), round(sh * scale));
    }
    if (fitWidth)
        return Bounds(dest.Left, dest.Top, dest.Width(), round(dw / sw * sh));
    if (fitHeight)
        return Bounds(dest.Left, dest.Top, round(dh / sh * sw), dest.Height());
    return dest;
}

std::vector<TPlacement> Placements(const TRect& dest, const TRect& source, WORD flags)
{
    const int sw = source.Width();
    const int sh = source.Height();
    std::vector<TPlacement> copies;
    const auto addUnscaled = [&](int x, int y) {
        TPlacement p{Bounds(x, y, sw, sh), source};
        if (CropTo(p, dest))
            copies.push_back(p);
    };
    if ((flags & dpStretch) != 0) {
        copies.push_back({StretchTarget(dest, source, flags), source});
    } else if ((flags & dpTile) != 0) {
        for (int row = 0; row <= dest.Height() / sh; ++row)
            for (int column = 0; column <= dest.Width() / sw; ++column)
                addUnscaled(dest.Left + column * sw, dest.Top + row * sh);
    } else if ((flags & dpCenter) != 0) {
        addUnscaled(dest.Left + (dest.Width() - sw) / 2, dest.Top + (dest.Height() - sh) / 2);
    } else {
        addUnscaled(dest.Left, dest.Top);
    }
    return copies;
}

} // namespace

void MakeColorMask(TCanvas* canvas, const TRect& rect, TBitmap* mask, TColor keyColor, TBitmap* maskedCopy)
{
    if (canvas == nullptr || mask == nullptr || maskedCopy == nullptr || rect.IsEmpty())
        return;
    const TRect whole = Rect(0, 0, rect.Width(), rect.Height());
    maskedCopy->SetMonochrome(false);
    maskedCopy->SetSize(whole.Right, whole.Bottom);
    CopyWith(maskedCopy->Canvas(), cmSrcCopy, whole, *canvas, rect);

    mask->SetMonochrome(false);
    mask->SetSize(whole.Right, whole.Bottom);
    CopyWith(mask->Canvas(), cmSrcCopy, whole, *canvas, rect);
    mask->Mask(keyColor);

    // AND with the mask read inverted: white mask pixels turn the copy black.
    const TMonoMapping mapping(maskedCopy->Canvas()->Handle(), clWhite, clBlack);
    CopyWith(maskedCopy->Canvas(), cmSrcAnd, whole, *mask->Canvas(), whole);
}

void DrawPicture(TCanvas* target, const TRect& dest, TBitmap& picture, TBitmap* mask, TColor keyColor, WORD flags,
                 const TRect& source)
{
    if (target == nullptr || dest.IsEmpty() || source.IsEmpty() || picture.Empty())
        return;
    const std::vector<TPlacement> copies = Placements(dest, source, flags);
    if (copies.empty())
        return;

    const HDC dc = target->Handle();
    const int previousStretch = (flags & dpStretch) != 0 ? SetStretchBltMode(dc, COLORONCOLOR) : 0;
    TScopeExit restoreStretch([dc, previousStretch] {
        if (previousStretch != 0)
            SetStretchBltMode(dc, previousStretch);
    });

    if ((flags & dpOwnTransparent) != 0) {
        target->Brush()->SetColor(keyColor);
        for (const TPlacement& p : copies)
            target->BrushCopy(p.Dest, picture, p.Source, picture.TransparentColor());
    } else if ((flags & dpMasked) != 0 && mask != nullptr) {
        for (const TPlacement& p : copies)
            MaskedTransfer(target, p.Dest, picture, *mask, p.Source);
    } else if ((flags & dpKeyColor) != 0) {
        // The temporaries hold just the source rectangle, at their origin.
        TBitmap keyMask;
        TBitmap keyMasked;
        MakeColorMask(picture.Canvas(), source, &keyMask, keyColor, &keyMasked);
        for (const TPlacement& p : copies)
            MaskedTransfer(target, p.Dest, keyMasked, keyMask, OffsetRect(p.Source, -source.Left, -source.Top));
    } else {
        for (const TPlacement& p : copies)
            target->CopyRect(p.Dest, *picture.Canvas(), p.Source);
    }
}
