// dates-convert crescent: the place argument, the evenings it reports, and how
// far the engine's mean-phase new moons lie from the true conjunctions.
#include "astronomy/Conjunction.h"
#include "calendar/conver2.h"
#include "tools/CommandLine.h"
#include "tools/CrescentCommand.h"
#include "tools/TextWidth.h"

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
        {"10,-180.5", "Longitude -180.5 is beyond"},
        {"10,20,10000", "Elevation 10000 m is beyond"},
        {"10,20,-501", "Elevation -501 m is beyond"},
        {"10,x", "'x' in '10,x' is not a number"},
        {"10,1.2.3", "'1.2.3' in '10,1.2.3' is not a number"},  // a number, then more
        {"10,20-5", "'20-5' in '10,20-5' is not a number"},
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

TEST(CrescentReport, TheTextKeepsItsColumnsAndNamesADayOtherThanTheEvenings)
{
    CrescentReport report = DescribeCrescent(1447, 9, ParseCrescentPlace("Mecca"));
    // Cells with degree signs line up with those without: every row of a table
    // starts its last column at the same place on the terminal.
    const std::string text = FormatCrescentReport(report, OutputForm::ofText);
    for (const char* table : {"At sunset\n", "At the best time (sunset + 4/9 of the lag)\n"}) {
        const std::size_t begin = text.find(table) + std::string(table).size();
        const std::string rows = text.substr(begin, text.find("\n\n", begin) - begin);
        std::size_t lines = 0, lastColumn = 0;
        for (std::size_t at = 0; at < rows.size(); ++lines) {
            const std::size_t end = std::min(rows.find('\n', at), rows.size());
            const std::string line = rows.substr(at, end - at);
            const std::size_t column = DisplayWidth(line.substr(0, line.find_last_of(' ') + 1));
            if (lines == 0)
                lastColumn = column;
            EXPECT_EQ(column, lastColumn) << line;
            at = end + 1;
        }
        EXPECT_EQ(lines, 4u) << rows;
    }
    // A moonset on the day before the evening's date, or after it, says so.
    astronomy::EveningReport& evening = report.Evenings[1];
    const std::pair<double, const char*> moonsets[] = {
        {-2.0 / 24, "22:00:00 -1d"}, {0.5, "12:00:00  "}, {1 + 1.0 / 24, "01:00:00 +1d"}};
    for (const auto& [offset, clock] : moonsets) {
        evening.Moonset = evening.DateMidnightUT + offset;
        EXPECT_NE(FormatCrescentReport(report, OutputForm::ofText).find(clock), std::string::npos) << clock;
    }
}

TEST(CrescentReport, JsonNumbersCarryTheirPrecision)
{
    const CrescentReport report = DescribeCrescent(1447, 9, ParseCrescentPlace("Mecca"));
    const auto json = nlohmann::json::parse(FormatCrescentReport(report, OutputForm::ofJson));
    const std::pair<const char*, int> decimals[] = {
        {"lag_minutes", 1}, {"moon_age_hours", 2}, {"moon_altitude", 4}, {"elongation", 4}, {"arcl", 4},
        {"arcv", 4},        {"daz", 4},            {"width_arcmin", 4},  {"yallop_q", 4},  {"odeh_v", 3}};
    for (const auto& evening : json["evenings"])
        for (const auto& [key, places] : decimals) {
            const double scaled = evening[key].get<double>() * std::pow(10.0, places);
            EXPECT_NEAR(scaled, std::round(scaled), 1e-6) << key << " " << evening[key];
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
