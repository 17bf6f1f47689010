// The geometry of the frame's move and size loops, as pure functions: where
// a border drag puts the window within its track limits, and what a window
// procedure agreed to in WM_WINDOWPOSCHANGING.
#pragma once

#include "framework/runtime/Types.h"
#include "framework/windows/Messages.h"

// Whether hit is one of the sizing borders (HTLEFT ... HTBOTTOMRIGHT).
bool IsSizingHit(int hit);
// The WM_SIZING edge of a sizing border's hit-test code.
int SizingEdge(int hit);

// The window rectangle while the border hit is dragged by delta from start:
// the dragged edges follow the pointer, the others stay; the size stays within
// minTrack and maxTrack, the opposite edge holding still.
TRect TrackedRect(int hit, const TRect& start, TPoint delta, TPoint minTrack, TPoint maxTrack);
// Keeps a rectangle a procedure returned from WM_SIZING within the limits,
// holding the edges that are not being dragged.
TRect LimitTrackedRect(int hit, const TRect& r, TPoint minTrack, TPoint maxTrack);

// The SWP_NOMOVE / SWP_NOSIZE flags of a change from one rectangle to another.
UINT ChangeFlags(const TRect& from, const TRect& to);
// The rectangle a WM_WINDOWPOSCHANGING answer leaves: SWP_NOMOVE keeps the
// current place, SWP_NOSIZE the current size, otherwise the record's values
// (never a negative size).
TRect AgreedRect(const TWindowPos& position, const TRect& current);
