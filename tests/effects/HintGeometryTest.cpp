// Balloon geometry without drawing: growth per style, placement beside the
// pointer with its fallback order, the painted boxes and noses, the wrap
// width and points on an ellipse.
#include "effects/FxHintGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr TSize Screen1024{1024, 768};

TRect Measured(int w, int h)
{
    return Rect(0, 0, w, h);
}

} // namespace

// The converter's balloon: nose round rectangle above right, shadow depth 6.
TEST(HintGeometry, ConverterBalloonSizePlaceAndShape)
{
    struct Row {
        int w, h;
        int W, H;
    } rows[] = {
        {20, 19, 75, 43},    // narrower than the nose needs: widened to 46
        {46, 19, 75, 43},
        {120, 32, 149, 56},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.w);
        const TRect r = GrowForShape(hsNoseRoundRect, 6, Measured(row.w, row.h));
        ASSERT_EQ(r, Rect(0, 0, row.W, row.H));
        const int W = row.W;
        const int H = row.H;

        const TPoint P{400, 300};
        const THintPlacement placed = PlaceHint({W, H}, P, Screen1024, hpAboveRight);
        EXPECT_TRUE(placed.Fits);
        EXPECT_EQ(placed.Tries, 1);
        EXPECT_EQ(placed.Position, hpAboveRight);
        EXPECT_EQ(placed.Bounds, Bounds(P.X + 1, P.Y - 1 - H, W, H));

        const THintShape s = HintShapeFor(hsNoseRoundRect, hpAboveRight, {W, H}, 6, Measured(row.w, row.h));
        EXPECT_EQ(s.Shadow.Box, Rect(21, 6, W, H - 15));
        EXPECT_EQ(s.Shadow.Base, (TPoint{31, H - 16}));
        EXPECT_EQ(s.Shadow.Tip, (TPoint{0, H}));
        EXPECT_EQ(s.Shadow.Mode, 1);
        EXPECT_EQ(s.Body.Box, Rect(15, 0, W - 6, H - 21));
        EXPECT_EQ(s.Body.Base, (TPoint{25, H - 22}));
        EXPECT_EQ(s.Body.Tip, (TPoint{0, H - 6}));
        EXPECT_EQ(s.Body.Mode, 2);
        TPoint nose[3];
        NoseTriangle(s.Body, nose);
        EXPECT_EQ(nose[2], (TPoint{55, H - 22}));
        EXPECT_EQ(s.TextOffset, (TPoint{19, 4}));
    }
}

TEST(HintGeometry, GrowthOfEveryStyle)
{
    const int D = 5;
    const TRect text = Measured(31, 20);
    EXPECT_EQ(GrowForShape(hsRect, D, text), Rect(0, 0, 36, 25));
    EXPECT_EQ(GrowForShape(hsRoundRect, D, text), Rect(0, 0, 44, 29));
    EXPECT_EQ(GrowForShape(hsEllipse, D, text), Rect(0, 0, 31 + 10 + D, 20 + 6 + D));
    EXPECT_EQ(GrowForShape(hsNoseRect, D, text), Rect(0, 0, 46 + D + 23, 20 + D + 18));
    EXPECT_EQ(GrowForShape(hsNoseRoundRect, D, Measured(80, 20)), Rect(0, 0, 80 + D + 23, 20 + D + 18));
    EXPECT_EQ(GrowForShape(hsNoseEllipse, D, text), Rect(0, 0, 31 + 15 + D + 15, 20 + 10 + D + 15));
}

