// Shapes drawn with the pen and brush through the ROP2.
#include "framework/DcInternal.h"

BOOL Rectangle(HDC, int, int, int, int) { return false; }
BOOL Ellipse(HDC, int, int, int, int) { return false; }
BOOL RoundRect(HDC, int, int, int, int, int, int) { return false; }
BOOL Polygon(HDC, std::span<const TPoint>) { return false; }
BOOL Polyline(HDC, std::span<const TPoint>) { return false; }
BOOL MoveToEx(HDC dc, int x, int y, TPoint* previous)
{
    if (dc == nullptr)
        return false;
    if (previous != nullptr)
        *previous = dc->State.CurrentPosition;
    dc->State.CurrentPosition = {x, y};
    return true;
}
BOOL LineTo(HDC, int, int) { return false; }
TPoint GetCurrentPosition(HDC dc) { return dc ? dc->State.CurrentPosition : TPoint{}; }
BOOL Arc(HDC, int, int, int, int, int, int, int, int) { return false; }
COLORREF SetPixel(HDC, int, int, TColor) { return CLR_INVALID; }
COLORREF GetPixel(HDC, int, int) { return CLR_INVALID; }
