#include "effects/FxHintGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Degrees to radians, in extended precision.
constexpr long double DegreeToRadian = std::numbers::pi_v<long double> / 180.0L;

// The corner a point of the screen may take: its right and bottom edges count as outside.
bool OnScreen(TPoint p, TSize screen)
{
    return p.X >= 0 && p.Y >= 0 && p.X < screen.cx && p.Y < screen.cy;
}

// The nose of each position, for rectangles and ellipses, as offsets from
// the window's size. One row per position: shadow box, shadow nose, body box,
// body nose, text offset. In each coordinate pair the terms are
// (constant, times W or H, times D).
struct TCoord {
    int C;
    int Size;   // 0 or 1: plus W (x) or H (y)
    int Depth;  // multiples of D
};
struct TBoxCoords {
    TCoord L, T, R, B;
};
struct TPointCoords {
    TCoord X, Y;
};
struct TNoseRow {
    TFxHintPosition Position;
    TBoxCoords ShadowBox;
    TPointCoords ShadowBase, ShadowTip;
    int ShadowMode;
    TBoxCoords BodyBox;
    TPointCoords BodyBase, BodyTip;
    TPoint TextOffset;
};

// The nose rectangles' table.
constexpr TNoseRow NoseRectTable[] = {
    {hpAboveLeft,
     {{0, 0, 1}, {0, 0, 1}, {-15, 1, 0}, {-15, 1, 0}}, {{-55, 1, 0}, {-16, 1, 0}}, {{0, 1, 0}, {0, 1, 0}}, 1,
     {{0, 0, 0}, {0, 0, 0}, {-15, 1, -1}, {-15, 1, -1}}, {{-55, 1, -1}, {-16, 1, -1}}, {{0, 1, -1}, {0, 1, -1}},
     {4, 4}},
    {hpAboveRight,
     {{15, 0, 1}, {0, 0, 1}, {0, 1, 0}, {-15, 1, 0}}, {{25, 0, 1}, {-16, 1, 0}}, {{0, 0, 0}, {0, 1, 0}}, 1,
     {{15, 0, 0}, {0, 0, 0}, {0, 1, -1}, {-15, 1, -1}}, {{25, 0, 0}, {-16, 1, -1}}, {{0, 0, 0}, {0, 1, -1}},
     {19, 4}},
    {hpBelowLeft,
     {{0, 0, 1}, {15, 0, 1}, {-15, 1, 0}, {0, 1, 0}}, {{-55, 1, 0}, {16, 0, 1}}, {{0, 1, 0}, {0, 0, 1}}, 1,
     {{0, 0, 0}, {15, 0, 0}, {-15, 1, -1}, {0, 1, -1}}, {{-55, 1, -1}, {16, 0, 0}}, {{0, 1, 0}, {0, 0, 0}},
     {4, 19}},
    {hpBelowRight,
     {{15, 0, 1}, {15, 0, 1}, {0, 1, 0}, {0, 1, 0}}, {{55, 0, 1}, {15, 0, 1}}, {{0, 0, 1}, {0, 0, 1}}, 0,
     {{15, 0, 0}, {15, 0, 0}, {0, 1, -1}, {0, 1, -1}}, {{25, 0, 0}, {16, 0, 0}}, {{0, 0, 0}, {0, 0, 0}},
     {19, 19}},
};

// The nose ellipses: the boxes and tips are those of the nose rectangles; the
// nose leaves the ellipse at an angle, and the text moves down more below.
struct TEllipseNoseRow {
    TFxHintPosition Position;
    int Angle;
    int TextExtraY;  // added to m + 3
};
constexpr TEllipseNoseRow NoseEllipseTable[] = {
    {hpAboveLeft, 125, 0},
    {hpAboveRight, 205, 0},
    {hpBelowLeft, 25, 15},
    {hpBelowRight, 295, 12},
};

int Resolve(const TCoord& c, int size, int depth)
{
    return c.C + c.Size * size + c.Depth * depth;
}

TRect Resolve(const TBoxCoords& b, TSize size, int depth)
{
    return Rect(Resolve(b.L, size.cx, depth), Resolve(b.T, size.cy, depth), Resolve(b.R, size.cx, depth),
                Resolve(b.B, size.cy, depth));
}

TPoint Resolve(const TPointCoords& p, TSize size, int depth)
{
    return {Resolve(p.X, size.cx, depth), Resolve(p.Y, size.cy, depth)};
}

const TNoseRow& NoseRowOf(TFxHintPosition position)
{
    for (const TNoseRow& row : NoseRectTable)
        if (row.Position == position)
            return row;
    return NoseRectTable[1];
}

const TEllipseNoseRow& EllipseRowOf(TFxHintPosition position)
{
    for (const TEllipseNoseRow& row : NoseEllipseTable)
        if (row.Position == position)
            return row;
    return NoseEllipseTable[1];
}

// Truncation toward zero of a value that is at most a box's half size.
int TruncSmall(long double value)
{
    return static_cast<int>(std::trunc(std::clamp(value, -2147483647.0L, 2147483647.0L)));
}

} // namespace

