// Bit-block transfers through ROP3 codes, scaled or not, with the
// monochrome <-> colour mapping of the window system.
#include "framework/graphics/DcInternal.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t Opaque = 0xFF000000u;
constexpr std::uint32_t White = 0xFFFFFFFFu;

// For each of count destination pixels, the source index it samples (the
// first of the source pixels it covers), mirrored when flip is set.
std::vector<int> SampleStarts(int count, int srcStart, int srcCount, bool flip)
{
    std::vector<int> starts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const auto offset = static_cast<int>(static_cast<long long>(i) * srcCount / count);
        starts[static_cast<std::size_t>(i)] = srcStart + (flip ? srcCount - 1 - offset : offset);
    }
    return starts;
}

// The source pixels destination pixel i covers when shrinking: [first, last].
void SampleSpan(int i, int count, int srcStart, int srcCount, bool flip, int& first, int& last)
{
    auto lo = static_cast<int>(static_cast<long long>(i) * srcCount / count);
    auto hi = static_cast<int>(static_cast<long long>(i + 1) * srcCount / count) - 1;
    hi = std::max(hi, lo);
    if (flip) {
        const int a = srcCount - 1 - hi;
        const int b = srcCount - 1 - lo;
        lo = a;
        hi = b;
    }
    first = srcStart + lo;
    last = srcStart + hi;
}

// How a source pixel becomes a destination pixel.
struct TSourceMapping {
    enum Kind { AsIs, MonoToColor, ColorToMono } Mode = AsIs;
    std::uint32_t Black = Opaque;        // MonoToColor: what black becomes
    std::uint32_t WhitePixel = White;    // MonoToColor: what white becomes
    std::uint32_t Background = 0;        // ColorToMono: the source colour that becomes white

    std::uint32_t operator()(std::uint32_t pixel) const
    {
        switch (Mode) {
        case MonoToColor: return (pixel & 0xFFFFFFu) == 0xFFFFFFu ? WhitePixel : Black;
        case ColorToMono: return (pixel & 0xFFFFFFu) == Background ? White : Opaque;
        default: return pixel | Opaque;
        }
    }
};

TSourceMapping MappingFor(const TDeviceContext& dest, const TDeviceContext& source)
{
    TSourceMapping mapping;
    if (source.Monochrome() && !dest.Monochrome()) {
        mapping.Mode = TSourceMapping::MonoToColor;
        mapping.Black = dest.DevicePixel(dest.State.TextColor);
        mapping.WhitePixel = dest.DevicePixel(dest.State.BkColor);
    } else if (!source.Monochrome() && dest.Monochrome()) {
        mapping.Mode = TSourceMapping::ColorToMono;
        mapping.Background = PixelFromRGB(ColorToRGB(source.State.BkColor)) & 0xFFFFFFu;
    }
    return mapping;
}

// The destination span [first, last] whose samples fall inside [0, limit).
bool ValidRange(const std::vector<int>& starts, int limit, int& first, int& last)
{
    first = 0;
    last = static_cast<int>(starts.size()) - 1;
    while (first <= last && (starts[static_cast<std::size_t>(first)] < 0 || starts[static_cast<std::size_t>(first)] >= limit))
        ++first;
    while (last >= first && (starts[static_cast<std::size_t>(last)] < 0 || starts[static_cast<std::size_t>(last)] >= limit))
        --last;
    return first <= last;
}

