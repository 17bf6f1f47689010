// Device contexts and the drawing calls on them, with the window system's
// rules: rectangles exclude their right and bottom edges, coordinates are
// logical (device = logical + viewport origin), every call draws only inside
// the clip (surface bounds, the context's base clip and its selected region).
#pragma once

#include "framework/graphics/Colors.h"
#include "framework/graphics/Fonts.h"
#include "framework/graphics/GdiObjects.h"
#include "framework/graphics/RasterOps.h"
#include "framework/graphics/Surface.h"
#include "framework/runtime/Types.h"

#include <span>
#include <string_view>

class TDeviceContext;
using HDC = TDeviceContext*;

// ---- Creation ------------------------------------------------------------------

// A device context on a surface. origin: where logical (0, 0) lies on the
// surface (a windowless control paints on its parent's surface at its own
// position). baseClip (surface coordinates), when given, bounds everything the
// context draws; selected clip regions only narrow it further. The surface
// must outlive the context.
HDC CreateSurfaceDC(TSurface* surface, TPoint origin = {}, const TRect* baseClip = nullptr);
// A memory device context holding the stock 1 x 1 monochrome bitmap; select a
// bitmap into it to draw on that bitmap. reference may be null.
HDC CreateCompatibleDC(HDC reference);
// A colour bitmap (or monochrome, when dc draws on a monochrome surface).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
BOOL DeleteDC(HDC dc);

TSurface* GetDCSurface(HDC dc);
// Replaces the base clip (surface coordinates; null removes it).
void SetDCBaseClip(HDC dc, const TRect* baseClip);

// Saves the whole drawing state; RestoreDC(dc, -1) brings back the last saved,
// a positive level the state saved at that level. SaveDC returns the level.
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int level);

enum : int {
    HORZSIZE = 4,
    VERTSIZE = 6,
    HORZRES = 8,
    VERTRES = 10,
    BITSPIXEL = 12,
    PLANES = 14,
    NUMCOLORS = 24,
    RASTERCAPS = 38,
    LOGPIXELSX = 88,
    LOGPIXELSY = 90,
    SIZEPALETTE = 104,
    NUMRESERVED = 106,
    COLORRES = 108
};
constexpr int RC_PALETTE = 0x0100;
int GetDeviceCaps(HDC dc, int index);

// ---- Attributes (each setter returns the previous value) -----------------------

enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };

COLORREF SetTextColor(HDC dc, TColor color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, TColor color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
// Extra pixels added after every character of text drawn or measured.
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, TPoint* previous);
BOOL GetBrushOrgEx(HDC dc, TPoint* origin);

// Text alignment of TextOut/ExtTextOut: the reference point of the text.
enum : UINT {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24
};
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

BOOL SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous);
BOOL GetViewportOrgEx(HDC dc, TPoint* origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous);

// Selecting copies a font's, brush's or pen's attributes into the context and
// returns the previously selected object; selecting a bitmap (memory contexts
// only) makes it the surface. Null or a foreign kind returns null.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HFONT SelectObject(HDC dc, HFONT font);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HPEN SelectObject(HDC dc, HPEN pen);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
// The object of that kind currently selected.
HGDIOBJ GetCurrentObject(HDC dc, TGdiObjectKind kind);

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
// On a true-colour surface realising maps nothing; it returns 0.
UINT RealizePalette(HDC dc);

// ---- Clipping (logical coordinates) ---------------------------------------------

// Selects a copy of the region (null removes the selected clip).
int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// The bounding box of everything drawable, in logical coordinates.
int GetClipBox(HDC dc, TRect* box);
// 1 and a copy in region when a clip region is selected, 0 when none is.
int GetClipRgn(HDC dc, HRGN region);
BOOL PtVisible(HDC dc, int x, int y);

// ---- Fills and shapes ------------------------------------------------------------

// Fills with the brush (PATCOPY; the ROP2 plays no part).
int FillRect(HDC dc, const TRect& rect, HBRUSH brush);
// A one-pixel frame inside the rectangle, painted with the brush.
int FrameRect(HDC dc, const TRect& rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const TRect& rect);
// The selected brush combined with the destination by a ROP3 that uses no source.
BOOL PatBlt(HDC dc, int x, int y, int width, int height, TRop3 rop);

