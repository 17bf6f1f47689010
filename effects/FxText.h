// Effect lettering: drawing a text raised, sunken or shadowed in offset
// passes, measuring what such a text needs, and placing it in a rectangle.
#pragma once

#include "effects/FxCaption.h"
#include "effects/FxPicture.h"

#include "framework/graphics/Canvas.h"

#include <string>

enum TFxTextStateFlag {
    tsEnabled = 1,           // drawn as enabled (value 2 in the state word)
    tsSunkenIfDisabled = 2,  // dsAuto draws a disabled text sunken (value 4)
    tsClip = 3,              // clip to the clip rectangle (value 8)
};
using TFxTextState = Set<TFxTextStateFlag>;

// Texts are drawn and measured up to this many bytes; longer ones are cut
// at the last whole character that fits.
constexpr std::size_t MaxEffectTextLength = 255;

// Draws text in rect with the DrawText format. effect may be null (one plain
// pass), a TFx3DCaption or a TFxCaption (placed by PosX/PosY, rotated by
// Angle through ExtTextOut). clip (or rect when null) bounds the drawing
// with tsClip. Leaves the canvas font colour at the face colour and the
// brush clear; a rotated text leaves the rotated font selected.
void DrawEffectText(TCanvas* canvas, const std::string& text, TFx3DCaption* effect, const TRect& rect, UINT format,
                    TFxTextState state, const TRect* clip = nullptr);

// Measures text as DrawEffectText draws it and writes the size into rect
// (left and top kept for unrotated text, (0, 0) for rotated text), grown
// by 2 x (borderWidth + 1). A rotated caption's PosX/PosY are set so the
// text centres in the result. The canvas measures on the screen's context
// for the call and gets its own context back afterwards.
void MeasureEffectText(TCanvas* canvas, const std::string& text, TFx3DCaption* effect, TRect& rect, const TFont* font,
                       bool multiLine, bool showAccelChar, int borderWidth);
// The same on a canvas made for the call.
void MeasureEffectText(const std::string& text, TFx3DCaption* effect, TRect& rect, const TFont* font, bool multiLine,
                       bool showAccelChar, int borderWidth);

// Where the measured text lies in container by the alignment.
TRect AlignEffectText(TFxAlignment alignment, const std::string& text, TFx3DCaption* effect, const TRect& container,
                      const TFont* font, bool multiLine, bool showAccelChar);

// The pixels a style adds to the text's width and height.
int EffectDepth(TFxThreeDStyle style, int lightDepth, int shadowDepth);
