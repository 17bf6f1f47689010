// The classic system metrics of the standard desktop scheme, in one table.
// Frame geometry, caption buttons and icons are all computed from these.
#pragma once

enum TSystemMetric : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXCURSOR = 13,
    SM_CYCURSOR = 14,
    SM_CXFULLSCREEN = 16,
    SM_CYFULLSCREEN = 17,
    SM_CXMIN = 28,
    SM_CYMIN = 29,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXMINTRACK = 34,
    SM_CYMINTRACK = 35,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CYSMCAPTION = 51,
    SM_CXSMSIZE = 52,
    SM_CYSMSIZE = 53,
    SM_CXMENUSIZE = 54,
    SM_CYMENUSIZE = 55,
    SM_CXFIXEDFRAME = SM_CXDLGFRAME,
    SM_CYFIXEDFRAME = SM_CYDLGFRAME,
    SM_CXSIZEFRAME = SM_CXFRAME,
    SM_CYSIZEFRAME = SM_CYFRAME,
};

struct TSystemMetricValue {
    TSystemMetric metric;
    int value;
};

// Fixed metrics. The screen sizes are not here: they come from the screen.
inline constexpr TSystemMetricValue ClassicMetrics[] = {
    {SM_CXBORDER, 1},      {SM_CYBORDER, 1},      // one-pixel window border line
    {SM_CXDLGFRAME, 3},    {SM_CYDLGFRAME, 3},    // fixed (single, dialog) frame
    {SM_CXFRAME, 4},       {SM_CYFRAME, 4},       // sizeable frame
    {SM_CXEDGE, 2},        {SM_CYEDGE, 2},        // a 3D edge: two lines
    {SM_CYCAPTION, 19},    // caption bar: 18 pixels plus its one-pixel bottom line
    {SM_CXSIZE, 18},       {SM_CYSIZE, 18},       // caption button cell; the button face is 16 x 14
    {SM_CXSMSIZE, 12},     {SM_CYSMSIZE, 14},     // tool-window caption buttons
    {SM_CYSMCAPTION, 15},  // tool-window caption bar
    {SM_CXMENUSIZE, 18},   {SM_CYMENUSIZE, 18},
    {SM_CXICON, 32},       {SM_CYICON, 32},
    {SM_CXSMICON, 16},     {SM_CYSMICON, 16},
    {SM_CXCURSOR, 32},     {SM_CYCURSOR, 32},
    {SM_CXVSCROLL, 16},    {SM_CYHSCROLL, 16},
    {SM_CXMIN, 112},       {SM_CYMIN, 27},        // smallest window: caption buttons and a little title
    {SM_CXMINTRACK, 112},  {SM_CYMINTRACK, 27},
    {SM_CXDOUBLECLK, 4},   {SM_CYDOUBLECLK, 4},   // a second click within this box is a double click
};

// The table's value, or the screen's size for SM_CXSCREEN / SM_CYSCREEN
// (and the full-screen client sizes); 0 for a metric not in the table.
int GetSystemMetrics(int metric);

// The major version of the window style the desktop draws: 4, the new shell
// (small icon at the caption's left, close box, flat caption buttons).
int GetShellVersion();
