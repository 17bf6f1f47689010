// dates-convert crescent-map: the picture's cells against evenings whose
// crescent is known, the polar rows, the legend and the caption drawn, the PNG
// file written whole or not at all, and the options it refuses.
#include "astronomy/Conjunction.h"
#include "astronomy/Crescent.h"
#include "astronomy/EveningGrid.h"
#include "calendar/conver2.h"
#include "tools/CommandLine.h"
#include "tools/CrescentMap.h"

#include <gtest/gtest.h>
#include <png.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

using astronomy::CriterionId;
namespace fs = std::filesystem;

namespace {

// A folder of its own for each test, removed with everything in it.
class TempFolder {
public:
    TempFolder() : path_(fs::temp_directory_path() / ("crescent-map-" + std::to_string(getpid()) + "-" +
                                                      std::to_string(counter_++)))
    {
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& Path() const { return path_; }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

const MapText& Fonts()
{
    static const MapText text;
    return text;
}

// The 1° grid of an evening, each computed once for all the tests.
const astronomy::EveningGrid& GridOf(double midnight)
{
    static std::map<double, astronomy::EveningGrid> grids;
    auto found = grids.find(midnight);
    if (found == grids.end()) {
        const double conjunction = astronomy::ConjunctionNearest(midnight + 0.75);
        found = grids.emplace(midnight, astronomy::ComputeEveningGrid(midnight, conjunction)).first;
    }
    return found->second;
}

// Only the cells, the graticule and the captions: no coastline or place marker
// lies over the pixel a test reads.
CrescentMapPicture CellsOnly(double midnight, CriterionId criterion)
{
    return DrawCrescentMap(GridOf(midnight), criterion, Coastlines{}, {}, {"title", "subtitle", "footnote"}, Fonts());
}

std::size_t LegendIndexOfKind(const std::vector<LegendItem>& legend, LegendKind kind, std::string_view key = "")
{
    for (std::size_t i = 0; i < legend.size(); ++i)
        if (legend[i].Kind == kind && legend[i].Key == key)
            return i;
    ADD_FAILURE() << "no legend entry " << key;
    return 0;
}

// The colour at the centre of the 1° cell that holds a place.
Rgb CellColour(const CrescentMapPicture& picture, double latitude, double longitude)
{
    const double centreLatitude = std::floor(latitude) + 0.5, centreLongitude = std::floor(longitude) + 0.5;
    const MapProjection& map = picture.Layout.Map;
    return picture.Image.At(static_cast<int>(map.X(centreLongitude)), static_cast<int>(map.Y(centreLatitude)));
}

constexpr double February17 = 2461088.5;  // 2026, 00:00 UT; the conjunction is at 12:01 UT
constexpr double February18 = February17 + 1;
constexpr double June21 = 2461212.5;

TEST(CrescentMapCells, PlacesShowTheZoneTheirEveningIsKnownToHave)
{
    // 17 February 2026, the eve of Ramadhan 1447: published predictions found
    // the crescent beyond every optical aid in the Arab and Islamic world, the
    // Moon setting before the Sun in Jakarta and a few minutes after it in
    // Cairo, and a telescope needed in Honolulu. A day later it was plain to
    // the eye from Mecca and Rabat, still low over the far south-east.
    struct Row {
        const char* Place;
        double Midnight;
        CriterionId Criterion;
        double Latitude, Longitude;
        LegendKind Kind;
        const char* Zone;
    };
    const Row rows[] = {
        {"Cairo", February17, CriterionId::ciOdeh, 30.04, 31.24, LegendKind::lkZone, "D"},
        {"Cairo", February17, CriterionId::ciYallop, 30.04, 31.24, LegendKind::lkZone, "F"},
        {"Honolulu", February17, CriterionId::ciOdeh, 21.31, -157.86, LegendKind::lkZone, "C"},
        {"Honolulu", February17, CriterionId::ciYallop, 21.31, -157.86, LegendKind::lkZone, "D"},
        {"Jakarta", February17, CriterionId::ciOdeh, -6.21, 106.85, LegendKind::lkMoonSetsFirst, ""},
        {"Mecca", February18, CriterionId::ciOdeh, 21.42, 39.83, LegendKind::lkZone, "A"},
        {"Rabat", February18, CriterionId::ciYallop, 34.02, -6.84, LegendKind::lkZone, "A"},
        {"Jakarta", February18, CriterionId::ciOdeh, -6.21, 106.85, LegendKind::lkZone, "B"},
        {"south of Tasmania", February18, CriterionId::ciOdeh, -55.5, 150.5, LegendKind::lkZone, "D"},
    };
    std::map<std::pair<double, CriterionId>, CrescentMapPicture> pictures;
    for (const Row& r : rows) {
        auto picture = pictures.find({r.Midnight, r.Criterion});
        if (picture == pictures.end())
            picture = pictures.emplace(std::pair{r.Midnight, r.Criterion}, CellsOnly(r.Midnight, r.Criterion)).first;
        const std::vector<LegendItem>& legend = picture->second.Legend;
        const LegendItem& expected = legend[LegendIndexOfKind(legend, r.Kind, r.Zone)];
        EXPECT_EQ(CellColour(picture->second, r.Latitude, r.Longitude), expected.Colour)
            << r.Place << ": expected " << expected.Key << " " << expected.Words;

        // The same evening reckoned at the cell's centre on the full series,
        // without the grid's interpolated sky, agrees.
        const astronomy::Place centre{std::floor(r.Latitude) + 0.5, std::floor(r.Longitude) + 0.5, 0};
        const astronomy::EveningReport evening = astronomy::ReportEvening(
            astronomy::FullSky(), centre, r.Midnight, astronomy::ConjunctionNearest(r.Midnight + 0.75));
        if (r.Kind == LegendKind::lkZone) {
            EXPECT_FALSE(evening.MoonSetsFirst) << r.Place;
            EXPECT_EQ(evening.Verdicts[static_cast<std::size_t>(r.Criterion)].Category, r.Zone) << r.Place;
        } else {
            EXPECT_TRUE(evening.MoonSetsFirst) << r.Place;
        }
    }
}

TEST(CrescentMapCells, PolarRowsShowNoSunset)
{
    // Midsummer in the north: the Sun does not set at 80°N and does not rise
    // at 80°S; at the equator it sets and the cell has a zone.
    const CrescentMapPicture picture = CellsOnly(June21, CriterionId::ciOdeh);
    const std::vector<LegendItem>& legend = picture.Legend;
    for (const double longitude : {-170.0, 0.0, 100.0}) {
        EXPECT_EQ(CellColour(picture, 80, longitude), legend[LegendIndexOfKind(legend, LegendKind::lkPolarDay)].Colour);
        EXPECT_EQ(CellColour(picture, -80, longitude),
                  legend[LegendIndexOfKind(legend, LegendKind::lkPolarNight)].Colour);
        const Rgb equator = CellColour(picture, 0, longitude);
        const auto zone = std::find_if(legend.begin(), legend.end(), [&](const LegendItem& item) {
            return item.Colour == equator;
        });
        ASSERT_NE(zone, legend.end());
        EXPECT_TRUE(zone->Kind == LegendKind::lkZone || zone->Kind == LegendKind::lkMoonSetsFirst);
    }
    EXPECT_EQ(legend[LegendIndexOfKind(legend, LegendKind::lkPolarDay)].Words, "Sun does not set (polar day)");
}

TEST(CrescentMapCells, AGridThatCoversNoWorldLeavesTheMapBlank)
{
    astronomy::EveningGrid empty;
    empty.Rows = 180;  // but no cells
    empty.Columns = 360;
    const CrescentMapPicture picture =
        DrawCrescentMap(empty, CriterionId::ciOdeh, Coastlines{}, {}, {"title", "subtitle", "footnote"}, Fonts());
    EXPECT_EQ(CellColour(picture, 21, 39), (Rgb{255, 255, 255}));
}

// Pixels of text: darker than the page by far.
int InkPixels(const RgbImage& image, const PixelRect& box)
{
    int ink = 0;
    for (int y = box.Top; y < box.Bottom(); ++y)
        for (int x = box.Left; x < box.Right(); ++x)
            ink += Brightness(image.At(x, y)) < 128;
    return ink;
}

TEST(CrescentMapLegend, SwatchesAndWordsAreDrawnWhereTheLayoutPutsThem)
{
    CrescentMapRequest request;
    request.Date = {2026, 2, 17};
    request.Criterion = CriterionId::ciYallop;
    request.GridDegrees = 5;
    const CrescentMap map = MakeCrescentMap(request);
    const CrescentMapPicture& picture = map.Picture;
    ASSERT_EQ(picture.Legend.size(), 9u);
    ASSERT_EQ(picture.Layout.Legend.size(), 9u);
    for (std::size_t i = 0; i < picture.Legend.size(); ++i) {
        const PixelRect& swatch = picture.Layout.Legend[i].Swatch;
        // Inside its frame the swatch is its entry's colour throughout.
        for (int y = swatch.Top + 1; y < swatch.Bottom() - 1; ++y)
            for (int x = swatch.Left + 1; x < swatch.Right() - 1; ++x)
                ASSERT_EQ(picture.Image.At(x, y), picture.Legend[i].Colour) << picture.Legend[i].Words;
        // And words follow it on its line.
        const LegendSlot& slot = picture.Layout.Legend[i];
        EXPECT_GT(InkPixels(picture.Image, {slot.TextX, slot.TextBaseline - 12, 150, 14}), 40)
            << picture.Legend[i].Words;
    }
    // Title, subtitle and footnote are on the page.
    const MapLayout& layout = picture.Layout;
    EXPECT_GT(InkPixels(picture.Image, {layout.TextLeft, layout.TitleBaseline - 16, 400, 18}), 300);
    EXPECT_GT(InkPixels(picture.Image, {layout.TextLeft, layout.SubtitleBaseline - 12, 400, 14}), 150);
    EXPECT_GT(InkPixels(picture.Image, {layout.TextLeft, layout.FootnoteBaseline - 12, 400, 14}), 150);
    // Between the legend's rows the page stays blank.
    const LegendSlot& first = layout.Legend[0];
    const LegendSlot& second = layout.Legend[1];
    EXPECT_EQ(InkPixels(picture.Image, {first.Swatch.Left, first.Swatch.Bottom() + 1, 28,
                                        second.Swatch.Top - first.Swatch.Bottom() - 2}),
              0);
    EXPECT_TRUE(map.Notices.empty());
    EXPECT_NEAR(map.ConjunctionUT, 2461089.0007, 0.0005);  // 2026-02-17 12:01 UT
}

TEST(CrescentMapLegend, WithoutTheShorelineFileTheMapSaysSoAndStillComes)
{
    TempFolder folder;
    CrescentMapRequest request;
    request.Date = {2026, 2, 18};
    request.GridDegrees = 10;
    request.CoastlineFile = (folder.Path() / "gone.nc").string();
    const CrescentMap without = MakeCrescentMap(request);
    ASSERT_EQ(without.Notices.size(), 1u);
    EXPECT_EQ(without.Notices[0], "coastlines not drawn: " + request.CoastlineFile +
                                      " is missing (Debian package gmt-gshhg-low)");
    request.CoastlineFile = DebianCoastlineFile;
    const CrescentMap with = MakeCrescentMap(request);
    EXPECT_TRUE(with.Notices.empty());
    // The coastlines are the only difference between the two maps.
    const PixelRect& area = with.Picture.Layout.Map.Area;
    int differing = 0, outsideTheMap = 0;
    for (int y = 0; y < with.Picture.Image.Height(); ++y)
        for (int x = 0; x < with.Picture.Image.Width(); ++x)
            if (!(with.Picture.Image.At(x, y) == without.Picture.Image.At(x, y)))
                (area.Contains(x, y) ? differing : outsideTheMap) += 1;
    EXPECT_GT(differing, 20000);
    // The footnote names the shoreline source or its absence.
    EXPECT_GT(outsideTheMap, 0);
    EXPECT_LT(outsideTheMap, 6000);
}

TEST(CrescentMapPlaces, AMarkerIsAWhiteDotInADarkRingAndItsNameStandsOnAHalo)
{
    // A place in June's polar night, on the dark grey of its cells.
    const MapPlace places[] = {{"Dot", -80.5, 10.5}};
    const CrescentMapPicture picture = DrawCrescentMap(GridOf(June21), CriterionId::ciOdeh, Coastlines{}, places,
                                                       {"title", "subtitle", "footnote"}, Fonts());
    const Rgb night = picture.Legend[LegendIndexOfKind(picture.Legend, LegendKind::lkPolarNight)].Colour;
    const Rgb paper{255, 255, 255}, ink{26, 26, 26};
    const MapProjection& map = picture.Layout.Map;
    const int x = static_cast<int>(std::floor(map.X(10.5))), y = static_cast<int>(std::floor(map.Y(-80.5)));
    EXPECT_EQ(picture.Image.At(x, y), paper);
    for (const auto& [dx, dy] : {std::pair{4, 0}, {-4, 0}, {0, 4}, {0, -4}})
        EXPECT_EQ(picture.Image.At(x + dx, y + dy), ink) << dx << "," << dy;
    EXPECT_EQ(picture.Image.At(x - 6, y), night);
    // The name, right of the marker: no pixel of its letters touches the
    // night's grey, not even at a corner.
    int letters = 0;
    for (int py = y - 16; py <= y + 16; ++py)
        for (int px = x + 6; px <= x + 60; ++px) {
            if (!(picture.Image.At(px, py) == ink))
                continue;
            ++letters;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    EXPECT_FALSE(picture.Image.At(px + dx, py + dy) == night) << px + dx << "," << py + dy;
        }
    EXPECT_GT(letters, 20);
}

TEST(CrescentMapPlaces, TheGraticuleIsLabelledByHemisphere)
{
    const std::pair<int, const char*> latitudes[] = {{60, "60\u00b0N"}, {0, "0\u00b0"}, {-30, "30\u00b0S"}};
    for (const auto& [latitude, label] : latitudes)
        EXPECT_EQ(LatitudeLabel(latitude), label);
    const std::pair<int, const char*> longitudes[] = {
        {30, "30\u00b0E"}, {-150, "150\u00b0W"}, {0, "0\u00b0"}, {180, "180\u00b0"}, {-180, "180\u00b0"}};
    for (const auto& [longitude, label] : longitudes)
        EXPECT_EQ(LongitudeLabel(longitude), label);
}

TEST(CrescentMapFile, ThePngReadsBackAtThePicturesSize)
{
    TempFolder folder;
    CrescentMapRequest request;
    request.Date = {2026, 2, 18};
    request.GridDegrees = 2;
    request.PngPath = (folder.Path() / "map.png").string();
    std::vector<std::string> notices;
    const mode_t umaskBefore = umask(022);
    WriteCrescentMap(request, [&](const std::string& n) { notices.push_back(n); });
    umask(umaskBefore);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"map.png"});  // no temporary file left
    // Readable as any new file of the user's is, by the umask.
    EXPECT_EQ(fs::status(request.PngPath).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, request.PngPath.c_str())) << png.message;
    png.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) << png.message;
    const CrescentMap expected = MakeCrescentMap(request);
    EXPECT_EQ(png.width, static_cast<png_uint_32>(expected.Picture.Layout.Width));
    EXPECT_EQ(png.height, static_cast<png_uint_32>(expected.Picture.Layout.Height));
    EXPECT_GE(png.width, 1440u);
    EXPECT_GE(png.height, 720u);
    EXPECT_TRUE(pixels == expected.Picture.Image.Pixels());
}

