#include "calendar/calendars/FcnaCalendar.h"

#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Conjunctions.h"

namespace {

// Noon UT of a day is its day number as a Julian day.
double NoonOf(std::int64_t day)
{
    return static_cast<double>(day);
}

// Whether the conjunction falls before 12:00 UT of its own UT date.
bool BeforeNoon(std::int32_t month, std::int64_t conjunctionDay)
{
    return ConjunctionPrecedes(month, NoonOf(conjunctionDay));
}

} // namespace

FcnaCalendar::FcnaCalendar() : Span_(AstronomySpan()) {}

MonthStart FcnaCalendar::Start(std::int32_t month) const
{
    const std::int64_t day = ConjunctionDay(month, 0);
    return {day + (BeforeNoon(month, day) ? 1 : 2), MonthSource::msRule};
}

MonthReason FcnaCalendar::Reason(std::int32_t month) const
{
    const std::int64_t day = ConjunctionDay(month, 0);
    const bool early = BeforeNoon(month, day);
    const double conjunction = ConjunctionOf(month);
    MonthReason reason;
    reason.Source = MonthSource::msRule;
    reason.Text = "conjunction " + UtMinuteText(conjunction, true) + " UT, " +
                  (early ? "before 12:00 UT: the month opens on the next day"
                         : "at or after 12:00 UT: the month opens on the day after next");
    reason.Facts = {{"conjunction", UtInstant{conjunction}},
                    {"cut_off", UtInstant{NoonOf(day)}},
                    {"rule", std::string(early ? "next-day" : "day-after-next")}};
    return reason;
}
