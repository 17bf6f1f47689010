// `fcna`: the conjunction before 12:00 UT opens the month on the next day, at or
// after it on the day after; months whose conjunction falls within minutes of
// the cut-off, either side.
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Conjunctions.h"
#include "calendar/calendars/FcnaCalendar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct NearNoon {
    std::int32_t Year, Month;
    const char* Conjunction;  // to the second, UT
    const char* FirstDay;
};

// Found by scanning 1350 to 1500 AH for conjunctions within 3 minutes of noon.
const NearNoon Rows[] = {
    {1408, 9, "1988-04-16 12:00:05", "1988-04-18"},  // 5 s after
    {1400, 7, "1980-05-14 12:00:17", "1980-05-16"},  // 17 s after
    {1447, 9, "2026-02-17 12:01:07", "2026-02-19"},
    {1405, 7, "1985-03-21 11:58:35", "1985-03-22"},  // 85 s before
    {1408, 1, "1987-08-24 11:58:27", "1987-08-25"},
    {1356, 8, "1937-10-04 11:57:49", "1937-10-05"},
};

TEST(FcnaCalendar, ConjunctionsJustBeforeAndJustAfterNoon)
{
    FcnaCalendar calendar;
    for (const NearNoon& row : Rows) {
        const auto k = static_cast<std::int32_t>(MonthIndexOf(row.Year, row.Month));
        SCOPED_TRACE(testing::Message() << row.Year << "-" << row.Month);
        EXPECT_EQ(UtSecondText(ConjunctionOf(k), true), row.Conjunction);
        EXPECT_EQ(DayText(calendar.Start(k).FirstDay), row.FirstDay);
        const bool before = std::string(row.Conjunction).substr(11) < "12:00:00";
        EXPECT_NE(calendar.Reason(k).Text.find(before ? "before 12:00 UT: the month opens on the next day"
                                                       : "at or after 12:00 UT: the month opens on the day after next"),
                  std::string::npos);
    }
}

TEST(FcnaCalendar, EveryMonthOpensByItsConjunctionsHour)
{
    // Against the full search for the conjunction, over the engine's shortcut.
    FcnaCalendar calendar;
    CalendarConverter converter(calendar);
    for (std::int32_t k = static_cast<std::int32_t>(MonthIndexOf(1300, 1)); k <= MonthIndexOf(1600, 12); k += 7) {
        const double conjunction = ConjunctionOf(k);
        const auto day = static_cast<std::int64_t>(std::floor(conjunction + 0.5));
        const bool beforeNoon = conjunction < static_cast<double>(day);
        ASSERT_EQ(converter.StartOf(k).FirstDay, day + (beforeNoon ? 1 : 2)) << k;
        const std::int32_t length = converter.MonthLength(k);
        ASSERT_TRUE(length == 29 || length == 30) << k;
    }
}

} // namespace