TEST(CrescentMapFile, AFileThatCannotBeWrittenLeavesNothingBehind)
{
    TempFolder folder;
    fs::create_directory(folder.Path() / "taken");
    const std::string old = (folder.Path() / "old.png").string();
    {
        std::FILE* file = std::fopen(old.c_str(), "w");
        std::fputs("the old picture", file);
        std::fclose(file);
    }
    struct Row {
        std::string Path;
        const char* Reason;
    };
    const Row rows[] = {
        {(folder.Path() / "no-such-folder" / "map.png").string(), "No such file or directory"},
        {(folder.Path() / "taken").string(), "Is a directory"},
        {(folder.Path() / "old.png" / "map.png").string(), "Not a directory"},
        {folder.Path().string() + "/", "Is a directory"},
    };
    CrescentMapRequest request;
    request.Date = {2026, 2, 18};
    request.GridDegrees = 10;
    for (const Row& r : rows) {
        request.PngPath = r.Path;
        try {
            WriteCrescentMap(request, [](const std::string&) {});
            ADD_FAILURE() << "wrote " << r.Path;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "cannot write " + r.Path + ": " + r.Reason);
        }
    }
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"old.png", "taken"}));
    EXPECT_TRUE(fs::is_empty(folder.Path() / "taken"));
    // A good write replaces the old file whole.
    request.PngPath = old;
    WriteCrescentMap(request, [](const std::string&) {});
    EXPECT_GT(fs::file_size(old), 10000u);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"old.png", "taken"}));
}

