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

// How a metric follows the screen's pixels per inch. The classic desktop
// grows what is read or aimed at (caption bars, buttons, icons, scroll bars,
// frames) and keeps the one-pixel lines that outline them.
enum TMetricScaling {
    msFixed,           // lines and pointer tolerances: the same on every screen
    msScaled,          // value * ppi / 96
    msScaledAboveLine, // a bar that scales, plus the one-pixel line under it
};

struct TSystemMetricValue {
    TSystemMetric metric;
    int value; // at 96 pixels per inch
    TMetricScaling scaling;
};

// Fixed metrics at 96 pixels per inch. The screen sizes are not here: they
// come from the screen.
inline constexpr TSystemMetricValue ClassicMetrics[] = {
    {SM_CXBORDER, 1, msFixed},        {SM_CYBORDER, 1, msFixed},   // one-pixel window border line
    {SM_CXDLGFRAME, 3, msScaled},     {SM_CYDLGFRAME, 3, msScaled}, // fixed (single, dialog) frame
    {SM_CXFRAME, 4, msScaled},        {SM_CYFRAME, 4, msScaled},   // sizeable frame
    {SM_CXEDGE, 2, msFixed},          {SM_CYEDGE, 2, msFixed},     // a 3D edge: two lines
    {SM_CYCAPTION, 19, msScaledAboveLine},  // caption bar: 18 pixels plus its one-pixel bottom line
    {SM_CXSIZE, 18, msScaled},        {SM_CYSIZE, 18, msScaled},   // caption button cell; the face is 16 x 14
    {SM_CXSMSIZE, 12, msScaled},      {SM_CYSMSIZE, 14, msScaled}, // tool-window caption buttons
    {SM_CYSMCAPTION, 15, msScaledAboveLine}, // tool-window caption bar and its line
    {SM_CXMENUSIZE, 18, msScaled},    {SM_CYMENUSIZE, 18, msScaled},
    {SM_CXICON, 32, msScaled},        {SM_CYICON, 32, msScaled},
    {SM_CXSMICON, 16, msScaled},      {SM_CYSMICON, 16, msScaled},
    {SM_CXCURSOR, 32, msScaled},      {SM_CYCURSOR, 32, msScaled},
    {SM_CXVSCROLL, 16, msScaled},     {SM_CYHSCROLL, 16, msScaled},
    {SM_CXMIN, 112, msScaled},        {SM_CYMIN, 27, msScaled},    // smallest window: caption buttons and a little title
    {SM_CXMINTRACK, 112, msScaled},   {SM_CYMINTRACK, 27, msScaled},
    {SM_CXDOUBLECLK, 4, msFixed},     {SM_CYDOUBLECLK, 4, msFixed}, // a second click within this box is a double click
};

// The densest screen the metrics follow; a denser one gets these sizes, which
// keeps every scaled value far inside int.
inline constexpr int MaxMetricPixelsPerInch = 96 * 64;

// A 96-ppi length on a screen of pixelsPerInch, rounded to the nearest pixel
// (halves away from zero). pixelsPerInch below 1 counts as 96.
int ScaledPixels(int pixelsAt96, int pixelsPerInch);

// A table metric on a screen of pixelsPerInch, scaled as its row says; 0 for a
// metric not in the table (the screen sizes among them).
int ScaledMetric(int metric, int pixelsPerInch);

// The table's value at the screen's pixels per inch, or the screen's size for
// SM_CXSCREEN / SM_CYSCREEN (and the full-screen client sizes); 0 for a metric
// not in the table.
int GetSystemMetrics(int metric);

// The pixels per inch GetSystemMetrics scales for: the installed display's,
// or the canvas layer's (96 without a screen, or what a test pins).
int SystemMetricsPixelsPerInch();

// The major version of the window style the desktop draws: 4, the new shell
// (small icon at the caption's left, close box, flat caption buttons).
int GetShellVersion();