// Shapes: outline with the selected pen, interior with the selected brush,
// both through the ROP2. A pen of width 1 outlines inside the bounds; with a
// clear pen the interior covers one pixel less to the right and bottom. Wider
// pens stay inside the bounds.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Polygon(HDC dc, std::span<const TPoint> points);
// Lines leave out their last point.
BOOL Polyline(HDC dc, std::span<const TPoint> points);
BOOL MoveToEx(HDC dc, int x, int y, TPoint* previous);
BOOL LineTo(HDC dc, int x, int y);
TPoint GetCurrentPosition(HDC dc);
// The part of the bounds' ellipse from the ray through (xStart, yStart) to the
// ray through (xEnd, yEnd), counter-clockwise.
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

COLORREF SetPixel(HDC dc, int x, int y, TColor color);
// CLR_INVALID outside the clip.
COLORREF GetPixel(HDC dc, int x, int y);

// ---- Transfers ---------------------------------------------------------------------

// Copies a rectangle of source onto dest through any ROP3 with the selected
// brush of dest as the pattern. A monochrome source on a colour target paints
// its black pixels in dest's text colour and its white ones in dest's
// background colour; a colour source on a monochrome target gives white where
// the source pixel equals source's background colour and black elsewhere.
// Source may be null when the operation uses none.
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, TRop3 rop);
// The same, scaled. Shrinking follows the stretch mode (COLORONCOLOR drops
// pixels, BLACKONWHITE keeps black by AND, WHITEONBLACK keeps white by OR).
// Negative sizes mirror.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh,
                TRop3 rop);

// ---- Text ------------------------------------------------------------------------------

enum : UINT { ETO_OPAQUE = 0x0002, ETO_CLIPPED = 0x0004 };

// Draws text at (x, y) (the reference point of the text alignment) in the
// selected font, rotated counter-clockwise about that point by its
// escapement. ETO_OPAQUE fills rect with the background colour first;
// ETO_CLIPPED clips to rect. dx, when given, holds the advance of every character.
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, std::string_view text,
                const int* dx = nullptr);
BOOL TextOut(HDC dc, int x, int y, std::string_view text);
// Width and cell height of unrotated text, including the character extra.
BOOL GetTextExtentPoint32(HDC dc, std::string_view text, TSize* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
// The selected font's description.
LOGFONT GetDCFont(HDC dc);

enum : UINT {
    DT_TOP = 0x0000,
    DT_LEFT = 0x0000,
    DT_CENTER = 0x0001,
    DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004,
    DT_BOTTOM = 0x0008,
    DT_WORDBREAK = 0x0010,
    DT_SINGLELINE = 0x0020,
    DT_EXPANDTABS = 0x0040,
    DT_TABSTOP = 0x0080,
    DT_NOCLIP = 0x0100,
    DT_EXTERNALLEADING = 0x0200,
    DT_CALCRECT = 0x0400,
    DT_NOPREFIX = 0x0800,
    DT_END_ELLIPSIS = 0x8000,
    DT_HIDEPREFIX = 0x00100000
};

// Formats text into the rectangle: '&' underlines the next character ("&&" is
// a literal '&') unless DT_NOPREFIX; DT_VCENTER and DT_BOTTOM act only with
// DT_SINGLELINE; DT_CALCRECT sets rect's right and bottom to what the text
// needs and draws nothing; output is clipped to rect unless DT_NOCLIP. With
// DT_TABSTOP bits 8..15 hold the tab width in average characters (default 8).
// Returns the height of the text.
int DrawText(HDC dc, std::string_view text, TRect& rect, UINT format);

// ---- Decorations -------------------------------------------------------------------------

// A dotted rectangle: alternate pixels of the frame inverted, so drawing it
// twice restores them exactly.
BOOL DrawFocusRect(HDC dc, const TRect& rect);

enum : UINT {
    BDR_RAISEDOUTER = 0x0001,
    BDR_SUNKENOUTER = 0x0002,
    BDR_RAISEDINNER = 0x0004,
    BDR_SUNKENINNER = 0x0008,
    BDR_OUTER = 0x0003,
    BDR_INNER = 0x000C,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER
};
enum : UINT {
    BF_LEFT = 0x0001,
    BF_TOP = 0x0002,
    BF_RIGHT = 0x0004,
    BF_BOTTOM = 0x0008,
    BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x0800,
    BF_SOFT = 0x1000,
    BF_ADJUST = 0x2000,
    BF_FLAT = 0x4000,
    BF_MONO = 0x8000
};
// The classic 3D edge: an outer and an inner one-pixel frame whose top-left
// and bottom-right halves take the scheme's light and shadow colours. With
// BF_ADJUST rect shrinks by the frames drawn.
BOOL DrawEdge(HDC dc, TRect& rect, UINT edge, UINT flags);

// Total live device contexts (also TGdiObject::LiveCount(TGdiObjectKind::DeviceContext)).
int LiveDeviceContexts();
