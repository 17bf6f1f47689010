// Filled lettering: letter faces that show a fill instead of their colour,
// and a picture prepared for repeated transfers around a key colour.
#pragma once

#include "framework/graphics/Bitmap.h"

// Composes lettering with a fill over rect (in the coordinates both bitmaps
// share): composed becomes rect's size and shows the fill where text has
// exactly faceColor (the letter faces) and text's own pixels elsewhere.
// text is left as the monochrome face mask; fill is only read.
void ComposeTextFill(TBitmap& text, TBitmap& fill, const TRect& rect, TColor faceColor, TBitmap& composed);

// A picture with its key-colour mask made once, so each transfer is two
// masked copies: the target keeps its pixels where the picture has the key.
class TFxKeyedPicture {
public:
    // Takes source of picture, keyed on keyColor.
    void Prepare(TBitmap& picture, const TRect& source, TColor keyColor);
    void Clear();
    bool Empty() const { return masked_.Empty(); }
    // Transfers the prepared picture to dest's top-left, cut to dest.
    void Draw(TCanvas* target, const TRect& dest);

private:
    TBitmap mask_;
    TBitmap masked_;
};