TEST(CrescentMapOptions, GridStepsDivideTheWorldIntoWholeCells)
{
    for (const char* text : {"1", "0.5", "0.25", "2.5", "7.5", "10", "1.0"})
        EXPECT_DOUBLE_EQ(ParseGridDegrees(text), std::stod(text)) << text;
    for (const char* text : {"0.7", "0.2", "11", "0", "", "-1", "+1", "1e0", "nan", "0.3333", "1.", ".", "1..0"}) {
        try {
            const double step = ParseGridDegrees(text);
            // "1." reads as 1 and is a fine step; everything else is refused.
            EXPECT_EQ(std::string(text), "1.") << step;
        } catch (const EUsageError& e) {
            EXPECT_NE(e.Message().find("is not a step from 0.25 to 10 degrees"), std::string::npos) << text;
        }
    }
    EXPECT_EQ(ParseMapCriterion("odeh"), CriterionId::ciOdeh);
    EXPECT_EQ(ParseMapCriterion("yallop"), CriterionId::ciYallop);
    EXPECT_THROW(ParseMapCriterion("mabims"), EUsageError);
    EXPECT_THROW(ParseMapCriterion("Odeh "), EUsageError);
}

TEST(CrescentMapOptions, TheCommandLineTakesTheMapsOptionsAndRefusesTheRest)
{
    const Request request =
        ParseCommandLine({"crescent-map", "2026-02-17", "--png", "a.png", "--criterion=yallop", "--grid", "2"});
    EXPECT_EQ(request.Command, CommandKind::ckCrescentMap);
    EXPECT_EQ(request.Argument, "2026-02-17");
    EXPECT_EQ(request.Map.Png, "a.png");
    EXPECT_EQ(request.Map.Criterion, "yallop");
    EXPECT_EQ(request.Map.Grid, "2");
    const CrescentMapRequest map = ParseCrescentMapRequest(request.Argument, request.Map);
    EXPECT_EQ(map.Date, (DateParts{2026, 2, 17}));
    EXPECT_EQ(map.Criterion, CriterionId::ciYallop);
    EXPECT_DOUBLE_EQ(map.GridDegrees, 2);
    EXPECT_EQ(map.PngPath, "a.png");
    EXPECT_EQ(ParseCrescentMapRequest("2026-02-17", {"b.png", "", "", true}).Criterion, CriterionId::ciOdeh);
    const Request joined = ParseCommandLine({"crescent-map", "2026-02-17", "--png=c.png", "--grid=5"});
    EXPECT_EQ(joined.Map.Png, "c.png");
    EXPECT_EQ(joined.Map.Grid, "5");

    struct Refusal {
        std::vector<std::string> Arguments;
        const char* Reason;
    };
    const Refusal refusals[] = {
        {{"crescent-map", "2026-02-17"}, "needs --png FILE"},
        {{"crescent-map", "2026-02-17", "--png", "-"}, "not standard output"},
        {{"crescent-map", "2026-02-17", "--png"}, "The option --png needs a value"},
        {{"crescent-map", "2026-02-29", "--png", "a.png"}, "There is no day 29 in February 2026"},
        {{"crescent-map", "2026-02", "--png", "a.png"}, "2026-02"},
        {{"crescent-map", "3001-01-01", "--png", "a.png"}, "civil years -1999 to 3000"},
        {{"crescent-map", "-2000-01-01", "--png", "a.png"}, "civil years -1999 to 3000"},
        {{"crescent-map", "2026-02-17", "--png", "a.png", "--grid", "3.3"}, "is not a step"},
        {{"crescent-map", "2026-02-17", "--png", "a.png", "--criterion", "danjon"}, "give odeh or yallop"},
        {{"crescent", "1447-09", "--png", "a.png"}, "belong to the command crescent-map"},
        {{"crescent-map", "2026-02-17", "--at", "Mecca", "--png", "a.png"}, "belongs to the command crescent"},
        {{"crescent-map", "2026-02-17", "--png", "a.png", "--calendar", "umalqura"}, "takes no calendar"},
        {{"crescent-map", "2026-02-17", "--png", "a.png", "--lang", "ar"}, "labelled in English"},
        {{"crescent-map", "2026-02-17", "--png", "a.png", "--digits", "arab"}, "labelled in English"},
    };
    for (const Refusal& r : refusals) {
        std::string output, error;
        EXPECT_EQ(RunDatesConvert(r.Arguments, output, error), 2) << r.Reason;
        EXPECT_NE(error.find(std::string(r.Reason).substr(1)), std::string::npos) << error;
        EXPECT_TRUE(output.empty());
    }
}

} // namespace