// Every position that does not fit hands on to the next: above-left,
// above-right, below-left, below-right, above-left again.
TEST(HintGeometry, PlacementFallbackOrder)
{
    const TSize size{100, 50};
    struct Row {
        const char* Where;
        TPoint Cursor;
        TFxHintPosition Preferred;
        TFxHintPosition Position;
        int Tries;
    } rows[] = {
        {"middle", {500, 400}, hpAboveRight, hpAboveRight, 1},
        {"top edge", {500, 10}, hpAboveRight, hpBelowLeft, 2},
        {"top-left corner", {10, 10}, hpAboveRight, hpBelowRight, 3},
        {"top-right corner", {1020, 10}, hpAboveRight, hpBelowLeft, 2},
        {"bottom-right corner", {1020, 760}, hpAboveRight, hpAboveLeft, 4},
        {"bottom-left corner", {10, 760}, hpAboveRight, hpAboveRight, 1},
        {"bottom-left corner, preferring above-left", {10, 760}, hpAboveLeft, hpAboveRight, 2},
        {"right edge, preferring below-right", {1000, 400}, hpBelowRight, hpAboveLeft, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Where);
        const THintPlacement placed = PlaceHint(size, row.Cursor, Screen1024, row.Preferred);
        EXPECT_TRUE(placed.Fits);
        EXPECT_EQ(placed.Position, row.Position);
        EXPECT_EQ(placed.Tries, row.Tries);
        const TPoint corner = HintCornerFor(row.Position, row.Cursor, size);
        EXPECT_EQ(placed.Bounds, Bounds(corner.X, corner.Y, 100, 50));
    }
}

// Where each position puts the window's top-left corner for a pointer at
// (500, 400) and a 100 x 50 window.
TEST(HintGeometry, CornerOfEveryPosition)
{
    const TSize size{100, 50};
    const TPoint p{500, 400};
    EXPECT_EQ(HintCornerFor(hpAboveLeft, p, size), (TPoint{399, 349}));
    EXPECT_EQ(HintCornerFor(hpAboveRight, p, size), (TPoint{501, 349}));
    EXPECT_EQ(HintCornerFor(hpBelowLeft, p, size), (TPoint{397, 401}));
    EXPECT_EQ(HintCornerFor(hpBelowRight, p, size), (TPoint{506, 401}));
}

TEST(HintGeometry, PlacementEdgesAndNoRoomAnywhere)
{
    // The screen's right and bottom edges count as outside.
    const TSize size{100, 50};
    const TPoint justInside{1024 - 1 - 100 - 1, 400};  // right edge at 1023
    EXPECT_EQ(PlaceHint(size, justInside, Screen1024, hpAboveRight).Tries, 1);
    const TPoint onEdge{1024 - 1 - 100, 400};          // right edge at 1024
    EXPECT_EQ(PlaceHint(size, onEdge, Screen1024, hpAboveRight).Tries, 2);
    EXPECT_EQ(PlaceHint(size, {500, 51}, Screen1024, hpAboveRight).Tries, 1);  // top at 0
    EXPECT_EQ(PlaceHint(size, {500, 50}, Screen1024, hpAboveRight).Tries, 2);  // top at -1

    // Larger than the screen: the fourth position tried, drawn with its own nose.
    const THintPlacement none = PlaceHint({2000, 50}, {500, 400}, Screen1024, hpAboveRight);
    EXPECT_FALSE(none.Fits);
    EXPECT_EQ(none.Tries, 4);
    EXPECT_EQ(none.Position, hpAboveLeft);
    EXPECT_EQ(none.Bounds, Bounds(500 - 1 - 2000, 400 - 1 - 50, 2000, 50));
}