TFxHintPosition NextHintPosition(TFxHintPosition position)
{
    switch (position) {
    case hpAboveLeft:
        return hpAboveRight;
    case hpAboveRight:
        return hpBelowLeft;
    case hpBelowLeft:
        return hpBelowRight;
    case hpBelowRight:
        break;
    }
    return hpAboveLeft;
}

int HintWrapWidth(int maxWidth, int screenWidth)
{
    long long width = maxWidth;
    if (width < 0)
        width = screenWidth / -width;  // in 64 bits, so the most negative value divides too
    return static_cast<int>(std::max(width, 1LL));
}

TRect GrowForShape(TFxHintStyle style, int depth, TRect rect)
{
    const int w = rect.Right;
    const int h = rect.Bottom;
    switch (style) {
    case hsRect:
        rect.Right += depth;
        rect.Bottom += depth;
        break;
    case hsRoundRect:
        rect.Right += depth + 8;
        rect.Bottom += depth + 4;
        break;
    case hsEllipse:
        rect.Right += w / 3 + depth;
        rect.Bottom += h / 3 + depth;
        break;
    case hsNoseRect:
    case hsNoseRoundRect:
        rect.Right = std::max(rect.Right, 46) + depth + 23;
        rect.Bottom += depth + 18;
        break;
    case hsNoseEllipse:
        rect.Right += w / 2 + depth + 15;
        rect.Bottom += h / 2 + depth + 15;
        break;
    }
    return rect;
}

TPoint HintCornerFor(TFxHintPosition position, TPoint cursor, TSize size)
{
    switch (position) {
    case hpAboveLeft:
        return {cursor.X - 1 - size.cx, cursor.Y - 1 - size.cy};
    case hpAboveRight:
        return {cursor.X + 1, cursor.Y - 1 - size.cy};
    case hpBelowLeft:
        return {cursor.X - 3 - size.cx, cursor.Y + 1};
    case hpBelowRight:
        break;
    }
    return {cursor.X + 6, cursor.Y + 1};
}

THintPlacement PlaceHint(TSize size, TPoint cursor, TSize screen, TFxHintPosition preferred)
{
    THintPlacement placement{};
    TFxHintPosition position = preferred;
    for (int tries = 1; tries <= 4; ++tries) {
        const TPoint corner = HintCornerFor(position, cursor, size);
        placement.Bounds = Bounds(corner.X, corner.Y, size.cx, size.cy);
        placement.Position = position;
        placement.Tries = tries;
        if (OnScreen(corner, screen) && OnScreen({placement.Bounds.Right, placement.Bounds.Bottom}, screen)) {
            placement.Fits = true;
            return placement;
        }
        position = NextHintPosition(position);
    }
    return placement;
}

THintShape HintShapeFor(TFxHintStyle style, TFxHintPosition position, TSize size, int depth, const TRect& textRect)
{
    const int W = size.cx;
    const int H = size.cy;
    const int D = depth;
    THintShape shape;
    switch (style) {
    case hsRect:
    case hsRoundRect:
    case hsEllipse:
        shape.Shadow.Box = Rect(D, D, W, H);
        shape.Body.Box = Rect(0, 0, W - D, H - D);
        if (style == hsRect)
            shape.TextOffset = {3, 3};
        else if (style == hsRoundRect)
            shape.TextOffset = {5, 5};
        else
            shape.TextOffset = {(textRect.Right - D) / 5 + 3, (textRect.Bottom - D) / 5 + 3};
        return shape;
    case hsNoseRect:
    case hsNoseRoundRect:
    case hsNoseEllipse:
        break;
    }
    const TNoseRow& row = NoseRowOf(position);
    shape.Shadow = {Resolve(row.ShadowBox, size, D), Resolve(row.ShadowBase, size, D), Resolve(row.ShadowTip, size, D),
                    0, row.ShadowMode};
    shape.Body = {Resolve(row.BodyBox, size, D), Resolve(row.BodyBase, size, D), Resolve(row.BodyTip, size, D), 0, 2};
    shape.TextOffset = row.TextOffset;
    if (style == hsNoseEllipse) {
        const TEllipseNoseRow& ellipse = EllipseRowOf(position);
        shape.Shadow.Angle = ellipse.Angle;
        shape.Body.Angle = ellipse.Angle;
        const int k = (textRect.Right - D) / 3;
        const int m = (textRect.Bottom - D) / 3;
        shape.TextOffset = {k + 3, m + 3 + ellipse.TextExtraY};
    }
    return shape;
}

void NoseTriangle(const THintShapePart& part, TPoint (&points)[3])
{
    points[0] = part.Base;
    points[1] = part.Tip;
    points[2] = {part.Base.X + 30, part.Base.Y};
}

TPoint EllipsePoint(const TRect& box, std::uint16_t angle)
{
    const TPoint c{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2};
    const int rx = c.X - std::min(box.Left, box.Right);
    const int ry = c.Y - std::min(box.Top, box.Bottom);
    const long double a = angle;
    return {c.X - TruncSmall(std::sin(-a * DegreeToRadian) * rx),
            c.Y - TruncSmall(std::sin((a + 90.0L) * DegreeToRadian) * ry)};
}
