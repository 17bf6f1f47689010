#include "tools/IcsCalendar.h"

#include "calendar/CalendarNames.h"
#include "calendar/conver2.h"
#include "tools/ConvertCommands.h"
#include "tools/ConvertOutput.h"
#include "tools/Observances.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr std::size_t MaxLineOctets = 75;

// iCalendar dates are Gregorian, also before 1582 where the engine's civil dates
// are Julian: the day number counted out in the proleptic Gregorian calendar.
std::string IcsDate(double midnightJulianDay)
{
    const std::int64_t jdn = static_cast<std::int64_t>(std::floor(midnightJulianDay + 0.5));
    // The Fliegel and Van Flandern day-number inversion, valid for day numbers >= 0.
    std::int64_t l = jdn + 68569;
    const std::int64_t n = 4 * l / 146097;
    l -= (146097 * n + 3) / 4;
    const std::int64_t i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const std::int64_t j = 80 * l / 2447;
    const std::int64_t day = l - 2447 * j / 80;
    l = j / 11;
    const std::int64_t month = j + 2 - 12 * l;
    const std::int64_t year = 100 * (n - 49) + i + l;
    char text[64];
    std::snprintf(text, sizeof text, "%04lld%02lld%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day));
    return text;
}

std::string StampText(std::time_t stamp)
{
    std::tm utc{};
    gmtime_r(&stamp, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
    return text;
}

std::int32_t YearsBetween(std::int32_t fromYear, std::int32_t toYear)
{
    const std::int64_t span = std::int64_t{toYear} - fromYear + 1 - (fromYear < 0 && toYear > 0);
    return span > MaxIcsYears + 1 ? MaxIcsYears + 1 : static_cast<std::int32_t>(span);
}

std::string NamedDescription(const MonthReport& report)
{
    const CalendarMonth& chosen = report.Chosen;
    return "First day by " + chosen.Calendar + " (" + std::string(SourceName(chosen.Reason.Source)) +
           "): " + chosen.Reason.Text + ".";
}

std::string Description(const MonthReport& report)
{
    std::string text = "New moon " + FormatInstant(report.NewMoon) + " (UT). ";
    text += report.OpensNextDay
                ? "The new moon falls from 00:00 to 03:00 UT, so the month opens on the next day."
                : "The new moon falls outside 00:00 to 03:00 UT, so the month opens on the day "
                  "after next.";
    if (report.Borderline)
        text += "\nBorderline: the new moon lies within ten minutes of a cut-off of the rule, so "
                "the month may open a day earlier or later elsewhere.";
    if (report.UmmAlQuraFirstDay && report.UmmAlQuraDifference != 0)
        text += "\nThe Umm al-Qura table opens this month on " +
                FormatDate(*report.UmmAlQuraFirstDay) + ".";
    return text;
}

} // namespace

std::string IcsText(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',')
            escaped += '\\';
        if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

std::string FoldedIcsLine(std::string_view line)
{
    std::string folded;
    std::size_t room = MaxLineOctets;
    while (line.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a UTF-8 sequence
        folded.append(line.substr(0, cut));
        folded += "\r\n ";
        line.remove_prefix(cut);
        room = MaxLineOctets - 1;  // the leading blank counts
    }
    folded.append(line);
    folded += "\r\n";
    return folded;
}

std::string IcsCalendar(std::int32_t fromYear, std::int32_t toYear, std::time_t stamp,
                        CalendarChoice& calendars, bool observances, const Presentation& presentation)
{
    if (fromYear == 0 || toYear == 0)
        throw EUsageError("There is no Hijri year 0: the year before 1 is -1");
    if (toYear < fromYear)
        throw EUsageError("The last year " + IntToStr(toYear) + " comes before the first " +
                          IntToStr(fromYear));
    if (YearsBetween(fromYear, toYear) > MaxIcsYears)
        throw EUsageError("A calendar file holds at most " + IntToStr(MaxIcsYears) +
                          " Hijri years; " + IntToStr(fromYear) + " to " + IntToStr(toYear) +
                          " is more");
    const std::string dtstamp = StampText(stamp);
    std::string text;
    const auto line = [&text](std::string_view content) { text += FoldedIcsLine(content); };
    line("BEGIN:VCALENDAR");
    line("VERSION:2.0");
    line("PRODID:-//Dates Converter//dates-convert " + std::string("1.0") + "//EN");
    line("CALSCALE:GREGORIAN");
    line("METHOD:PUBLISH");
    const std::string calendar(calendars.Name());
    const bool ownRule = calendar == DefaultCalendarName;
    const std::string uidTail = (ownRule ? "" : "-" + calendar) + "@dates-convert";
    line("X-WR-CALNAME:" + IcsText("Hijri months " + IntToStr(fromYear) +
                                   (toYear != fromYear ? " to " + IntToStr(toYear) : "") +
                                   (calendars.Named() ? " (" + calendar + ")" : "")));
    const auto event = [&](std::int32_t year, const std::string& uid, const DateParts& day,
                           const std::string& summary, const std::string& description) {
        if (day.Year < 1 || day.Year > 9999)
            throw EUsageError("The Hijri year " + IntToStr(year) +
                              " falls outside the civil years 1 to 9999 a calendar file can hold");
        const double first = DateToJulianDay(day.Year, day.Month, day.Day);
        line("BEGIN:VEVENT");
        line("UID:" + uid + uidTail);
        line("DTSTAMP:" + dtstamp);
        line("DTSTART;VALUE=DATE:" + IcsDate(first));
        line("DTEND;VALUE=DATE:" + IcsDate(first + 1));
        line("SUMMARY:" + IcsText(summary));
        line("DESCRIPTION:" + IcsText(description));
        line("TRANSP:TRANSPARENT");
        line("END:VEVENT");
    };
    for (std::int32_t year = fromYear; year <= toYear; ++year) {
        if (year == 0)
            continue;
        for (const MonthReport& report : DescribeHijriYear(year, calendars))
            event(year, "hijri-month-" + FormatMonth(report.Year, report.Month), report.FirstDay,
                  presentation.HijriDate({report.Year, report.Month, 1}),
                  calendars.Named() ? NamedDescription(report) : Description(report));
        if (!observances)
            continue;
        for (const Observance& o : ObservancesOfYear(year, calendars.Chosen()))
            event(year, "observance-" + FormatDate(o.Hijri), o.Gregorian,
                  std::string(o.Name) + " " + presentation.Number(year),
                  IntToStr(o.Hijri.Day) + " " + std::string(HMonthName(o.Hijri.Month)) + " " +
                      IntToStr(year) + " by " + calendar + ". It begins at sunset on the evening of " +
                      FormatDate(o.Eve) + ".");
    }
    line("END:VCALENDAR");
    return text;
}
