// Conversions from first days alone, on a calendar made up for the test, and
// the registry of the real ones.
#include "calendar/calendars/CalendarConverter.h"
#include "calendar/calendars/CalendarRegistry.h"
#include "calendar/calendars/CivilDays.h"
#include "calendar/conver2.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// Months of 29 and 30 days in a scrambled order over a limited span, counting
// how often it is asked.
class MadeUpCalendar final : public HijriCalendar {
public:
    MadeUpCalendar(std::int32_t first, std::int32_t last, std::int64_t firstDay)
        : Span_{first, last, "the made-up table"}
    {
        std::uint32_t state = 12345;
        FirstDays_.push_back(firstDay);
        for (std::int32_t k = first; k <= last; ++k) {
            state = state * 1103515245u + 12345u;
            FirstDays_.push_back(FirstDays_.back() + 29 + ((state >> 16) & 1));
        }
    }
    std::string_view Name() const override { return "made-up"; }
    MonthSpan Months() const override { return Span_; }
    MonthStart Start(std::int32_t month) const override
    {
        ++Asked;
        return {FirstDays_.at(static_cast<std::size_t>(month - Span_.First)), MonthSource::msTable};
    }
    MonthReason Reason(std::int32_t) const override { return {MonthSource::msTable, "made up", {}}; }

    mutable int Asked = 0;

private:
    MonthSpan Span_;
    std::vector<std::int64_t> FirstDays_;
};

TEST(CalendarConverter, FindsEveryDayOfAnIrregularCalendarBothWays)
{
    // 1200 months from Muharram 1300, opening on a day of our choosing.
    const auto first = static_cast<std::int32_t>(MonthIndexOf(1300, 1));
    MadeUpCalendar calendar(first, first + 1199, 2400000);
    CalendarConverter converter(calendar);
    std::int64_t day = 2400000;
    for (std::int32_t k = first; k < first + 1200; ++k) {
        const std::int32_t length = converter.MonthLength(k);
        ASSERT_TRUE(length == 29 || length == 30);
        const HijriMonth named = MonthOfIndex(k);
        for (std::int32_t d = 1; d <= length; ++d, ++day) {
            const HijriDay found = converter.ToHijri(day);
            ASSERT_EQ(found.MonthIndex, k) << day;
            ASSERT_EQ(found.Year, named.Year);
            ASSERT_EQ(found.Month, named.Month);
            ASSERT_EQ(found.Day, d);
            ASSERT_EQ(found.Source, MonthSource::msTable);
            ASSERT_EQ(converter.ToCivilDay(named.Year, named.Month, d), day);
        }
        std::int64_t past;
        MonthSource source;
        EXPECT_FALSE(converter.TryToCivilDay(named.Year, named.Month, length + 1, past, source));
    }
    HijriDay outside;
    EXPECT_FALSE(converter.TryToHijri(2400000 - 1, outside));
    EXPECT_FALSE(converter.TryToHijri(day, outside));
}

TEST(CalendarConverter, AsksTheCalendarForEachMonthAboutOnce)
{
    const auto first = static_cast<std::int32_t>(MonthIndexOf(1300, 1));
    MadeUpCalendar calendar(first, first + 1199, 2400000);
    CalendarConverter converter(calendar);
    // Every day, twice over, in a scrambled order.
    const std::int64_t days = converter.StartOf(first + 1200).FirstDay - 2400000;
    calendar.Asked = 0;
    std::uint64_t state = 7;
    for (int i = 0; i < 2 * days; ++i) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        converter.ToHijri(2400000 + static_cast<std::int64_t>((state >> 33) % days));
    }
    EXPECT_LE(calendar.Asked, 1201 + 10);
}

TEST(CalendarConverter, NamesWhatABoundedCalendarCovers)
{
    const auto first = static_cast<std::int32_t>(MonthIndexOf(1300, 1));
    MadeUpCalendar calendar(first, static_cast<std::int32_t>(MonthIndexOf(1309, 12)), 2408000);
    CalendarConverter converter(calendar);
    // 120 months of 29 or 30 days from 11 October 1880.
    const std::string coverage = converter.CoverageText();
    EXPECT_EQ(coverage.rfind("the Hijri years 1300 to 1309 (1880-10-11 to 1890-", 0), 0u) << coverage;
    try {
        converter.ToHijri(2407999);
        ADD_FAILURE();
    } catch (const ERangeError& e) {
        EXPECT_EQ(e.Message().rfind("The civil date 1880-10-10 lies outside the made-up table, which "
                                    "covers the Hijri years 1300 to 1309", 0), 0u) << e.Message();
    }
    EXPECT_THROW(converter.ToCivilDay(1310, 1, 1), ERangeError);
    EXPECT_THROW(converter.ToCivilDay(1300, 1, 31), ERangeError);
    EXPECT_THROW(converter.ToCivilDay(0, 1, 1), ERangeError);
}

TEST(CalendarRegistry, EveryNameMakesItsCalendarAndTheDefaultComesFirst)
{
    std::set<std::string_view> names;
    for (const CalendarEntry& entry : RegisteredCalendars()) {
        EXPECT_TRUE(names.insert(entry.Name).second) << entry.Name;
        EXPECT_EQ(entry.Make()->Name(), entry.Name);
        EXPECT_EQ(FindCalendar(entry.Name), &entry);
        EXPECT_FALSE(entry.Summary.empty());
        EXPECT_EQ(entry.Summary.find('\n'), std::string_view::npos);
    }
    EXPECT_EQ(RegisteredCalendars().front().Name, DefaultCalendarName);
    EXPECT_EQ(names, (std::set<std::string_view>{"astronomical", "umalqura", "umalqura-rule", "istanbul2016",
                                                 "fcna", "civil", "tbla", "sighting"}));
    EXPECT_EQ(FindCalendar("Astronomical"), nullptr);
    EXPECT_EQ(FindCalendar(""), nullptr);
}

