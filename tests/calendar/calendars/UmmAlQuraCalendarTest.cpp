// The Umm al-Qura calendar is ICU's islamic-umalqura table for 1300 to 1600 AH,
// month by month, and the Umm al-Qura rule outside it, joined to the table's ends.
#include "IcuIslamicCalendar.h"

#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/UmmAlQuraCalendar.h"
#include "calendar/calendars/UmmAlQuraRuleCalendar.h"

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

TEST(UmmAlQuraCalendar, OutsideTheTableTheRuleTakesOverWithMonthsOf29Or30Days)
{
    UmmAlQuraCalendar calendar;
    CalendarConverter converter(calendar);
    UmmAlQuraRuleCalendar rule;
    const auto firstTable = static_cast<std::int32_t>(MonthIndexOf(FirstUmmAlQuraYear, 1));
    const auto lastTable = static_cast<std::int32_t>(MonthIndexOf(LastUmmAlQuraYear, 12));
    // Across both joins every month has 29 or 30 days, the table's months come
    // from the table and the others are computed.
    for (const std::int32_t join : {firstTable, lastTable + 1})
        for (std::int32_t k = join - 24; k < join + 24; ++k) {
            SCOPED_TRACE(k);
            const std::int32_t length = converter.MonthLength(k);
            EXPECT_TRUE(length == 29 || length == 30) << k << ": " << length;
            const bool inTable = k >= firstTable && k <= lastTable;
            EXPECT_EQ(converter.StartOf(k).Source, inTable ? MonthSource::msTable : MonthSource::msRule) << k;
            EXPECT_EQ(calendar.Reason(k).Text.find("computed outside the table") != std::string::npos, !inTable);
        }
    // The table's last month ends where the first month after it begins.
    EXPECT_EQ(converter.StartOf(lastTable + 1).FirstDay,
              converter.ToCivilDay(LastUmmAlQuraYear, 12, 1) + converter.MonthLength(lastTable));
    // A few years from the table the days are the rule's own.
    for (const std::int32_t year : {1250, 1290, 1610, 1700})
        for (std::int32_t month = 1; month <= 12; ++month) {
            const auto k = static_cast<std::int32_t>(MonthIndexOf(year, month));
            EXPECT_EQ(converter.StartOf(k).FirstDay, rule.Start(k).FirstDay) << year << "-" << month;
        }
    const HijriDay before = converter.ToHijri(converter.ToCivilDay(1300, 1, 1) - 1);
    EXPECT_EQ(before.Year, 1299);
    EXPECT_EQ(before.Month, 12);
    EXPECT_EQ(before.Source, MonthSource::msRule);
}

TEST(UmmAlQuraCalendar, RefusesDatesOutsideTheAstronomysYearsNamingThem)
{
    UmmAlQuraCalendar calendar;
    CalendarConverter converter(calendar);
    try {
        converter.ToCivilDay(-3000, 1, 1);
        ADD_FAILURE() << "-3000 AH accepted";
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message(), "The Hijri date -3000-01-01 lies outside the astronomy's years, which "
                               "covers the Hijri years -2700 to 2451 (-1999-12-25 to 3000-07-24)");
    }
    EXPECT_THROW(converter.ToHijri(CivilDayNumber(3001, 1, 1)), ERangeError);
}

} // namespace
