// The pieces of a crescent map: where a point falls on the grid and on the
// picture, the layout's boxes, antialiased lines, the PNG encoding, the
// legend's colours under simulated colour blindness, and the shoreline reader
// on the real database and on damaged files.
#include "tools/Coastlines.h"
#include "tools/MapImage.h"
#include "tools/MapLayout.h"
#include "tools/MapLegend.h"

#include <gtest/gtest.h>
#include <netcdf.h>
#include <png.h>

#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

using astronomy::CriterionId;

namespace {

// ---------------------------------------------------------------- geometry

TEST(MapGeometry, PointsFallInTheirGridCells)
{
    struct Row {
        double Longitude, Latitude, Step;
        GridPosition Expected;
    };
    const Row rows[] = {
        {-180, 90, 1, {0, 0}},          // the north-west corner
        {180, -90, 1, {179, 359}},      // the south-east corner stays inside
        {0, 0, 1, {90, 180}},           // on an edge: the cell south and east of it
        {-0.5, 0.5, 1, {89, 179}},
        {39.8, 21.4, 1, {68, 219}},     // Mecca
        {39.8, 21.4, 10, {6, 21}},
        {-157.9, 21.3, 0.25, {274, 88}},
        {std::numeric_limits<double>::quiet_NaN(), 1000, 1, {0, 0}},  // nonsense stays in range
    };
    for (const Row& r : rows) {
        const auto rowsOfGrid = static_cast<std::size_t>(180 / r.Step);
        EXPECT_EQ(GridCellAt(r.Longitude, r.Latitude, r.Step, rowsOfGrid, 2 * rowsOfGrid), r.Expected)
            << r.Longitude << ", " << r.Latitude << " at " << r.Step;
    }
}

bool Overlap(const PixelRect& a, const PixelRect& b)
{
    return a.Left < b.Right() && b.Left < a.Right() && a.Top < b.Bottom() && b.Top < a.Bottom();
}

TEST(MapGeometry, TheLayoutKeepsEveryPartApart)
{
    const TextMetrics metrics{16, 11, 10, 30};
    const std::vector<LegendEntrySize> legend{{0, 200}, {0, 800}, {0, 180}, {0, 300}, {1, 170}, {1, 190}, {1, 900}};
    const MapLayout layout = LayOutMap(metrics, legend);
    const PixelRect& map = layout.Map.Area;
    EXPECT_EQ(map.Width, 1440);
    EXPECT_EQ(map.Height, 720);
    EXPECT_GT(layout.SubtitleBaseline, layout.TitleBaseline + metrics.SubtitleAscent);
    EXPECT_GT(map.Top, layout.SubtitleBaseline);
    EXPECT_LE(layout.LatitudeLabelRight, map.Left);
    EXPECT_GE(layout.LatitudeLabelRight - metrics.WidestLatitudeLabel, 0);
    EXPECT_GT(layout.LongitudeLabelBaseline - metrics.LabelAscent, map.Bottom());
    ASSERT_EQ(layout.Legend.size(), legend.size());
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const LegendSlot& slot = layout.Legend[i];
        const PixelRect text{slot.TextX, slot.TextBaseline - metrics.LabelAscent, legend[i].TextWidth,
                             metrics.LabelAscent};
        EXPECT_GT(slot.Swatch.Top, layout.LongitudeLabelBaseline) << i;
        EXPECT_LE(text.Right(), layout.Width) << i;
        EXPECT_LT(layout.FootnoteBaseline - metrics.LabelAscent, layout.Height) << i;
        EXPECT_GT(layout.FootnoteBaseline - metrics.LabelAscent, slot.Swatch.Bottom()) << i;
        for (std::size_t j = 0; j < i; ++j) {
            const LegendSlot& other = layout.Legend[j];
            const PixelRect otherText{other.TextX, other.TextBaseline - metrics.LabelAscent, legend[j].TextWidth,
                                      metrics.LabelAscent};
            EXPECT_FALSE(Overlap(slot.Swatch, other.Swatch)) << i << " " << j;
            EXPECT_FALSE(Overlap(text, otherText)) << i << " " << j;
        }
    }
    // The second column starts no further left than the middle of the map,
    // and further when the zones' words are wide.
    EXPECT_GE(layout.Legend[4].Swatch.Left, map.Left + map.Width / 2);
    EXPECT_GT(layout.Legend[4].Swatch.Left, layout.Legend[1].TextX + 800);
    const MapLayout narrow = LayOutMap(metrics, std::vector<LegendEntrySize>{{0, 100}, {1, 100}});
    EXPECT_EQ(narrow.Legend[1].Swatch.Left, narrow.Map.Area.Left + 720);
    EXPECT_EQ(narrow.Width, narrow.Map.Area.Right() + 20);
}

