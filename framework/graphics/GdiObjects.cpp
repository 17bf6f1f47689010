#include "framework/graphics/GdiObjects.h"

#include "framework/graphics/Fonts.h"

#include <array>

namespace {

constexpr std::size_t KindCount = 7;
// Live objects per kind; only the constructors and destructor below touch it.
std::array<int, KindCount> liveObjects{};

std::size_t KindIndex(TGdiObjectKind kind) { return static_cast<std::size_t>(kind); }

QRect ToQRect(int left, int top, int right, int bottom)
{
    // The window system accepts reversed edges and orders them.
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

TGdiObject::TGdiObject(TGdiObjectKind kind, bool stock) : kind_(kind), stock_(stock)
{
    if (!stock_)
        ++liveObjects[KindIndex(kind_)];
}

TGdiObject::~TGdiObject()
{
    if (!stock_)
        --liveObjects[KindIndex(kind_)];
}

int TGdiObject::LiveCount(TGdiObjectKind kind)
{
    return liveObjects[KindIndex(kind)];
}

int TGdiObject::LiveCount()
{
    int total = 0;
    for (int n : liveObjects)
        total += n;
    return total;
}

BOOL DeleteObject(HGDIOBJ object)
{
    if (object == nullptr || object->IsStock() || object->Kind() == TGdiObjectKind::DeviceContext)
        return false;
    if (object->SelectionCount() > 0)
        return false;
    delete object;
    return true;
}

// ---- Regions --------------------------------------------------------------

int RegionType(const QRegion& region)
{
    if (region.isEmpty())
        return NULLREGION;
    return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    return new TRegionObject(QRegion(ToQRect(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const TRect& rect)
{
    return CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode)
{
    if (dest == nullptr || src1 == nullptr || (mode != RGN_COPY && src2 == nullptr))
        return ERROR_REGION;
    switch (mode) {
    case RGN_AND: dest->Region = src1->Region.intersected(src2->Region); break;
    case RGN_OR: dest->Region = src1->Region.united(src2->Region); break;
    case RGN_XOR: dest->Region = src1->Region.xored(src2->Region); break;
    case RGN_DIFF: dest->Region = src1->Region.subtracted(src2->Region); break;
    case RGN_COPY: dest->Region = src1->Region; break;
    default: return ERROR_REGION;
    }
    return RegionType(dest->Region);
}

int OffsetRgn(HRGN region, int dx, int dy)
{
    if (region == nullptr)
        return ERROR_REGION;
    region->Region.translate(dx, dy);
    return RegionType(region->Region);
}

BOOL PtInRegion(HRGN region, int x, int y)
{
    return region != nullptr && region->Region.contains(QPoint(x, y));
}

int GetRgnBox(HRGN region, TRect* box)
{
    if (region == nullptr || box == nullptr)
        return ERROR_REGION;
    const QRect r = region->Region.boundingRect();
    *box = region->Region.isEmpty() ? TRect{} : ToTRect(r);
    return RegionType(region->Region);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom)
{
    if (region == nullptr)
        return false;
    region->Region = QRegion(ToQRect(left, top, right, bottom));
    return true;
}

BOOL EqualRgn(HRGN a, HRGN b)
{
    return a != nullptr && b != nullptr && a->Region == b->Region;
}

// ---- Palettes -------------------------------------------------------------

HPALETTE CreatePalette(const LOGPALETTE* description)
{
    if (description == nullptr || description->palVersion != 0x300 || description->palPalEntry.empty())
        return nullptr;
    return new TPaletteObject(description->palPalEntry);
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries)
{
    if (palette == nullptr)
        return 0;
    const auto size = static_cast<UINT>(palette->Entries.size());
    if (entries == nullptr)
        return size;
    UINT copied = 0;
    for (UINT i = start; i < size && copied < count; ++i, ++copied)
        entries[copied] = palette->Entries[i];
    return copied;
}

HPALETTE DefaultPalette()
{
    // The twenty static colours of a palette device: the sixteen named
    // colours and four pastel extras.
    static TPaletteObject palette([] {
        const TColor colors[20] = {clBlack,  clMaroon, clGreen,  clOlive, clNavy,   clPurple, clTeal,
                                   clSilver, RGB(0xC0, 0xDC, 0xC0), RGB(0xA6, 0xCA, 0xF0),
                                   RGB(0xFF, 0xFB, 0xF0), RGB(0xA0, 0xA0, 0xA4), clGray, clRed,
                                   clLime,   clYellow, clBlue,   clFuchsia, clAqua, clWhite};
        std::vector<PALETTEENTRY> entries;
        for (TColor c : colors)
            entries.push_back({GetRValue(c), GetGValue(c), GetBValue(c), 0});
        return entries;
    }(), true);
    return &palette;
}

// ---- Brushes and pens -----------------------------------------------------

HBRUSH CreateSolidBrush(TColor color)
{
    LOGBRUSH brush;
    brush.lbStyle = BS_SOLID;
    brush.lbColor = color;
    return new TBrushObject(brush);
}

HBRUSH CreateHatchBrush(int hatch, TColor color)
{
    LOGBRUSH brush;
    brush.lbStyle = BS_HATCHED;
    brush.lbColor = color;
    brush.lbHatch = hatch;
    return new TBrushObject(brush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH& brush)
{
    return new TBrushObject(brush);
}

HPEN CreatePen(UINT style, int width, TColor color)
{
    return new TPenObject(LOGPEN{style, width, color});
}

HPEN CreatePenIndirect(const LOGPEN& pen)
{
    return new TPenObject(pen);
}

HBRUSH GetSysColorBrush(int index)
{
    if (index < 0 || index >= SystemColorCount)
        return nullptr;
    // The brushes hold the system colour itself, so they follow scheme changes.
    static std::array<std::unique_ptr<TBrushObject>, SystemColorCount> brushes = [] {
        std::array<std::unique_ptr<TBrushObject>, SystemColorCount> made;
        for (int i = 0; i < SystemColorCount; ++i) {
            LOGBRUSH b;
            b.lbColor = SystemColorFlag | static_cast<TColor>(i);
            made[static_cast<std::size_t>(i)] = std::make_unique<TBrushObject>(b, true);
        }
        return made;
    }();
    return brushes[static_cast<std::size_t>(index)].get();
}

HGDIOBJ GetStockObject(int which)
{
    auto solid = [](TColor color) {
        LOGBRUSH b;
        b.lbColor = color;
        return b;
    };
    static TBrushObject whiteBrush(solid(clWhite), true);
    static TBrushObject ltGrayBrush(solid(clSilver), true);
    static TBrushObject grayBrush(solid(clGray), true);
    static TBrushObject dkGrayBrush(solid(RGB(0x40, 0x40, 0x40)), true);
    static TBrushObject blackBrush(solid(clBlack), true);
    static TBrushObject nullBrush(LOGBRUSH{BS_NULL, clBlack, 0, {}, false}, true);
    static TPenObject whitePen(LOGPEN{PS_SOLID, 1, clWhite}, true);
    static TPenObject blackPen(LOGPEN{PS_SOLID, 1, clBlack}, true);
    static TPenObject nullPen(LOGPEN{PS_NULL, 1, clBlack}, true);
    static TFontObject systemFont(
        [] {
            LOGFONT f;
            f.lfHeight = 16;
            f.lfWeight = FW_BOLD;
            f.lfFaceName = "System";
            return f;
        }(),
        true);
    static TFontObject guiFont(
        [] {
            LOGFONT f;
            f.lfHeight = -11;
            f.lfFaceName = "MS Sans Serif";
            return f;
        }(),
        true);
    switch (which) {
    case WHITE_BRUSH: return &whiteBrush;
    case LTGRAY_BRUSH: return &ltGrayBrush;
    case GRAY_BRUSH: return &grayBrush;
    case DKGRAY_BRUSH: return &dkGrayBrush;
    case BLACK_BRUSH: return &blackBrush;
    case NULL_BRUSH: return &nullBrush;
    case WHITE_PEN: return &whitePen;
    case BLACK_PEN: return &blackPen;
    case NULL_PEN: return &nullPen;
    case SYSTEM_FONT: return &systemFont;
    case DEFAULT_PALETTE: return DefaultPalette();
    case DEFAULT_GUI_FONT: return &guiFont;
    default: return nullptr;
    }
}
