// Dates as dates-convert reads and writes them: YYYY-MM-DD and YYYY-MM, years
// without a year zero and with a leading minus before year 1 (-0622-07-16).
#pragma once

#include "framework/runtime/sysutils.h"

#include <cstdint>
#include <string>
#include <string_view>

struct DateParts {
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    std::int32_t Day = 0;
    bool operator==(const DateParts&) const = default;
};

// A command or an argument the tool cannot accept; the message says why.
class EUsageError : public Exception {
public:
    using Exception::Exception;
};

// Strict syntax: an optional minus, the year's digits, then two-digit month and
// day, separated by '-'. Digits may be Western, Arabic-Indic or Eastern
// Arabic-Indic; directional marks around them are passed over. Existence is
// checked elsewhere. EUsageError otherwise.
DateParts ParseDate(std::string_view text);
// YYYY-MM, the day left 0.
DateParts ParseMonth(std::string_view text);

// At least four year digits, then -MM-DD (or -MM for FormatMonth).
std::string FormatDate(const DateParts& date);
std::string FormatMonth(std::int32_t year, std::int32_t month);

// An instant (a Julian day of UT) rounded to the minute and moved hoursAhead
// of UT: the civil date it falls on (FormatDate's text) and its clock, "HH:MM".
struct MinuteText {
    std::string Date;
    std::string Clock;
};
MinuteText InstantToTheMinute(double julianDay, int hoursAhead = 0);

// Days in a civil month as the calendar of its year counts them (Julian leap years
// up to 1582, Gregorian after); October 1582 counts 31 though ten of them are missing.
// Year not 0, month 1..12.
std::int32_t CivilMonthLength(std::int32_t year, std::int32_t month);

// Whether the civil date exists, by the rules RequireCivilDate names.
bool IsCivilDate(const DateParts& date);

// Raises EUsageError naming the reason when the civil date does not exist: year 0,
// a month outside 1..12, a day past the month's end (Julian leap years before the
// reform, Gregorian from 15 October 1582), or 5 to 14 October 1582.
void RequireCivilDate(const DateParts& date);
