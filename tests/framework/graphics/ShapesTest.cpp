// Fills, frames and shapes: which pixels each call paints, in exact colours.
#include "PixelTest.h"

#include <vector>

namespace {

// Legend of the pictures below: '.' sentinel, '#' black, 'o' white, 'r' red.
const std::initializer_list<std::pair<TColor, char>> Legend = {
    {Sentinel, '.'}, {clBlack, '#'}, {clWhite, 'o'}, {clRed, 'r'}, {clBlue, 'b'}};

struct FillCase {
    const char* What;
    TRect Rect;
    TRect Painted;  // empty: nothing painted
};

// FillRect edges: right and bottom are exclusive; empty and reversed
// rectangles paint nothing; the surface clips.
const FillCase FillCases[] = {
    {"plain", {2, 1, 6, 4}, {2, 1, 6, 4}},
    {"one pixel", {3, 3, 4, 4}, {3, 3, 4, 4}},
    {"zero width", {3, 1, 3, 5}, {}},
    {"zero height", {1, 3, 6, 3}, {}},
    {"reversed", {6, 4, 2, 1}, {}},
    {"past the top-left", {-3, -2, 2, 2}, {0, 0, 2, 2}},
    {"past the bottom-right", {5, 4, 20, 20}, {5, 4, 8, 6}},
};

TEST(Fill, FillRectCoversExactlyTheRectangle)
{
    for (const FillCase& c : FillCases) {
        auto bitmap = SentinelBitmap(8, 6);
        bitmap->Canvas()->Brush()->SetColor(clRed);
        bitmap->Canvas()->FillRect(c.Rect);
        EXPECT_EQ(InkBounds(*bitmap, Sentinel), c.Painted) << c.What;
        EXPECT_EQ(CountPixels(*bitmap, clRed), c.Painted.Width() * c.Painted.Height()) << c.What;
    }
}

TEST(Fill, FrameRectIsOnePixelInside)
{
    auto bitmap = SentinelBitmap(7, 5);
    bitmap->Canvas()->Brush()->SetColor(clBlack);
    bitmap->Canvas()->FrameRect(Rect(1, 1, 6, 5));
    EXPECT_EQ(Picture(*bitmap, Legend),
              ".......\n"
              ".#####.\n"
              ".#...#.\n"
              ".#...#.\n"
              ".#####.\n");
}

TEST(Shapes, RectangleWithPenOutlinesInsideTheBounds)
{
    auto bitmap = SentinelBitmap(8, 6);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->Pen()->SetColor(clBlack);
    canvas->Rectangle(1, 1, 7, 5);
    EXPECT_EQ(Picture(*bitmap, Legend),
              "........\n"
              ".######.\n"
              ".#oooo#.\n"
              ".#oooo#.\n"
              ".######.\n"
              "........\n");
}

TEST(Shapes, ClearPenMakesRectangleAndEllipseOnePixelSmaller)
{
    auto rectangle = SentinelBitmap(8, 6);
    rectangle->Canvas()->Brush()->SetColor(clRed);
    rectangle->Canvas()->Pen()->SetStyle(psClear);
    rectangle->Canvas()->Rectangle(1, 1, 7, 5);
    EXPECT_EQ(InkBounds(*rectangle, Sentinel), Rect(1, 1, 6, 4));

    // The ellipse's ink reaches its bounds with a pen, one pixel less without.
    auto withPen = SentinelBitmap(24, 20);
    withPen->Canvas()->Brush()->SetColor(clRed);
    withPen->Canvas()->Ellipse(2, 2, 22, 18);
    EXPECT_EQ(InkBounds(*withPen, Sentinel), Rect(2, 2, 22, 18));
    EXPECT_EQ(withPen->Pixels(12, 2), clBlack);   // top of the outline
    EXPECT_EQ(withPen->Pixels(12, 10), clRed);    // interior

    auto clearPen = SentinelBitmap(24, 20);
    clearPen->Canvas()->Brush()->SetColor(clRed);
    clearPen->Canvas()->Pen()->SetStyle(psClear);
    clearPen->Canvas()->Ellipse(2, 2, 22, 18);
    EXPECT_EQ(InkBounds(*clearPen, Sentinel), Rect(2, 2, 21, 17));
    EXPECT_EQ(CountPixels(*clearPen, clBlack), 0);
}

TEST(Shapes, ClearBrushLeavesTheInterior)
{
    auto bitmap = SentinelBitmap(6, 5);
    bitmap->Canvas()->Brush()->SetStyle(bsClear);
    bitmap->Canvas()->Rectangle(0, 0, 6, 5);
    EXPECT_EQ(Picture(*bitmap, Legend),
              "######\n"
              "#....#\n"
              "#....#\n"
              "#....#\n"
              "######\n");
}

TEST(Shapes, LinesLeaveOutTheirLastPoint)
{
    auto bitmap = SentinelBitmap(6, 4);
    TCanvas* canvas = bitmap->Canvas();
    canvas->MoveTo(0, 1);
    canvas->LineTo(5, 1);  // horizontal: x 0..4
    canvas->MoveTo(0, 3);
    canvas->LineTo(3, 0);  // diagonal up: (0,3) (1,2) (2,1)
    EXPECT_EQ(canvas->PenPos(), (TPoint{3, 0}));
    EXPECT_EQ(Picture(*bitmap, Legend),
              "......\n"
              "#####.\n"
              ".#....\n"
              "#.....\n");
}

TEST(Shapes, DottedPenAlternatesThreeOnThreeOff)
{
    auto bitmap = SentinelBitmap(14, 1);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Pen()->SetStyle(psDot);
    canvas->Brush()->SetStyle(bsClear);  // gaps keep what was there
    canvas->MoveTo(0, 0);
    canvas->LineTo(14, 0);
    EXPECT_EQ(Picture(*bitmap, Legend), "###...###...##\n");
}

// Each pen mode against its formula, on every combination of pen and
// destination bits (pen 0xF0F0F0-ish and destination 0xCCCCCC-ish).
TEST(Shapes, PenModesFollowTheirFormulas)
{
    struct ModeCase {
        TPenMode Mode;
        std::uint32_t (*Formula)(std::uint32_t p, std::uint32_t d);
    };
    const ModeCase cases[] = {
        {pmBlack, [](std::uint32_t, std::uint32_t) { return 0u; }},
        {pmWhite, [](std::uint32_t, std::uint32_t) { return ~0u; }},
        {pmNop, [](std::uint32_t, std::uint32_t d) { return d; }},
        {pmNot, [](std::uint32_t, std::uint32_t d) { return ~d; }},
        {pmCopy, [](std::uint32_t p, std::uint32_t) { return p; }},
        {pmNotCopy, [](std::uint32_t p, std::uint32_t) { return ~p; }},
        {pmMergePenNot, [](std::uint32_t p, std::uint32_t d) { return p | ~d; }},
        {pmMaskPenNot, [](std::uint32_t p, std::uint32_t d) { return p & ~d; }},
        {pmMergeNotPen, [](std::uint32_t p, std::uint32_t d) { return ~p | d; }},
        {pmMaskNotPen, [](std::uint32_t p, std::uint32_t d) { return ~p & d; }},
        {pmMerge, [](std::uint32_t p, std::uint32_t d) { return p | d; }},
        {pmNotMerge, [](std::uint32_t p, std::uint32_t d) { return ~(p | d); }},
        {pmMask, [](std::uint32_t p, std::uint32_t d) { return p & d; }},
        {pmNotMask, [](std::uint32_t p, std::uint32_t d) { return ~(p & d); }},
        {pmXor, [](std::uint32_t p, std::uint32_t d) { return p ^ d; }},
        {pmNotXor, [](std::uint32_t p, std::uint32_t d) { return ~(p ^ d); }},
    };
    const TColor pen = RGB(0xF0, 0x0F, 0x3C);
    const TColor dest = RGB(0xCC, 0x55, 0x99);
    for (const ModeCase& c : cases) {
        auto bitmap = SentinelBitmap(3, 1, dest);
        bitmap->Canvas()->Pen()->SetColor(pen);
        bitmap->Canvas()->Pen()->SetMode(c.Mode);
        bitmap->Canvas()->MoveTo(0, 0);
        bitmap->Canvas()->LineTo(2, 0);
        EXPECT_EQ(bitmap->Pixels(1, 0), c.Formula(pen, dest) & 0xFFFFFFu) << "mode " << c.Mode;
        EXPECT_EQ(bitmap->Pixels(2, 0), dest) << "last point left out";
    }
}

TEST(Shapes, XorRectangleDrawnTwiceRestores)
{
    auto bitmap = SentinelBitmap(10, 8);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Pen()->SetMode(pmXor);
    canvas->Pen()->SetColor(clWhite);
    canvas->Brush()->SetColor(clRed);
    canvas->Rectangle(1, 1, 9, 7);
    EXPECT_EQ(bitmap->Pixels(1, 1), Sentinel ^ 0xFFFFFFu);
    EXPECT_EQ(bitmap->Pixels(4, 4), Sentinel ^ clRed);  // the brush goes through the mode too
    canvas->Rectangle(1, 1, 9, 7);
    EXPECT_EQ(CountPixels(*bitmap, Sentinel), 80);
}

TEST(Shapes, PolygonRoundRectAndArcStayInTheirBounds)
{
    auto bitmap = SentinelBitmap(30, 30);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clRed);
    const TPoint triangle[] = {{5, 5}, {20, 5}, {5, 20}};
    canvas->Polygon(triangle);
    EXPECT_EQ(InkBounds(*bitmap, Sentinel), Rect(5, 5, 21, 21));
    EXPECT_EQ(bitmap->Pixels(8, 8), clRed);
    EXPECT_EQ(bitmap->Pixels(5, 12), clBlack);

