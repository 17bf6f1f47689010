#include "tools/ConvertOutput.h"

#include "calendar/CalendarNames.h"
#include "tools/TextWidth.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <type_traits>
#include <variant>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* RuleNextDay = "next-day";
constexpr const char* RuleDayAfterNext = "day-after-next";

using TextLines = std::vector<std::pair<std::string, std::string>>;

std::string Lines(const TextLines& fields)
{
    std::string text;
    for (const auto& [key, value] : fields)
        text += key + ": " + value + "\n";
    return text;
}

std::string SignedDays(std::int32_t days)
{
    std::string text = IntToStr(days);
    if (days > 0)
        text.insert(text.begin(), '+');
    return text;
}

// The language's twins of the keys that hold names, and the language itself.
void AddLanguage(Json& object, const Presentation& presentation)
{
    if (presentation.Translated())
        object["lang"] = presentation.Language();
}

} // namespace

std::string FormatInstant(double julianDay, int hoursAhead)
{
    const MinuteText at = InstantToTheMinute(julianDay, hoursAhead);
    char zone[16] = "Z";
    if (hoursAhead != 0)
        std::snprintf(zone, sizeof zone, "%+03d:00", hoursAhead);
    return at.Date + "T" + at.Clock + zone;
}

std::string FormatDayReport(const DayReport& report, OutputForm form, bool named,
                            const Presentation& presentation)
{
    const Presentation& p = presentation;
    const std::string source(SourceName(report.Source));
    if (form == OutputForm::ofJson) {
        Json object = {
            {"gregorian", FormatDate(report.Gregorian)},
            {"hijri", FormatDate(report.Hijri)},
            {"weekday", DayName(report.WeekDay)},
            {"weekday_number", report.WeekDay},
            {"line", report.Line},
            {"calendar", report.Calendar},
            {"source", source},
        };
        if (p.Translated()) {
            AddLanguage(object, p);
            object["weekday_local"] = p.Weekday(report.WeekDay);
            object["line_local"] = p.Line(report.WeekDay, report.Hijri, report.Gregorian);
        }
        return object.dump(2) + "\n";
    }
    TextLines lines = {
        {"gregorian", p.Date(report.Gregorian)},
        {"hijri", p.Date(report.Hijri)},
        {"weekday", p.Weekday(report.WeekDay)},
        {"line", p.Plain() ? report.Line : p.Line(report.WeekDay, report.Hijri, report.Gregorian)},
    };
    if (named || report.Source == MonthSource::msCorrection) {
        lines.emplace_back("calendar", report.Calendar);
        lines.emplace_back("source", source);
    }
    return Lines(lines);
}

namespace {

Json FactsJson(const MonthReason& reason)
{
    Json facts = Json::object();
    for (const ReasonFact& fact : reason.Facts)
        std::visit(
            [&](const auto& value) {
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, UtInstant>)
                    facts[fact.Name] = FormatInstant(value.JulianDay);
                else if constexpr (std::is_same_v<Value, Degrees>)
                    facts[fact.Name] = value.Value;
                else
                    facts[fact.Name] = value;
            },
            fact.Value);
    return facts;
}

// One calendar's first day of the month, or nulls and the reason it has none.
Json CalendarMonthJson(const CalendarMonth& month, const Presentation& p)
{
    Json object = {{"calendar", month.Calendar}};
    object["first_day"] = month.Covered ? Json(FormatDate(month.FirstDay)) : Json(nullptr);
    object["first_weekday"] = month.Covered ? Json(DayName(month.FirstWeekDay)) : Json(nullptr);
    object["length"] = month.Covered ? Json(month.Length) : Json(nullptr);
    object["source"] = month.Covered ? Json(SourceName(month.Reason.Source)) : Json(nullptr);
    object["reason"] = month.Reason.Text;
    object["facts"] = FactsJson(month.Reason);
    if (p.Translated())
        object["first_weekday_local"] =
            month.Covered ? Json(p.Weekday(month.FirstWeekDay)) : Json(nullptr);
    return object;
}

Json CalendarsJson(const MonthReport& report, const Presentation& p)
{
    Json list = Json::array();
    for (const CalendarMonth& month : report.Calendars)
        list.push_back(CalendarMonthJson(month, p));
    return list;
}

