// The 30-year tabular calendars, our own arithmetic, against ICU's islamic-civil
// and islamic-tbla and Qt's Islamic civil calendar, day by day over 1 to 1500 AH.
#include "IcuIslamicCalendar.h"

#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/TabularCalendar.h"

#include <QCalendar>
#include <QDate>

#include <gtest/gtest.h>

namespace {

struct Example {
    std::int32_t Year, Month;          // Hijri
    std::int32_t CivilYear, CivilMonth, CivilDay, WeekDay;  // its first day
};

TEST(TabularCalendar, EpochsAndWorkedExamples)
{
    const Example civil[] = {
        {1, 1, 622, 7, 16, 5},      // the Friday epoch, a Julian-calendar date
        {1, 2, 622, 8, 15, 0},      // Muharram has 30 days
        {2, 1, 623, 7, 5, 2},       // year 1 is common: 354 days
        {1447, 1, 2025, 6, 27, 5},
        {1447, 9, 2026, 2, 18, 3},
        {-1, 1, 621, 7, 27, 1},     // the year before 1 (cycle year 30, common)
    };
    TabularCalendar calendar("civil", FridayEpoch);
    CalendarConverter converter(calendar);
    for (const Example& e : civil) {
        const std::int64_t first = converter.ToCivilDay(e.Year, e.Month, 1);
        const CivilDate date = CivilDateOf(first);
        EXPECT_EQ(date.Year, e.CivilYear) << e.Year << "-" << e.Month;
        EXPECT_EQ(date.Month, e.CivilMonth) << e.Year << "-" << e.Month;
        EXPECT_EQ(date.Day, e.CivilDay) << e.Year << "-" << e.Month;
        EXPECT_EQ(date.WeekDay, e.WeekDay) << e.Year << "-" << e.Month;
    }
    // The Thursday epoch opens every month one day earlier.
    TabularCalendar tbla("tbla", ThursdayEpoch);
    CalendarConverter thursday(tbla);
    for (const Example& e : civil)
        EXPECT_EQ(thursday.ToCivilDay(e.Year, e.Month, 1) + 1, converter.ToCivilDay(e.Year, e.Month, 1));
}

TEST(TabularCalendar, LeapYearsOfTheCycle)
{
    for (std::int32_t year = 1; year <= 30; ++year) {
        const bool leap = std::find(TabularLeapYears.begin(), TabularLeapYears.end(), year) !=
                          TabularLeapYears.end();
        EXPECT_EQ(TabularCalendar::IsLeapYear(year), leap) << year;
        EXPECT_EQ(TabularCalendar::IsLeapYear(year + 1440), leap) << year + 1440;
        EXPECT_EQ(TabularCalendar::CycleYear(year - 30 * 40 - 1), year);  // no year zero between
    }
    // Without a year zero, -1 is the cycle's 30th year and -2 its 29th, a leap year.
    EXPECT_EQ(TabularCalendar::CycleYear(-1), 30);
    EXPECT_TRUE(TabularCalendar::IsLeapYear(-2));

    TabularCalendar calendar("civil", FridayEpoch);
    CalendarConverter converter(calendar);
    for (std::int32_t year : {-3000, -2, -1, 1, 2, 1446, 1447, 9999}) {
        const std::int64_t yearDays = converter.ToCivilDay(year == -1 ? 1 : year + 1, 1, 1) -
                                      converter.ToCivilDay(year, 1, 1);
        EXPECT_EQ(yearDays, TabularCalendar::IsLeapYear(year) ? 355 : 354) << year;
        const std::int32_t monthIndex = static_cast<std::int32_t>(MonthIndexOf(year, 12));
        EXPECT_EQ(converter.MonthLength(monthIndex), TabularCalendar::IsLeapYear(year) ? 30 : 29);
        for (std::int32_t month = 1; month < 12; ++month)
            EXPECT_EQ(converter.MonthLength(static_cast<std::int32_t>(MonthIndexOf(year, month))),
                      month % 2 == 1 ? 30 : 29);
    }
}

struct IcuSweep {
    const char* Name;
    TabularEpoch Epoch;
    const char* IcuType;
};

void PrintTo(const IcuSweep& sweep, std::ostream* out)
{
    *out << sweep.Name << " against ICU's " << sweep.IcuType;
}

class TabularAgainstIcu : public testing::TestWithParam<IcuSweep> {};

TEST_P(TabularAgainstIcu, EveryDayOf1To1500AH)
{
    TabularCalendar calendar(GetParam().Name, GetParam().Epoch);
    CalendarConverter converter(calendar);
    IcuIslamicCalendar icu(GetParam().IcuType);
    const std::int64_t first = converter.ToCivilDay(1, 1, 1);
    const std::int64_t end = converter.ToCivilDay(1501, 1, 1);
    ASSERT_EQ(first, icu.FirstDay(1, 1));
    ASSERT_EQ(end, icu.FirstDay(1501, 1));
    int wrong = 0;
    for (std::int64_t day = first; day < end && wrong < 5; ++day) {
        const HijriDay ours = converter.ToHijri(day);
        const IcuIslamicCalendar::Date theirs = icu.DateOf(day);
        const bool same = ours.Year == theirs.Year && ours.Month == theirs.Month && ours.Day == theirs.Day;
        wrong += !same;
        EXPECT_TRUE(same) << "day " << day << ": " << ours.Year << "-" << ours.Month << "-" << ours.Day
                          << ", ICU " << theirs.Year << "-" << theirs.Month << "-" << theirs.Day;
        EXPECT_EQ(converter.ToCivilDay(ours.Year, ours.Month, ours.Day), day);
    }
}

INSTANTIATE_TEST_SUITE_P(Epochs, TabularAgainstIcu,
                         testing::Values(IcuSweep{"civil", FridayEpoch, "islamic-civil"},
                                         IcuSweep{"tbla", ThursdayEpoch, "islamic-tbla"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(TabularCalendar, CivilEqualsQtsIslamicCivilCalendarOn1To1500AH)
{
    const QCalendar qt(QCalendar::System::IslamicCivil);
    ASSERT_TRUE(qt.isValid());
    TabularCalendar calendar("civil", FridayEpoch);
    CalendarConverter converter(calendar);
    const std::int64_t first = converter.ToCivilDay(1, 1, 1);
    const std::int64_t end = converter.ToCivilDay(1501, 1, 1);
    int wrong = 0;
    for (std::int64_t day = first; day < end && wrong < 5; ++day) {
        const HijriDay ours = converter.ToHijri(day);
        const QCalendar::YearMonthDay theirs = qt.partsFromDate(QDate::fromJulianDay(day));
        const bool same = ours.Year == theirs.year && ours.Month == theirs.month && ours.Day == theirs.day;
        wrong += !same;
        EXPECT_TRUE(same) << "day " << day << ": Qt " << theirs.year << "-" << theirs.month << "-"
                          << theirs.day;
    }
    // Qt counts without a year zero as we do.
    EXPECT_EQ(qt.dateFromParts(-1, 1, 1).toJulianDay(), converter.ToCivilDay(-1, 1, 1));
}

TEST(TabularCalendar, CoversEveryCivilDayTheEngineDoes)
{
    TabularCalendar calendar("civil", FridayEpoch);
    CalendarConverter converter(calendar);
    for (const std::int64_t day : {FirstCivilDay, FirstCivilDay + 1, LastCivilDay - 1, LastCivilDay}) {
        const HijriDay hijri = converter.ToHijri(day);
        EXPECT_EQ(converter.ToCivilDay(hijri.Year, hijri.Month, hijri.Day), day);
    }
    HijriDay outside;
    EXPECT_FALSE(converter.TryToHijri(FirstCivilDay - 1, outside));
    EXPECT_FALSE(converter.TryToHijri(LastCivilDay + 1, outside));
}

} // namespace
