#include "effects/FxClip.h"

TFxScopedClip::TFxScopedClip(HDC dc, const TRect& rect)
    : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)), hadClip_(GetClipRgn(dc, saved_) == 1)
{
    const HRGN narrow = CreateRectRgnIndirect(rect);
    ExtSelectClipRgn(dc_, narrow, RGN_AND);
    DeleteObject(narrow);
}

TFxScopedClip::~TFxScopedClip()
{
    SelectClipRgn(dc_, hadClip_ ? saved_ : nullptr);
    DeleteObject(saved_);
}
