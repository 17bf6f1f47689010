// Brush patterns and the pattern-only transfers: PatBlt, FillRect, FrameRect.
#include "framework/graphics/DcInternal.h"

#include <algorithm>
#include <array>

namespace {

// Hatch patterns, 8 x 8, one byte a row with the leftmost pixel in the top
// bit; a set bit is ink in the brush colour, a clear one a gap.
constexpr std::array<std::array<std::uint8_t, 8>, 6> HatchRows = {{
    {0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // HS_HORIZONTAL  -----
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // HS_VERTICAL    |||||
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL   \\\\\ (down to the right)
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL   ///// (up to the right)
    {0x08, 0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08},  // HS_CROSS       +++++
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS   xxxxx
}};

constexpr int Chunk = 256;

int Wrap(int value, int size)
{
    const int r = value % size;
    return r < 0 ? r + size : r;
}

}  // namespace

void TPatternTile::Row(int x, int y, int count, std::uint32_t* out, std::uint8_t* ink) const
{
    const int ty = Wrap(y - Origin.Y, Height);
    int tx = Wrap(x - Origin.X, Width);
    const std::uint32_t* row = Pixels.data() + static_cast<std::size_t>(ty) * static_cast<std::size_t>(Width);
    const std::uint8_t* inkRow = Ink.empty() ? nullptr : Ink.data() + static_cast<std::size_t>(ty) * static_cast<std::size_t>(Width);
    for (int i = 0; i < count; ++i) {
        out[i] = row[tx];
        if (ink != nullptr)
            ink[i] = inkRow != nullptr ? inkRow[tx] : 1;
        if (++tx == Width)
            tx = 0;
    }
}

TPatternTile SolidTile(std::uint32_t pixel)
{
    TPatternTile tile;
    tile.Pixels = {pixel};
    return tile;
}

TPatternTile BrushTile(const TDeviceContext& dc, const LOGBRUSH& brush)
{
    TPatternTile tile;
    tile.Origin = dc.State.BrushOrigin;
    switch (brush.lbStyle) {
    case BS_NULL:
        tile.Null = true;
        return tile;
    case BS_HATCHED: {
        const auto& rows = HatchRows[static_cast<std::size_t>(std::clamp(brush.lbHatch, 0, 5))];
        const std::uint32_t ink = dc.DevicePixel(brush.lbColor);
        const std::uint32_t gap = dc.DevicePixel(dc.State.BkColor);
        const bool opaque = dc.State.BkMode == OPAQUE;
        tile.Width = tile.Height = 8;
        tile.Pixels.assign(64, gap);
        if (!opaque)
            tile.Ink.assign(64, 0);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if ((rows[static_cast<std::size_t>(y)] >> (7 - x)) & 1u) {
                    tile.Pixels[static_cast<std::size_t>(y * 8 + x)] = ink;
                    if (!opaque)
                        tile.Ink[static_cast<std::size_t>(y * 8 + x)] = 1;
                }
            }
        }
        return tile;
    }
    case BS_PATTERN: {
        const QImage& image = brush.lbPattern;
        if (image.isNull())
            break;
        tile.Width = image.width();
        tile.Height = image.height();
        tile.Pixels.resize(static_cast<std::size_t>(tile.Width) * static_cast<std::size_t>(tile.Height));
        // A monochrome pattern paints in the context's text and background colours.
        const std::uint32_t black = brush.lbPatternMonochrome ? dc.DevicePixel(dc.State.TextColor) : 0xFF000000u;
        const std::uint32_t white = brush.lbPatternMonochrome ? dc.DevicePixel(dc.State.BkColor) : 0xFFFFFFFFu;
        for (int y = 0; y < tile.Height; ++y) {
            const std::uint32_t* src = ConstScanLine(image, y);
            std::uint32_t* out = tile.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(tile.Width);
            for (int x = 0; x < tile.Width; ++x) {
                const std::uint32_t p = src[x] | 0xFF000000u;
                if (brush.lbPatternMonochrome)
                    out[x] = (p & 0xFFFFFFu) == 0xFFFFFFu ? white : black;
                else
                    out[x] = dc.Monochrome() ? dc.DevicePixel(RGBFromPixel(p)) : p;
            }
        }
        return tile;
    }
    default:
        break;
    }
    tile.Pixels = {dc.DevicePixel(brush.lbColor)};
    return tile;
}

