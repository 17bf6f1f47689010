// Gradients: band colours, the description's rebuild rule, and how each
// style lays its bands out, in exact pixels.
#include "effects/FxDisplay.h"
#include "effects/FxGradient.h"

#include "services/FxApplication.h"
#include "services/ServicesModule.h"

#include "tests/framework/graphics/PixelTest.h"

#include <QGuiApplication>
#include <QScreen>

#include <set>

namespace {

const TFxGradientStyle AllStyles[] = {gstHorizontal, gstVertical, gstSquare,     gstElliptic,
                                      gstTopLeft,    gstTopRight, gstBottomLeft, gstBottomRight};

// Band colours that are all different (and differ from the sentinel), so a
// pixel names the band that painted it.
TFxColorList DistinctBands(int count)
{
    TFxColorList colors;
    for (int i = 0; i < count; ++i)
        colors.push_back(RGB(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0xEE));
    return colors;
}

int BandAt(const TBitmap& bitmap, int x, int y)
{
    const TColor c = bitmap.Pixels(x, y);
    return GetBValue(c) == 0xEE ? GetRValue(c) | (GetGValue(c) << 8) : -1;
}

} // namespace

TEST(GradientColors, BlueToBlackInSixteenStepsOfSeventeen)
{
    TFxColorList colors;
    BuildGradientColors(clBlue, clBlack, 16, &colors);
    ASSERT_EQ(colors.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(colors[static_cast<std::size_t>(i)], RGB(0, 0, static_cast<std::uint8_t>(255 - 17 * i))) << i;
}

TEST(GradientColors, SystemColoursResolveAndTheEndsAreExact)
{
    TFxColorList colors;
    BuildGradientColors(clBtnFace, clBtnHighlight, 7, &colors);
    EXPECT_EQ(colors.front(), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(colors.back(), RGB(0xFF, 0xFF, 0xFF));
    // Rounded halves go away from zero: 0xC0 + MulDiv(1, 63, 6) = 0xC0 + 11.
    EXPECT_EQ(colors[1], RGB(0xCB, 0xCB, 0xCB));
}

TEST(GradientColors, NoCountNoListOneBand)
{
    TFxColorList colors{clRed};
    BuildGradientColors(clBlue, clBlack, 0, &colors);
    EXPECT_EQ(colors, TFxColorList{clRed});
    BuildGradientColors(clBlue, clBlack, 5, nullptr);  // nothing to fill, nothing happens
    BuildGradientColors(clBlue, clBlack, 1, &colors);
    EXPECT_EQ(colors, TFxColorList{clBlue});
}

TEST(GradientPalette, OneNoCollapseEntryPerBandNullForNone)
{
    EXPECT_EQ(CreateGradientPalette(nullptr), nullptr);
    const TFxColorList none;
    EXPECT_EQ(CreateGradientPalette(&none), nullptr);
    const TFxColorList colors{RGB(1, 2, 3), RGB(4, 5, 6)};
    const HPALETTE palette = CreateGradientPalette(&colors);
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(palette->Entries.size(), 2u);
    EXPECT_EQ(palette->Entries[1].peRed, 4);
    EXPECT_EQ(palette->Entries[1].peBlue, 6);
    EXPECT_EQ(palette->Entries[1].peFlags, PC_NOCOLLAPSE);
    EXPECT_TRUE(DeleteObject(palette));
}

TEST(Gradient, DefaultsAndBandsRebuiltBeforeListenersHear)
{
    TFxGradient gradient;
    EXPECT_EQ(gradient.Color(), clBlue);
    EXPECT_EQ(gradient.EndColor(), clBlack);
    EXPECT_EQ(gradient.ColorCount(), 16);
    EXPECT_EQ(gradient.Style(), gstVertical);
    EXPECT_FALSE(gradient.PaletteRealize());
    EXPECT_EQ(gradient.BandColors().size(), 16u);
    EXPECT_EQ(gradient.PaletteHandle(), nullptr);

    std::vector<TColor> firstBandSeen;
    gradient.OnChange = [&](TObject*) { firstBandSeen.push_back(gradient.BandColors().front()); };
    gradient.SetColor(clRed);
    gradient.SetColor(clRed);
    gradient.SetColorCount(4);
    EXPECT_EQ(firstBandSeen, (std::vector<TColor>{clRed, clRed}));
    EXPECT_EQ(gradient.BandColors().size(), 4u);
}

TEST(Gradient, CountStaysInItsRangeAndPaletteFollowsTheSwitch)
{
    TFxGradient gradient;
    gradient.SetColorCount(0);
    EXPECT_EQ(gradient.ColorCount(), MinColorCount);
    gradient.SetColorCount(255);
    EXPECT_EQ(gradient.ColorCount(), MaxColorCount);

    const int palettes = TGdiObject::LiveCount(TGdiObjectKind::Palette);
    gradient.SetPaletteRealize(true);
    ASSERT_NE(gradient.PaletteHandle(), nullptr);
    EXPECT_EQ(gradient.PaletteHandle()->Entries.size(), std::size_t{MaxColorCount});
    gradient.SetColor(clYellow);  // a rebuild replaces the palette, never adds one
    EXPECT_EQ(TGdiObject::LiveCount(TGdiObjectKind::Palette), palettes + 1);
    gradient.SetPaletteRealize(false);
    EXPECT_EQ(gradient.PaletteHandle(), nullptr);
    EXPECT_EQ(TGdiObject::LiveCount(TGdiObjectKind::Palette), palettes);
}

TEST(Gradient, AssignCopiesEverythingWithOneNoticeAndRejectsStrangers)
{
    TFxGradient source;
    source.SetColor(clRed);
    source.SetEndColor(clYellow);
    source.SetColorCount(3);
    source.SetStyle(gstElliptic);
    TFxGradient copy;
    int notices = 0;
    copy.OnChange = [&](TObject*) { ++notices; };
    copy.Assign(&source);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(copy.BandColors(), source.BandColors());
    EXPECT_EQ(copy.Style(), gstElliptic);

    TBrush stranger;
    EXPECT_THROW(copy.Assign(&stranger), EConvertError);
}

// The banner's gradient: 264 x 49 in 16 stripes of 3 or 4 rows, blue on top,
// black at the bottom, each a step of 17 darker than the one above.
TEST(GradientPaint, BannerSizedDefaultGradientHasSixteenStripes)
{
    TFxGradient gradient;
    auto bitmap = SentinelBitmap(264, 49);
    FillGradientRect(bitmap->Canvas(), Rect(0, 0, 264, 49), gradient.Style(), &gradient.BandColors(), nullptr,
                     gfUseBitmap, 0);
    std::vector<int> heights;
    TColor current = bitmap->Pixels(0, 0);
    EXPECT_EQ(current, RGB(0, 0, 255));
    int height = 0;
    for (int y = 0; y < 49; ++y) {
        const TColor c = bitmap->Pixels(0, y);
        EXPECT_EQ(CountPixels(*bitmap, c, Rect(0, y, 264, y + 1)), 264) << "row " << y << " is one colour";
        if (c != current) {
            EXPECT_EQ(GetBValue(current) - GetBValue(c), 17) << "row " << y;
            heights.push_back(height);
            current = c;
            height = 0;
        }
        ++height;
    }
    heights.push_back(height);
    EXPECT_EQ(current, clBlack);
    ASSERT_EQ(heights.size(), 16u);
    for (int h : heights)
        EXPECT_TRUE(h == 3 || h == 4) << h;
}

// Stripes tile the rectangle: every pixel carries exactly the band whose
// MulDiv interval holds it, for band counts below, at and above the size.
TEST(GradientPaint, StripesCoverExactlyWithoutGapOrOverlap)
{
    struct Case {
        int W, H, N;
    };
    const Case cases[] = {{20, 7, 2}, {20, 7, 7}, {13, 13, 5}, {7, 20, 20}, {5, 3, 16}, {3, 5, 236}, {1, 1, 3}};
    for (const Case& c : cases) {
        for (const TFxGradientStyle style : {gstHorizontal, gstVertical}) {
            const TFxColorList colors = DistinctBands(c.N);
            auto bitmap = SentinelBitmap(c.W + 4, c.H + 4);
            FillGradientRect(bitmap->Canvas(), Rect(2, 2, 2 + c.W, 2 + c.H), style, &colors, nullptr, 0, 0);
            EXPECT_EQ(InkBounds(*bitmap, Sentinel), Rect(2, 2, 2 + c.W, 2 + c.H));
            for (int y = 0; y < c.H; ++y)
                for (int x = 0; x < c.W; ++x) {
                    const int along = style == gstHorizontal ? x : y;
                    const int extent = style == gstHorizontal ? c.W : c.H;
                    int expected = 0;
                    while (MulDiv(expected + 1, extent, c.N) <= along)
                        ++expected;
                    ASSERT_EQ(BandAt(*bitmap, x + 2, y + 2), expected)
                        << c.W << "x" << c.H << " N " << c.N << " style " << style << " at " << x << "," << y;
                }
        }
    }
}

// Shaped styles cover the whole rectangle; the first band lies at the centre
// or the corner, the last at the far corner.
TEST(GradientPaint, ShapedStylesGrowFromTheirOrigin)
{
    struct Case {
        TFxGradientStyle Style;
        TPoint FirstBand;  // a pixel of band 0
        TPoint LastBand;   // a pixel of the last band
    };
    const int w = 40;
    const int h = 30;
    const Case cases[] = {
        {gstSquare, {w / 2, h / 2}, {0, 0}},          {gstElliptic, {w / 2, h / 2}, {0, 0}},
        {gstTopLeft, {0, 0}, {w - 1, h - 1}},          {gstTopRight, {w - 1, 0}, {0, h - 1}},
        {gstBottomLeft, {0, h - 1}, {w - 1, 0}},       {gstBottomRight, {w - 1, h - 1}, {0, 0}},
    };
    const TFxColorList colors = DistinctBands(8);
    for (const Case& c : cases) {
        for (const WORD flags : {WORD{0}, gfUseBitmap}) {
            auto bitmap = SentinelBitmap(w + 6, h + 6);
            FillGradientRect(bitmap->Canvas(), Bounds(3, 3, w, h), c.Style, &colors, nullptr, flags, 0);
            EXPECT_EQ(CountPixels(*bitmap, Sentinel, Bounds(3, 3, w, h)), 0) << c.Style;
            EXPECT_EQ(BandAt(*bitmap, c.FirstBand.X + 3, c.FirstBand.Y + 3), 0) << c.Style;
            EXPECT_EQ(BandAt(*bitmap, c.LastBand.X + 3, c.LastBand.Y + 3), 7) << c.Style;
        }
    }
}

// Centred squares are symmetric about the centre, across and down.
TEST(GradientPaint, SquareBandsAreSymmetricAboutTheCentre)
{
    const int w = 40;
    const int h = 30;
    for (const int n : {4, 8, 13}) {
        const TFxColorList colors = DistinctBands(n);
        auto bitmap = SentinelBitmap(w, h);
        FillGradientRect(bitmap->Canvas(), Rect(0, 0, w, h), gstSquare, &colors, nullptr, 0, 0);
        for (int k = 1; k < w / 2; ++k)
            ASSERT_EQ(BandAt(*bitmap, w / 2 - k, h / 2), BandAt(*bitmap, w / 2 + k, h / 2)) << n << " across " << k;
        for (int k = 1; k < h / 2; ++k)
            ASSERT_EQ(BandAt(*bitmap, w / 2, h / 2 - k), BandAt(*bitmap, w / 2, h / 2 + k)) << n << " down " << k;
    }
}

// The elliptic bands grow until the next-to-last ellipse nearly reaches the
// corners: the last band is left only in the corners, not in a frame all round.
TEST(GradientPaint, EllipticBandsReachTowardsTheCorners)
{
    const int w = 40;
    const int h = 30;
    const TFxColorList colors = DistinctBands(8);
    auto bitmap = SentinelBitmap(w, h);
    FillGradientRect(bitmap->Canvas(), Rect(0, 0, w, h), gstElliptic, &colors, nullptr, 0, 0);
    for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
        EXPECT_EQ(BandAt(*bitmap, x, y), 7) << x << "," << y;
    EXPECT_NE(BandAt(*bitmap, 0, h / 2), 7) << "the middle of the left edge";
    EXPECT_NE(BandAt(*bitmap, w / 2, 0), 7) << "the middle of the top edge";
    EXPECT_LT(CountPixels(*bitmap, colors[7]), w * h / 10);
}

// A painter gives the canvas back as it found it.
TEST(GradientPaint, TheCanvasKeepsItsCopyMode)
{
    auto bitmap = SentinelBitmap(20, 20);
    bitmap->Canvas()->SetCopyMode(cmSrcAnd);
    PaintGradientRect(bitmap->Canvas(), Rect(0, 0, 20, 20), clRed, clBlue, 4, gstVertical, gfUseBitmap, 0);
    EXPECT_EQ(bitmap->Canvas()->CopyMode(), cmSrcAnd);
}

TEST(GradientPaint, EqualEndsPaintOneFlatColour)
{
    for (const TFxGradientStyle style : AllStyles) {
        auto bitmap = SentinelBitmap(30, 20);
        PaintGradientRect(bitmap->Canvas(), Rect(0, 0, 30, 20), clTeal, clTeal, 16, style, gfUseBitmap, 0);
        EXPECT_EQ(CountPixels(*bitmap, clTeal), 30 * 20) << style;
    }
}

TEST(GradientPaint, EmptyRectangleOrListLeavesTheCanvasAlone)
{
    const TFxColorList none;
    const TFxColorList some = DistinctBands(4);
    for (const TFxGradientStyle style : AllStyles) {
        for (const WORD flags : {WORD{0}, gfUseBitmap, gfClip}) {
            auto bitmap = SentinelBitmap(10, 10);
            FillGradientRect(bitmap->Canvas(), Rect(5, 5, 5, 9), style, &some, nullptr, flags, 0);
            FillGradientRect(bitmap->Canvas(), Rect(6, 6, 2, 2), style, &some, nullptr, flags, 0);
            FillGradientRect(bitmap->Canvas(), Rect(0, 0, 10, 10), style, &none, nullptr, flags, 0);
            FillGradientRect(bitmap->Canvas(), Rect(0, 0, 10, 10), style, nullptr, nullptr, flags, 0);
            EXPECT_EQ(CountPixels(*bitmap, Sentinel), 100) << style;
        }
    }
}

// With gfClip the bands stop at the clip rectangle (shifted by the clip
// offset), and the canvas gets its own clip back afterwards.
TEST(GradientPaint, ClipAndClipOffset)
{
    auto bitmap = SentinelBitmap(30, 30);
    const TFxColorList colors = DistinctBands(3);
    FillGradientRect(bitmap->Canvas(), Rect(10, 10, 20, 20), gstVertical, &colors, nullptr, gfClip,
                     MakeClipOffset(4, 6));
    EXPECT_EQ(InkBounds(*bitmap, Sentinel), Rect(14, 16, 20, 20));
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(Rect(0, 0, 30, 30));
    EXPECT_EQ(CountPixels(*bitmap, clRed), 900);
}

TEST(GradientPaint, PalettesAndBitmapsAreReleased)
{
    const int before = TGdiObject::LiveCount();
    auto bitmap = SentinelBitmap(20, 20);
    bitmap->Canvas()->Handle();  // the canvas makes its tools' objects once
    const int withBitmap = TGdiObject::LiveCount();
    for (const TFxGradientStyle style : AllStyles)
        for (const WORD flags : {gfPalette, WORD(gfPalette | gfUseBitmap), WORD(gfPalette | gfClip)})
            PaintGradientRect(bitmap->Canvas(), Rect(1, 1, 19, 19), clRed, clBlue, 5, style, flags, 0);
    EXPECT_EQ(TGdiObject::LiveCount(), withBitmap);
    bitmap.reset();
    EXPECT_EQ(TGdiObject::LiveCount(), before);
}

// A deep display realises palettes whether or not the services object limits
// them to deep displays.
TEST(Display, ColourDepthIsTheScreensAndDeepScreensTakePalettes)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(DisplayColorDepth(), screen->depth());
    EXPECT_TRUE(PaletteUseAllowed());
    const TServicesModule services;
    EXPECT_EQ(PaintOptions(), 0x36);
    ApplicationServices->PaintOptions |= poPaletteAboveEightBits;
    EXPECT_TRUE(PaletteUseAllowed());
}
