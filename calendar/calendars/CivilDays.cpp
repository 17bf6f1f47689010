#include "calendar/calendars/CivilDays.h"

#include "calendar/calendars/FloorDivision.h"

#include <cmath>
#include <cstdio>

// Whole days in whole numbers: the same days as the engine's floating-point
// DateToJulianDay and JulianDayToDate (the tests hold them to it), several times
// faster, which a batch of a million dates feels. The day counts from 1 March of
// a year 4800 before year 1, so that leap days fall at the end of a counted year;
// floor division carries the formulas to the engine's first years.

namespace {

constexpr std::int64_t FirstGregorianDay = 2299161;     // 15 October 1582
constexpr std::int64_t FirstGregorianStamp = 15821015;  // year * 10000 + month * 100 + day
constexpr std::int64_t MarchYearOffset = 4800;
constexpr std::int64_t JulianShift = 32083;     // day number of 1 March -4800, Julian
constexpr std::int64_t GregorianShift = 32045;  // likewise, Gregorian

// Days from 1 March to the first of a month counted from March (0) to February (11).
constexpr std::int64_t DaysBeforeMonthFromMarch(std::int64_t m)
{
    return (153 * m + 2) / 5;
}

} // namespace

std::int64_t CivilDayNumber(std::int32_t year, std::int32_t month, std::int32_t day)
{
    if (year < MinYear || year > MaxYear || month < 1 || month > 12 || day < 1)
        DateToJulianDay(year, month, day);  // raises, in the engine's words
    const std::int64_t astronomical = year < 0 ? std::int64_t{year} + 1 : year;
    const std::int64_t beforeMarch = month <= 2 ? 1 : 0;
    const std::int64_t y = astronomical + MarchYearOffset - beforeMarch;
    const std::int64_t m = month + 12 * beforeMarch - 3;
    const std::int64_t days = day + DaysBeforeMonthFromMarch(m) + 365 * y + FloorDiv(y, 4);
    // 5 to 14 October 1582 read as Julian dates, as in the engine.
    const bool gregorian = astronomical * 10000 + month * 100 + day >= FirstGregorianStamp;
    const std::int64_t number =
        gregorian ? days - FloorDiv(y, 100) + FloorDiv(y, 400) - GregorianShift : days - JulianShift;
    if (number > LastCivilDay)
        DateToJulianDay(year, month, day);  // raises, in the engine's words
    return number;
}

CivilDate CivilDateOf(std::int64_t dayNumber)
{
    if (dayNumber < FirstCivilDay || dayNumber > LastCivilDay) {
        CalendarDate date;
        JulianDayToDate(date, static_cast<double>(dayNumber) - 0.5);  // raises
    }
    std::int64_t c = dayNumber + JulianShift - 1;  // days since 1 March -4800, Julian
    std::int64_t centuries = 0;
    if (dayNumber >= FirstGregorianDay) {
        const std::int64_t a = dayNumber + GregorianShift - 1;
        centuries = FloorDiv(4 * a + 3, 146097);
        c = a - FloorDiv(146097 * centuries, 4);
    }
    const std::int64_t years = FloorDiv(4 * c + 3, 1461);
    const std::int64_t dayOfYear = c - FloorDiv(1461 * years, 4);
    const std::int64_t m = (5 * dayOfYear + 2) / 153;
    const std::int64_t astronomical = 100 * centuries + years - MarchYearOffset + m / 10;
    CivilDate date;
    date.Day = static_cast<std::int32_t>(dayOfYear - DaysBeforeMonthFromMarch(m) + 1);
    date.Month = static_cast<std::int32_t>(m + 3 - 12 * (m / 10));
    date.Year = static_cast<std::int32_t>(astronomical <= 0 ? astronomical - 1 : astronomical);
    date.WeekDay = WeekDayOf(dayNumber);
    return date;
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

namespace {

// An instant rounded to `unit` seconds (60 or 1) of its UT day.
std::string UtClock(double julianDay, bool withDate, int unit)
{
    // Round first, so that 23:59:40 is 00:00 of the next day.
    const double perDay = 86400.0 / unit;
    const double units = std::round((julianDay + 0.5) * perDay);
    const double dayNumber = std::floor(units / perDay);
    const auto seconds = static_cast<int>(units - dayNumber * perDay) * unit;
    char clock[16];
    if (unit == 60)
        std::snprintf(clock, sizeof clock, "%02d:%02d", seconds / 3600, seconds / 60 % 60);
    else
        std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    if (!withDate)
        return clock;
    return DayText(static_cast<std::int64_t>(dayNumber)) + " " + clock;
}

} // namespace

std::string UtMinuteText(double julianDay, bool withDate)
{
    return UtClock(julianDay, withDate, 60);
}

std::string UtSecondText(double julianDay, bool withDate)
{
    return UtClock(julianDay, withDate, 1);
}

std::string UtClockText(double julianDay, double comparedWith, bool withDate)
{
    const bool close = std::fabs(julianDay - comparedWith) * 1440 < 1;
    return UtClock(julianDay, withDate, close ? 1 : 60);
}

std::string DayText(std::int64_t dayNumber)
{
    const CivilDate date = CivilDateOf(dayNumber);
    return IsoDateText(date.Year, date.Month, date.Day);
}
