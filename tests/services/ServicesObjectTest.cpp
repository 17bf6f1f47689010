// The services object: the pattern bitmap, the registry path, the hand
// cursor, its initial values and the module's start and finish.
#include "services/FxApplication.h"
#include "services/ServicesModule.h"

#include "framework/controls/Application.h"
#include "framework/controls/CursorResources.h"
#include "framework/runtime/ProgramFile.h"
#include "framework/controls/Screen.h"

#include <QBitmap>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Restores the application's title when it goes.
class TTitleScope {
public:
    explicit TTitleScope(const std::string& title) : saved_(Application->Title()) { Application->SetTitle(title); }
    ~TTitleScope() { Application->SetTitle(saved_); }

private:
    std::string saved_;
};

constexpr TColor White = 0xFFFFFF;

// The colour each of the 64 pattern pixels must have.
void ExpectCheckerboard(const TBitmap* bitmap, TColor color)
{
    ASSERT_EQ(bitmap->Width(), 8);
    ASSERT_EQ(bitmap->Height(), 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool exactlyOneOdd = (x % 2) != (y % 2);
            EXPECT_EQ(bitmap->Pixels(x, y), exactlyOneOdd ? color : White) << "at (" << x << ", " << y << ")";
        }
}

TEST(PatternBitmap, ColourWhereExactlyOneCoordinateIsOddWhiteElsewhere)
{
    TFxApplication services;
    const TColor a = RGB(0x12, 0x34, 0x56);
    const TColor b = RGB(0xC0, 0x00, 0x80);
    TBitmap* first = services.GetPatternBitmap(a);
    ExpectCheckerboard(first, a);
    TBitmap* second = services.GetPatternBitmap(b);
    EXPECT_EQ(second, first) << "one bitmap, redrawn";
    ExpectCheckerboard(second, b);
    // System colours are drawn as what they stand for.
    ExpectCheckerboard(services.GetPatternBitmap(clBtnShadow), RGB(0x80, 0x80, 0x80));
}

TEST(PatternBitmap, TheSameColourReturnsTheBitmapWithoutRedrawing)
{
    TFxApplication services;
    TBitmap* bitmap = services.GetPatternBitmap(clRed);
    bitmap->Canvas()->SetPixels(1, 0, clLime); // a mark only a redraw would undo
    EXPECT_EQ(services.GetPatternBitmap(clRed), bitmap);
    EXPECT_EQ(bitmap->Pixels(1, 0), clLime);
}

TEST(PatternBitmap, NoColourStandsForNothingCachedYet)
{
    TFxApplication services;
    EXPECT_NE(services.GetPatternBitmap(0xFFFFFFFF), nullptr);
}

struct TRegPathCase {
    const char* Title;
    const char* Prefix;
    const char* Suffix;
    const char* Expected; // nullptr: "Software\" + program path + "\"
};

const TRegPathCase RegPathCases[] = {
    {"Dates Converter", "", "", "Software\\Dates Converter\\"},
    {"Dates Converter", "Acme", "Settings", "Software\\Acme\\Dates Converter\\Settings\\"},
    {"Dates Converter", "Acme\\", "  ", "Software\\Acme\\Dates Converter\\"},
    {"Tools\\", "", "", "Software\\Tools\\"},
    {"", "", "", nullptr},
    {"   ", "", "", nullptr},
};

TEST(DefaultRegPath, TitleOrProgramPathBetweenTheOptionalParts)
{
    for (const TRegPathCase& row : RegPathCases) {
        SCOPED_TRACE(std::string("title '") + row.Title + "', prefix '" + row.Prefix + "', suffix '" + row.Suffix +
                     "'");
        TTitleScope title(row.Title);
        TFxApplication services;
        services.RegPrefix = row.Prefix;
        services.RegSuffix = row.Suffix;
        const std::string expected =
            row.Expected != nullptr ? std::string(row.Expected) : "Software\\" + ProgramFilePath() + "\\";
        EXPECT_EQ(services.DefaultRegPath(), expected);
    }
}