TEST(MapGeometry, LabelsGoWhereTheyCoverNothing)
{
    const PixelRect within{0, 0, 400, 200};
    std::vector<PixelRect> taken{{195, 95, 11, 11}};  // the marker at (200, 100)
    const LabelBox first = PlaceLabel(200, 100, 50, 10, within, taken);
    EXPECT_EQ(first.Box, (PixelRect{206, 95, 50, 10}));  // right
    EXPECT_EQ(first.Baseline, 105);
    const LabelBox second = PlaceLabel(200, 100, 50, 10, within, taken);
    EXPECT_EQ(second.Box.Right(), 194);                  // left
    const LabelBox third = PlaceLabel(200, 100, 50, 10, within, taken);
    EXPECT_EQ(third.Box.Bottom(), 94);                   // above
    const LabelBox fourth = PlaceLabel(200, 100, 50, 10, within, taken);
    EXPECT_EQ(fourth.Box.Top, 106);                      // below
    const LabelBox fifth = PlaceLabel(200, 100, 50, 10, within, taken);
    EXPECT_EQ(fifth.Box, first.Box);                     // nowhere free: right
    // At the east edge the right would leave the map.
    std::vector<PixelRect> none;
    EXPECT_LT(PlaceLabel(395, 100, 50, 10, within, none).Box.Right(), 395);
    EXPECT_EQ(taken.size(), 6u);
}

// ---------------------------------------------------------------- drawing

float ColumnCoverage(const CoverageMask& mask, int x)
{
    float sum = 0;
    for (int y = 0; y < mask.Height(); ++y)
        sum += mask.At(x, y);
    return sum;
}

TEST(MapDrawing, LinesShareOnePixelOfInkAcrossTheirWidth)
{
    // On pixel centres a horizontal line is one full row.
    CoverageMask horizontal(20, 10);
    DrawLine(horizontal, 2.5, 4.5, 17.5, 4.5);
    for (int x = 3; x < 17; ++x) {
        EXPECT_FLOAT_EQ(horizontal.At(x, 4), 1) << x;
        EXPECT_FLOAT_EQ(ColumnCoverage(horizontal, x), 1) << x;
    }
    EXPECT_FLOAT_EQ(horizontal.At(10, 3), 0);
    // Between two rows it is shared half and half.
    CoverageMask between(20, 10);
    DrawLine(between, 2.5, 5, 17.5, 5);
    EXPECT_NEAR(between.At(10, 4), 0.5, 1e-6);
    EXPECT_NEAR(between.At(10, 5), 0.5, 1e-6);
    // A shallow slope: every inner column still carries one pixel of ink.
    CoverageMask slope(40, 20);
    DrawLine(slope, 1.5, 3.2, 38.5, 15.9);
    for (int x = 3; x < 37; ++x)
        EXPECT_NEAR(ColumnCoverage(slope, x), 1, 1e-5) << x;
    // Steep lines walk the rows instead; the same line both ways is the same.
    CoverageMask down(20, 40), up(20, 40);
    DrawLine(down, 3.5, 1.5, 15.2, 37.5);
    DrawLine(up, 15.2, 37.5, 3.5, 1.5);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_FLOAT_EQ(down.At(x, y), up.At(x, y)) << x << "," << y;
}

