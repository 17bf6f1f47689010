// Graphics objects behind handles: regions, palettes, brushes and pens (fonts
// live in Fonts.h, bitmaps in Surface.h). Each kind keeps a live count, so a
// test can prove that painting code deletes what it creates.
#pragma once

#include "framework/graphics/Colors.h"
#include "framework/runtime/Types.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <vector>

// A Qt rectangle (its left, top, width and height) as a TRect, whose right
// and bottom lie just outside it.
inline TRect ToTRect(const QRect& r)
{
    return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

using UINT = unsigned int;
using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;

enum class TGdiObjectKind { Region, Palette, Brush, Pen, Font, Bitmap, DeviceContext };

// Base of every handle-carrying object. Stock objects are never counted and
// never deleted.
class TGdiObject {
public:
    explicit TGdiObject(TGdiObjectKind kind, bool stock = false);
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    virtual ~TGdiObject();

    TGdiObjectKind Kind() const { return kind_; }
    bool IsStock() const { return stock_; }

    // How many device contexts hold this object selected (bitmaps, palettes):
    // such an object refuses deletion, as the window system does.
    int SelectionCount() const { return selections_; }
    void AddSelection() { ++selections_; }
    void RemoveSelection() { --selections_; }

    // Live objects of one kind, or of every kind.
    static int LiveCount(TGdiObjectKind kind);
    static int LiveCount();

private:
    TGdiObjectKind kind_;
    bool stock_;
    int selections_ = 0;
};
using HGDIOBJ = TGdiObject*;

// Deletes a region, palette, brush, pen, font or bitmap. False for a null or
// stock handle (nothing happens) and for a bitmap or palette still selected
// into a device context (it stays alive). Device contexts go with DeleteDC.
BOOL DeleteObject(HGDIOBJ object);

// ---- Regions --------------------------------------------------------------

class TRegionObject : public TGdiObject {
public:
    explicit TRegionObject(QRegion region = {}) : TGdiObject(TGdiObjectKind::Region), Region(std::move(region)) {}
    QRegion Region;
};
using HRGN = TRegionObject*;

// Region types returned by the region and clip calls.
enum : int { ERROR_REGION = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };
// Combination modes.
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect& rect);
// dest = src1 <mode> src2 (src2 unused for RGN_COPY); dest may be src1 or src2.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL PtInRegion(HRGN region, int x, int y);
int GetRgnBox(HRGN region, TRect* box);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
BOOL EqualRgn(HRGN a, HRGN b);
// The type a region of this shape reports.
int RegionType(const QRegion& region);

// ---- Palettes -------------------------------------------------------------

constexpr BYTE PC_RESERVED = 0x01;
constexpr BYTE PC_EXPLICIT = 0x02;
constexpr BYTE PC_NOCOLLAPSE = 0x04;

struct PALETTEENTRY {
    BYTE peRed = 0;
    BYTE peGreen = 0;
    BYTE peBlue = 0;
    BYTE peFlags = 0;
};

// A logical palette description (version 0x300).
struct LOGPALETTE {
    WORD palVersion = 0x300;
    std::vector<PALETTEENTRY> palPalEntry;
};

class TPaletteObject : public TGdiObject {
public:
    explicit TPaletteObject(std::vector<PALETTEENTRY> entries, bool stock = false)
        : TGdiObject(TGdiObjectKind::Palette, stock), Entries(std::move(entries)) {}
    std::vector<PALETTEENTRY> Entries;
};
using HPALETTE = TPaletteObject*;

// Null for a missing description, a wrong version or no entries.
HPALETTE CreatePalette(const LOGPALETTE* description);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
// The stock palette every device context starts with (20 system colours).
HPALETTE DefaultPalette();

// ---- Brushes and pens -----------------------------------------------------

enum : UINT { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL, BS_HATCHED = 2, BS_PATTERN = 3 };
enum : int { HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4, HS_DIAGCROSS = 5 };

// Everything a brush paints with. Colours may be system colours; they resolve
// when the brush paints. A pattern is a snapshot of a bitmap's pixels; a
// monochrome pattern paints its black pixels in the text colour and its white
// ones in the background colour of the device context.
struct LOGBRUSH {
    UINT lbStyle = BS_SOLID;
    TColor lbColor = clWhite;
    int lbHatch = HS_HORIZONTAL;
    QImage lbPattern;
    bool lbPatternMonochrome = false;
};

class TBrushObject : public TGdiObject {
public:
    explicit TBrushObject(LOGBRUSH brush, bool stock = false)
        : TGdiObject(TGdiObjectKind::Brush, stock), Brush(std::move(brush)) {}
    LOGBRUSH Brush;
};
using HBRUSH = TBrushObject*;

enum : UINT {
    PS_SOLID = 0,
    PS_DASH = 1,
    PS_DOT = 2,
    PS_DASHDOT = 3,
    PS_DASHDOTDOT = 4,
    PS_NULL = 5,
    PS_INSIDEFRAME = 6,
    PS_STYLE_MASK = 0x0F
};

struct LOGPEN {
    UINT lopnStyle = PS_SOLID;
    int lopnWidth = 1;  // 0 means 1
    TColor lopnColor = clBlack;
};

class TPenObject : public TGdiObject {
public:
    explicit TPenObject(LOGPEN pen, bool stock = false) : TGdiObject(TGdiObjectKind::Pen, stock), Pen(pen) {}
    LOGPEN Pen;
};
using HPEN = TPenObject*;

HBRUSH CreateSolidBrush(TColor color);
HBRUSH CreateHatchBrush(int hatch, TColor color);
HBRUSH CreateBrushIndirect(const LOGBRUSH& brush);
HPEN CreatePen(UINT style, int width, TColor color);
HPEN CreatePenIndirect(const LOGPEN& pen);

// A shared brush of a system colour; it follows scheme changes and is never deleted.
HBRUSH GetSysColorBrush(int index);

// Stock objects. Fonts and the default bitmap are reached through their own headers.
enum : int {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = NULL_BRUSH,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    SYSTEM_FONT = 13,
    DEFAULT_PALETTE = 15,
    DEFAULT_GUI_FONT = 17
};
HGDIOBJ GetStockObject(int which);