TEST(MonthIndex, NumbersMonthsAsTheEngineNumbersLunations)
{
    for (std::int32_t year : {-1031727, -5000, -2, -1, 1, 2, 1404, 1405, 1447, 1030549})
        for (std::int32_t month = 1; month <= 12; ++month) {
            const std::int64_t index = MonthIndexOf(year, month);
            EXPECT_EQ(index, HijriMonthLunation(year, month)) << year << "-" << month;
            EXPECT_EQ(MonthOfIndex(index), (HijriMonth{year, month}));
        }
    EXPECT_EQ(MonthIndexOf(1405, 1), 1048);
    EXPECT_EQ(MonthOfIndex(MonthIndexOf(1, 1) - 1), (HijriMonth{-1, 12}));
}

TEST(CivilDays, ExistenceAndWeekdays)
{
    EXPECT_TRUE(CivilDateExists(1582, 10, 4));
    EXPECT_FALSE(CivilDateExists(1582, 10, 5));
    EXPECT_FALSE(CivilDateExists(1582, 10, 14));
    EXPECT_TRUE(CivilDateExists(1582, 10, 15));
    EXPECT_TRUE(CivilDateExists(1500, 2, 29));   // a Julian leap year
    EXPECT_FALSE(CivilDateExists(1900, 2, 29));
    EXPECT_FALSE(CivilDateExists(2001, 2, 31));
    EXPECT_FALSE(CivilDateExists(0, 1, 1));
    EXPECT_FALSE(CivilDateExists(MaxYear + 1, 1, 1));
    EXPECT_TRUE(CivilDateExists(MinYear, 1, 1));
    EXPECT_EQ(WeekDayOf(CivilDayNumber(2000, 1, 1)), 6);
    EXPECT_EQ(WeekDayOf(FirstCivilDay), CivilDateOf(FirstCivilDay).WeekDay);
    EXPECT_EQ(IsoDateText(-622, 7, 16), "-0622-07-16");
    EXPECT_EQ(UtMinuteText(DateToJulianDay(2000, 1, 1) - 20.0 / 86400, true), "2000-01-01 00:00");
}

} // namespace

namespace {

// Whole-day arithmetic of our own against the engine's floating-point one.
TEST(CivilDays, EqualTheEngineOnEveryDayOfYearsMinus10000To10000)
{
    int wrong = 0;
    for (std::int64_t day = CivilDayNumber(-10000, 1, 1); day <= CivilDayNumber(10000, 12, 31) && wrong < 5; ++day) {
        CalendarDate engine;
        JulianDayToDate(engine, static_cast<double>(day) - 0.5);
        const CivilDate ours = CivilDateOf(day);
        const bool same = ours.Year == engine.Year && ours.Month == engine.Month &&
                          ours.Day == engine.Day && ours.WeekDay == engine.WeekDay;
        wrong += !same;
        EXPECT_TRUE(same) << "day " << day << ": " << ours.Year << "-" << ours.Month << "-" << ours.Day;
    }
    // Every month's days 1 to 31, past the month's end too, as the engine counts them on.
    for (std::int32_t year = -10000; year <= 10000 && wrong < 5; ++year)
        for (std::int32_t month = 1; month <= 12; ++month)
            for (std::int32_t day = 1; day <= 31; ++day) {
                if (year == 0)
                    continue;
                const double engine = DateToJulianDay(year, month, day);
                const bool same = CivilDayNumber(year, month, day) == static_cast<std::int64_t>(engine + 0.5);
                wrong += !same;
                EXPECT_TRUE(same) << year << "-" << month << "-" << day;
            }
}

TEST(CivilDays, EqualTheEngineAcrossItsWholeRangeAndRefuseAsItDoes)
{
    for (std::int64_t day = FirstCivilDay; day <= LastCivilDay; day += 7919) {
        CalendarDate engine;
        JulianDayToDate(engine, static_cast<double>(day) - 0.5);
        const CivilDate ours = CivilDateOf(day);
        ASSERT_EQ(ours.Year, engine.Year) << day;
        ASSERT_EQ(ours.Month, engine.Month) << day;
        ASSERT_EQ(ours.Day, engine.Day) << day;
        ASSERT_EQ(CivilDayNumber(ours.Year, ours.Month, ours.Day), day);
    }
    EXPECT_EQ(CivilDayNumber(MinYear, 1, 1), FirstCivilDay);
    EXPECT_EQ(CivilDayNumber(MaxYear, 12, 31), LastCivilDay);
    EXPECT_THROW(CivilDayNumber(MaxYear, 12, 32), ERangeError);
    EXPECT_THROW(CivilDayNumber(MinYear - 1, 12, 31), ERangeError);
    EXPECT_THROW(CivilDayNumber(2000, 13, 1), ERangeError);
    EXPECT_THROW(CivilDateOf(FirstCivilDay - 1), ERangeError);
    EXPECT_THROW(CivilDateOf(LastCivilDay + 1), ERangeError);
}

} // namespace
