#include "calendar/calendars/TabularCalendar.h"

#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/FloorDivision.h"
#include "framework/runtime/sysutils.h"

#include <algorithm>

namespace {

constexpr std::int64_t CycleYears = 30;
constexpr std::int64_t CommonYearDays = 354;
constexpr std::int64_t CycleDays = CycleYears * CommonYearDays + TabularLeapYears.size();  // 10631

// Days from the start of the year to the start of each month: 30 and 29 by turns.
constexpr std::array<std::int64_t, 12> MonthOffsets{0,   30,  59,  89,  118, 148,
                                                    177, 207, 236, 266, 295, 325};

// LeapDaysBefore[r]: leap years among years 1..r of a cycle.
constexpr std::array<std::int64_t, CycleYears> LeapDaysBefore = [] {
    std::array<std::int64_t, CycleYears> table{};
    for (std::int64_t r = 1; r < CycleYears; ++r)
        table[r] = table[r - 1] +
                   (std::find(TabularLeapYears.begin(), TabularLeapYears.end(), r) !=
                    TabularLeapYears.end());
    return table;
}();

std::int64_t AstronomicalYear(std::int32_t year)
{
    return year < 0 ? std::int64_t{year} + 1 : year;
}

// Days from 1 Muharram 1 to 1 Muharram of an astronomical year (0 before year 1).
std::int64_t DaysBeforeYear(std::int64_t year)
{
    const std::int64_t elapsed = year - 1;
    return FloorDiv(elapsed, CycleYears) * CycleDays + FloorMod(elapsed, CycleYears) * CommonYearDays +
           LeapDaysBefore[FloorMod(elapsed, CycleYears)];
}

// The month whose first day is the last one at or before `day`, from a guess
// within a few months; firstDay(k) grows with k.
template <typename FirstDay>
std::int32_t MonthHolding(std::int64_t day, FirstDay&& firstDay)
{
    constexpr double MeanMonthDays = static_cast<double>(CycleDays) / (CycleYears * 12);
    std::int64_t k = 1048 + static_cast<std::int64_t>((day - 2445971) / MeanMonthDays);
    while (firstDay(k) > day)
        --k;
    while (firstDay(k + 1) <= day)
        ++k;
    return static_cast<std::int32_t>(k);
}

} // namespace

TabularCalendar::TabularCalendar(std::string_view name, TabularEpoch epoch)
    : Name_(name), Epoch_(epoch)
{
    const auto firstDay = [this](std::int64_t k) { return FirstDayOf(k); };
    Span_ = {MonthHolding(FirstCivilDay, firstDay), MonthHolding(LastCivilDay, firstDay), {}};
}

std::int32_t TabularCalendar::CycleYear(std::int32_t year)
{
    return static_cast<std::int32_t>(FloorMod(AstronomicalYear(year) - 1, CycleYears) + 1);
}

bool TabularCalendar::IsLeapYear(std::int32_t year)
{
    const std::int32_t cycleYear = CycleYear(year);
    return std::find(TabularLeapYears.begin(), TabularLeapYears.end(), cycleYear) !=
           TabularLeapYears.end();
}

std::int64_t TabularCalendar::FirstDayOf(std::int64_t month) const
{
    const HijriMonth named = MonthOfIndex(month);
    return Epoch_.Day + DaysBeforeYear(AstronomicalYear(named.Year)) + MonthOffsets[named.Month - 1];
}

MonthStart TabularCalendar::Start(std::int32_t month) const
{
    return {FirstDayOf(month), MonthSource::msRule};
}

MonthReason TabularCalendar::Reason(std::int32_t month) const
{
    const HijriMonth named = MonthOfIndex(month);
    const bool leap = IsLeapYear(named.Year);
    const std::int64_t yearDays = CommonYearDays + (leap ? 1 : 0);
    MonthReason reason;
    reason.Source = MonthSource::msRule;
    reason.Text = "30-year cycle: " + IntToStr(named.Year) + " is year " +
                  IntToStr(CycleYear(named.Year)) + " of its cycle, " +
                  (leap ? "a leap year" : "a common year") + " of " + IntToStr(yearDays) +
                  " days; " + std::string(Epoch_.Weekday) + " epoch";
    const CivilDate epoch = CivilDateOf(Epoch_.Day);
    reason.Facts = {{"cycle_year", std::int64_t{CycleYear(named.Year)}},
                    {"year_days", yearDays},
                    {"epoch", IsoDateText(epoch.Year, epoch.Month, epoch.Day)}};
    return reason;
}
