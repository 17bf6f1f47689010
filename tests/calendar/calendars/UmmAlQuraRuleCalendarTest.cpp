// `umalqura-rule`: day 29 at Mecca, the conjunction before sunset and the Moon
// setting after the Sun. Months decided by a minute or by seconds, checked
// against the full series; and the rule against the Umm al-Qura table.
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Conjunctions.h"
#include "calendar/calendars/UmmAlQuraCalendar.h"
#include "calendar/calendars/UmmAlQuraRuleCalendar.h"
#include "astronomy/Places.h"
#include "astronomy/RiseSet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct DayTwentyNine {
    std::int32_t Year, Month;
    const char* Evening;              // day 29 of the month before
    double ConjunctionBeforeSunset;   // minutes; negative: after
    double MoonsetAfterSunset;        // minutes; negative: before
    const char* FirstDay;
};

// Found by scanning 1400 to 1500 AH for a margin under a few minutes.
const DayTwentyNine Rows[] = {
    {1427, 6, "2006-06-25", 1.13, 6.26, "2006-06-26"},     // the table opens it a day later
    {1444, 11, "2023-05-19", 0.46, -2.73, "2023-05-21"},
    {1402, 2, "1981-11-26", -0.83, 5.62, "1981-11-28"},
    {1475, 11, "2053-06-16", 313.38, 0.05, "2053-06-17"},  // moonset 3 s after sunset
    {1408, 4, "1987-11-21", 484.79, 0.11, "1987-11-22"},
    {1418, 4, "1997-08-03", 464.89, -0.04, "1997-08-05"},  // 2 s before
    {1446, 6, "2024-12-01", 496.12, -0.06, "2024-12-03"},  // the table opens it a day earlier
};

TEST(UmmAlQuraRuleCalendar, Day29DecidedByMinutesOrSecondsAsTheFullSeriesSays)
{
    UmmAlQuraRuleCalendar calendar;
    const astronomy::FullSky sky;
    const astronomy::Place& mecca = astronomy::DefaultPlace().Where;
    for (const DayTwentyNine& row : Rows) {
        const auto k = static_cast<std::int32_t>(MonthIndexOf(row.Year, row.Month));
        SCOPED_TRACE(testing::Message() << row.Year << "-" << row.Month);
        const std::int64_t previous = calendar.Start(k - 1).FirstDay;
        ASSERT_EQ(DayText(previous + 28), row.Evening);
        const double sunset = astronomy::Sunset(sky, mecca, static_cast<double>(previous + 28) - 0.5).Instant;
        const double conjunction = ConjunctionOf(k);
        const double moonset = astronomy::MoonsetNearest(sky, mecca, sunset).Instant;
        EXPECT_NEAR((sunset - conjunction) * 1440, row.ConjunctionBeforeSunset, 0.01);
        EXPECT_NEAR((moonset - sunset) * 1440, row.MoonsetAfterSunset, 0.01);
        const std::int64_t first = calendar.Start(k).FirstDay;
        EXPECT_EQ(DayText(first), row.FirstDay);
        EXPECT_EQ(first - previous == 29, row.ConjunctionBeforeSunset > 0 && row.MoonsetAfterSunset > 0);
        // An instant within a minute of the sunset it was compared with is given
        // to the second, so that the reason shows which came first.
        const std::string reason = calendar.Reason(k).Text;
        if (std::fabs(row.ConjunctionBeforeSunset) < 1) {
            EXPECT_THAT(reason, testing::ContainsRegex("conjunction [0-9]{2}:[0-9]{2}:[0-9]{2} UT"));
        }
        if (row.ConjunctionBeforeSunset > 0 && std::fabs(row.MoonsetAfterSunset) < 1) {
            EXPECT_THAT(reason, testing::ContainsRegex("moonset [0-9]{2}:[0-9]{2}:[0-9]{2} UT"));
        }
    }
}

TEST(UmmAlQuraRuleCalendar, ReasonNamesTheInstantsItCompared)
{
    UmmAlQuraRuleCalendar calendar;
    const MonthReason ramadan = calendar.Reason(static_cast<std::int32_t>(MonthIndexOf(1447, 9)));
    EXPECT_EQ(ramadan.Text, "day 29 (2026-02-17): conjunction 12:01 UT before sunset 15:19 UT at Mecca; "
                            "moonset 15:23 UT after it: the month opens on the next day");
    ASSERT_EQ(ramadan.Facts.size(), 6u);
    EXPECT_EQ(ramadan.Facts[0].Name, "evening");
    EXPECT_EQ(UtSecondText(std::get<UtInstant>(ramadan.Facts[1].Value).JulianDay), "12:01:07");
    EXPECT_EQ(ramadan.Facts[4].Name, "moonset");
    EXPECT_EQ(std::get<std::string>(ramadan.Facts[5].Value), "29-days");
    // Ramadan 1448: the conjunction comes after sunset on day 29.
    const MonthReason late = calendar.Reason(static_cast<std::int32_t>(MonthIndexOf(1448, 9)));
    EXPECT_EQ(late.Text, "day 29 (2027-02-06): conjunction 15:56 UT after sunset 15:13 UT at Mecca: "
                         "the month before has 30 days");
}

struct Stretch {
    std::int32_t FirstYear, LastYear;
    int AtLeast;  // months opened on the table's day
};

TEST(UmmAlQuraRuleCalendar, AgreesWithTheUmmAlQuraTableWhereItIsInForce)
{
    // From 1423 AH the table follows the rule: 334 of its 336 months (1427-06 by a
    // minute, 1446-06 by seconds). From 1451 it follows another computation.
    const Stretch stretches[] = {{1423, 1450, 334}, {1451, 1500, 380}};
    UmmAlQuraRuleCalendar rule;
    UmmAlQuraCalendar table;
    for (const Stretch& stretch : stretches) {
        int agree = 0;
        std::string differing;
        for (std::int32_t year = stretch.FirstYear; year <= stretch.LastYear; ++year)
            for (std::int32_t month = 1; month <= 12; ++month) {
                const auto k = static_cast<std::int32_t>(MonthIndexOf(year, month));
                const bool same = rule.Start(k).FirstDay == table.Start(k).FirstDay;
                agree += same;
                if (!same)
                    differing.append(" ").append(std::to_string(year)).append("-").append(std::to_string(month));
            }
        EXPECT_GE(agree, stretch.AtLeast) << stretch.FirstYear << "-" << stretch.LastYear << ":" << differing;
    }
}

} // namespace
