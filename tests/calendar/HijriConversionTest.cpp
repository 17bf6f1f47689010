// The window's entry points: worked examples both ways, the shared result
// record, negative years and the limits of the range.
#include "calendar/conver2.h"
#include "framework/runtime/sysutils.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Conversion {
    int Day, Month, Year;            // in
    int ToDay, ToMonth, ToYear, WeekDay;  // out
};

const Conversion CivilToHijri[] = {
    {1, 1, 2000, 24, 9, 1420, 6},
    {27, 9, 1984, 1, 1, 1405, 4},   // lunation 1048 opens the year 1405
    {26, 9, 1984, 30, 12, 1404, 3},
    {16, 7, 622, 1, 1, 1, 5},       // a Julian-calendar date
    {15, 7, 622, 30, 12, -1, 4},
    {31, 12, 0, 16, 5, -641, 5},    // civil year 0 is -1
    {1, 1, 1, 17, 5, -641, 6},
    {31, 2, 2001, 7, 12, 1421, 6},  // the same day as 3 March 2001
    {3, 3, 2001, 7, 12, 1421, 6},
    // Negative years convert to the month that holds the day.
    {31, 12, -1, 16, 5, -641, 5},
    {1, 1, -1, 5, 5, -642, 4},
    {15, 3, -500, 23, 3, -1156, 0},
};

const Conversion HijriToCivil[] = {
    {1, 1, 1405, 27, 9, 1984, 4},
    {1, 9, 1420, 9, 12, 1999, 4},
    {1, 1, 1, 16, 7, 622, 5},
    {1, 1, 0, 26, 7, 621, 0},     // Hijri year 0 is -1
    {1, 1, -1, 26, 7, 621, 0},
    {29, 8, 1420, 8, 12, 1999, 3},  // the month has 29 days ...
    {30, 8, 1420, 9, 12, 1999, 4},  // ... so day 30 is day 1 of the next
    {1, 13, 1420, 6, 4, 2000, 4},   // month 13 is Muharram of the next year
    {1, 1, 1421, 6, 4, 2000, 4},
    {23, 3, -1156, 15, 3, -500, 0},
};

TEST(GregorianToHijri, ConvertsTheWorkedExamples)
{
    for (const Conversion& c : CivilToHijri) {
        int day = 0, month = 0, year = 0, weekDay = -1;
        GregorianToHijri(c.Day, c.Month, c.Year, day, month, year, weekDay);
        EXPECT_EQ(day, c.ToDay) << c.Day << "." << c.Month << "." << c.Year;
        EXPECT_EQ(month, c.ToMonth) << c.Day << "." << c.Month << "." << c.Year;
        EXPECT_EQ(year, c.ToYear) << c.Day << "." << c.Month << "." << c.Year;
        EXPECT_EQ(weekDay, c.WeekDay) << c.Day << "." << c.Month << "." << c.Year;
        EXPECT_EQ(EngineResult.DayFraction, 0.5);
    }
}

TEST(HijriToGregorian, ConvertsTheWorkedExamples)
{
    for (const Conversion& c : HijriToCivil) {
        int day = 0, month = 0, year = 0, weekDay = -1;
        HijriToGregorian(c.Day, c.Month, c.Year, day, month, year, weekDay);
        EXPECT_EQ(day, c.ToDay) << c.Day << "." << c.Month << "." << c.Year;
        EXPECT_EQ(month, c.ToMonth) << c.Day << "." << c.Month << "." << c.Year;
        EXPECT_EQ(year, c.ToYear) << c.Day << "." << c.Month << "." << c.Year;
        EXPECT_EQ(weekDay, c.WeekDay) << c.Day << "." << c.Month << "." << c.Year;
    }
}

TEST(EngineResult, KeepsTheNewMoonOfTheLastHijriConversion)
{
    int day, month, year, weekDay;
    HijriToGregorian(1, 1, 1405, day, month, year, weekDay);
    EXPECT_NEAR(EngineResult.NewMoon, 2445968.632130, 5e-7);
    GregorianToHijri(1, 1, 2000, day, month, year, weekDay);
    EXPECT_NEAR(EngineResult.NewMoon, 2445968.632130, 5e-7);
}

TEST(EngineResult, IsUntouchedByARejectedDate)
{
    int day = 1, month = 2, year = 3, weekDay = 4;
    GregorianToHijri(1, 1, 2000, day, month, year, weekDay);
    const CalendarDate before = EngineResult;
    EXPECT_THROW(GregorianToHijri(1, 1, MaxYear + 1, day, month, year, weekDay), ERangeError);
    EXPECT_THROW(HijriToGregorian(1, 1, std::numeric_limits<int>::max(), day, month, year, weekDay),
                 ERangeError);
    EXPECT_EQ(EngineResult.Year, before.Year);
    EXPECT_EQ(EngineResult.Day, before.Day);
    EXPECT_EQ(day, 24);
    EXPECT_EQ(year, 1420);
}

struct RejectedHijriDate {
    int Year, Month, Day;
};

TEST(HijriToGregorianDate, RejectsDatesOutsideTheRangeNamingThem)
{
    const RejectedHijriDate rejected[] = {
        {1'100'000, 1, 1},
        {-1'100'000, 1, 1},
        {std::numeric_limits<int>::min(), 1, 1},
        {1420, std::numeric_limits<int>::max(), 1},
        {1420, std::numeric_limits<int>::min(), 1},
        {1420, 9, 0},
        {1420, 9, std::numeric_limits<int>::max()},
        {1030550, 1, 32},  // a day after 31 December 1000000
    };
    for (const RejectedHijriDate& c : rejected) {
        CalendarDate date;
        try {
            HijriToGregorianDate(c.Year, c.Month, c.Day, date);
            ADD_FAILURE() << "accepted " << c.Year << "-" << c.Month << "-" << c.Day;
        } catch (const ERangeError& e) {
            const std::string named = "year " + IntToStr(c.Year) + ", month " +
                                      IntToStr(c.Month) + ", day " + IntToStr(c.Day);
            EXPECT_NE(e.Message().find(named), std::string::npos) << e.Message();
        }
    }
}

} // namespace
