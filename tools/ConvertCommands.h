// The commands of dates-convert, as functions from validated input to a report.
// Printing is ConvertOutput's job.
#pragma once

#include "tools/DateText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One day in both calendars, with what the converter window would show for it.
struct DayReport {
    DateParts Gregorian;  // civil: Julian calendar before 15 October 1582
    DateParts Hijri;
    std::int32_t WeekDay = 0;  // 0 Sunday .. 6 Saturday
    std::string Line;          // the window's correspondence line
};

// How one Hijri month begins.
struct MonthReport {
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    std::int32_t Lunation = 0;
    double NewMoon = 0;          // Julian day, UT
    bool OpensNextDay = false;   // the new moon lay from 00:00 to 03:00 UT
    DateParts FirstDay;          // civil
    std::int32_t FirstWeekDay = 0;
    std::int32_t Length = 0;     // days
    bool Borderline = false;     // the new moon lies near a cut-off of the rule
    // The first day by the Umm al-Qura table (1300 to 1600 AH only) and how many
    // days later this month opens than that (negative: earlier).
    std::optional<DateParts> UmmAlQuraFirstDay;
    std::int32_t UmmAlQuraDifference = 0;
};

// Minutes either side of 00:00 and 03:00 UT within which a new moon is borderline.
inline constexpr double BorderlineMinutes = 10;

DayReport ConvertGregorian(const DateParts& civil);  // EUsageError if it does not exist
DayReport ConvertHijri(const DateParts& hijri);      // likewise
DayReport ConvertToday();                            // the local date of the system clock
MonthReport DescribeHijriMonth(std::int32_t year, std::int32_t month);
std::vector<MonthReport> DescribeHijriYear(std::int32_t year);  // its twelve months

// Days in a Hijri month by the engine's reckoning.
std::int32_t HijriMonthLength(std::int32_t year, std::int32_t month);

// Raises EUsageError naming the reason when the Hijri date does not exist: year 0,
// a month outside 1..12, a day past the month's end.
void RequireHijriDate(const DateParts& date);