TEST(HintGeometry, NosesOfEveryPosition)
{
    const int W = 150, H = 60, D = 6;
    const TRect text = Measured(100, 24);
    struct Row {
        TFxHintPosition Position;
        TRect ShadowBox;
        TPoint ShadowBase, ShadowTip;
        int ShadowMode;
        TRect BodyBox;
        TPoint BodyBase, BodyTip;
        TPoint Text;
    } rows[] = {
        {hpAboveLeft, Rect(D, D, W - 15, H - 15), {W - 55, H - 16}, {W, H}, 1,
         Rect(0, 0, W - D - 15, H - D - 15), {W - D - 55, H - D - 16}, {W - D, H - D}, {4, 4}},
        {hpAboveRight, Rect(D + 15, D, W, H - 15), {D + 25, H - 16}, {0, H}, 1,
         Rect(15, 0, W - D, H - D - 15), {25, H - D - 16}, {0, H - D}, {19, 4}},
        {hpBelowLeft, Rect(D, D + 15, W - 15, H), {W - 55, D + 16}, {W, D}, 1,
         Rect(0, 15, W - D - 15, H - D), {W - D - 55, 16}, {W, 0}, {4, 19}},
        {hpBelowRight, Rect(D + 15, D + 15, W, H), {D + 55, D + 15}, {D, D}, 0,
         Rect(15, 15, W - D, H - D), {25, 16}, {0, 0}, {19, 19}},
    };
    const int ellipseAngles[] = {125, 205, 25, 295};
    const TPoint ellipseText[] = {{(100 - D) / 3 + 3, (24 - D) / 3 + 3}, {(100 - D) / 3 + 3, (24 - D) / 3 + 3},
                                  {(100 - D) / 3 + 3, (24 - D) / 3 + 18}, {(100 - D) / 3 + 3, (24 - D) / 3 + 15}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Position);
        for (TFxHintStyle style : {hsNoseRect, hsNoseRoundRect, hsNoseEllipse}) {
            const THintShape s = HintShapeFor(style, row.Position, {W, H}, D, text);
            EXPECT_EQ(s.Shadow.Box, row.ShadowBox);
            EXPECT_EQ(s.Shadow.Tip, row.ShadowTip);
            EXPECT_EQ(s.Shadow.Mode, row.ShadowMode);
            EXPECT_EQ(s.Body.Box, row.BodyBox);
            EXPECT_EQ(s.Body.Tip, row.BodyTip);
            EXPECT_EQ(s.Body.Mode, 2);
            if (style == hsNoseEllipse) {
                EXPECT_EQ(s.Body.Angle, ellipseAngles[row.Position]);
                EXPECT_EQ(s.TextOffset, ellipseText[row.Position]);
            } else {
                EXPECT_EQ(s.Shadow.Base, row.ShadowBase);
                EXPECT_EQ(s.Body.Base, row.BodyBase);
                EXPECT_EQ(s.TextOffset, row.Text);
            }
        }
    }
}

TEST(HintGeometry, PlainShapes)
{
    const int D = 4;
    const TRect text = Measured(54, 29);
    for (TFxHintStyle style : {hsRect, hsRoundRect, hsEllipse}) {
        const THintShape s = HintShapeFor(style, hpBelowLeft, {80, 40}, D, text);
        EXPECT_EQ(s.Shadow.Box, Rect(D, D, 80, 40));
        EXPECT_EQ(s.Body.Box, Rect(0, 0, 80 - D, 40 - D));
        EXPECT_EQ(s.Shadow.Mode, 0);
    }
    EXPECT_EQ(HintShapeFor(hsRect, hpAboveLeft, {80, 40}, D, text).TextOffset, (TPoint{3, 3}));
    EXPECT_EQ(HintShapeFor(hsRoundRect, hpAboveLeft, {80, 40}, D, text).TextOffset, (TPoint{5, 5}));
    EXPECT_EQ(HintShapeFor(hsEllipse, hpAboveLeft, {80, 40}, D, text).TextOffset, (TPoint{50 / 5 + 3, 25 / 5 + 3}));
}

TEST(HintGeometry, WrapWidth)
{
    EXPECT_EQ(HintWrapWidth(-4, 1024), 256);
    EXPECT_EQ(HintWrapWidth(-3, 1024), 341);  // integer division
    EXPECT_EQ(HintWrapWidth(300, 1024), 300);
    EXPECT_EQ(HintWrapWidth(0, 1024), 1);
    EXPECT_EQ(HintWrapWidth(-2000, 1024), 1);
    EXPECT_EQ(HintWrapWidth(INT_MIN, 1024), 1);
}

TEST(HintGeometry, EllipsePointClockwiseFromTop)
{
    const TRect box = Rect(10, 20, 110, 80);  // centre (60, 50), radii 50 and 30
    EXPECT_EQ(EllipsePoint(box, 0), (TPoint{60, 20}));
    EXPECT_EQ(EllipsePoint(box, 90), (TPoint{110, 50}));
    EXPECT_EQ(EllipsePoint(box, 180), (TPoint{60, 80}));
    EXPECT_EQ(EllipsePoint(box, 270), (TPoint{10, 50}));
    EXPECT_EQ(EllipsePoint(box, 360), (TPoint{60, 20}));
    // 45 degrees: 50 x 0.7071 = 35.36 and 30 x 0.7071 = 21.2, truncated.
    EXPECT_EQ(EllipsePoint(box, 45), (TPoint{60 + 35, 50 - 21}));
    // A box given right to left has the same ellipse.
    EXPECT_EQ(EllipsePoint(Rect(110, 80, 10, 20), 90), (TPoint{110, 50}));
}
