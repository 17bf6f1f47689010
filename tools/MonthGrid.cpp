#include "tools/MonthGrid.h"

#include "calendar/CalendarNames.h"
#include "calendar/conver2.h"
#include "tools/ConvertCommands.h"
#include "tools/TextWidth.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* ReverseVideo = "\x1b[7m";
constexpr const char* NormalVideo = "\x1b[27m";
constexpr std::size_t CellWidth = 5;  // "DD/dd": the drawn month's day, then the other calendar's

// Marks that keep a right-to-left grid in the order it is printed in: each line
// opens with a left-to-right mark, so that a terminal that orders text by the
// bidirectional algorithm takes the line as running left to right, and each
// cell is an isolate of its own, so that neither the names nor the Arabic-Indic
// numbers of neighbouring cells run together and swap places.
constexpr std::string_view LeftToRightMark = "\u200e";
constexpr std::string_view LeftToRightIsolate = "\u2066";
constexpr std::string_view PopDirectionalIsolate = "\u2069";

// The reform's first Gregorian day.
bool BeforeReform(std::int32_t year, std::int32_t month)
{
    return year < 1582 || (year == 1582 && month < 10);
}

std::string MonthName(const Presentation& p, bool hijri, std::int32_t year, std::int32_t month)
{
    return hijri ? p.HijriMonthYear(year, month) : p.CivilMonthYear(year, month);
}

// "Shabaan to Ramadhan 1445", "Thul-Hujja 1445 to Muharram 1446": the months of the
// other calendar the grid's days fall in.
std::vector<std::pair<std::int32_t, std::int32_t>> OtherMonths(const MonthGrid& grid)
{
    std::vector<std::pair<std::int32_t, std::int32_t>> months;
    for (const GridDay& day : grid.Days) {
        const DateParts& other = grid.HijriMonth ? day.Gregorian : day.Hijri;
        if (months.empty() || months.back() != std::pair{other.Year, other.Month})
            months.emplace_back(other.Year, other.Month);
    }
    return months;
}

std::string SpanText(const MonthGrid& grid, const Presentation& p)
{
    const auto months = OtherMonths(grid);
    const bool hijri = !grid.HijriMonth;
    // The converter's own "to"; a language of ICU's gets a dash, which needs no words.
    const std::string_view between = p.Translated() ? " \u2013 " : " to ";
    std::string text;
    for (std::size_t i = 0; i < months.size(); ++i) {
        const auto [year, month] = months[i];
        const bool sameYearAsNext = i + 1 < months.size() && months[i + 1].first == year;
        if (i > 0)
            text += between;
        if (sameYearAsNext)
            text += hijri ? p.HijriMonth(month) : p.CivilMonth(month);
        else
            text += MonthName(p, hijri, year, month);
    }
    return text;
}

// How the grid is laid out: how wide a column is, and in which order the days of
// the week stand from left to right.
struct GridLayout {
    std::size_t Column = CellWidth;
    bool RightToLeft = false;
    std::size_t WeekWidth() const { return 7 * (Column + 1) - 1; }
    // The weekday (0 Sunday) shown in the column'th place from the left.
    std::int32_t WeekDayAt(std::size_t column) const
    {
        return static_cast<std::int32_t>(RightToLeft ? 6 - column : column);
    }
};

GridLayout LayoutOf(const Presentation& p)
{
    GridLayout layout;
    layout.RightToLeft = p.RightToLeft();
    for (std::int32_t weekDay = 0; weekDay < 7; ++weekDay)
        layout.Column = std::max(layout.Column, DisplayWidth(p.ShortWeekday(weekDay)));
    return layout;
}

// A line of the grid: marked as running left to right in a right-to-left grid,
// without trailing blanks.
std::string GridLine(const GridLayout& layout, std::string line)
{
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return (layout.RightToLeft ? std::string(LeftToRightMark) : std::string()) + line + "\n";
}

