// Formatted text: alignment, word break, tabs, prefixes, ellipsis.
#include "framework/DcInternal.h"

int DrawText(HDC, std::string_view, TRect&, UINT) { return 0; }
