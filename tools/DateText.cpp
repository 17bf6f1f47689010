#include "tools/DateText.h"

#include "calendar/CalendarNames.h"
#include "calendar/conver2.h"
#include "tools/Digits.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace {

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Splits "[-]Y-MM[-DD]" into its numbers; `parts` is 2 or 3. Digits of the
// Arabic sets are read as their Western twins; the messages quote the text as given.
DateParts ParseParts(std::string_view text, int parts, const char* form)
{
    const auto malformed = [&] {
        return EUsageError("'" + std::string(text) + "' is not a date of the form " + form);
    };
    const std::string western = NeedsWesternDigits(text) ? WesternDigits(text) : std::string();
    std::string_view rest = western.empty() ? text : std::string_view(western);
    const bool negative = !rest.empty() && rest.front() == '-';
    if (negative)
        rest.remove_prefix(1);
    std::array<std::string_view, 3> fields;
    for (int i = 0; i < parts; ++i) {
        const std::size_t dash = rest.find('-');
        const bool lastField = i == parts - 1;
        if (lastField != (dash == std::string_view::npos))
            throw malformed();
        fields[i] = rest.substr(0, dash);
        rest = lastField ? std::string_view{} : rest.substr(dash + 1);
    }
    for (int i = 0; i < parts; ++i)
        if (!AllDigits(fields[i]) || (i > 0 && fields[i].size() != 2))
            throw malformed();
    if (fields[0].size() > 9)
        throw EUsageError("The year of '" + std::string(text) + "' is too large");
    DateParts date;
    date.Year = StrToInt(fields[0]) * (negative ? -1 : 1);
    date.Month = StrToInt(fields[1]);
    date.Day = parts == 3 ? StrToInt(fields[2]) : 0;
    return date;
}

bool IsLeapYear(std::int32_t year)
{
    const std::int64_t astronomical = year < 0 ? std::int64_t{year} + 1 : year;
    const bool divisibleBy4 = astronomical % 4 == 0;
    if (year <= 1582)  // the Julian calendar: every fourth year
        return divisibleBy4;
    return divisibleBy4 && (astronomical % 100 != 0 || astronomical % 400 == 0);
}

std::string YearText(std::int32_t year)
{
    char text[16];
    std::snprintf(text, sizeof text, year < 0 ? "-%04lld" : "%04lld",
                  static_cast<long long>(year < 0 ? -std::int64_t{year} : year));
    return text;
}

std::string TwoDigits(std::int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

} // namespace

DateParts ParseDate(std::string_view text)
{
    return ParseParts(text, 3, "YYYY-MM-DD");
}

DateParts ParseMonth(std::string_view text)
{
    return ParseParts(text, 2, "YYYY-MM");
}

std::string FormatDate(const DateParts& date)
{
    return FormatMonth(date.Year, date.Month) + "-" + TwoDigits(date.Day);
}

std::string FormatMonth(std::int32_t year, std::int32_t month)
{
    return YearText(year) + "-" + TwoDigits(month);
}

MinuteText InstantToTheMinute(double julianDay, int hoursAhead)
{
    // Round to the minute first, so 23:59:40 becomes 00:00 of the next day.
    const double minutes = std::round((julianDay + 0.5) * 1440) + hoursAhead * 60;
    const double dayNumber = std::floor(minutes / 1440);
    const auto minuteOfDay = static_cast<int>(minutes - dayNumber * 1440);
    CalendarDate date;
    JulianDayToDate(date, dayNumber - 0.5);
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
    return {FormatDate({date.Year, date.Month, date.Day}), clock};
}

std::int32_t CivilMonthLength(std::int32_t year, std::int32_t month)
{
    static constexpr std::array<std::int32_t, 12> MonthLengths{31, 28, 31, 30, 31, 30,
                                                               31, 31, 30, 31, 30, 31};
    return MonthLengths[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool IsCivilDate(const DateParts& date)
{
    if (date.Year == 0 || date.Month < 1 || date.Month > 12 || date.Day < 1 ||
        date.Day > CivilMonthLength(date.Year, date.Month))
        return false;
    return !(date.Year == 1582 && date.Month == 10 && date.Day >= 5 && date.Day <= 14);
}

void RequireCivilDate(const DateParts& date)
{
    if (date.Year == 0)
        throw EUsageError("There is no year 0: the year before 1 is -1");
    if (date.Month < 1 || date.Month > 12)
        throw EUsageError("There is no month " + IntToStr(date.Month));
    const std::int32_t length = CivilMonthLength(date.Year, date.Month);
    const std::string name = std::string(GMonthName(date.Month)) + " " + IntToStr(date.Year);
    if (date.Day < 1 || date.Day > length)
        throw EUsageError("There is no day " + IntToStr(date.Day) + " in " + name + ", which has " +
                          IntToStr(length) + " days");
    if (date.Year == 1582 && date.Month == 10 && date.Day >= 5 && date.Day <= 14)
        throw EUsageError("There is no " + IntToStr(date.Day) +
                          " October 1582: the civil calendar goes from 4 to 15 October 1582");
}
