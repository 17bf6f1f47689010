// Bevels: how far each frame reaches in, the coupled shadow style, and the
// strokes of a frame.
#include "effects/FxBevel.h"

#include "tests/framework/graphics/PixelTest.h"

#include <functional>

using enum TFxBevelStyle;

TEST(Bevel, TotalWidthOfEachMode)
{
    struct Case {
        const char* What;
        std::function<void(TFxBevel&)> Setup;
        int Expected;
    };
    const Case cases[] = {
        {"defaults", [](TFxBevel&) {}, 0},
        {"border only", [](TFxBevel& b) { b.SetBorderWidth(3); b.SetBorderInnerWidth(2); }, 5},
        {"outer lowered", [](TFxBevel& b) { b.SetStyleOuter(bvLowered); b.SetWidthOuter(2); }, 2},
        {"etched frames add one",
         [](TFxBevel& b) {
             b.SetStyleOuter(bvFrameLowered);
             b.SetStyleInner(bvFrameRaised);
             b.SetWidthInner(3);
             b.SetBorderWidth(1);
         },
         1 + 1 + 1 + 3 + 1},
        {"shadow",
         [](TFxBevel& b) {
             b.SetStyleInner(bvShadow);
             b.SetWidthOuter(5);
             b.SetWidthInner(2);
             b.SetBorderWidth(9);  // not part of the shadow frame
             b.SetBorderInnerWidth(1);
         },
         5 / 2 + 2 + 1 + 1},
        {"standard single", [](TFxBevel& b) { b.SetMode(bmStandard); b.SetStandardStyle(lsSingleRaised); }, 1},
        {"standard double", [](TFxBevel& b) { b.SetMode(bmStandard); b.SetStandardStyle(lsWindowBorder); }, 2},
        {"standard none", [](TFxBevel& b) { b.SetMode(bmStandard); b.SetStandardStyle(lsNone); b.SetBorderInnerWidth(4); }, 4},
        {"edge", [](TFxBevel& b) { b.SetMode(bmEdge); }, 2},
        {"edge without sides", [](TFxBevel& b) { b.SetMode(bmEdge); b.SetBorderSides({}); }, 0},
    };
    for (const Case& c : cases) {
        TFxBevel bevel;
        c.Setup(bevel);
        EXPECT_EQ(bevel.TotalWidth(), c.Expected) << c.What;
    }
}

TEST(Bevel, ShadowStyleIsCoupled)
{
    TFxBevel bevel;
    int notices = 0;
    bevel.OnChange = [&](TObject*) { ++notices; };
    bevel.SetStyleOuter(bvShadow);
    EXPECT_EQ(bevel.StyleInner(), bvShadow);
    bevel.SetStyleOuter(bvLowered);
    EXPECT_EQ(bevel.StyleInner(), bvNone);
    bevel.SetStyleInner(bvRaised);
    EXPECT_EQ(bevel.StyleOuter(), bvLowered);
    EXPECT_EQ(notices, 3);
}

TEST(Bevel, StandardStyleNoticesOnlyInStandardMode)
{
    TFxBevel bevel;
    int notices = 0;
    bevel.OnChange = [&](TObject*) { ++notices; };
    bevel.SetStandardStyle(lsDoubleRaised);
    EXPECT_EQ(notices, 0);
    bevel.SetMode(bmStandard);
    EXPECT_EQ(bevel.TotalWidth(), 2);
    bevel.SetStandardStyle(lsSingle);
    EXPECT_EQ(notices, 2);
    EXPECT_EQ(bevel.TotalWidth(), 1);
}

TEST(Bevel, NoFrameDrawsNothing)
{
    TFxBevel bevel;
    auto bitmap = SentinelBitmap(6, 6);
    EXPECT_EQ(bevel.PaintBevel(bitmap->Canvas(), Rect(0, 0, 6, 6), false), Rect(0, 0, 6, 6));
    EXPECT_EQ(CountPixels(*bitmap, Sentinel), 36);
}

TEST(Bevel, LoweredFrameThenBorderBand)
{
    const std::initializer_list<std::pair<TColor, char>> legend = {
        {Sentinel, '.'}, {clBtnShadow, 's'}, {clBtnHighlight, 'h'}, {clRed, 'r'}};
    TFxBevel bevel;
    bevel.SetStyleOuter(bvLowered);
    bevel.SetBorderInnerWidth(1);
    bevel.SetBorderColor(clRed);
    auto bitmap = SentinelBitmap(6, 5);
    bitmap->Canvas()->Pen()->SetColor(clLime);
    EXPECT_EQ(bevel.PaintBevel(bitmap->Canvas(), Rect(0, 0, 6, 5), false), Rect(2, 2, 4, 3));
    EXPECT_EQ(Picture(*bitmap, legend),
              "sssssh\n"
              "srrrrh\n"
              "sr..rh\n"
              "srrrrh\n"
              "hhhhhh\n");
    EXPECT_EQ(bitmap->Canvas()->Pen()->Color(), clLime);  // the canvas gets its tools back

    auto skipped = SentinelBitmap(6, 5);
    EXPECT_EQ(bevel.PaintBevel(skipped->Canvas(), Rect(0, 0, 6, 5), true), Rect(2, 2, 4, 3));
    EXPECT_EQ(CountPixels(*skipped, clRed), 0);
}

