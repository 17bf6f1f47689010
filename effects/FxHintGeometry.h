// The geometry of balloon hints, as pure functions: how wide the text may
// wrap, how much a shape adds around the measured text, where the balloon goes
// beside the pointer, and the boxes, noses and text offset each style paints.
//
//   hpAboveRight, hsNoseRoundRect (D = shadow depth):
//
//        15                 W-D  W
//     0  +---------------------+
//        |  text at (19, 4)    |##
//        +--+-------------+----+##  <- body bottom H-D-15, shadow below it
//       / ##|#############|#######
//      / ##   (seam left open between the nose's two base points)
//     /##
//    P  (tip at the pointer, (0, H - D); the shadow's tip at (0, H))
#pragma once

#include "framework/runtime/Types.h"

#include <cstdint>

enum TFxHintPosition { hpAboveLeft, hpAboveRight, hpBelowLeft, hpBelowRight };
enum TFxHintStyle { hsRect, hsRoundRect, hsEllipse, hsNoseRect, hsNoseRoundRect, hsNoseEllipse };

// The next position tried when one does not fit on the screen.
TFxHintPosition NextHintPosition(TFxHintPosition position);

// The widest text line: a negative maxWidth n is the screen width divided by
// -n; anything below 1 becomes 1 (one word per line).
int HintWrapWidth(int maxWidth, int screenWidth);

// The measured text rectangle (0, 0, w, h) grown to the window's size.
TRect GrowForShape(TFxHintStyle style, int depth, TRect rect);

// The balloon's top-left corner for a position, W x H beside the pointer.
TPoint HintCornerFor(TFxHintPosition position, TPoint cursor, TSize size);

struct THintPlacement {
    TRect Bounds;                  // screen rectangle of the window
    TFxHintPosition Position;      // the position the balloon is drawn for
    int Tries;                     // positions tried, 1 to 4
    bool Fits;
};

// Tries the preferred position and the three after it in turn; the first that
// lies wholly on the screen (its right and bottom edges inside, too) wins.
// When none fits the balloon stays at the fourth position tried and is drawn
// with that position's nose, so the nose still points along its placement.
THintPlacement PlaceHint(TSize size, TPoint cursor, TSize screen, TFxHintPosition preferred);

// One painted part (shadow or body): the box, and for nosed styles the nose.
struct THintShapePart {
    TRect Box;
    TPoint Base;    // nose rectangles: first base point (the second is 30 to the right)
    TPoint Tip;     // where the nose points
    int Angle = 0;  // nose ellipses: where the nose leaves the ellipse, degrees clockwise from the top
    int Mode = 0;   // 0 box only, 1 box and nose, 2 box, nose and the seam opened
};

struct THintShape {
    THintShapePart Shadow;
    THintShapePart Body;
    TPoint TextOffset;  // how far the measured text rectangle moves
};

// Shadow, body and text offset for a window of size W x H with shadow depth D
// and the measured text rectangle textRect (0, 0, w, h).
THintShape HintShapeFor(TFxHintStyle style, TFxHintPosition position, TSize size, int depth, const TRect& textRect);

// The nose polygon of a nose rectangle: base, tip, base + 30 pixels right.
void NoseTriangle(const THintShapePart& part, TPoint (&points)[3]);

// The point of box's ellipse at angle degrees clockwise from its top
// (0 top, 90 right, 180 bottom, 270 left), coordinates truncated toward the centre.
TPoint EllipsePoint(const TRect& box, std::uint16_t angle);
