#include "calendar/calendars/CivilDays.h"

#include <cmath>
#include <cstdio>

std::int64_t CivilDayNumber(std::int32_t year, std::int32_t month, std::int32_t day)
{
    // A whole-day date gives the midnight that starts it, a value ending in .5.
    return static_cast<std::int64_t>(std::floor(DateToJulianDay(year, month, day) + 0.5));
}

CivilDate CivilDateOf(std::int64_t dayNumber)
{
    CalendarDate date;
    JulianDayToDate(date, static_cast<double>(dayNumber) - 0.5);
    return {date.Year, date.Month, date.Day, date.WeekDay};
}

bool CivilDateExists(std::int32_t year, std::int32_t month, std::int32_t day)
{
    if (year == 0 || year < MinYear || year > MaxYear || month < 1 || month > 12 || day < 1 ||
        day > 31)
        return false;
    // The engine carries an overlong day into the next month and reads 5..14
    // October 1582 as Julian dates; a date that exists comes back unchanged.
    const CivilDate back = CivilDateOf(CivilDayNumber(year, month, day));
    return back.Year == year && back.Month == month && back.Day == day;
}

std::string IsoDateText(std::int32_t year, std::int32_t month, std::int32_t day)
{
    char text[40];
    const long long magnitude = year < 0 ? -static_cast<long long>(year) : year;
    std::snprintf(text, sizeof text, "%s%04lld-%02d-%02d", year < 0 ? "-" : "", magnitude, month,
                  day);
    return text;
}

std::string UtMinuteText(double julianDay, bool withDate)
{
    // Round first, so that 23:59:40 is 00:00 of the next day.
    const double minutes = std::round((julianDay + 0.5) * 1440);
    const double dayNumber = std::floor(minutes / 1440);
    const auto minuteOfDay = static_cast<int>(minutes - dayNumber * 1440);
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
    if (!withDate)
        return clock;
    const CivilDate date = CivilDateOf(static_cast<std::int64_t>(dayNumber));
    return IsoDateText(date.Year, date.Month, date.Day) + " " + clock;
}
