// The commands of dates-convert, as functions from validated input to a report.
// Printing is ConvertOutput's job.
#pragma once

#include "tools/CalendarChoice.h"
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
    std::string Calendar;      // the Hijri calendar's name
    MonthSource Source = MonthSource::msRule;  // of the Hijri month's first day
};

// How one calendar opens a Hijri month.
struct CalendarMonth {
    std::string Calendar;
    bool Covered = false;  // false: the calendar has no such month; Reason.Text says why
    DateParts FirstDay;
    std::int32_t FirstWeekDay = 0;
    std::int32_t Length = 0;
    MonthReason Reason;
};

// How one Hijri month begins.
struct MonthReport {
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    // By the converter's own rule: its new moon and the branch of the rule.
    std::int32_t Lunation = 0;
    double NewMoon = 0;          // Julian day, UT
    bool OpensNextDay = false;   // the new moon lay from 00:00 to 03:00 UT
    bool Borderline = false;     // the new moon lies near a cut-off of the rule
    // By the chosen calendar (the converter's own rule unless --calendar names
    // another), corrections applied.
    DateParts FirstDay;          // civil
    std::int32_t FirstWeekDay = 0;
    std::int32_t Length = 0;     // days
    CalendarMonth Chosen;
    // The first day by the Umm al-Qura table (1300 to 1600 AH only) and how many
    // days later this month opens than that (negative: earlier).
    std::optional<DateParts> UmmAlQuraFirstDay;
    std::int32_t UmmAlQuraDifference = 0;
    // Every registered calendar, side by side.
    std::vector<CalendarMonth> Calendars;
};

// Minutes either side of 00:00 and 03:00 UT within which a new moon is borderline.
inline constexpr double BorderlineMinutes = 10;

// EUsageError for a date that does not exist, lies outside the engine's range or
// outside what the calendar covers.
DayReport ConvertGregorian(const DateParts& civil, CalendarConverter& calendar);
DayReport ConvertHijri(const DateParts& hijri, CalendarConverter& calendar);
DayReport ConvertToday(CalendarConverter& calendar);  // the local date of the system clock
MonthReport DescribeHijriMonth(std::int32_t year, std::int32_t month, CalendarChoice& calendars);
std::vector<MonthReport> DescribeHijriYear(std::int32_t year, CalendarChoice& calendars);
// One calendar's month; Covered false rather than an error when it has no such month.
CalendarMonth DescribeCalendarMonth(std::int32_t year, std::int32_t month,
                                    CalendarConverter& calendar);

// Days in a Hijri month under the calendar.
std::int32_t HijriMonthLength(std::int32_t year, std::int32_t month, CalendarConverter& calendar);

// Raises EUsageError naming the reason when the Hijri date does not exist under
// the calendar: year 0, a month outside 1..12, a day past the month's end, a
// month the calendar does not cover.
void RequireHijriDate(const DateParts& date, CalendarConverter& calendar);

// The civil date of a day number.
DateParts CivilPartsOf(std::int64_t dayNumber);