std::string Centred(const GridLayout& layout, const std::string& text)
{
    const std::size_t width = DisplayWidth(text);
    const std::size_t pad = width < layout.WeekWidth() ? (layout.WeekWidth() - width) / 2 : 0;
    return GridLine(layout, std::string(pad, ' ') + text);
}

// A cell's text, `shown` columns wide, padded to the column: towards the reader's
// end of the line, which in a right-to-left grid is the left.
std::string InColumn(const GridLayout& layout, const std::string& text, std::size_t shown)
{
    const std::string pad(layout.Column > shown ? layout.Column - shown : 0, ' ');
    return layout.RightToLeft ? pad + text : text + pad;
}

std::string LeftToRight(const GridLayout& layout, const std::string& text)
{
    if (!layout.RightToLeft)
        return text;
    return std::string(LeftToRightIsolate) + text + std::string(PopDirectionalIsolate);
}

std::string Cell(const Presentation& p, std::int32_t primary, std::int32_t other)
{
    char text[32];
    std::snprintf(text, sizeof text, "%2d/%-2d", primary, other);
    return p.Number(text);
}

// Which day of grid.Days stands in each column of each week, Sunday first.
std::vector<std::array<const GridDay*, 7>> Weeks(const MonthGrid& grid)
{
    std::vector<std::array<const GridDay*, 7>> weeks;
    for (const GridDay& day : grid.Days) {
        if (weeks.empty() || day.WeekDay == 0)
            weeks.push_back({});
        weeks.back()[static_cast<std::size_t>(day.WeekDay)] = &day;
    }
    return weeks;
}

std::string GridText(const MonthGrid& grid, const std::optional<DateParts>& today,
                     const Presentation& p)
{
    const GridLayout layout = LayoutOf(p);
    std::string title = MonthName(p, grid.HijriMonth, grid.Year, grid.Month);
    if (!grid.HijriMonth && BeforeReform(grid.Year, grid.Month))
        title += " (Julian calendar)";
    std::string span = SpanText(grid, p);
    if (!grid.HijriCalendar.empty())
        span += " (" + grid.HijriCalendar + ")";
    std::string text = Centred(layout, p.Isolated(title)) + Centred(layout, p.Isolated(span));

    std::string heading;
    for (std::size_t column = 0; column < 7; ++column) {
        const std::string& name = p.ShortWeekday(layout.WeekDayAt(column));
        heading += InColumn(layout, p.Isolated(name), DisplayWidth(name)) + " ";
    }
    text += GridLine(layout, heading);
    for (const auto& week : Weeks(grid)) {
        std::string line;
        for (std::size_t column = 0; column < 7; ++column) {
            const GridDay* day = week[static_cast<std::size_t>(layout.WeekDayAt(column))];
            if (day == nullptr) {
                line += std::string(layout.Column + 1, ' ');
                continue;
            }
            const DateParts& primary = grid.HijriMonth ? day->Hijri : day->Gregorian;
            const DateParts& other = grid.HijriMonth ? day->Gregorian : day->Hijri;
            std::string cell = InColumn(layout, Cell(p, primary.Day, other.Day), CellWidth);
            if (today && *today == day->Gregorian)
                cell = ReverseVideo + cell + NormalVideo;
            line += LeftToRight(layout, cell) + " ";
        }
        text += GridLine(layout, line);
    }
    // Where a month of the other calendar begins, and what the reform left out.
    for (const GridDay& day : grid.Days) {
        const DateParts& primary = grid.HijriMonth ? day.Hijri : day.Gregorian;
        const DateParts& other = grid.HijriMonth ? day.Gregorian : day.Hijri;
        if (other.Day != 1)
            continue;
        const std::string opens = grid.HijriMonth ? p.CivilDate(other) : p.HijriDate(other);
        const std::string falls = grid.HijriMonth ? p.HijriDateWithWeekday(day.WeekDay, primary)
                                                  : p.CivilDateWithWeekday(day.WeekDay, primary);
        text += GridLine(layout, p.Isolated(opens + " = " + falls));
    }
    if (!grid.MissingDays.empty())
        text += IntToStr(grid.MissingDays.front().Day) + " to " +
                IntToStr(grid.MissingDays.back().Day) +
                " October 1582 do not exist: the civil calendar goes from 4 to 15 October 1582\n";
    return text;
}

