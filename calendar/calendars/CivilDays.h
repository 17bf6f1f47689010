// Civil days as the calendars count them: whole Julian day numbers (the number of
// the noon inside the day), tied to civil dates by the engine (Julian calendar
// before 15 October 1582, Gregorian from then on, no year zero).
#pragma once

#include "calendar/conver2.h"

#include <cstdint>
#include <string>

// The first and last civil day the engine covers (1 January MinYear, 31 December
// MaxYear).
inline constexpr std::int64_t FirstCivilDay = static_cast<std::int64_t>(MinJulianDay + 0.5);
inline constexpr std::int64_t LastCivilDay = static_cast<std::int64_t>(MaxJulianDay - 0.5);

struct CivilDate {
    std::int32_t Year = 0;  // no year zero
    std::int32_t Month = 0;
    std::int32_t Day = 0;
    std::int32_t WeekDay = 0;  // 0 Sunday .. 6 Saturday
};

// The day number of a civil date, exactly as the engine's DateToJulianDay gives
// it; ERangeError outside the engine's years. A day past the month's end counts
// on, and 5..14 October 1582 are read as Julian dates, as in the engine.
std::int64_t CivilDayNumber(std::int32_t year, std::int32_t month, std::int32_t day);

// The civil date of a day number from FirstCivilDay to LastCivilDay, exactly as
// the engine's JulianDayToDate gives it; ERangeError outside.
CivilDate CivilDateOf(std::int64_t dayNumber);

// Whether the date exists: a month of 1..12, a day within it, not 5..14 October
// 1582, inside the engine's years.
bool CivilDateExists(std::int32_t year, std::int32_t month, std::int32_t day);

// 0 Sunday .. 6 Saturday.
constexpr std::int32_t WeekDayOf(std::int64_t dayNumber)
{
    const std::int64_t shifted = (dayNumber + 1) % 7;
    return static_cast<std::int32_t>(shifted < 0 ? shifted + 7 : shifted);
}

// "2026-02-18", "-0622-07-16": at least four year digits, a minus before year 1.
std::string IsoDateText(std::int32_t year, std::int32_t month, std::int32_t day);

// An instant (Julian day, UT) rounded to the minute: "12:01", or with
// withDate "2026-02-17 12:01".
std::string UtMinuteText(double julianDay, bool withDate = false);

// The same to the second ("12:01:07"), for instants that a rule compares with
// another less than a minute away.
std::string UtSecondText(double julianDay, bool withDate = false);

// An instant compared with another: to the second when the two lie within a
// minute of each other (so that "11:59:40 before 12:00" does not read "12:00
// before 12:00"), else to the minute.
std::string UtClockText(double julianDay, double comparedWith, bool withDate = false);

// The civil date of a day number as text: "2026-02-17".
std::string DayText(std::int64_t dayNumber);
