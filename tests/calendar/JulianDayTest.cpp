// Civil dates and Julian days: the worked examples, the calendar switch of 1582,
// days before the epoch, and the limits of the engine's range.
#include "calendar/conver2.h"
#include "framework/runtime/sysutils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct CivilDay {
    int Year, Month, Day;
    double JulianDay;
};

// Dates around the year 0, the epoch, the 1582 switch and the Gregorian leap rule.
const CivilDay JulianDays[] = {
    {2000, 1, 1, 2451544.5},
    {1582, 10, 15, 2299160.5},  // the first Gregorian date ...
    {1582, 10, 4, 2299159.5},   // ... follows directly on the last Julian one
    {1582, 10, 14, 2299169.5},  // a day that does not exist, read as Julian
    {1582, 10, 24, 2299169.5},
    {1, 1, 1, 1721423.5},
    {-1, 12, 31, 1721422.5},
    {0, 12, 31, 1721422.5},  // year 0 is taken as -1
    {-4713, 1, 1, -0.5},
    {2001, 2, 31, 2451971.5},  // counts on into March
    {1900, 3, 1, 2415079.5},
    {1900, 2, 28, 2415078.5},
    {2300, 3, 1, 2561176.5},
};

TEST(DateToJulianDay, GivesTheMidnightStartingTheDate)
{
    for (const CivilDay& c : JulianDays)
        EXPECT_EQ(DateToJulianDay(c.Year, c.Month, c.Day, 0), c.JulianDay)
            << c.Year << "-" << c.Month << "-" << c.Day;
}

TEST(DateToJulianDay, AddsTheDayFraction)
{
    EXPECT_EQ(DateToJulianDay(2000, 1, 1, 0.75), 2451545.25);
}

struct DateOfJulianDay {
    double JulianDay;
    int Year, Month, Day, WeekDay;
    double DayFraction;
};

const DateOfJulianDay Dates[] = {
    {2451544.5, 2000, 1, 1, 6, 0},
    {2451545.25, 2000, 1, 1, 6, 0.75},
    {2299160.5, 1582, 10, 15, 5, 0},
    {2299159.5, 1582, 10, 4, 4, 0},
    {1721422.5, -1, 12, 31, 5, 0},
    {0.0, -4713, 1, 1, 1, 0.5},
    {2415079.5, 1900, 3, 1, 4, 0},  // century quotient exactly 15: 1900 is no leap year
    {2415078.5, 1900, 2, 28, 3, 0},
    {2561176.5, 2300, 3, 1, 4, 0},
    {2451971.5, 2001, 3, 3, 6, 0},
    // Before the epoch the Julian calendar runs on backwards.
    {-1.5, -4714, 12, 31, 0, 0},
    {-1.25, -4714, 12, 31, 0, 0.25},
    {-1402.5, -4717, 2, 29, 6, 0},  // astronomical -4716 is a leap year
    {-1401.5, -4717, 3, 1, 0, 0},
    {-1462.5, -4718, 12, 31, 2, 0},
};

TEST(JulianDayToDate, GivesDateWeekdayAndFraction)
{
    for (const DateOfJulianDay& c : Dates) {
        CalendarDate date;
        date.NewMoon = 123.25;
        JulianDayToDate(date, c.JulianDay);
        EXPECT_EQ(date.Year, c.Year) << c.JulianDay;
        EXPECT_EQ(date.Month, c.Month) << c.JulianDay;
        EXPECT_EQ(date.Day, c.Day) << c.JulianDay;
        EXPECT_EQ(date.WeekDay, c.WeekDay) << c.JulianDay;
        EXPECT_EQ(date.DayFraction, c.DayFraction) << c.JulianDay;
        EXPECT_EQ(date.NewMoon, 123.25) << "left as it was";
    }
}

TEST(JulianDays, RoundTripToTheEndsOfTheRange)
{
    const CivilDay ends[] = {
        {MinYear, 1, 1, MinJulianDay},
        {MaxYear, 12, 31, MaxJulianDay - 1},
        {-999'997, 2, 29, DateToJulianDay(-999'997, 3, 1) - 1},  // astronomical -999996: leap
    };
    for (const CivilDay& c : ends) {
        EXPECT_EQ(DateToJulianDay(c.Year, c.Month, c.Day), c.JulianDay);
        CalendarDate date;
        JulianDayToDate(date, c.JulianDay);
        EXPECT_EQ(date.Year, c.Year);
        EXPECT_EQ(date.Month, c.Month);
        EXPECT_EQ(date.Day, c.Day);
    }
}

struct RejectedCivilDate {
    int Year, Month, Day;
    double DayFraction;
};

const RejectedCivilDate RejectedCivilDates[] = {
    {MinYear - 1, 12, 31, 0},
    {MaxYear + 1, 1, 1, 0},
    {std::numeric_limits<std::int32_t>::max(), 1, 1, 0},
    {std::numeric_limits<std::int32_t>::min(), 1, 1, 0},
    {2000, 0, 1, 0},
    {2000, 13, 1, 0},
    {2000, 1, 0, 0},
    {2000, 1, -5, 0},
    {MaxYear, 12, 32, 0},  // counts on past the last day
    {2000, 1, std::numeric_limits<std::int32_t>::max(), 0},
    {2000, 1, 1, 1.0},
    {2000, 1, 1, -0.25},
    {2000, 1, 1, std::numeric_limits<double>::quiet_NaN()},
};

TEST(DateToJulianDay, RejectsDatesOutsideTheRangeNamingThem)
{
    for (const RejectedCivilDate& c : RejectedCivilDates) {
        try {
            DateToJulianDay(c.Year, c.Month, c.Day, c.DayFraction);
            ADD_FAILURE() << "accepted " << c.Year << "-" << c.Month << "-" << c.Day;
        } catch (const ERangeError& e) {
            const std::string named = "year " + IntToStr(c.Year) + ", month " +
                                      IntToStr(c.Month) + ", day " + IntToStr(c.Day);
            EXPECT_NE(e.Message().find(named), std::string::npos) << e.Message();
        }
    }
}

TEST(JulianDayToDate, RejectsDaysOutsideTheRange)
{
    const double rejected[] = {MinJulianDay - 0.001, MaxJulianDay, -1e300, 1e300,
                               std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()};
    for (double jd : rejected) {
        CalendarDate date;
        EXPECT_THROW(JulianDayToDate(date, jd), ERangeError) << jd;
    }
}

} // namespace
