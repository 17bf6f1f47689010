// A form's non-client area: the frame, the caption bar and its buttons.
// Geometry is a set of pure functions (sizes and styles in, rectangles out), so
// hit-testing and layout are tested without drawing; painting uses that
// geometry and the canvas layer.
#pragma once

#include "framework/graphics/Fonts.h"
#include "framework/runtime/Types.h"

#include <string>

class TBitmap;
class TDeviceContext;
using HDC = TDeviceContext*;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;

// The caption buttons, in the order they stand from the right edge inwards.
enum TCaptionButton { cbNone, cbClose, cbMaximize, cbMinimize };

struct TFrameStyle {
    TFormBorderStyle BorderStyle = bsSingle;
    TBorderIcons BorderIcons{biSystemMenu, biMinimize, biMaximize};
    bool Maximized = false; // the maximise button shows the restore glyph
};

// Everything of the frame in window coordinates (0, 0 is the window's outer
// top-left corner). Absent parts are empty rectangles.
struct TFrameGeometry {
    int FrameWidth = 0;    // border and frame lines on each side
    TRect Caption;         // the caption bar, without the line under it
    TRect Icon;            // the small icon (system menu button)
    TRect Text;            // where the caption text goes
    TRect CloseButton;
    TRect MaxButton;
    TRect MinButton;
    TRect Client;          // the client area
};

// The space around and between caption buttons, the icon and the text, for
// the screen's (full-size) caption-button cell: 2 pixels for the 18-pixel cell
// of 96 ppi, growing with it.
int CaptionGap(int buttonCell);
// The whole-pixel factor the caption glyphs are drawn at on a button face
// this high: 1 up to the faces of 144 ppi, 2 at 192 ppi.
int CaptionGlyphScale(int faceHeight);

// Width of the frame on each side for a border style.
int FrameWidthFor(TFormBorderStyle style);
// Height of the caption bar including its bottom line; 0 without a caption.
int CaptionHeightFor(TFormBorderStyle style);
// Offsets of the client area from the window's outer edges.
TRect ClientInsets(const TFrameStyle& style);
// The outer size of a window whose client area has clientSize.
TSize WindowSizeForClient(TSize clientSize, const TFrameStyle& style);

TFrameGeometry FrameGeometry(TSize windowSize, const TFrameStyle& style);

// The WM_NCHITTEST answer for a point in window coordinates.
int FrameHitTest(const TFrameGeometry& geometry, const TFrameStyle& style, TSize windowSize, TPoint point);

// The caption button at a hit-test code, cbNone for any other code.
TCaptionButton CaptionButtonFromHit(int hitTest);

// The system menu.
enum TSystemMenuItem { smRestore, smMove, smSize, smMinimize, smMaximize, smClose };
struct TSystemMenuEntry {
    TSystemMenuItem Item;
    const char* Text;     // with & before the accelerator letter
    const char* Shortcut; // shown at the right, may be empty
    unsigned Command;     // the WM_SYSCOMMAND value
    bool Separator;       // a separator line stands above the entry
};
extern const TSystemMenuEntry SystemMenuEntries[6];
// Whether an entry is available in a window's current state.
bool SystemMenuItemEnabled(TSystemMenuItem item, const TFrameStyle& style, bool minimized);

// The fonts and sizes of the non-client area, as the classic settings record
// holds them, at the screen's pixels per inch; the frame paints its caption
// with CaptionFont.
struct TNonClientMetrics {
    int BorderWidth = 1;
    int ScrollWidth = 16;
    int ScrollHeight = 16;
    int CaptionWidth = 18;    // a caption button's cell
    int CaptionHeight = 18;   // the caption bar without its line
    LOGFONT CaptionFont;      // bold
    int SmCaptionWidth = 12;
    int SmCaptionHeight = 14;
    LOGFONT SmCaptionFont;
    int MenuWidth = 18;
    int MenuHeight = 18;
    LOGFONT MenuFont;
    LOGFONT StatusFont;
    LOGFONT MessageFont;
};
TNonClientMetrics NonClientMetrics();

// ---------------------------------------------------------------------------
// Painting

struct TFramePaintState {
    bool Active = true;
    std::string Caption;
    TBitmap* Icon = nullptr;              // the small icon, drawn transparently
    TCaptionButton PressedButton = cbNone; // drawn pushed in
};

// Paints the whole non-client area (frame lines, caption bar with icon and
// text, caption buttons) onto dc, whose origin is the window's top-left corner.
void PaintFrame(HDC dc, TSize windowSize, const TFrameStyle& style, const TFramePaintState& state);

// One caption button face with its glyph.
void PaintCaptionButton(HDC dc, const TRect& rect, TCaptionButton button, bool maximized, bool pressed,
                        bool enabled);