TEST(MapDrawing, ALinesInkIsItsLength)
{
    // Ends inside a pixel give that pixel the part of the line in it.
    const std::array<double, 2> ends[] = {{2.5, 10.0}, {2.25, 9.75}, {1.7, 15.2}, {3.0, 12.5}};
    for (const auto& [from, to] : ends) {
        CoverageMask mask(20, 10);
        DrawLine(mask, from, 4.5, to, 4.5);
        float ink = 0;
        for (int x = 0; x < 20; ++x)
            ink += ColumnCoverage(mask, x);
        EXPECT_NEAR(ink, to - from, 1e-5) << from << " to " << to;
    }
}

TEST(MapDrawing, AFrameIsTheRectanglesOutermostPixels)
{
    const Rgb page{255, 255, 255}, red{200, 0, 0};
    RgbImage image(10, 8, page);
    const PixelRect frame{2, 1, 5, 4};  // columns 2 to 6, rows 1 to 4
    image.Frame(frame, red);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = frame.Contains(x, y);
            const bool edge = x == 2 || x == 6 || y == 1 || y == 4;
            EXPECT_EQ(image.At(x, y), inside && edge ? red : page) << x << "," << y;
        }
}

TEST(MapDrawing, MeetingAndCrossingLinesCoverAPixelOnce)
{
    RgbImage once(10, 10, {255, 255, 255}), twice(10, 10, {255, 255, 255});
    CoverageMask single(10, 10), doubled(10, 10);
    DrawLine(single, 1.5, 5.5, 8.5, 5.5);
    DrawLine(doubled, 1.5, 5.5, 5.5, 5.5);
    DrawLine(doubled, 5.5, 5.5, 8.5, 5.5);
    once.Paint(single, {0, 0, 0}, 0.5, {0, 0, 10, 10});
    twice.Paint(doubled, {0, 0, 0}, 0.5, {0, 0, 10, 10});
    EXPECT_EQ(twice.At(5, 5), once.At(5, 5));
    EXPECT_EQ(once.At(5, 5), (Rgb{128, 128, 128}));
    CoverageMask crossing(10, 10);
    DrawLine(crossing, 1.5, 5.5, 8.5, 5.5);
    DrawLine(crossing, 5.5, 1.5, 5.5, 8.5);
    EXPECT_FLOAT_EQ(crossing.At(5, 5), 1);
}

TEST(MapDrawing, LinesFarOutOrNotFiniteDrawNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double rows[][4] = {
        {nan, 1, 5, 5}, {1, 1, 5, std::numeric_limits<double>::infinity()}, {-3e9, 5, 3e9, 5}, {-50, -50, -10, -10},
    };
    for (const auto& r : rows) {
        CoverageMask mask(10, 10);
        DrawLine(mask, r[0], r[1], r[2], r[3]);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(mask.At(x, y), 0) << r[0] << " " << r[1] << " " << r[2] << " " << r[3];
    }
    // A line crossing the whole mask from far outside still draws its part.
    CoverageMask across(10, 10);
    DrawLine(across, -5e5, 4.5, 5e5, 4.5);
    EXPECT_FLOAT_EQ(ColumnCoverage(across, 7), 1);
}

TEST(MapDrawing, InkStandsOutFromEveryBackground)
{
    RgbImage image(2, 1, {0, 0, 0});
    image.Set(1, 0, {255, 255, 0});
    CoverageMask mask(2, 1);
    mask.Cover(0, 0, 1);
    mask.Cover(1, 0, 1);
    image.PaintContrasting(mask, {10, 10, 10}, {240, 240, 240}, 1, {0, 0, 2, 1});
    EXPECT_EQ(image.At(0, 0), (Rgb{240, 240, 240}));  // light ink on black
    EXPECT_EQ(image.At(1, 0), (Rgb{10, 10, 10}));     // dark ink on yellow
}

TEST(MapDrawing, ThePngReadsBackPixelForPixel)
{
    RgbImage image(37, 23, {1, 2, 3});
    image.Fill({5, 6, 10, 4}, {250, 128, 7});
    image.Set(36, 22, {9, 99, 199});
    const std::vector<std::uint8_t> bytes = EncodePng(image);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()));
    EXPECT_EQ(png.width, 37u);
    EXPECT_EQ(png.height, 23u);
    png.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(pixels, image.Pixels());
}

// ---------------------------------------------------------------- legend

