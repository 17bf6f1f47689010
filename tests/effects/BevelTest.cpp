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
