#include "framework/controls/FormScaling.h"

#include "framework/graphics/DcGuards.h"
#include "framework/graphics/Fonts.h"
#include "framework/runtime/sysutils.h"

int CentredPosition(int screenExtent, int windowExtent)
{
    // C++ division truncates toward zero, as the classic div does.
    return static_cast<int>((static_cast<long long>(screenExtent) - windowExtent) / 2);
}

TFormScaling ComputeFormScaling(int fontHeight, int designPixelsPerInch, int screenPixelsPerInch,
                                int designTextHeight, const std::function<int(int)>& textHeightOf)
{
    TFormScaling scaling;
    scaling.FontHeight = fontHeight;
    if (designPixelsPerInch > 0 && screenPixelsPerInch > 0 && screenPixelsPerInch != designPixelsPerInch)
        scaling.FontHeight = MulDiv(fontHeight, screenPixelsPerInch, designPixelsPerInch);
    if (designTextHeight > 0 && textHeightOf) {
        const int textHeight = textHeightOf(scaling.FontHeight);
        if (textHeight > 0 && textHeight != designTextHeight) {
            scaling.M = textHeight;
            scaling.D = designTextHeight;
        }
    }
    return scaling;
}


int TextHeightOfFont(const TFont& font)
{
    TOwnedDC dc(CreateCompatibleDC(nullptr));
    TSelectedObject selected(dc.get(), font.Handle(), false);
    TSize size;
    GetTextExtentPoint32(dc.get(), "0", &size);
    return size.cy;
}
