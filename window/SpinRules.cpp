#include "window/SpinRules.h"

#include "framework/runtime/sysutils.h"

#include <limits>

namespace {

// The first year of the Gregorian century rule.
constexpr std::int32_t FirstGregorianYear = 1582;

std::int32_t Add(std::int32_t value, std::int32_t step)
{
    const std::int64_t result = std::int64_t{value} + step;
    if (result < std::numeric_limits<std::int32_t>::min() || result > std::numeric_limits<std::int32_t>::max())
        throw ERangeError("The value " + IntToStr(value) + " cannot be stepped further");
    return static_cast<std::int32_t>(result);
}

// Days of a civil month under the day steps' leap-year rule.
std::int32_t DaysInMonth(const ConverterState& state, std::int32_t month, std::int32_t year)
{
    return state.GMonthDays[month] + (month == 2 && IsDayStepLeapYear(year) ? 1 : 0);
}

} // namespace

bool IsDayStepLeapYear(std::int32_t year)
{
    // Before year 1 the engine counts without a year zero (-1 is the year
    // before 1, and a field at 0 means -1 too), so its leap years there are
    // -1, -5, -9, ...: test the year the engine will read, or a day step
    // would repeat 1 March or skip 29 February of a negative year.
    const std::int32_t engineYear = year < 0 ? year + 1 : year;
    return engineYear % 4 == 0 && (year < FirstGregorianYear || year % 100 != 0 || year % 400 == 0);
}

void StepDayUp(ConverterState& state)
{
    state.InDay = Add(state.InDay, 1);
    state.MonthLength = DaysInMonth(state, state.InMonth, state.InYear);
    if (state.InDay <= state.MonthLength)
        return;
    if (state.InMonth >= 12) {
        state.InMonth = 1;
        state.InYear = Add(state.InYear, 1);
    } else {
        state.InMonth = state.InMonth + 1;
    }
    state.InDay = 1;
}

void StepDayDown(ConverterState& state)
{
    state.InDay = Add(state.InDay, -1);
    if (state.InDay >= 1)
        return;
    if (state.InMonth <= 1) {
        state.InMonth = 12;
        state.InYear = Add(state.InYear, -1);
    } else {
        state.InMonth = state.InMonth - 1;
    }
    state.InDay = DaysInMonth(state, state.InMonth, state.InYear);
}

void StepMonthUp(ConverterState& state)
{
    state.InMonth = Add(state.InMonth, 1);
    if (state.InMonth > 12) {
        state.InMonth = 1;
        state.InYear = Add(state.InYear, 1);
    }
}

void StepMonthDown(ConverterState& state)
{
    state.InMonth = Add(state.InMonth, -1);
    if (state.InMonth < 1) {
        state.InMonth = 12;
        state.InYear = Add(state.InYear, -1);
    }
}

void StepYearUp(ConverterState& state)
{
    state.InYear = Add(state.InYear, 1);
}

void StepYearDown(ConverterState& state)
{
    state.InYear = Add(state.InYear, -1);
}