std::string GridJson(const MonthGrid& grid, const Presentation& p)
{
    const bool local = p.Translated();
    Json days = Json::array();
    for (const GridDay& day : grid.Days) {
        Json object = {{"gregorian", FormatDate(day.Gregorian)},
                       {"hijri", FormatDate(day.Hijri)},
                       {"weekday", DayName(day.WeekDay)},
                       {"weekday_number", day.WeekDay}};
        if (local)
            object["weekday_local"] = p.Weekday(day.WeekDay);
        days.push_back(object);
    }
    Json missing = Json::array();
    for (const DateParts& day : grid.MissingDays)
        missing.push_back(FormatDate(day));
    const Presentation own;
    Json spanned = Json::array();
    Json spannedLocal = Json::array();
    for (const auto& [year, month] : OtherMonths(grid)) {
        spanned.push_back(MonthName(own, !grid.HijriMonth, year, month));
        spannedLocal.push_back(MonthName(p, !grid.HijriMonth, year, month));
    }
    const std::string spannedKey = grid.HijriMonth ? "gregorian_months" : "hijri_months";
    Json object = {
        {"calendar", grid.HijriMonth ? "hijri" : "gregorian"},
        {"month", FormatMonth(grid.Year, grid.Month)},
        {"name", MonthName(own, grid.HijriMonth, grid.Year, grid.Month)},
        {"julian", !grid.HijriMonth && BeforeReform(grid.Year, grid.Month)},
        {spannedKey, spanned},
        {"days", days},
        {"missing_days", missing},
    };
    if (!grid.HijriCalendar.empty())
        object["hijri_calendar"] = grid.HijriCalendar;
    if (local) {
        object["lang"] = p.Language();
        object["name_local"] = MonthName(p, grid.HijriMonth, grid.Year, grid.Month);
        object[spannedKey + "_local"] = spannedLocal;
    }
    return object.dump(2) + "\n";
}

} // namespace

MonthGrid CivilMonthGrid(std::int32_t year, std::int32_t month, CalendarChoice& calendars)
{
    RequireCivilDate({year, month, 1});
    MonthGrid grid;
    if (calendars.Named())
        grid.HijriCalendar = std::string(calendars.Name());
    grid.Year = year;
    grid.Month = month;
    const std::int32_t length = CivilMonthLength(year, month);
    for (std::int32_t day = 1; day <= length; ++day) {
        if (!IsCivilDate({year, month, day})) {
            grid.MissingDays.push_back({year, month, day});
            continue;
        }
        const DayReport report = ConvertGregorian({year, month, day}, calendars.Chosen());
        grid.Days.push_back({report.Gregorian, report.Hijri, report.WeekDay});
    }
    return grid;
}

MonthGrid HijriMonthGrid(std::int32_t year, std::int32_t month, CalendarChoice& calendars)
{
    RequireHijriDate({year, month, 1}, calendars.Chosen());
    MonthGrid grid;
    if (calendars.Named())
        grid.HijriCalendar = std::string(calendars.Name());
    grid.HijriMonth = true;
    grid.Year = year;
    grid.Month = month;
    const std::int32_t length = HijriMonthLength(year, month, calendars.Chosen());
    for (std::int32_t day = 1; day <= length; ++day) {
        const DayReport report = ConvertHijri({year, month, day}, calendars.Chosen());
        grid.Days.push_back({report.Gregorian, report.Hijri, report.WeekDay});
    }
    return grid;
}

std::string FormatMonthGrid(const MonthGrid& grid, OutputForm form,
                            const std::optional<DateParts>& today, const Presentation& presentation)
{
    return form == OutputForm::ofJson ? GridJson(grid, presentation)
                                      : GridText(grid, today, presentation);
}