TEST(DefaultRegPath, BlankAndBackslashHelpers)
{
    struct {
        const char* Text;
        bool Blank;
        const char* WithBackslash;
    } const rows[] = {
        {"", true, "\\"},       {"   ", true, "   \\"}, {"a", false, "a\\"},
        {"a\\", false, "a\\"},  {" \\", false, " \\"},  {"\t", false, "\t\\"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("'") + row.Text + "'");
        EXPECT_EQ(IsBlank(row.Text), row.Blank);
        EXPECT_EQ(WithBackslash(row.Text), row.WithBackslash);
    }
}

TEST(ServicesObject, InitialValuesAndAnIdlePool)
{
    TFxApplication services;
    EXPECT_EQ(services.EffectDelay, 3);
    EXPECT_EQ(services.PaintOptions, 0x36);
    EXPECT_EQ(services.PaintOptions & poPaletteAboveEightBits, 0);
    EXPECT_TRUE(services.RegPrefix.empty());
    EXPECT_TRUE(services.RegSuffix.empty());
    ASSERT_NE(services.TimerPool(), nullptr);
    EXPECT_EQ(services.TimerPool()->MinInterval(), 50);
    EXPECT_FALSE(services.TimerPool()->Active());
    EXPECT_EQ(services.TimerPool()->ItemCount(), 0);
    EXPECT_EQ(services.TimerPool()->UtilityWindow(), nullptr) << "a pool nobody uses makes no window";
}

TEST(ServicesObject, LogFileNameIsDerivedAndNeverWritten)
{
    TFxApplication services;
    const std::string program = ProgramFilePath();
    const std::string expected = program.substr(0, program.rfind('/') + 1) + "services_tests.LOG";
    EXPECT_EQ(services.LogFileName(), expected);
    EXPECT_FALSE(std::filesystem::exists(services.LogFileName()));
}

TEST(ServicesObject, RegistersTheHandCursor)
{
    Screen->SetCursors(crFxHand, QCursor(Qt::ArrowCursor));
    TFxApplication services;
    const QCursor hand = Screen->Cursors(crFxHand);
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.hotSpot(), QPoint(0, 0));
    const QImage picture = hand.bitmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage mask = hand.mask().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(32, 32));
    ASSERT_EQ(mask.size(), QSize(32, 32));

    // Every pixel is what the resource's rows draw: black, white or transparent.
    const TCursorResource* resource = FindCursorResource(FxHandCursorResource);
    ASSERT_NE(resource, nullptr);
    const QRgb black = qRgb(0, 0, 0);
    int blackPixels = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::string_view row = resource->Rows[static_cast<std::size_t>(y)];
            const char c = static_cast<std::size_t>(x) < row.size() ? row[static_cast<std::size_t>(x)] : ' ';
            const bool inPicture = picture.pixel(x, y) == black;
            const bool inMask = mask.pixel(x, y) == black;
            EXPECT_EQ(inPicture, c == '#') << "picture at (" << x << ", " << y << ")";
            EXPECT_EQ(inMask, c != ' ') << "mask at (" << x << ", " << y << ")";
            blackPixels += c == '#';
        }
    EXPECT_GT(blackPixels, 60);
}

TEST(ServicesModule, StartsOnceAndFinishesWithTheLastUser)
{
    ASSERT_EQ(ApplicationServices, nullptr);
    StartServicesModule();
    TFxApplication* services = ApplicationServices;
    ASSERT_NE(services, nullptr);
    {
        TServicesModule nested;
        EXPECT_EQ(ApplicationServices, services);
    }
    EXPECT_EQ(ApplicationServices, services);
    FinishServicesModule();
    EXPECT_EQ(ApplicationServices, nullptr);
    FinishServicesModule(); // one finish too many changes nothing
    EXPECT_EQ(ApplicationServices, nullptr);
}

} // namespace