namespace {

const std::initializer_list<std::pair<TColor, char>> Strokes = {
    {Sentinel, '.'}, {clBtnShadow, 's'}, {clBtnHighlight, 'h'}, {cl3DDkShadow, 'd'},
    {cl3DLight, 'l'}, {clBtnFace, 'f'},  {clRed, 'r'}};
// 'd' is black: the dark shadow, and the window frame too in the classic scheme.

std::string Painted(const TFxBevel& bevel, int w, int h, TRect* inner = nullptr)
{
    auto bitmap = SentinelBitmap(w, h);
    const TRect left = bevel.PaintBevel(bitmap->Canvas(), Rect(0, 0, w, h), false);
    if (inner != nullptr)
        *inner = left;
    return Picture(*bitmap, Strokes);
}

} // namespace

// Custom frames from the outside in: an etched outer frame (lowered, then one
// raised pixel), the border band, a raised inner frame.
TEST(Bevel, EtchedOuterFrameBorderBandAndRaisedInner)
{
    TFxBevel bevel;
    bevel.SetStyleOuter(bvFrameLowered);
    bevel.SetBorderWidth(1);
    bevel.SetBorderColor(clRed);
    bevel.SetStyleInner(bvRaised);
    TRect inner;
    EXPECT_EQ(Painted(bevel, 9, 9, &inner),
              "ssssssssh\n"
              "shhhhhhsh\n"
              "shrrrrrsh\n"
              "shrhhsrsh\n"
              "shrh.srsh\n"
              "shrsssrsh\n"
              "shrrrrrsh\n"
              "ssssssssh\n"
              "hhhhhhhhh\n");
    EXPECT_EQ(inner, Rect(4, 4, 5, 5));
}

//   The drop-shadow bevel: the box outlined in the window-frame colour with a
//   raised frame inside, its shadow WidthOuter wide below and right of it.
TEST(Bevel, DropShadowBoxOutlineAndShadow)
{
    TFxBevel bevel;
    bevel.SetStyleInner(bvShadow);
    bevel.SetWidthOuter(2);
    bevel.SetWidthInner(1);
    TRect inner;
    EXPECT_EQ(Painted(bevel, 8, 7, &inner),
              "dddddd..\n"
              "dhhhsd..\n"
              "dh..sdss\n"
              "dssssdss\n"
              "ddddddss\n"
              "..ssssss\n"
              "..ssssss\n");
    EXPECT_EQ(inner, Rect(2, 2, 4, 3)); // inside the outline and the raised frame
}

// Standard styles: outer and inner one-pixel frames in their roles' colours.
TEST(Bevel, StandardSunkenAndRaisedEdges)
{
    TFxBevel bevel;
    bevel.SetMode(bmStandard);
    bevel.SetStandardStyle(lsLowered);
    EXPECT_EQ(Painted(bevel, 5, 5),
              "ssssh\n"
              "sddlh\n"
              "sd.lh\n"
              "slllh\n"
              "hhhhh\n");
    bevel.SetStandardStyle(lsRaised);
    EXPECT_EQ(Painted(bevel, 5, 5),
              "lllld\n"
              "lhhsd\n"
              "lh.sd\n"
              "lsssd\n"
              "ddddd\n");
}

// The edge mode draws only on the sides asked for.
TEST(Bevel, EdgesOnlyOnTheirSides)
{
    TFxBevel bevel;
    bevel.SetMode(bmEdge);
    bevel.SetBorderSides({fsLeft, fsTop});
    auto bitmap = SentinelBitmap(6, 6);
    bevel.PaintBevel(bitmap->Canvas(), Rect(0, 0, 6, 6), false);
    EXPECT_EQ(CountPixels(*bitmap, Sentinel, Rect(0, 0, 6, 1)), 0) << "top";
    EXPECT_EQ(CountPixels(*bitmap, Sentinel, Rect(0, 0, 1, 6)), 0) << "left";
    EXPECT_EQ(CountPixels(*bitmap, Sentinel, Rect(5, 2, 6, 6)), 4) << "right";
    EXPECT_EQ(CountPixels(*bitmap, Sentinel, Rect(2, 5, 6, 6)), 4) << "bottom";
}

TEST(Bevel, WidthsStopAtTheirMaximumAndAssignTakesTheColours)
{
    TFxBevel bevel;
    bevel.SetWidthInner(255);
    bevel.SetWidthOuter(255);
    EXPECT_EQ(bevel.WidthInner(), MaxBevelWidth);
    EXPECT_EQ(bevel.WidthOuter(), MaxBevelWidth);

    TFxBevel source;
    source.SetLightColor(clRed);
    source.SetShadowColor(clBlue);
    source.SetBorderColor(clLime);
    TFxBevel copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.LightColor(), clRed);
    EXPECT_EQ(copy.ShadowColor(), clBlue);
    EXPECT_EQ(copy.BorderColor(), clLime);
}
