#include "calendar/calendars/AstronomicalCalendar.h"

#include "calendar/calendars/CivilDays.h"
#include "calendar/conver2.h"

#include <cmath>

namespace {

// Day 1 as the engine's Hijri-to-civil conversion finds it: the civil day that
// holds the month-start instant plus one day, the sum rounded to a double.
std::int64_t FirstDayFrom(double monthStart)
{
    const double dayOne = static_cast<double>(static_cast<long double>(monthStart) + 1);
    return static_cast<std::int64_t>(std::floor(dayOne + 0.5));
}

} // namespace

MonthSpan AstronomicalCalendar::Months() const
{
    return {MinLunation, MaxLunation, {}};
}

MonthStart AstronomicalCalendar::Start(std::int32_t month) const
{
    double newMoon;
    return {FirstDayFrom(MonthStartInstant(month, newMoon)), MonthSource::msRule};
}

MonthReason AstronomicalCalendar::Reason(std::int32_t month) const
{
    double newMoon;
    const bool nextDay = MonthStartInstant(month, newMoon) == newMoon;
    MonthReason reason;
    reason.Source = MonthSource::msRule;
    reason.Text = "new moon " + UtMinuteText(newMoon, true) + " UT, " +
                  (nextDay ? "from 00:00 to 03:00 UT: the month opens on the next day"
                           : "outside 00:00 to 03:00 UT: the month opens on the day after next");
    reason.Facts = {{"lunation", std::int64_t{month}},
                    {"new_moon", UtInstant{newMoon}},
                    {"rule", std::string(nextDay ? "next-day" : "day-after-next")}};
    return reason;
}
