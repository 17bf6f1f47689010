// A clip rectangle for the length of one painting step.
#pragma once

#include "framework/graphics/DeviceContext.h"

// Narrows the context's clip to rect (logical coordinates) and gives the
// context back the clip it had when the object goes, also when painting
// throws. Narrowing rather than replacing keeps a windowless control's
// painting inside its own bounds on the parent's shared context.
class TFxScopedClip {
public:
    TFxScopedClip(HDC dc, const TRect& rect);
    ~TFxScopedClip();
    TFxScopedClip(const TFxScopedClip&) = delete;
    TFxScopedClip& operator=(const TFxScopedClip&) = delete;

private:
    HDC dc_;
    HRGN saved_;
    bool hadClip_;
};
