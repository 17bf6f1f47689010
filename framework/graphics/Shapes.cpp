// Shapes drawn with the pen and brush through the ROP2. Rectangles and thin
// lines are rasterised here, pixel by pixel as the window system does;
// curves and polygons are rasterised by Qt (no antialiasing) into a coverage
// mask that says, per pixel, whether the brush or the pen paints it.
#include "framework/graphics/DcInternal.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// Dash patterns of one-pixel pens, in pixels: on, off, on, off, ...
struct TDashPattern {
    std::array<int, 6> Runs;
    int Count;
};
constexpr std::array<TDashPattern, 5> DashPatterns = {{
    {{1, 0, 0, 0, 0, 0}, 1},    // PS_SOLID
    {{18, 6, 0, 0, 0, 0}, 2},   // PS_DASH        __________________      ...
    {{3, 3, 0, 0, 0, 0}, 2},    // PS_DOT         ___   ___   ___
    {{9, 6, 3, 6, 0, 0}, 4},    // PS_DASHDOT     _________      ___      ...
    {{9, 3, 3, 3, 3, 3}, 6},    // PS_DASHDOTDOT  _________   ___   ___   ...
}};

// Coverage mask values.
constexpr QRgb Nothing = 0xFF000000u;
constexpr QRgb BrushInk = 0xFF000001u;
constexpr QRgb PenInk = 0xFF000002u;

struct TPenInfo {
    bool Null = false;
    int Width = 1;
    const TDashPattern* Dashes = nullptr;  // null: solid
};

TPenInfo PenInfo(const TDeviceContext& dc)
{
    TPenInfo info;
    const UINT style = dc.State.Pen.lopnStyle & PS_STYLE_MASK;
    info.Null = style == PS_NULL;
    info.Width = std::clamp(dc.State.Pen.lopnWidth, 1, 1000);
    // Only cosmetic (one-pixel) pens are dashed.
    if (info.Width == 1 && style >= PS_DASH && style <= PS_DASHDOTDOT)
        info.Dashes = &DashPatterns[style];
    return info;
}

std::uint8_t ShapeRop(const TDeviceContext& dc)
{
    return Rop2ToRop3(dc.State.Rop2);
}

// Pixels of a one-pixel line from (x0, y0) towards (x1, y1), the last point
// left out, dashed by the pen's pattern; dashPos carries the pattern along a polyline.
void ThinLine(TDeviceContext& dc, QPoint from, QPoint to, const TPenInfo& pen, int& dashPos)
{
    const TPatternTile ink = SolidTile(dc.DevicePixel(dc.State.Pen.lopnColor));
    const TPatternTile gap = SolidTile(dc.DevicePixel(dc.State.BkColor));
    const bool paintGaps = dc.State.BkMode == OPAQUE;
    const std::uint8_t rop = ShapeRop(dc);
    const QRegion& clip = dc.DeviceClip();
    int dx = std::abs(to.x() - from.x());
    int dy = -std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    int x = from.x();
    int y = from.y();
    int period = 0;
    if (pen.Dashes != nullptr) {
        for (int i = 0; i < pen.Dashes->Count; ++i)
            period += pen.Dashes->Runs[static_cast<std::size_t>(i)];
    }
    while (x != to.x() || y != to.y()) {
        bool on = true;
        if (pen.Dashes != nullptr) {
            int pos = dashPos % period;
            int run = 0;
            while (pos >= pen.Dashes->Runs[static_cast<std::size_t>(run)]) {
                pos -= pen.Dashes->Runs[static_cast<std::size_t>(run)];
                ++run;
            }
            on = run % 2 == 0;
            ++dashPos;
        }
        if ((on || paintGaps) && clip.contains(QPoint(x, y)))
            PatternSpan(dc, y, x, x + 1, rop, on ? ink : gap);
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            y += stepY;
        }
    }
    const QRect bounds = QRect(from, to).normalized();
    dc.Touched(bounds);
}

// A rectangle of brush or pen pixels through the ROP2.
void ShapeFill(TDeviceContext& dc, const QRect& rect, const TPatternTile& tile)
{
    if (!rect.isEmpty())
        PatternFill(dc, rect, ShapeRop(dc), tile);
}

// Applies a coverage mask whose pixel (0, 0) lies at device point origin.
void ApplyMask(TDeviceContext& dc, const QImage& mask, QPoint origin)
{
    const TPatternTile brush = BrushTile(dc, dc.State.Brush);
    const TPatternTile pen = SolidTile(dc.DevicePixel(dc.State.Pen.lopnColor));
    const std::uint8_t rop = ShapeRop(dc);
    const QRect area(origin, mask.size());
    ForEachClipRect(dc, area, [&](const QRect& part) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            const std::uint32_t* row = ConstScanLine(mask, y - origin.y());
            int x = part.left();
            const int end = part.left() + part.width();
            while (x < end) {
                const std::uint32_t value = row[x - origin.x()];
                int runEnd = x + 1;
                while (runEnd < end && row[runEnd - origin.x()] == value)
                    ++runEnd;
                if (value == BrushInk)
                    PatternSpan(dc, y, x, runEnd, rop, brush);
                else if (value == PenInk)
                    PatternSpan(dc, y, x, runEnd, rop, pen);
                x = runEnd;
            }
        }
    });
    dc.Touched(area);
}

