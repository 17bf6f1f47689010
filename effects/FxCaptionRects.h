// Where a styled caption bar goes: the caption rectangle the gradient covers,
// the text rectangle and the flag word, computed from a window's style bits,
// its size and the frame metrics alone (no window, no drawing).
#pragma once

#include "framework/runtime/Types.h"

#include <cstdint>

// The flag word. The caller passes cfAlways and, as they apply, cfAdjustRect
// and cfSingleBorder; CaptionRects adds the other three.
constexpr int cfAlways = 0x01;
constexpr int cfAdjustRect = 0x02;     // owner-drawn and fsAdjustRect: painting starts after the icon
constexpr int cfSmallCaption = 0x04;   // a tool window's small caption
constexpr int cfIcon = 0x08;           // the window shows its icon in the caption
constexpr int cfIconicIcon = 0x10;     // minimised with an icon
constexpr int cfSingleBorder = 0x20;   // the form's border is the single fixed one

// The frame metrics the geometry uses (the system metrics of the same names).
struct TFxCaptionMetrics {
    int BorderWidth = 1;       // SM_CXBORDER
    int BorderHeight = 1;      // SM_CYBORDER
    int FrameWidth = 4;        // SM_CXFRAME, sizeable frame
    int FrameHeight = 4;       // SM_CYFRAME
    int DlgFrameWidth = 3;     // SM_CXDLGFRAME, fixed frame
    int DlgFrameHeight = 3;    // SM_CYDLGFRAME
    int CaptionHeight = 19;    // SM_CYCAPTION
    int SmCaptionHeight = 15;  // SM_CYSMCAPTION
    int ButtonWidth = 18;      // SM_CXSIZE
    int SmButtonWidth = 12;    // SM_CXSMSIZE
    int SmIconWidth = 16;      // SM_CXSMICON
};

// The frame metrics of the current screen.
TFxCaptionMetrics CurrentCaptionMetrics();

// One window as the geometry sees it.
struct TFxCaptionWindow {
    TSize Size;                 // the outer window
    std::uint32_t Style = 0;    // GWL_STYLE
    std::uint32_t ExStyle = 0;  // GWL_EXSTYLE
    bool Iconic = false;
    bool NewShell = true;       // the desktop draws the version-4 window style
};

struct TFxCaptionLayout {
    TRect Caption;  // window coordinates; never reaches under the caption buttons
    TRect Text;
    int Flags = 0;
};

TFxCaptionLayout CaptionRects(const TFxCaptionWindow& window, const TFxCaptionMetrics& metrics, int flags);
