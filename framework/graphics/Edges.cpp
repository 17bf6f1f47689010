// Focus rectangles and the classic 3D edges.
#include "framework/graphics/DcInternal.h"

namespace {

// One-pixel frame pieces: top and left in one colour, bottom and right
// (with the top-right and bottom-left corners) in the other.
//
//   L L L L D        L = topLeft colour
//   L . . . D        D = bottomRight colour
//   D D D D D
void PaintFrame(TDeviceContext& dc, const QRect& r, UINT sides, TColor topLeft, TColor bottomRight)
{
    if (r.isEmpty())
        return;
    const TPatternTile light = SolidTile(dc.DevicePixel(topLeft));
    const TPatternTile dark = SolidTile(dc.DevicePixel(bottomRight));
    const int rightTrim = (sides & BF_RIGHT) ? 1 : 0;
    const int bottomTrim = (sides & BF_BOTTOM) ? 1 : 0;
    if (sides & BF_TOP)  // top row
        PatternFill(dc, QRect(r.left(), r.top(), r.width() - rightTrim, 1), 0xF0, light);
    if (sides & BF_LEFT)  // left column
        PatternFill(dc, QRect(r.left(), r.top(), 1, r.height() - bottomTrim), 0xF0, light);
    if (sides & BF_BOTTOM)  // bottom row, corners included
        PatternFill(dc, QRect(r.left(), r.bottom(), r.width(), 1), 0xF0, dark);
    if (sides & BF_RIGHT)  // right column, corners included
        PatternFill(dc, QRect(r.right(), r.top(), 1, r.height()), 0xF0, dark);
}

QRect Shrink(const QRect& r, UINT sides)
{
    return r.adjusted((sides & BF_LEFT) ? 1 : 0, (sides & BF_TOP) ? 1 : 0, (sides & BF_RIGHT) ? -1 : 0,
                      (sides & BF_BOTTOM) ? -1 : 0);
}

// The colours of one frame of an edge: top-left, bottom-right.
struct TEdgeColors {
    TColor TopLeft;
    TColor BottomRight;
};

TEdgeColors OuterColors(UINT edge, UINT flags)
{
    if (flags & BF_MONO)
        return {clWindowFrame, clWindowFrame};
    if (flags & BF_FLAT)
        return {clBtnShadow, clBtnShadow};
    if (edge & BDR_RAISEDOUTER)
        return {(flags & BF_SOFT) ? clBtnHighlight : cl3DLight, cl3DDkShadow};
    return {(flags & BF_SOFT) ? cl3DDkShadow : clBtnShadow, clBtnHighlight};
}

TEdgeColors InnerColors(UINT edge, UINT flags)
{
    if (flags & BF_MONO)
        return {clWindow, clWindow};
    if (flags & BF_FLAT)
        return {clBtnFace, clBtnFace};
    if (edge & BDR_RAISEDINNER)
        return {(flags & BF_SOFT) ? cl3DLight : clBtnHighlight, clBtnShadow};
    return {(flags & BF_SOFT) ? clBtnShadow : cl3DDkShadow, cl3DLight};
}

}  // namespace

BOOL DrawFocusRect(HDC dc, const TRect& rect)
{
    if (dc == nullptr)
        return false;
    const QRect r = dc->ToDevice(rect).normalized();
    if (r.isEmpty())
        return true;
    if (dc->Surface->DrawFocusRectNative(ToTRect(r), dc->DeviceClip()))
        return true;
    // A checkerboard inverted into the frame: every other pixel, so a second
    // pass restores them all.
    TPatternTile dots;
    dots.Width = dots.Height = 2;
    dots.Pixels = {0xFFFFFFFFu, 0xFF000000u, 0xFF000000u, 0xFFFFFFFFu};
    constexpr std::uint8_t patInvert = 0x5A;
    PatternFill(*dc, QRect(r.left(), r.top(), r.width(), 1), patInvert, dots);  // top
    if (r.height() > 1)
        PatternFill(*dc, QRect(r.left(), r.bottom(), r.width(), 1), patInvert, dots);  // bottom
    if (r.height() > 2) {
        PatternFill(*dc, QRect(r.left(), r.top() + 1, 1, r.height() - 2), patInvert, dots);  // left
        if (r.width() > 1)
            PatternFill(*dc, QRect(r.right(), r.top() + 1, 1, r.height() - 2), patInvert, dots);  // right
    }
    return true;
}

BOOL DrawEdge(HDC dc, TRect& rect, UINT edge, UINT flags)
{
    if (dc == nullptr)
        return false;
    QRect r = dc->ToDevice(rect).normalized();
    const UINT sides = flags & BF_RECT;
    if (edge & BDR_OUTER) {
        const TEdgeColors c = OuterColors(edge, flags);
        PaintFrame(*dc, r, sides, c.TopLeft, c.BottomRight);
        r = Shrink(r, sides);
    }
    if (edge & BDR_INNER) {
        const TEdgeColors c = InnerColors(edge, flags);
        PaintFrame(*dc, r, sides, c.TopLeft, c.BottomRight);
        r = Shrink(r, sides);
    }
    if ((flags & BF_MIDDLE) && !r.isEmpty())
        PatternFill(*dc, r, 0xF0, SolidTile(dc->DevicePixel((flags & BF_MONO) ? clWindow : clBtnFace)));
    if (flags & BF_ADJUST) {
        const TPoint o = dc->State.Origin;
        rect = ToTRect(r.translated(-o.X, -o.Y));
    }
    return true;
}