void Normalize(int& pos, int& size, bool& flip)
{
    if (size < 0) {
        pos += size;
        size = -size;
        flip = !flip;
    }
}

}  // namespace

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, int sw, int sh, TRop3 rop)
{
    if (dest == nullptr)
        return false;
    const std::uint8_t op = Rop3Byte(rop);
    if (!Rop3UsesSource(op))
        return PatBlt(dest, x, y, width, height, rop);
    if (source == nullptr)
        return false;
    bool flipX = false;
    bool flipY = false;
    Normalize(x, width, flipX);
    Normalize(y, height, flipY);
    Normalize(sx, sw, flipX);
    Normalize(sy, sh, flipY);
    if (width == 0 || height == 0 || sw == 0 || sh == 0)
        return true;

    const QPoint d0 = dest->ToDevice(x, y);
    const QPoint s0 = source->ToDevice(sx, sy);
    const QSize sourceSize = source->Surface->Size();
    std::vector<int> columns = SampleStarts(width, s0.x(), sw, flipX);
    std::vector<int> rows = SampleStarts(height, s0.y(), sh, flipY);
    int firstColumn, lastColumn, firstRow, lastRow;
    if (!ValidRange(columns, sourceSize.width(), firstColumn, lastColumn) ||
        !ValidRange(rows, sourceSize.height(), firstRow, lastRow))
        return true;
    const QRect destArea(d0.x() + firstColumn, d0.y() + firstRow, lastColumn - firstColumn + 1, lastRow - firstRow + 1);

    // Only the source rectangle is read (the real screen is not read whole
    // for a small copy); sample positions are made relative to what was read.
    const QRect readArea = QRect(s0.x(), s0.y(), sw, sh).intersected(QRect(QPoint(), sourceSize));
    const TSurface::TReadView view = source->Surface->Read(readArea);
    if (view.Image == nullptr || view.Image->isNull())
        return true;
    for (int& column : columns)
        column -= view.Origin.x();
    for (int& row : rows)
        row -= view.Origin.y();

    // Reading and writing the same pixels: read from a copy.
    QImage sourceCopy;
    const QImage* from = view.Image;
    if (source->Surface == dest->Surface) {
        sourceCopy = view.Image->copy();
        from = &sourceCopy;
    }

    const TSourceMapping mapping = MappingFor(*dest, *source);
    const bool usesPattern = Rop3UsesPattern(op);
    const TPatternTile pattern = usesPattern ? BrushTile(*dest, dest->State.Brush) : TPatternTile{};
    if (usesPattern && pattern.Null)
        return true;
    // Shrinking merges the source pixels a destination pixel covers, unless
    // the mode just drops them.
    const int mode = dest->State.StretchMode;
    const bool mergeX = sw > width && (mode == BLACKONWHITE || mode == WHITEONBLACK);
    const bool mergeY = sh > height && (mode == BLACKONWHITE || mode == WHITEONBLACK);
    const bool keepBlack = mode == BLACKONWHITE;  // AND keeps black, OR keeps white
    auto merge = [keepBlack](std::uint32_t a, std::uint32_t b) { return keepBlack ? (a & b) : (a | b); };
    auto sourcePixel = [&](int column, int row) -> std::uint32_t {
        const int i = column - d0.x();
        const int j = row - d0.y();
        int rowFirst = rows[static_cast<std::size_t>(j)], rowLast = rowFirst;
        int colFirst = columns[static_cast<std::size_t>(i)], colLast = colFirst;
        if (mergeY)
            SampleSpan(j, height, s0.y() - view.Origin.y(), sh, flipY, rowFirst, rowLast);
        if (mergeX)
            SampleSpan(i, width, s0.x() - view.Origin.x(), sw, flipX, colFirst, colLast);
        rowFirst = std::max(rowFirst, 0);
        rowLast = std::min(rowLast, from->height() - 1);
        colFirst = std::max(colFirst, 0);
        colLast = std::min(colLast, from->width() - 1);
        std::uint32_t value = ConstScanLine(*from, rowFirst)[colFirst];
        for (int r = rowFirst; r <= rowLast; ++r) {
            const std::uint32_t* line = ConstScanLine(*from, r);
            for (int c = colFirst; c <= colLast; ++c)
                value = merge(value, line[c]);
        }
        return value;
    };

    std::vector<std::uint32_t> sourceRow;
    std::vector<std::uint32_t> patternRow;
    ForEachClipRect(*dest, destArea, [&](const QRect& part) {
        const int n = part.width();
        sourceRow.resize(static_cast<std::size_t>(n));
        patternRow.resize(static_cast<std::size_t>(n));
        for (int row = part.top(); row <= part.bottom(); ++row) {
            if (!mergeX && !mergeY) {
                const std::uint32_t* line = ConstScanLine(*from, rows[static_cast<std::size_t>(row - d0.y())]);
                for (int i = 0; i < n; ++i)
                    sourceRow[static_cast<std::size_t>(i)] =
                        mapping(line[columns[static_cast<std::size_t>(part.left() + i - d0.x())]]);
            } else {
                for (int i = 0; i < n; ++i)
                    sourceRow[static_cast<std::size_t>(i)] = mapping(sourcePixel(part.left() + i, row));
            }
            if (usesPattern)
                pattern.Row(part.left(), row, n, patternRow.data(), nullptr);
            ApplyRop3Row(op, ScanLine(dest->Image(), row) + part.left(), sourceRow.data(),
                         usesPattern ? patternRow.data() : nullptr, n);
        }
    });
    dest->Touched(destArea);
    return true;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, TRop3 rop)
{
    return StretchBlt(dest, x, y, width, height, source, sx, sy, width, height, rop);
}