// Rasterises a shape into a mask over its device bounds (cut to the clip) and applies it.
// fill: the interior for the brush; stroke: the outline for the pen (may be empty).
void DrawMasked(TDeviceContext& dc, QRect bounds, const QPainterPath& fill, const QPainterPath& stroke, int penWidth,
                Qt::PenCapStyle cap = Qt::FlatCap)
{
    bounds = bounds.adjusted(-penWidth, -penWidth, penWidth, penWidth).intersected(dc.DeviceClip().boundingRect());
    if (bounds.isEmpty())
        return;
    QImage mask(bounds.size(), QImage::Format_RGB32);
    mask.fill(Nothing);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(-bounds.left(), -bounds.top());
        if (!fill.isEmpty())
            painter.fillPath(fill, QColor::fromRgb(BrushInk));
        if (!stroke.isEmpty()) {
            QPen pen(QColor::fromRgb(PenInk));
            pen.setWidth(penWidth <= 1 ? 0 : penWidth);  // 0: the cosmetic one-pixel pen
            pen.setCapStyle(cap);
            pen.setJoinStyle(penWidth <= 1 ? Qt::MiterJoin : Qt::RoundJoin);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(pen);
            painter.drawPath(stroke);
        }
    }
    ApplyMask(dc, mask, bounds.topLeft());
}

// Ordered device bounds of a shape given by two corners.
QRect ShapeBounds(const TDeviceContext& dc, int left, int top, int right, int bottom)
{
    const QPoint a = dc.ToDevice(std::min(left, right), std::min(top, bottom));
    return QRect(a.x(), a.y(), std::abs(right - left), std::abs(bottom - top));
}

// The geometry a closed shape's outline and interior follow: with a pen, the
// path through the centres of the outermost pixels (inset for wide pens);
// with none, the bounds one pixel smaller at the right and bottom.
QRectF OutlineRect(const QRect& bounds, const TPenInfo& pen)
{
    if (pen.Null)
        return QRectF(bounds.left(), bounds.top(), bounds.width() - 1, bounds.height() - 1);
    const double inset = pen.Width / 2.0;
    return QRectF(bounds.left() + inset, bounds.top() + inset, bounds.width() - pen.Width, bounds.height() - pen.Width);
}

}  // namespace

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    if (dc == nullptr)
        return false;
    const QRect r = ShapeBounds(*dc, left, top, right, bottom);
    const TPenInfo pen = PenInfo(*dc);
    const TPatternTile brush = BrushTile(*dc, dc->State.Brush);
    if (pen.Null) {
        ShapeFill(*dc, QRect(r.left(), r.top(), r.width() - 1, r.height() - 1), brush);
        return true;
    }
    if (r.width() <= 0 || r.height() <= 0)
        return true;
    if (pen.Dashes != nullptr) {
        // top, right, bottom, left, clockwise from the top-left corner
        ShapeFill(*dc, r.adjusted(1, 1, -1, -1), brush);
        int dashPos = 0;
        const QPoint corners[5] = {r.topLeft(), QPoint(r.right(), r.top()), r.bottomRight(),
                                   QPoint(r.left(), r.bottom()), r.topLeft()};
        for (int i = 0; i < 4; ++i)
            ThinLine(*dc, corners[i], corners[i + 1], pen, dashPos);
        return true;
    }
    const int w = std::min({pen.Width, (r.width() + 1) / 2, (r.height() + 1) / 2});
    const TPatternTile ink = SolidTile(dc->DevicePixel(dc->State.Pen.lopnColor));
    // top and bottom bands over the full width, side bands between them
    ShapeFill(*dc, QRect(r.left(), r.top(), r.width(), w), ink);
    ShapeFill(*dc, QRect(r.left(), r.bottom() - w + 1, r.width(), std::min(w, r.height() - w)), ink);
    const int innerHeight = r.height() - 2 * w;
    if (innerHeight > 0) {
        ShapeFill(*dc, QRect(r.left(), r.top() + w, w, innerHeight), ink);
        ShapeFill(*dc, QRect(r.right() - w + 1, r.top() + w, std::min(w, r.width() - w), innerHeight), ink);
        ShapeFill(*dc, QRect(r.left() + w, r.top() + w, r.width() - 2 * w, innerHeight), brush);
    }
    return true;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom)
{
    if (dc == nullptr)
        return false;
    const QRect r = ShapeBounds(*dc, left, top, right, bottom);
    const TPenInfo pen = PenInfo(*dc);
    const QRectF outline = OutlineRect(r, pen);
    if (outline.width() <= 0 && outline.height() <= 0)
        return true;
    QPainterPath path;
    path.addEllipse(outline);
    DrawMasked(*dc, r, path, pen.Null ? QPainterPath() : path, pen.Width);
    return true;
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    if (dc == nullptr)
        return false;
    const QRect r = ShapeBounds(*dc, left, top, right, bottom);
    const TPenInfo pen = PenInfo(*dc);
    const QRectF outline = OutlineRect(r, pen);
    if (outline.width() <= 0 && outline.height() <= 0)
        return true;
    QPainterPath path;
    path.addRoundedRect(outline, std::abs(ellipseWidth) / 2.0, std::abs(ellipseHeight) / 2.0);
    DrawMasked(*dc, r, path, pen.Null ? QPainterPath() : path, pen.Width);
    return true;
}