    auto rounded = SentinelBitmap(30, 30);
    rounded->Canvas()->Brush()->SetColor(clRed);
    rounded->Canvas()->RoundRect(2, 3, 28, 25, 16, 16);
    EXPECT_EQ(InkBounds(*rounded, Sentinel), Rect(2, 3, 28, 25));
    EXPECT_EQ(rounded->Pixels(2, 3), Sentinel);  // the corner is cut off
    EXPECT_EQ(rounded->Pixels(15, 3), clBlack);

    // The upper half of a circle: counter-clockwise from the right to the left.
    auto arc = SentinelBitmap(30, 30);
    arc->Canvas()->Arc(0, 0, 30, 30, 30, 15, 0, 15);
    const TRect ink = InkBounds(*arc, Sentinel);
    EXPECT_LE(ink.Bottom, 17);
    EXPECT_EQ(ink.Top, 0);
    EXPECT_EQ(CountPixels(*arc, clBlack, Rect(0, 20, 30, 30)), 0);
}

TEST(Fill, PatternBrushIsTiledFromTheDeviceOrigin)
{
    // A 4 x 4 pattern: red at (0, 0) and (2, 1), white elsewhere.
    TBitmap pattern(4, 4);
    pattern.Canvas()->Brush()->SetColor(clWhite);
    pattern.Canvas()->FillRect(Rect(0, 0, 4, 4));
    pattern.Canvas()->SetPixels(0, 0, clRed);
    pattern.Canvas()->SetPixels(2, 1, clRed);

    // Filled at two different offsets, and through a context whose logical
    // origin is moved, the tiles line up with the surface.
    auto bitmap = SentinelBitmap(12, 8);
    bitmap->Canvas()->Brush()->SetBitmap(&pattern);
    bitmap->Canvas()->FillRect(Rect(1, 1, 6, 7));
    bitmap->Canvas()->FillRect(Rect(6, 0, 12, 8));
    TImageSurface surface(12, 8, 0);
    HDC moved = CreateSurfaceDC(&surface, TPoint{3, 2});
    HBRUSH brush = CreatePatternBrush(pattern.Handle());
    FillRect(moved, Rect(-3, -2, 9, 6), brush);
    for (int y = 0; y < 8; ++y)
        for (int x = 1; x < 12; ++x) {
            if (x < 6 && (y < 1 || y >= 7))
                continue;
            const TColor expected = ((x % 4 == 0 && y % 4 == 0) || (x % 4 == 2 && y % 4 == 1)) ? clRed : clWhite;
            EXPECT_EQ(bitmap->Pixels(x, y), expected) << x << "," << y;
            EXPECT_EQ(QRgbToColor(surface.Image().pixel(x, y)), expected) << x << "," << y;
        }
    DeleteObject(brush);
    DeleteDC(moved);
}

