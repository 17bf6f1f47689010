// Focus rectangles and 3D edges.
#include "framework/DcInternal.h"

BOOL DrawFocusRect(HDC, const TRect&) { return false; }
BOOL DrawEdge(HDC, TRect&, UINT, UINT) { return false; }
