// Placing and transferring pictures: alignment in a rectangle, colour masks,
// and the picture painter with its placement and transparency modes.
#pragma once

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/runtime/Types.h"

// The nine placements of a picture or a text in a rectangle.
enum TFxAlignment {
    agTopLeft,
    agTopCenter,
    agTopRight,
    agCenterLeft,
    agCenter,
    agCenterRight,
    agBottomLeft,
    agBottomCenter,
    agBottomRight
};

// A rectangle of item's size placed in container by the alignment (only the
// item's size counts); offsets are halved with truncation toward zero.
TRect AlignRectIn(TFxAlignment alignment, const TRect& item, const TRect& container);

// From the rect of canvas: maskedCopy becomes a copy of it with the pixels of
// keyColor turned black; mask becomes monochrome, white exactly there.
// Both bitmaps take the rectangle's size. mask may be the bitmap canvas
// draws on when rect starts at its origin.
void MakeColorMask(TCanvas* canvas, const TRect& rect, TBitmap* mask, TColor keyColor, TBitmap* maskedCopy);

// Flags of DrawPicture: placement, then transfer.
constexpr WORD dpCenter = 0x0008;         // centred in the destination, unscaled
constexpr WORD dpStretch = 0x0010;        // scaled to the destination
constexpr WORD dpTile = 0x0020;           // repeated over the destination
constexpr WORD dpKeyColor = 0x0040;       // pixels of the key colour leave the target alone
constexpr WORD dpOwnTransparent = 0x0080; // the bitmap's own transparent colour shows the key colour
constexpr WORD dpMasked = 0x0100;         // the target stays where the mask is white
constexpr WORD dpFitHeight = 0x0200;      // with dpStretch: keep proportions, fill the height
constexpr WORD dpFitWidth = 0x0400;       // with dpStretch: keep proportions, fill the width

// Draws the source rectangle of picture into dest on target. Unscaled copies
// (plain, centred, tiled) never reach outside dest. mask is the monochrome
// mask of dpMasked (in the picture's coordinates); keyColor serves dpKeyColor
// and dpOwnTransparent. Other flag bits are ignored.
void DrawPicture(TCanvas* target, const TRect& dest, TBitmap& picture, TBitmap* mask, TColor keyColor, WORD flags,
                 const TRect& source);
