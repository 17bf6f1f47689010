// The world grid of one evening: the interpolated sky gives the cells the full
// series give, polar rows say so, and the zones follow the crescent's age.
#include "astronomy/Conjunction.h"
#include "astronomy/EveningGrid.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace astronomy;

namespace {

constexpr double March2026_19 = 2461118.5;  // 00:00 UT, 2026 March 19 (new moon 01:23 UT)

} // namespace

TEST(EveningGrid, InterpolatedSkyGivesTheCellsOfTheFullSeries)
{
    const double conjunction = ConjunctionNearest(March2026_19);
    GridOptions options;
    options.StepDegrees = 10;
    options.Threads = 2;
    const EveningGrid fast = ComputeEveningGrid(March2026_19 + 1, conjunction, options);
    const EveningGrid full = ComputeEveningGrid(FullSky(), March2026_19 + 1, conjunction, options);
    ASSERT_EQ(fast.Rows, 18u);
    ASSERT_EQ(fast.Columns, 36u);
    ASSERT_EQ(fast.Cells.size(), full.Cells.size());
    int zonesDiffering = 0;
    for (std::size_t i = 0; i < fast.Cells.size(); ++i) {
        const GridCell& a = fast.Cells[i];
        const GridCell& b = full.Cells[i];
        ASSERT_EQ(a.Sun, b.Sun) << i;
        if (a.Sun != CellSun::csSets)
            continue;
        EXPECT_NEAR(a.Sunset, b.Sunset, 0.1 / 86400) << i;
        EXPECT_NEAR(a.LagMinutes, b.LagMinutes, 0.01) << i;
        EXPECT_NEAR(a.YallopQ, b.YallopQ, 1e-5) << i;
        EXPECT_NEAR(a.OdehV, b.OdehV, 1e-4) << i;
        zonesDiffering += a.YallopZone != b.YallopZone || a.OdehZone != b.OdehZone;
    }
    EXPECT_EQ(zonesDiffering, 0);
}

TEST(EveningGrid, CellsCoverTheWorldFromTheNorthWest)
{
    GridOptions options;
    options.StepDegrees = 10;
    const EveningGrid grid = ComputeEveningGrid(March2026_19 + 95, ConjunctionNearest(March2026_19 + 88), options);
    const Place first = grid.CentreOf(0, 0);
    EXPECT_DOUBLE_EQ(first.Latitude, 85);
    EXPECT_DOUBLE_EQ(first.Longitude, -175);
    const Place last = grid.CentreOf(17, 35);
    EXPECT_DOUBLE_EQ(last.Latitude, -85);
    EXPECT_DOUBLE_EQ(last.Longitude, 175);
    // 2026 June 22: day in the Arctic, night in the Antarctic, sunsets between.
    EXPECT_EQ(grid.At(0, 10).Sun, CellSun::csPolarDay);
    EXPECT_EQ(grid.At(17, 10).Sun, CellSun::csPolarNight);
    EXPECT_EQ(grid.At(9, 10).Sun, CellSun::csSets);
    EXPECT_EQ(grid.At(0, 10).YallopZone, '-');
}

TEST(EveningGrid, TheEveningOfTheConjunctionSeesNothingAndTwoDaysLaterMostSeeIt)
{
    const double conjunction = ConjunctionNearest(March2026_19);
    GridOptions options;
    options.StepDegrees = 5;
    const auto count = [&](double day, auto&& predicate) {
        int n = 0;
        for (const GridCell& cell : ComputeEveningGrid(day, conjunction, options).Cells)
            n += cell.Sun == CellSun::csSets && predicate(cell);
        return n;
    };
    const auto seen = [](const GridCell& c) { return c.YallopZone == 'A' || c.YallopZone == 'B'; };
    EXPECT_EQ(count(March2026_19 - 1, seen), 0);
    // The eve of the conjunction: the Moon sets before the Sun nearly everywhere.
    EXPECT_GT(count(March2026_19 - 1, [](const GridCell& c) { return c.MoonSetsFirst; }), 2000);
    EXPECT_GT(count(March2026_19 + 2, seen), 1500);
}
