// The arithmetic of a form's design-time scaling and placement, apart from any
// window: what the form's font and layout become on this screen, and where a
// centred window goes.
#pragma once

#include <functional>

class TFont;

// The arithmetic of design-time scaling, apart from any window.
struct TFormScaling {
    int FontHeight = 0; // the form font's height after the pixels-per-inch step
    int M = 1;          // then every position and size is scaled by M / D
    int D = 1;
    bool ScalesLayout() const { return M != D; }
};
// fontHeight at designPixelsPerInch; textHeightOf gives the text height of a
// font height on this screen (the canvas layer's measure).
TFormScaling ComputeFormScaling(int fontHeight, int designPixelsPerInch, int screenPixelsPerInch,
                                int designTextHeight, const std::function<int(int)>& textHeightOf);

// Position of a window centred on a screen: (screen - window) div 2, truncated
// toward zero, so a window 3 pixels taller than the screen gets -1.
int CentredPosition(int screenExtent, int windowExtent);

// The height of the text "0" in font, as the canvas layer measures it.
int TextHeightOfFont(const TFont& font);