TEST(Fill, DPaDarkensThroughThePattern)
{
    // The shadow pattern: white, with the colour where x and y parities differ.
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.Canvas()->SetPixels(x, y, (x + y) % 2 ? clGray : clWhite);
    auto bitmap = SentinelBitmap(6, 3, RGB(0xF0, 0xC0, 0x3F));
    HDC dc = bitmap->Canvas()->Handle();
    HBRUSH brush = CreatePatternBrush(pattern.Handle());
    HGDIOBJ old = SelectObject(dc, brush);
    PatBlt(dc, 0, 0, 6, 3, ROP_DPa);
    SelectObject(dc, old);
    DeleteObject(brush);
    EXPECT_EQ(bitmap->Pixels(0, 0), RGB(0xF0, 0xC0, 0x3F));                    // under white: kept
    EXPECT_EQ(bitmap->Pixels(1, 0), RGB(0xF0 & 0x80, 0xC0 & 0x80, 0x3F & 0x80));  // under grey: ANDed
    EXPECT_EQ(bitmap->Pixels(0, 1), RGB(0x80, 0x80, 0x00));
}

TEST(Fill, HatchGapsFollowTheBackgroundMode)
{
    auto bitmap = SentinelBitmap(8, 8);
    HDC dc = bitmap->Canvas()->Handle();
    HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, clRed);
    SetBkMode(dc, TRANSPARENT);
    FillRect(dc, Rect(0, 0, 8, 8), hatch);
    EXPECT_EQ(CountPixels(*bitmap, clRed), 8);
    EXPECT_EQ(CountPixels(*bitmap, Sentinel), 56);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, clBlue);
    FillRect(dc, Rect(0, 0, 8, 8), hatch);
    EXPECT_EQ(CountPixels(*bitmap, clBlue), 56);
    DeleteObject(hatch);
}

