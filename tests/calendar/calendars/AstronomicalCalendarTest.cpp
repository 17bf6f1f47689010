// `astronomical` is the engine, day for day, through the generic conversions.
#include "calendar/calendars/AstronomicalCalendar.h"
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/conver2.h"

#include <gtest/gtest.h>

namespace {

TEST(AstronomicalCalendar, ReasonsNameTheNewMoonAndTheBranch)
{
    AstronomicalCalendar calendar;
    // Ramadan 1447: new moon 17 February 2026, 12:00 UT.
    const MonthReason late = calendar.Reason(static_cast<std::int32_t>(MonthIndexOf(1447, 9)));
    EXPECT_EQ(late.Source, MonthSource::msRule);
    EXPECT_EQ(late.Text, "new moon 2026-02-17 12:00 UT, outside 00:00 to 03:00 UT: the month "
                         "opens on the day after next");
    // Ramadan 1442: 12 April 2021, 02:30 UT.
    const MonthReason early = calendar.Reason(1500);
    EXPECT_EQ(early.Text, "new moon 2021-04-12 02:30 UT, from 00:00 to 03:00 UT: the month "
                          "opens on the next day");
    ASSERT_EQ(early.Facts.size(), 3u);
    EXPECT_EQ(early.Facts[1].Name, "new_moon");
    double newMoon;
    MonthStartInstant(1500, newMoon);
    EXPECT_EQ(std::get<UtInstant>(early.Facts[1].Value).JulianDay, newMoon);
    EXPECT_EQ(std::get<std::string>(early.Facts[2].Value), "next-day");
}

void ExpectEngineAgrees(CalendarConverter& converter, std::int64_t day)
{
    const CivilDate civil = CivilDateOf(day);
    CalendarDate engine;
    GregorianToHijriDate(civil.Year, civil.Month, civil.Day, engine);
    const HijriDay ours = converter.ToHijri(day);
    ASSERT_EQ(ours.Year, engine.Year) << civil.Year << "-" << civil.Month << "-" << civil.Day;
    ASSERT_EQ(ours.Month, engine.Month) << civil.Year << "-" << civil.Month << "-" << civil.Day;
    ASSERT_EQ(ours.Day, engine.Day) << civil.Year << "-" << civil.Month << "-" << civil.Day;
    CalendarDate back;
    HijriToGregorianDate(ours.Year, ours.Month, ours.Day, back);
    ASSERT_EQ(converter.ToCivilDay(ours.Year, ours.Month, ours.Day),
              CivilDayNumber(back.Year, back.Month, back.Day));
}

TEST(AstronomicalCalendar, EqualsTheEngineOnEveryDayOfCivilYears1To3000)
{
    AstronomicalCalendar calendar;
    CalendarConverter converter(calendar);
    const std::int64_t end = CivilDayNumber(3000, 12, 31);
    for (std::int64_t day = CivilDayNumber(1, 1, 1); day <= end; ++day) {
        ExpectEngineAgrees(converter, day);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

TEST(AstronomicalCalendar, EqualsTheEngineAcrossItsWholeRange)
{
    AstronomicalCalendar calendar;
    CalendarConverter converter(calendar);
    // Every 9973rd day, and the very ends, where months last far from 29 or 30 days.
    for (std::int64_t day = FirstCivilDay; day <= LastCivilDay; day += 9973) {
        ExpectEngineAgrees(converter, day);
        if (testing::Test::HasFatalFailure())
            return;
    }
    for (const std::int64_t day : {FirstCivilDay, FirstCivilDay + 40, LastCivilDay - 40, LastCivilDay})
        ExpectEngineAgrees(converter, day);
}

TEST(AstronomicalCalendar, RefusesWhatTheEngineRefusesInItsWords)
{
    AstronomicalCalendar calendar;
    CalendarConverter converter(calendar);
    // The month that holds 1 January -1000000 opens before it.
    try {
        converter.ToCivilDay(-1031728, 12, 1);
        ADD_FAILURE();
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), "The Hijri date year -1031728, month 12, day 1 lies outside the "
                               "civil years -1000000 to 1000000 that the calendar engine covers");
    }
    EXPECT_THROW(converter.ToCivilDay(1030551, 1, 1), ERangeError);
    EXPECT_NO_THROW(converter.ToCivilDay(-1031727, 1, 1));
}

} // namespace
