// dates-convert crescent: the place argument, the evenings it reports, and how
// far the engine's mean-phase new moons lie from the true conjunctions.
#include "astronomy/Conjunction.h"
#include "calendar/conver2.h"
#include "tools/CommandLine.h"
#include "tools/CrescentCommand.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

TEST(CrescentPlace, NamesAndCoordinates)
{
    const CrescentPlace jakarta = ParseCrescentPlace("jakarta");
    EXPECT_EQ(jakarta.Name, "Jakarta");
    EXPECT_DOUBLE_EQ(jakarta.Where.Latitude, -6.2088);
    const CrescentPlace coordinates = ParseCrescentPlace("-33.9,18.42,25");
    EXPECT_FALSE(coordinates.Name);
    EXPECT_DOUBLE_EQ(coordinates.Where.Latitude, -33.9);
    EXPECT_DOUBLE_EQ(coordinates.Where.Longitude, 18.42);
    EXPECT_DOUBLE_EQ(coordinates.Where.Elevation, 25);
    EXPECT_DOUBLE_EQ(ParseCrescentPlace("90,-180").Where.Latitude, 90);
    EXPECT_DOUBLE_EQ(ParseCrescentPlace("21.5,39.2").Where.Elevation, 0);
}

TEST(CrescentPlace, RefusesWhatItCannotUse)
{
    struct Refusal {
        const char* Text;
        const char* Reason;
    };
    const Refusal refusals[] = {
        {"Atlantis", "Unknown place 'Atlantis'"},
        {"90.01,0", "Latitude 90.01 is beyond -90 to 90"},
        {"-91,0", "Latitude -91 is beyond"},
        {"10,180.5", "Longitude 180.5 is beyond"},
        {"10,20,10000", "Elevation 10000 m is beyond"},
        {"10,x", "'x' in '10,x' is not a number"},
        {"10,20,30,40", "Unknown place"},
        {"10,nan", "is not a number"},
        {"10,1e999", "is not a number"},
        {"", "Unknown place"},
    };
    for (const Refusal& r : refusals) {
        try {
            ParseCrescentPlace(r.Text);
            ADD_FAILURE() << "accepted '" << r.Text << "'";
        } catch (const EUsageError& e) {
            EXPECT_NE(e.Message().find(r.Reason), std::string::npos) << e.Message();
        }
    }
}

TEST(CrescentReport, EveningsStartOnTheConjunctionsLocalDate)
{
    // Ramadhan 1447: conjunction 2026-02-17 12:01 UT.
    const CrescentReport mecca = DescribeCrescent(1447, 9, ParseCrescentPlace("Mecca"));
    EXPECT_NEAR(mecca.Conjunction, 2461089.0 + 1.1 / 1440, 0.5 / 1440);
    // Shawwal 1447: conjunction 2026-03-19 01:23 UT, 08:30 of the 19th by
    // Jakarta's mean time but 20:27 of the 18th by New York's.
    const CrescentReport jakarta = DescribeCrescent(1447, 10, ParseCrescentPlace("Jakarta"));
    EXPECT_EQ(jakarta.Evenings[0].DateMidnightUT, DateToJulianDay(2026, 3, 19));
    EXPECT_EQ(jakarta.Evenings[2].DateMidnightUT, DateToJulianDay(2026, 3, 21));
    const CrescentReport newYork = DescribeCrescent(1447, 10, ParseCrescentPlace("New York"));
    EXPECT_EQ(newYork.Evenings[0].DateMidnightUT, DateToJulianDay(2026, 3, 18));
    // A sunset in polar night is reported as such, not as an error.
    const CrescentReport polar = DescribeCrescent(1447, 7, ParseCrescentPlace("85,0"));
    EXPECT_FALSE(polar.Evenings[0].Sunset.Happens());
    const auto json = nlohmann::json::parse(FormatCrescentReport(polar, OutputForm::ofJson));
    EXPECT_EQ(json["evenings"][0]["sun"], "polar-night");
    EXPECT_TRUE(json["evenings"][0]["sunset"].is_null());
    EXPECT_TRUE(json["evenings"][0]["yallop"].is_null());
    EXPECT_NE(FormatCrescentReport(polar, OutputForm::ofText).find("no sunset (polar night)"), std::string::npos);
}

// The engine's new moons come from the mean-phase series with a few periodic
// terms; the true conjunctions differ by minutes. The spread over 2025-2027 and
// over 1900-2100 is printed; its bound is what that series promises.
TEST(CrescentReport, EngineNewMoonsLieWithinMinutesOfTheConjunctions)
{
    struct Span {
        std::int32_t FromLunation, ToLunation;
        const char* Name;
    };
    // Lunation 1048 is Muharram 1405 (1984 September); 12 a year.
    const Span spans[] = {{1541, 1578, "2025-2027"}, {1048 - 12 * 84, 1048 + 12 * 116, "1900-2100"}};
    for (const Span& span : spans) {
        double least = 1e9, most = -1e9, sum = 0;
        int count = 0;
        for (std::int32_t k = span.FromLunation; k <= span.ToLunation; ++k) {
            const double engine = tmoonphase(k, 0);
            const double minutes = (astronomy::ConjunctionNearest(engine) - engine) * 1440;
            least = std::min(least, minutes);
            most = std::max(most, minutes);
            sum += minutes;
            ++count;
        }
        std::printf("%s: conjunction - engine new moon from %+.1f to %+.1f min, mean %+.1f min (%d months)\n",
                    span.Name, least, most, sum / count, count);
        EXPECT_GT(least, -20) << span.Name;
        EXPECT_LT(most, 20) << span.Name;
    }
}

TEST(ParseCommandLine, ReadsTheCrescentPlace)
{
    Request r = ParseCommandLine({"crescent", "1447-09", "--at", "-33.9,18.4"});
    EXPECT_EQ(r.Command, CommandKind::ckCrescent);
    EXPECT_EQ(r.Argument, "1447-09");
    EXPECT_EQ(r.Place, "-33.9,18.4");
    EXPECT_EQ(ParseCommandLine({"--at=New York", "crescent", "1447-09"}).Place, "New York");
    EXPECT_EQ(ParseCommandLine({"crescent", "1447-09"}).Place, "");
    EXPECT_THROW(ParseCommandLine({"crescent", "1447-09", "--at"}), EUsageError);
    EXPECT_THROW(ParseCommandLine({"month", "1447-09", "--at", "Mecca"}), EUsageError);
    EXPECT_THROW(ParseCommandLine({"crescent"}), EUsageError);
}

} // namespace