TEST(Clip, RegionsClipAndCombine)
{
    const int regionsBefore = TGdiObject::LiveCount(TGdiObjectKind::Region);
    auto bitmap = SentinelBitmap(10, 10);
    HDC dc = bitmap->Canvas()->Handle();

    // Two overlapping squares XORed: an L-shaped pair of pieces.
    HRGN a = CreateRectRgn(1, 1, 5, 5);
    HRGN b = CreateRectRgn(3, 3, 7, 7);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(both, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(both, 1, 1));
    EXPECT_FALSE(PtInRegion(both, 3, 3));
    EXPECT_EQ(CombineRgn(both, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(both, a, b, RGN_DIFF), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(both, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(OffsetRgn(a, 2, 0), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(a, 6, 1));

    // The context keeps a copy: the regions can go at once.
    SelectClipRgn(dc, b);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(both);
    EXPECT_EQ(TGdiObject::LiveCount(TGdiObjectKind::Region), regionsBefore);

    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(InkBounds(*bitmap, Sentinel), Rect(3, 3, 7, 7));
    EXPECT_EQ(bitmap->Canvas()->ClipRect(), Rect(3, 3, 7, 7));

    IntersectClipRect(dc, 0, 0, 5, 10);
    EXPECT_EQ(bitmap->Canvas()->ClipRect(), Rect(3, 3, 5, 7));
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(bitmap->Canvas()->ClipRect(), Rect(0, 0, 10, 10));
}

TEST(Clip, ClipIsLogicalAndInsideTheBaseClip)
{
    // A windowless control at (4, 2) of size 5 x 4 on its parent's surface.
    TImageSurface surface(12, 8, 0);
    const TRect base = Bounds(4, 2, 5, 4);
    HDC dc = CreateSurfaceDC(&surface, TPoint{4, 2}, &base);
    TRect box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, Rect(0, 0, 5, 4));
    IntersectClipRect(dc, 1, 1, 20, 20);
    HBRUSH red = CreateSolidBrush(clRed);
    FillRect(dc, Rect(-10, -10, 30, 30), red);
    int painted = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            if (QRgbToColor(surface.Image().pixel(x, y)) == clRed) {
                ++painted;
                EXPECT_TRUE(x >= 5 && x < 9 && y >= 3 && y < 6) << x << "," << y;
            }
    EXPECT_EQ(painted, 12);
    DeleteObject(red);
    DeleteDC(dc);
}

TEST(GdiObjects, NothingLeaksAndSelectedPalettesStay)
{
    const int before = TGdiObject::LiveCount();
    HDC dc = CreateCompatibleDC(nullptr);
    LOGPALETTE description;
    description.palPalEntry = {{0xFF, 0, 0, PC_NOCOLLAPSE}, {0, 0, 0xFF, PC_NOCOLLAPSE}};
    HPALETTE palette = CreatePalette(&description);
    ASSERT_NE(palette, nullptr);
    HPALETTE old = SelectPalette(dc, palette, false);
    EXPECT_EQ(RealizePalette(dc), 0u);  // true colour: nothing to map
    EXPECT_FALSE(DeleteObject(palette)) << "a selected palette stays alive";
    SelectPalette(dc, old, false);
    EXPECT_TRUE(DeleteObject(palette));
    EXPECT_EQ(CreatePalette(nullptr), nullptr);
    LOGPALETTE empty;
    EXPECT_EQ(CreatePalette(&empty), nullptr);
    DeleteDC(dc);
    EXPECT_EQ(TGdiObject::LiveCount(), before);
}

TEST(Decorations, FocusRectangleInvertsAlternatePixelsAndTwiceRestores)
{
    auto bitmap = SentinelBitmap(7, 5, clWhite);
    bitmap->Canvas()->DrawFocusRect(Rect(1, 1, 6, 5));
    EXPECT_EQ(Picture(*bitmap, Legend),
              "ooooooo\n"
              "o#o#o#o\n"
              "ooooooo\n"
              "o#ooo#o\n"
              "oo#o#oo\n");
    bitmap->Canvas()->DrawFocusRect(Rect(1, 1, 6, 5));
    EXPECT_EQ(CountPixels(*bitmap, clWhite), 35);
}

TEST(Decorations, RaisedEdgeAndBevel)
{
    // Legend: 'l' 3D light, '#' dark shadow, 'o' highlight, 's' shadow, '.' sentinel.
    const std::initializer_list<std::pair<TColor, char>> edgeLegend = {
        {Sentinel, '.'}, {clBlack, '#'}, {clWhite, 'o'}, {clGray, 's'}, {clSilver, 'l'}};
    auto bitmap = SentinelBitmap(6, 5);
    TRect r = Rect(0, 0, 6, 5);
    DrawEdge(bitmap->Canvas()->Handle(), r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r, Rect(2, 2, 4, 3));
    EXPECT_EQ(Picture(*bitmap, edgeLegend),
              "lllll#\n"
              "looos#\n"
              "lo..s#\n"
              "lssss#\n"
              "######\n");

    auto bevel = SentinelBitmap(5, 4);
    TRect b = Rect(0, 0, 5, 4);
    Frame3D(bevel->Canvas(), b, clWhite, clGray, 1);
    EXPECT_EQ(b, Rect(1, 1, 4, 3));
    EXPECT_EQ(Picture(*bevel, edgeLegend),
              "oooos\n"
              "o...s\n"
              "o...s\n"
              "sssss\n");
}

}  // namespace

namespace {

TEST(DeviceContext, FollowsASurfaceThatShrinks)
{
    // A window surface can be resized while a context on it lives.
    TImageSurface surface(40, 30, 0);
    HDC dc = CreateSurfaceDC(&surface);
    HBRUSH red = CreateSolidBrush(clRed);
    FillRect(dc, Rect(0, 0, 40, 30), red);
    surface.Image() = QImage(10, 8, QImage::Format_RGB32);
    surface.Image().fill(0xFF000000u);
    FillRect(dc, Rect(-1000000000, -1000000000, 1000000000, 1000000000), red);
    EXPECT_EQ(QRgbToColor(surface.Image().pixel(9, 7)), clRed);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, Rect(0, 0, 10, 8));
    DeleteObject(red);
    DeleteDC(dc);
}

TEST(DeviceContext, SaveAndRestoreBringBackTheState)
{
    auto bitmap = SentinelBitmap(4, 4);
    HDC dc = bitmap->Canvas()->Handle();
    SetTextColor(dc, clRed);
    const int level = SaveDC(dc);
    SetTextColor(dc, clBlue);
    IntersectClipRect(dc, 0, 0, 1, 1);
    SaveDC(dc);
    SetROP2(dc, R2_XORPEN);
    EXPECT_TRUE(RestoreDC(dc, level));  // both levels at once
    EXPECT_EQ(GetTextColor(dc), clRed);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
    TRect box;
    GetClipBox(dc, &box);
    EXPECT_EQ(box, Rect(0, 0, 4, 4));
    EXPECT_FALSE(RestoreDC(dc, -1));  // nothing left to restore
}

}  // namespace
