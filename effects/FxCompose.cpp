#include "effects/FxCompose.h"

#include "effects/FxPicture.h"

void ComposeTextFill(TBitmap& text, TBitmap& fill, const TRect& rect, TColor faceColor, TBitmap& composed)
{
    composed.SetSize(0, 0);
    if (rect.IsEmpty() || text.Empty() || fill.Empty())
        return;
    // The text turns into its face mask; faces become black in the masked copy.
    TBitmap maskedText;
    MakeColorMask(text.Canvas(), Rect(0, 0, text.Width(), text.Height()), &text, ColorToRGB(faceColor), &maskedText);

    const TRect whole = Rect(0, 0, rect.Width(), rect.Height());
    composed.SetMonochrome(false);
    composed.SetSize(whole.Right, whole.Bottom);
    composed.Canvas()->SetCopyMode(cmSrcCopy);
    composed.Canvas()->CopyRect(whole, *fill.Canvas(), rect);
    // Faces keep the fill; everything else takes the lettering's pixels.
    DrawPicture(composed.Canvas(), whole, maskedText, &text, clNone, dpMasked, rect);
}

void TFxKeyedPicture::Prepare(TBitmap& picture, const TRect& source, TColor keyColor)
{
    MakeColorMask(picture.Canvas(), source, &mask_, ColorToRGB(keyColor), &masked_);
}

void TFxKeyedPicture::Clear()
{
    mask_.SetSize(0, 0);
    masked_.SetSize(0, 0);
}

void TFxKeyedPicture::Draw(TCanvas* target, const TRect& dest)
{
    if (Empty())
        return;
    DrawPicture(target, dest, masked_, &mask_, clNone, dpMasked, Rect(0, 0, masked_.Width(), masked_.Height()));
}
