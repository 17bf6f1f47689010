// The opening trails: focus rectangles drawn on the screen from the mouse
// pointer to a window before it becomes visible. Each trail is drawn twice
// with identical rectangles; focus rectangles invert pixels, so the second
// pass erases the first and the screen is left as it was.
//
// The geometry is pure (rectangles out, nothing drawn); the routines draw it.
#pragma once

#include "framework/runtime/Types.h"

#include <vector>

class TCustomForm;

// One pass of the growing trail: Steps rectangles growing from (x, y) to the
// window rectangle, the last being the window rectangle itself.
std::vector<TRect> ExplodeTrail(const TRect& window, int x, int y, int steps);

// One pass of the travelling trail. With travel, Steps rectangles of
// startWidth by startHeight move from (x, y) to the point halfway between x
// and the window's left edge, on its lower edge; then Steps rectangles grow
// from there into the window rectangle.
std::vector<TRect> ExplodeExtTrail(const TRect& window, int x, int y, int steps, int startWidth, int startHeight,
                                   bool travel);

// Draws a trail twice on the screen, waiting delayMs milliseconds of elapsed
// time before each rectangle. The wait is busy: no message is processed while
// the trail runs. x < 0 starts at the mouse pointer (y is then ignored).
// Steps of 3 or fewer become 40, a delay of 0 or less becomes 1.
void ExplodeEffect(TCustomForm* form, int x, int y, int delayMs, int steps);
void ExplodeExtEffect(TCustomForm* form, int x, int y, int steps, int startWidth, int startHeight, int delayMs,
                      bool travel);