void PatternSpan(TDeviceContext& dc, int y, int x0, int x1, std::uint8_t rop, const TPatternTile& pattern)
{
    if (x1 <= x0)
        return;
    if (pattern.Null && Rop3UsesPattern(rop))
        return;
    std::uint32_t* dest = ScanLine(dc.Image(), y);
    if (pattern.Solid() && rop == 0xF0) {
        std::fill(dest + x0, dest + x1, pattern.Pixels[0] | 0xFF000000u);
        return;
    }
    std::array<std::uint32_t, Chunk> pat;
    std::array<std::uint32_t, Chunk> result;
    std::array<std::uint8_t, Chunk> ink;
    const bool masked = !pattern.Ink.empty();
    for (int x = x0; x < x1; x += Chunk) {
        const int n = std::min(Chunk, x1 - x);
        if (!pattern.Null)
            pattern.Row(x, y, n, pat.data(), masked ? ink.data() : nullptr);
        if (!masked) {
            ApplyRop3Row(rop, dest + x, nullptr, pat.data(), n);
            continue;
        }
        std::copy(dest + x, dest + x + n, result.begin());
        ApplyRop3Row(rop, result.data(), nullptr, pat.data(), n);
        for (int i = 0; i < n; ++i) {
            if (ink[static_cast<std::size_t>(i)])
                dest[x + i] = result[static_cast<std::size_t>(i)];
        }
    }
}

void PatternFill(TDeviceContext& dc, const QRect& deviceRect, std::uint8_t rop, const TPatternTile& pattern)
{
    if (deviceRect.isEmpty() || (pattern.Null && Rop3UsesPattern(rop)))
        return;
    ForEachClipRect(dc, deviceRect, [&](const QRect& part) {
        for (int y = part.top(); y <= part.bottom(); ++y)
            PatternSpan(dc, y, part.left(), part.left() + part.width(), rop, pattern);
    });
    dc.Touched(deviceRect);
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, TRop3 rop)
{
    if (dc == nullptr)
        return false;
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    const QRect r(dc->ToDevice(x, y), QSize(width, height));
    PatternFill(*dc, r, Rop3Byte(rop), BrushTile(*dc, dc->State.Brush));
    return true;
}

int FillRect(HDC dc, const TRect& rect, HBRUSH brush)
{
    if (dc == nullptr || brush == nullptr)
        return 0;
    if (rect.IsEmpty())
        return 1;
    PatternFill(*dc, dc->ToDevice(rect), 0xF0, BrushTile(*dc, brush->Brush));
    return 1;
}

int FrameRect(HDC dc, const TRect& rect, HBRUSH brush)
{
    if (dc == nullptr || brush == nullptr)
        return 0;
    if (rect.IsEmpty())
        return 1;
    const TPatternTile tile = BrushTile(*dc, brush->Brush);
    const QRect r = dc->ToDevice(rect);
    // top, bottom, then the left and right columns between them
    PatternFill(*dc, QRect(r.left(), r.top(), r.width(), 1), 0xF0, tile);
    if (r.height() > 1)
        PatternFill(*dc, QRect(r.left(), r.bottom(), r.width(), 1), 0xF0, tile);
    if (r.height() > 2) {
        PatternFill(*dc, QRect(r.left(), r.top() + 1, 1, r.height() - 2), 0xF0, tile);
        if (r.width() > 1)
            PatternFill(*dc, QRect(r.right(), r.top() + 1, 1, r.height() - 2), 0xF0, tile);
    }
    return 1;
}

BOOL InvertRect(HDC dc, const TRect& rect)
{
    if (dc == nullptr)
        return false;
    PatternFill(*dc, dc->ToDevice(rect), 0x55, TPatternTile{});
    return true;
}