// Colour as a person with one kind of colour vision sees it, in CIELAB:
// Machado, Oliveira and Fernandes (2009) at full severity, applied to linear
// sRGB.
using Matrix = std::array<std::array<double, 3>, 3>;
constexpr Matrix NormalVision{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix Protanopia{{{0.152286, 1.052583, -0.204868},
                             {0.114503, 0.786281, 0.099216},
                             {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix Deuteranopia{{{0.367322, 0.860646, -0.227968},
                               {0.280085, 0.672501, 0.047413},
                               {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix Tritanopia{{{1.255528, -0.076749, -0.178779},
                             {-0.078411, 0.930809, 0.147602},
                             {0.004733, 0.691367, 0.303900}}};

std::array<double, 3> SeenLab(Rgb colour, const Matrix& vision)
{
    const auto linear = [](std::uint8_t c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const std::array<double, 3> rgb{linear(colour.R), linear(colour.G), linear(colour.B)};
    std::array<double, 3> seen{};
    for (int i = 0; i < 3; ++i)
        seen[i] = std::clamp(vision[i][0] * rgb[0] + vision[i][1] * rgb[1] + vision[i][2] * rgb[2], 0.0, 1.0);
    const double X = (0.4124 * seen[0] + 0.3576 * seen[1] + 0.1805 * seen[2]) / 0.95047;
    const double Y = 0.2126 * seen[0] + 0.7152 * seen[1] + 0.0722 * seen[2];
    const double Z = (0.0193 * seen[0] + 0.1192 * seen[1] + 0.9505 * seen[2]) / 1.08883;
    const auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(Y) - 16, 500 * (f(X) - f(Y)), 200 * (f(Y) - f(Z))};
}

TEST(MapLegendColours, EveryPairStaysApartForEveryKindOfColourVision)
{
    struct Vision {
        const char* Name;
        const Matrix* Simulation;
    };
    const Vision visions[] = {
        {"normal", &NormalVision}, {"protanopia", &Protanopia}, {"deuteranopia", &Deuteranopia},
        {"tritanopia", &Tritanopia}};
    // CIE 1976 colour differences of 10 and more are told apart at a glance
    // between large patches.
    constexpr double SmallestDifference = 10;
    for (const CriterionId id : {CriterionId::ciOdeh, CriterionId::ciYallop}) {
        const std::vector<LegendItem> legend = MapLegend(id);
        for (const Vision& vision : visions)
            for (std::size_t i = 0; i < legend.size(); ++i)
                for (std::size_t j = 0; j < i; ++j) {
                    const auto a = SeenLab(legend[i].Colour, *vision.Simulation);
                    const auto b = SeenLab(legend[j].Colour, *vision.Simulation);
                    const double difference = std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
                    EXPECT_GE(difference, SmallestDifference)
                        << legend[i].Words << " / " << legend[j].Words << " for " << vision.Name;
                }
    }
}

TEST(MapLegendColours, BetterZonesAreLighterForEveryKindOfColourVision)
{
    for (const CriterionId id : {CriterionId::ciOdeh, CriterionId::ciYallop}) {
        const std::vector<LegendItem> legend = MapLegend(id);
        for (const Matrix* vision : {&NormalVision, &Protanopia, &Deuteranopia, &Tritanopia})
            for (std::size_t i = 1; i < legend.size() && legend[i].Kind == LegendKind::lkZone; ++i)
                EXPECT_GT(SeenLab(legend[i - 1].Colour, *vision)[0], SeenLab(legend[i].Colour, *vision)[0] + 5)
                    << legend[i].Key;
    }
}

TEST(MapLegendEntries, ZonesComeFromTheCriterionThenThePlacesWithoutAJudgement)
{
    const std::vector<LegendItem> odeh = MapLegend(CriterionId::ciOdeh);
    ASSERT_EQ(odeh.size(), 7u);
    EXPECT_EQ(odeh[0].Key, "A");
    EXPECT_EQ(odeh[0].Words, "Visible by naked eye");
    EXPECT_EQ(odeh[3].Key, "D");
    EXPECT_EQ(odeh[3].Words, "Not visible even by optical aid");
    EXPECT_EQ(odeh[4].Kind, LegendKind::lkMoonSetsFirst);
    EXPECT_EQ(odeh[5].Kind, LegendKind::lkPolarDay);
    EXPECT_EQ(odeh[6].Kind, LegendKind::lkPolarNight);
    const std::vector<LegendItem> yallop = MapLegend(CriterionId::ciYallop);
    ASSERT_EQ(yallop.size(), 9u);
    EXPECT_EQ(yallop[5].Key, "F");
    EXPECT_EQ(yallop[5].Words, "Not visible, below the Danjon limit");
    EXPECT_TRUE(MapShowsCriterion(CriterionId::ciYallop));
    EXPECT_FALSE(MapShowsCriterion(CriterionId::ciMabims2021));
}

TEST(MapLegendEntries, ACellShowsItsSunThenItsMoonThenItsZone)
{
    using astronomy::CellSun;
    using astronomy::GridCell;
    const auto cell = [](CellSun sun, bool moonFirst, char yallop, char odeh) {
        GridCell c;
        c.Sun = sun;
        c.MoonSetsFirst = moonFirst;
        c.YallopZone = yallop;
        c.OdehZone = odeh;
        return c;
    };
    struct Row {
        GridCell Cell;
        std::size_t Odeh, Yallop;
    };
    const Row rows[] = {
        {cell(CellSun::csSets, false, 'A', 'A'), 0, 0},
        {cell(CellSun::csSets, false, 'E', 'C'), 2, 4},
        {cell(CellSun::csSets, false, 'F', 'D'), 3, 5},
        {cell(CellSun::csSets, true, 'F', 'D'), 4, 6},     // the Moon set first
        {cell(CellSun::csPolarDay, false, '-', '-'), 5, 7},
        {cell(CellSun::csPolarNight, false, '-', '-'), 6, 8},
        {cell(CellSun::csSets, false, '-', '-'), 3, 5},    // no zone recorded: the worst
    };
    for (const Row& r : rows) {
        EXPECT_EQ(LegendIndexOf(r.Cell, CriterionId::ciOdeh), r.Odeh) << r.Cell.OdehZone;
        EXPECT_EQ(LegendIndexOf(r.Cell, CriterionId::ciYallop), r.Yallop) << r.Cell.YallopZone;
    }
}

// ---------------------------------------------------------------- shorelines

bool NearAny(const Coastlines& coastlines, double longitude, double latitude, double within)
{
    for (const GeoLine& line : coastlines.Lines)
        for (const GeoPoint& p : line)
            if (std::fabs(p.Longitude - longitude) < within && std::fabs(p.Latitude - latitude) < within)
                return true;
    return false;
}

TEST(Shorelines, TheDebianDatabaseHoldsTheWorldsCoasts)
{
    const Coastlines coastlines = ReadCoastlines(DebianCoastlineFile);
    ASSERT_TRUE(coastlines.Read()) << coastlines.Problem << " (scripts/deps installs gmt-gshhg-low)";
    EXPECT_GT(coastlines.Lines.size(), 1000u);
    for (const GeoLine& line : coastlines.Lines)
        for (const GeoPoint& p : line) {
            ASSERT_GE(p.Longitude, -180);
            ASSERT_LE(p.Longitude, 180);
            ASSERT_GE(p.Latitude, -90);
            ASSERT_LE(p.Latitude, 90);
        }
    // Capes and shores on both sides of the date line and of the equator.
    EXPECT_TRUE(NearAny(coastlines, 18.47, -34.36, 0.1));    // Cape of Good Hope
    EXPECT_TRUE(NearAny(coastlines, -5.6, 36.0, 0.1));       // Strait of Gibraltar
    EXPECT_TRUE(NearAny(coastlines, -157.8, 21.26, 0.1));    // Honolulu, Oahu
    EXPECT_TRUE(NearAny(coastlines, 174.8, -41.3, 0.2));     // Wellington
    EXPECT_TRUE(NearAny(coastlines, -87.6, 41.9, 0.2));      // Chicago, on Lake Michigan
    // Nothing in the middle of the Sahara or the Pacific.
    EXPECT_FALSE(NearAny(coastlines, 15, 23, 2));
    EXPECT_FALSE(NearAny(coastlines, -140, -40, 2));
}

// A binned shoreline file of our own making: one 180° by 180° bin each way
// would not fit the format's 16-bit fractions finely, so 90° bins, 4 by 2.
struct BinnedFile {
    std::vector<int> FirstSegment{0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<short> SegmentCount{0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<int> Packed;
    std::vector<int> FirstPoint;
    std::vector<int> Polygon;
    std::vector<double> Area{1e6, 100};
    std::vector<short> Dx, Dy;
};

std::string WriteBinned(const BinnedFile& f, const char* name)
{
    const std::string path = std::filesystem::temp_directory_path() / (name + std::to_string(getpid()) + ".nc");
    int id = 0;
    EXPECT_EQ(nc_create(path.c_str(), NC_CLOBBER, &id), NC_NOERR);
    const auto variable = [&](const char* variableName, nc_type type, std::size_t length) {
        int dimension = 0, v = 0;
        EXPECT_EQ(nc_def_dim(id, (std::string("n_") + variableName).c_str(), std::max<std::size_t>(length, 1), &dimension),
                  NC_NOERR);
        EXPECT_EQ(nc_def_var(id, variableName, type, 1, &dimension, &v), NC_NOERR);
        return v;
    };
    const int size = variable("Bin_size_in_minutes", NC_INT, 1);
    const int around = variable("N_bins_in_360_longitude_range", NC_INT, 1);
    const int pole = variable("N_bins_in_180_degree_latitude_range", NC_INT, 1);
    const int first = variable("Id_of_first_segment_in_a_bin", NC_INT, f.FirstSegment.size());
    const int count = variable("N_segments_in_a_bin", NC_SHORT, f.SegmentCount.size());
    const int packed = variable("Embedded_npts_levels_exit_entry_for_a_segment", NC_INT, f.Packed.size());
    const int firstPoint = variable("Id_of_first_point_in_a_segment", NC_INT, f.FirstPoint.size());
    const int polygon = variable("Id_of_GSHHS_ID", NC_INT, f.Polygon.size());
    const int area = variable("The_km_squared_area_of_polygons", NC_DOUBLE, f.Area.size());
    const int dx = variable("Relative_longitude_from_SW_corner_of_bin", NC_SHORT, f.Dx.size());
    const int dy = variable("Relative_latitude_from_SW_corner_of_bin", NC_SHORT, f.Dy.size());
    EXPECT_EQ(nc_enddef(id), NC_NOERR);
    const int binMinutes = 90 * 60, binsAround = 4, binsPole = 2;
    nc_put_var_int(id, size, &binMinutes);
    nc_put_var_int(id, around, &binsAround);
    nc_put_var_int(id, pole, &binsPole);
    nc_put_var_int(id, first, f.FirstSegment.data());
    nc_put_var_short(id, count, f.SegmentCount.data());
    if (!f.Packed.empty()) {
        nc_put_var_int(id, packed, f.Packed.data());
        nc_put_var_int(id, firstPoint, f.FirstPoint.data());
        nc_put_var_int(id, polygon, f.Polygon.data());
        nc_put_var_short(id, dx, f.Dx.data());
        nc_put_var_short(id, dy, f.Dy.data());
    }
    nc_put_var_double(id, area, f.Area.data());
    EXPECT_EQ(nc_close(id), NC_NOERR);
    return path;
}

// The packed word of a segment: point count, level, exit and entry sides.
int Segment(int points, int level) { return (points << 9) | (level << 6) | (4 << 3) | 4; }

BinnedFile OneShoreAndOneLake()
{
    BinnedFile f;
    // Bin 2 is the north-east quarter's first bin east of 180°: 180..270°E,
    // drawn from 180°W to 90°W, 0..90°N. Its sea shore runs from the corner
    // to the middle and on to the far corner (65535 = the whole side, stored
    // as -1 in a signed short). A small lake shore follows, too small to draw.
    f.FirstSegment = {0, 0, 0, 2, 2, 2, 2, 2};
    f.SegmentCount = {0, 0, 2, 0, 0, 0, 0, 0};
    f.Packed = {Segment(3, 1), Segment(2, 2)};
    f.FirstPoint = {0, 3};
    f.Polygon = {0, 1};
    f.Dx = {0, 32767, -1, 100, 200};
    f.Dy = {0, 32767, -1, 100, 200};
    return f;
}

TEST(Shorelines, SegmentsAreDecodedIntoTheirBins)
{
    const std::string path = WriteBinned(OneShoreAndOneLake(), "shore");
    const Coastlines coastlines = ReadCoastlines(path);
    std::remove(path.c_str());
    ASSERT_TRUE(coastlines.Read()) << coastlines.Problem;
    ASSERT_EQ(coastlines.Lines.size(), 1u);  // the lake is too small
    const GeoLine& line = coastlines.Lines[0];
    ASSERT_EQ(line.size(), 3u);
    EXPECT_DOUBLE_EQ(line[0].Longitude, -180);
    EXPECT_DOUBLE_EQ(line[0].Latitude, 0);
    EXPECT_NEAR(line[1].Longitude, -135, 1e-3);
    EXPECT_NEAR(line[1].Latitude, 45, 1e-3);
    EXPECT_DOUBLE_EQ(line[2].Longitude, -90);
    EXPECT_DOUBLE_EQ(line[2].Latitude, 90);
}

TEST(Shorelines, ADamagedFileIsReportedNotRead)
{
    struct Damage {
        const char* Name;
        void (*Apply)(BinnedFile&);
        const char* Reason;
    };
    const Damage damages[] = {
        {"segments", [](BinnedFile& f) { f.SegmentCount[2] = 3; }, "segments lie outside"},
        {"negative", [](BinnedFile& f) { f.FirstSegment[2] = -1; }, "segments lie outside"},
        {"points", [](BinnedFile& f) { f.FirstPoint[1] = 4; }, "points lie outside"},
        {"count", [](BinnedFile& f) { f.Packed[0] = Segment(9, 1); }, "points lie outside"},
        {"polygon", [](BinnedFile& f) { f.Polygon[0] = 7; }, "polygon that is not in the file"},
        {"bins", [](BinnedFile& f) { f.FirstSegment.pop_back(); }, "do not fit together"},
        {"arrays", [](BinnedFile& f) { f.Dy.pop_back(); }, "do not fit together"},
    };
    for (const Damage& d : damages) {
        BinnedFile file = OneShoreAndOneLake();
        d.Apply(file);
        const std::string path = WriteBinned(file, d.Name);
        const Coastlines coastlines = ReadCoastlines(path);
        std::remove(path.c_str());
        EXPECT_FALSE(coastlines.Read()) << d.Name;
        EXPECT_TRUE(coastlines.Lines.empty()) << d.Name;
        EXPECT_NE(coastlines.Problem.find(d.Reason), std::string::npos) << d.Name << ": " << coastlines.Problem;
    }
}

TEST(Shorelines, AMissingOrForeignFileIsReportedNotRead)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string missing = folder / ("no-such-shore-" + std::to_string(getpid()) + ".nc");
    EXPECT_EQ(ReadCoastlines(missing).Problem, missing + " is missing");

    const std::string text = folder / ("not-a-shore-" + std::to_string(getpid()) + ".nc");
    std::FILE* file = std::fopen(text.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("coastlines, honestly\n", file);
    std::fclose(file);
    const Coastlines foreign = ReadCoastlines(text);
    std::remove(text.c_str());
    EXPECT_NE(foreign.Problem.find("cannot be read"), std::string::npos) << foreign.Problem;

    BinnedFile empty;
    const std::string other = WriteBinned(empty, "other");
    int id = 0;  // a netCDF file without the segment arrays
    nc_open(other.c_str(), NC_WRITE, &id);
    nc_redef(id);
    nc_rename_var(id, 5, "Something_else");
    nc_close(id);
    const Coastlines unrelated = ReadCoastlines(other);
    std::remove(other.c_str());
    EXPECT_NE(unrelated.Problem.find("is not a binned shoreline file"), std::string::npos) << unrelated.Problem;
}

} // namespace
