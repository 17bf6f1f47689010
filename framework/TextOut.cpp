// Text output and measurement in the selected font.
#include "framework/DcInternal.h"

BOOL ExtTextOut(HDC, int, int, UINT, const TRect*, std::string_view, const int*) { return false; }
BOOL TextOut(HDC dc, int x, int y, std::string_view text) { return ExtTextOut(dc, x, y, 0, nullptr, text); }
BOOL GetTextExtentPoint32(HDC, std::string_view, TSize*) { return false; }
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics)
{
    if (dc == nullptr || metrics == nullptr)
        return false;
    *metrics = dc->State.ResolvedFont->Metrics;
    return true;
}
LOGFONT GetDCFont(HDC dc) { return dc ? dc->State.Font : LOGFONT{}; }