// The month's name in the language, after the keys of the month itself.
void AddMonthName(Json& object, const MonthReport& report, const Presentation& p)
{
    if (p.Translated())
        object["name_local"] = p.HijriMonthYear(report.Year, report.Month);
}

// The month under a calendar --calendar named.
Json NamedMonthJson(const MonthReport& report, const Presentation& p)
{
    Json object = {
        {"hijri_month", FormatMonth(report.Year, report.Month)},
        {"name", std::string(HMonthName(report.Month)) + " " + IntToStr(report.Year)},
    };
    const Json chosen = CalendarMonthJson(report.Chosen, p);
    for (const auto& [key, value] : chosen.items())
        object[key] = value;
    object["calendars"] = CalendarsJson(report, p);
    AddMonthName(object, report, p);
    return object;
}

Json MonthReportJson(const MonthReport& report, const Presentation& p)
{
    Json object = {
        {"hijri_month", FormatMonth(report.Year, report.Month)},
        {"name", std::string(HMonthName(report.Month)) + " " + IntToStr(report.Year)},
        {"lunation", report.Lunation},
        {"new_moon_ut", FormatInstant(report.NewMoon)},
        {"new_moon_ut3", FormatInstant(report.NewMoon, 3)},
        {"rule", report.OpensNextDay ? RuleNextDay : RuleDayAfterNext},
        {"first_day", FormatDate(report.FirstDay)},
        {"first_weekday", DayName(report.FirstWeekDay)},
        {"length", report.Length},
        {"borderline", report.Borderline},
        {"umalqura_first_day", nullptr},
        {"umalqura_difference", nullptr},
    };
    if (report.UmmAlQuraFirstDay) {
        object["umalqura_first_day"] = FormatDate(*report.UmmAlQuraFirstDay);
        object["umalqura_difference"] = report.UmmAlQuraDifference;
    }
    object["calendars"] = CalendarsJson(report, p);
    AddMonthName(object, report, p);
    if (p.Translated())
        object["first_weekday_local"] = p.Weekday(report.FirstWeekDay);
    return object;
}

} // namespace

std::string FormatYearReport(std::int32_t year, const std::vector<MonthReport>& months,
                             OutputForm form, bool named, const Presentation& presentation)
{
    const Presentation& p = presentation;
    const std::string calendar = months.empty() ? std::string() : months.front().Chosen.Calendar;
    if (form == OutputForm::ofJson) {
        Json list = Json::array();
        for (const MonthReport& report : months)
            list.push_back(named ? NamedMonthJson(report, p) : MonthReportJson(report, p));
        Json object = named ? Json{{"hijri_year", year}, {"calendar", calendar}, {"months", list}}
                            : Json{{"hijri_year", year}, {"months", list}};
        AddLanguage(object, p);
        return object.dump(2) + "\n";
    }
    if (named) {
        std::vector<std::vector<std::string>> rows{
            {"month", "name", "first day", "weekday", "length", "source"}};
        for (const MonthReport& report : months)
            rows.push_back({p.Number(report.Month), p.Isolated(p.HijriMonth(report.Month)),
                            p.Date(report.FirstDay), p.Isolated(p.Weekday(report.FirstWeekDay)),
                            p.Number(report.Length), std::string(SourceName(report.Chosen.Reason.Source))});
        return "Hijri year " + p.Number(year) + " (" + calendar + ")\n" + AlignedColumns(rows);
    }
    std::vector<std::vector<std::string>> rows{{"month", "name", "first day", "weekday", "length",
                                                "new moon (UT)", "rule", "borderline",
                                                "umalqura", "difference"}};
    for (const MonthReport& report : months) {
        std::vector<std::string> row{p.Number(report.Month),
                                     p.Isolated(p.HijriMonth(report.Month)),
                                     p.Date(report.FirstDay),
                                     p.Isolated(p.Weekday(report.FirstWeekDay)),
                                     p.Number(report.Length),
                                     p.Number(FormatInstant(report.NewMoon)),
                                     report.OpensNextDay ? RuleNextDay : RuleDayAfterNext,
                                     report.Borderline ? "yes" : "no"};
        if (report.UmmAlQuraFirstDay) {
            row.push_back(p.Date(*report.UmmAlQuraFirstDay));
            row.push_back(p.Number(SignedDays(report.UmmAlQuraDifference)));
        } else {
            row.insert(row.end(), {"-", "-"});
        }
        rows.push_back(row);
    }
    return "Hijri year " + p.Number(year) + "\n" + AlignedColumns(rows);
}