void KeyedTransfer(TDeviceContext& dest, const QRect& destRect, const QImage& source, bool sourceMonochrome,
                   const QRect& srcRect, std::uint32_t key, const TPatternTile* replacement)
{
    if (destRect.isEmpty() || srcRect.isEmpty() || source.isNull())
        return;
    const std::vector<int> columns = SampleStarts(destRect.width(), srcRect.left(), srcRect.width(), false);
    const std::vector<int> rows = SampleStarts(destRect.height(), srcRect.top(), srcRect.height(), false);
    int firstColumn, lastColumn, firstRow, lastRow;
    if (!ValidRange(columns, source.width(), firstColumn, lastColumn) ||
        !ValidRange(rows, source.height(), firstRow, lastRow))
        return;
    const QRect area(destRect.left() + firstColumn, destRect.top() + firstRow, lastColumn - firstColumn + 1,
                     lastRow - firstRow + 1);
    TSourceMapping mapping;
    if (sourceMonochrome && !dest.Monochrome()) {
        mapping.Mode = TSourceMapping::MonoToColor;
        mapping.Black = dest.DevicePixel(dest.State.TextColor);
        mapping.WhitePixel = dest.DevicePixel(dest.State.BkColor);
    }
    const bool replace = replacement != nullptr && !replacement->Null;
    std::vector<std::uint32_t> patternRow;
    std::vector<std::uint8_t> inkRow;
    key &= 0xFFFFFFu;
    ForEachClipRect(dest, area, [&](const QRect& part) {
        const int n = part.width();
        patternRow.resize(static_cast<std::size_t>(n));
        inkRow.resize(static_cast<std::size_t>(n));
        for (int row = part.top(); row <= part.bottom(); ++row) {
            const std::uint32_t* line = ConstScanLine(source, rows[static_cast<std::size_t>(row - destRect.top())]);
            std::uint32_t* out = ScanLine(dest.Image(), row) + part.left();
            if (replace)
                replacement->Row(part.left(), row, n, patternRow.data(), inkRow.data());
            for (int i = 0; i < n; ++i) {
                const std::uint32_t pixel = line[columns[static_cast<std::size_t>(part.left() + i - destRect.left())]];
                if ((pixel & 0xFFFFFFu) != key) {
                    out[i] = dest.Monochrome() ? dest.DevicePixel(RGBFromPixel(pixel)) : mapping(pixel);
                } else if (replace && inkRow[static_cast<std::size_t>(i)]) {
                    out[i] = patternRow[static_cast<std::size_t>(i)] | Opaque;
                }
            }
        }
    });
    dest.Touched(area);
}
