// The Umm al-Qura calendar is ICU's islamic-umalqura table for 1300 to 1600 AH,
// month by month, and nothing outside it.
#include "IcuIslamicCalendar.h"

#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/UmmAlQuraCalendar.h"

#include <gtest/gtest.h>

namespace {

TEST(UmmAlQuraCalendar, RamadanOf1447And1448)
{
    UmmAlQuraCalendar calendar;
    CalendarConverter converter(calendar);
    const CivilDate ramadan1447 = CivilDateOf(converter.ToCivilDay(1447, 9, 1));
    EXPECT_EQ(IsoDateText(ramadan1447.Year, ramadan1447.Month, ramadan1447.Day), "2026-02-18");
    const CivilDate ramadan1448 = CivilDateOf(converter.ToCivilDay(1448, 9, 1));
    EXPECT_EQ(IsoDateText(ramadan1448.Year, ramadan1448.Month, ramadan1448.Day), "2027-02-08");
    EXPECT_EQ(converter.ToHijri(converter.ToCivilDay(1447, 9, 1)).Source, MonthSource::msTable);
}

TEST(UmmAlQuraCalendar, EveryMonthOf1300To1600AHIsIcusTable)
{
    UmmAlQuraCalendar calendar;
    CalendarConverter converter(calendar);
    IcuIslamicCalendar icu("islamic-umalqura");
    int wrong = 0;
    for (std::int32_t year = FirstUmmAlQuraYear; year <= LastUmmAlQuraYear; ++year)
        for (std::int32_t month = 1; month <= 12 && wrong < 5; ++month) {
            const auto index = static_cast<std::int32_t>(MonthIndexOf(year, month));
            const std::int64_t first = converter.StartOf(index).FirstDay;
            const std::int32_t length = converter.MonthLength(index);
            const bool same = first == icu.FirstDay(year, month) && length == icu.MonthLength(year, month);
            wrong += !same;
            EXPECT_TRUE(same) << year << "-" << month << ": day " << first << ", " << length
                              << " days; ICU day " << icu.FirstDay(year, month) << ", "
                              << icu.MonthLength(year, month) << " days";
            EXPECT_TRUE(length == 29 || length == 30) << year << "-" << month;
            // The days inside the month come back to it.
            const HijriDay last = converter.ToHijri(first + length - 1);
            EXPECT_EQ(last.Year, year);
            EXPECT_EQ(last.Month, month);
            EXPECT_EQ(last.Day, length);
        }
}

TEST(UmmAlQuraCalendar, RefusesDatesOutsideTheTableNamingIt)
{
    UmmAlQuraCalendar calendar;
    CalendarConverter converter(calendar);
    const std::int64_t first = converter.ToCivilDay(1300, 1, 1);
    const std::int64_t end = converter.ToCivilDay(1600, 12, 1) + converter.MonthLength(
        static_cast<std::int32_t>(MonthIndexOf(1600, 12)));
    HijriDay day;
    EXPECT_FALSE(converter.TryToHijri(first - 1, day));
    EXPECT_TRUE(converter.TryToHijri(first, day));
    EXPECT_TRUE(converter.TryToHijri(end - 1, day));
    EXPECT_FALSE(converter.TryToHijri(end, day));
    std::int64_t civil;
    MonthSource source;
    EXPECT_FALSE(converter.TryToCivilDay(1299, 12, 1, civil, source));
    EXPECT_FALSE(converter.TryToCivilDay(1601, 1, 1, civil, source));
    try {
        converter.ToCivilDay(1200, 1, 1);
        ADD_FAILURE() << "1200 AH accepted";
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), "The Hijri date 1200-01-01 lies outside the Umm al-Qura table, which "
                               "covers the Hijri years 1300 to 1600 (1882-11-12 to 2174-11-25)");
    }
    EXPECT_THROW(converter.ToHijri(first - 1), ERangeError);
}

} // namespace