namespace {

// Every calendar's first day, one aligned row each, under the heading "calendars:".
std::string CalendarsText(const MonthReport& report, const Presentation& p)
{
    std::vector<std::vector<std::string>> rows;
    for (const CalendarMonth& month : report.Calendars) {
        if (month.Covered)
            rows.push_back({"", month.Calendar, p.Date(month.FirstDay),
                            p.Isolated(p.Weekday(month.FirstWeekDay)),
                            p.Number(month.Length) + " days",
                            std::string(SourceName(month.Reason.Source)), month.Reason.Text});
        else
            rows.push_back({"", month.Calendar, "-", "-", "-", "-", month.Reason.Text});
    }
    return "calendars:\n" + AlignedColumns(rows);
}

std::string NamedMonthText(const MonthReport& report, const Presentation& p)
{
    const CalendarMonth& chosen = report.Chosen;
    return Lines({
               {"hijri month", p.Month(report.Year, report.Month) + " (" +
                                   p.HijriMonthYear(report.Year, report.Month) + ")"},
               {"calendar", chosen.Calendar},
               {"first day", p.Date(chosen.FirstDay) + " (" + p.Weekday(chosen.FirstWeekDay) + ")"},
               {"length", p.Number(chosen.Length) + " days"},
               {"source", std::string(SourceName(chosen.Reason.Source))},
               {"reason", chosen.Reason.Text},
           }) +
           CalendarsText(report, p);
}

} // namespace

std::string FormatMonthReport(const MonthReport& report, OutputForm form, bool named,
                              const Presentation& presentation)
{
    const Presentation& p = presentation;
    if (form == OutputForm::ofJson) {
        Json object = named ? NamedMonthJson(report, p) : MonthReportJson(report, p);
        AddLanguage(object, p);
        return object.dump(2) + "\n";
    }
    if (named)
        return NamedMonthText(report, p);

    const std::string month = p.Month(report.Year, report.Month);
    const std::string name = p.HijriMonthYear(report.Year, report.Month);
    const std::string newMoon = p.Number(FormatInstant(report.NewMoon));
    const std::string newMoonUt3 = FormatInstant(report.NewMoon, 3);
    const std::string firstDay = p.Date(report.FirstDay);
    const std::string& firstWeekDay = p.Weekday(report.FirstWeekDay);
    TextLines lines = {
        {"hijri month", month + " (" + name + ")"},
        {"lunation", p.Number(report.Lunation)},
        {"new moon", newMoon},
        {"hour at UT+3", p.Number(newMoonUt3.substr(newMoonUt3.find('T') + 1, 5))},
        {"rule", report.OpensNextDay
                     ? std::string(RuleNextDay) + " (new moon from 00:00 to 03:00 UT)"
                     : std::string(RuleDayAfterNext) + " (new moon outside 00:00 to 03:00 UT)"},
        {"first day", firstDay + " (" + firstWeekDay + ")"},
        {"length", p.Number(report.Length) + " days"},
        {"borderline", report.Borderline ? "yes" : "no"},
    };
    if (report.UmmAlQuraFirstDay) {
        lines.emplace_back("umalqura first day", p.Date(*report.UmmAlQuraFirstDay));
        const bool oneDay = report.UmmAlQuraDifference == 1 || report.UmmAlQuraDifference == -1;
        lines.emplace_back("umalqura difference", p.Number(SignedDays(report.UmmAlQuraDifference)) +
                                                      (oneDay ? " day" : " days"));
    }
    return Lines(lines) + CalendarsText(report, p);
}

std::string AlignedColumns(const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths.resize(std::max(widths.size(), row.size()));
            widths[i] = std::max(widths[i], DisplayWidth(row[i]));
        }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? PaddedTo(row[i], widths[i] + 2) : row[i];
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    return text;
}