BOOL Polygon(HDC dc, std::span<const TPoint> points)
{
    if (dc == nullptr || points.size() < 2)
        return false;
    const TPenInfo pen = PenInfo(*dc);
    // Outlines run through pixel centres; a bare interior follows the pixel grid.
    const double shift = pen.Null ? 0.0 : 0.5;
    QPolygonF polygon;
    QRect bounds;
    for (const TPoint& p : points) {
        const QPoint d = dc->ToDevice(p.X, p.Y);
        polygon << QPointF(d.x() + shift, d.y() + shift);
        bounds = bounds.united(QRect(d, QSize(1, 1)));
    }
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(polygon);
    path.closeSubpath();
    DrawMasked(*dc, bounds, path, pen.Null ? QPainterPath() : path, pen.Width);
    return true;
}

BOOL Polyline(HDC dc, std::span<const TPoint> points)
{
    if (dc == nullptr || points.size() < 2)
        return false;
    const TPenInfo pen = PenInfo(*dc);
    if (pen.Null)
        return true;
    if (pen.Width == 1) {
        int dashPos = 0;
        for (std::size_t i = 1; i < points.size(); ++i)
            ThinLine(*dc, dc->ToDevice(points[i - 1].X, points[i - 1].Y), dc->ToDevice(points[i].X, points[i].Y), pen,
                     dashPos);
        return true;
    }
    QPainterPath path;
    QRect bounds;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPoint d = dc->ToDevice(points[i].X, points[i].Y);
        const QPointF centre(d.x() + 0.5, d.y() + 0.5);
        if (i == 0)
            path.moveTo(centre);
        else
            path.lineTo(centre);
        bounds = bounds.united(QRect(d, QSize(1, 1)));
    }
    DrawMasked(*dc, bounds, QPainterPath(), path, pen.Width, Qt::RoundCap);
    return true;
}

BOOL MoveToEx(HDC dc, int x, int y, TPoint* previous)
{
    if (dc == nullptr)
        return false;
    if (previous != nullptr)
        *previous = dc->State.CurrentPosition;
    dc->State.CurrentPosition = {x, y};
    return true;
}

BOOL LineTo(HDC dc, int x, int y)
{
    if (dc == nullptr)
        return false;
    const TPoint points[2] = {dc->State.CurrentPosition, {x, y}};
    Polyline(dc, points);
    dc->State.CurrentPosition = {x, y};
    return true;
}

TPoint GetCurrentPosition(HDC dc)
{
    return dc != nullptr ? dc->State.CurrentPosition : TPoint{};
}

BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    if (dc == nullptr)
        return false;
    const TPenInfo pen = PenInfo(*dc);
    const QRect r = ShapeBounds(*dc, left, top, right, bottom);
    if (pen.Null || r.width() < 1 || r.height() < 1)
        return true;
    const QRectF outline = OutlineRect(r, pen);
    const QPointF centre = outline.center();
    const double rx = std::max(outline.width() / 2.0, 0.5);
    const double ry = std::max(outline.height() / 2.0, 0.5);
    // Angles of the rays, counter-clockwise from three o'clock (y grows
    // downward on the surface, so it is negated), in the ellipse's own parameter.
    auto angleOf = [&](int x, int y) {
        const QPoint d = dc->ToDevice(x, y);
        const double vx = (d.x() + 0.5 - centre.x()) / rx;
        const double vy = -(d.y() + 0.5 - centre.y()) / ry;
        return std::atan2(vy, vx) * 180.0 / std::numbers::pi;
    };
    const double start = angleOf(xStart, yStart);
    double sweep = angleOf(xEnd, yEnd) - start;
    while (sweep <= 0.0)
        sweep += 360.0;
    QPainterPath path;
    path.arcMoveTo(outline, start);
    path.arcTo(outline, start, sweep);
    DrawMasked(*dc, r, QPainterPath(), path, pen.Width);
    return true;
}

COLORREF SetPixel(HDC dc, int x, int y, TColor color)
{
    if (dc == nullptr)
        return CLR_INVALID;
    const QPoint d = dc->ToDevice(x, y);
    if (!dc->DeviceClip().contains(d))
        return CLR_INVALID;
    const std::uint32_t pixel = dc->DevicePixel(color);
    ScanLine(dc->Image(), d.y())[d.x()] = pixel;
    dc->Touched(QRect(d, QSize(1, 1)));
    return RGBFromPixel(pixel);
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    if (dc == nullptr)
        return CLR_INVALID;
    const QPoint d = dc->ToDevice(x, y);
    if (!dc->DeviceClip().contains(d))
        return CLR_INVALID;
    return RGBFromPixel(ConstScanLine(dc->Image(), d.y())[d.x()]);
}
