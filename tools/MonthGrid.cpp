#include "tools/MonthGrid.h"

#include "calendar/CalendarNames.h"
#include "calendar/conver2.h"
#include "tools/ConvertCommands.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* ReverseVideo = "\x1b[7m";
constexpr const char* NormalVideo = "\x1b[27m";
constexpr int CellWidth = 5;  // "DD/dd": the drawn month's day, then the other calendar's
constexpr int WeekWidth = 7 * (CellWidth + 1) - 1;

// The reform's first Gregorian day.
bool BeforeReform(std::int32_t year, std::int32_t month)
{
    return year < 1582 || (year == 1582 && month < 10);
}

std::string MonthName(bool hijri, std::int32_t year, std::int32_t month)
{
    return std::string(hijri ? HMonthName(month) : GMonthName(month)) + " " + IntToStr(year);
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

std::string SpanText(const MonthGrid& grid)
{
    const auto months = OtherMonths(grid);
    const bool hijri = !grid.HijriMonth;
    std::string text;
    for (std::size_t i = 0; i < months.size(); ++i) {
        const bool sameYearAsNext = i + 1 < months.size() && months[i + 1].first == months[i].first;
        if (i > 0)
            text += " to ";
        text += hijri ? HMonthName(months[i].second) : GMonthName(months[i].second);
        if (!sameYearAsNext) {
            text += ' ';
            text += IntToStr(months[i].first);
        }
    }
    return text;
}

std::string Centred(const std::string& text)
{
    const int pad = (WeekWidth - static_cast<int>(text.size())) / 2;
    return std::string(pad > 0 ? pad : 0, ' ') + text + "\n";
}

std::string Cell(std::int32_t primary, std::int32_t other)
{
    char text[32];
    std::snprintf(text, sizeof text, "%2d/%-2d", primary, other);
    return text;
}

std::string GridText(const MonthGrid& grid, const std::optional<DateParts>& today)
{
    std::string title = MonthName(grid.HijriMonth, grid.Year, grid.Month);
    if (!grid.HijriMonth && BeforeReform(grid.Year, grid.Month))
        title += " (Julian calendar)";
    std::string span = SpanText(grid);
    if (!grid.HijriCalendar.empty())
        span += " (" + grid.HijriCalendar + ")";
    std::string text = Centred(title) + Centred(span);
    for (int weekDay = 0; weekDay < 7; ++weekDay)
        text += std::string(DayName(weekDay).substr(0, 2)) +
                (weekDay < 6 ? std::string(CellWidth - 1, ' ') : "\n");
    std::string week;
    int column = 0;
    const auto endWeek = [&] {
        while (!week.empty() && week.back() == ' ')
            week.pop_back();
        text += week + "\n";
        week.clear();
        column = 0;
    };
    for (std::size_t i = 0; i < grid.Days.size(); ++i) {
        const GridDay& day = grid.Days[i];
        if (i == 0)
            for (; column < day.WeekDay; ++column)
                week += std::string(CellWidth + 1, ' ');
        const DateParts& primary = grid.HijriMonth ? day.Hijri : day.Gregorian;
        const DateParts& other = grid.HijriMonth ? day.Gregorian : day.Hijri;
        const std::string cell = Cell(primary.Day, other.Day);
        if (today && *today == day.Gregorian)
            week += ReverseVideo + cell + NormalVideo;
        else
            week += cell;
        week += ' ';
        if (++column == 7)
            endWeek();
    }
    if (column > 0)
        endWeek();
    // Where a month of the other calendar begins, and what the reform left out.
    for (const GridDay& day : grid.Days) {
        const DateParts& primary = grid.HijriMonth ? day.Hijri : day.Gregorian;
        const DateParts& other = grid.HijriMonth ? day.Gregorian : day.Hijri;
        if (other.Day == 1)
            text += "1 " + MonthName(!grid.HijriMonth, other.Year, other.Month) + " = " +
                    std::string(DayName(day.WeekDay)) + ", " + IntToStr(primary.Day) + " " +
                    MonthName(grid.HijriMonth, primary.Year, primary.Month) + "\n";
    }
    if (!grid.MissingDays.empty())
        text += IntToStr(grid.MissingDays.front().Day) + " to " +
                IntToStr(grid.MissingDays.back().Day) +
                " October 1582 do not exist: the civil calendar goes from 4 to 15 October 1582\n";
    return text;
}

std::string GridJson(const MonthGrid& grid)
{
    Json days = Json::array();
    for (const GridDay& day : grid.Days)
        days.push_back({{"gregorian", FormatDate(day.Gregorian)},
                        {"hijri", FormatDate(day.Hijri)},
                        {"weekday", DayName(day.WeekDay)},
                        {"weekday_number", day.WeekDay}});
    Json missing = Json::array();
    for (const DateParts& day : grid.MissingDays)
        missing.push_back(FormatDate(day));
    Json spanned = Json::array();
    for (const auto& [year, month] : OtherMonths(grid))
        spanned.push_back(MonthName(!grid.HijriMonth, year, month));
    Json object = {
        {"calendar", grid.HijriMonth ? "hijri" : "gregorian"},
        {"month", FormatMonth(grid.Year, grid.Month)},
        {"name", MonthName(grid.HijriMonth, grid.Year, grid.Month)},
        {"julian", !grid.HijriMonth && BeforeReform(grid.Year, grid.Month)},
        {grid.HijriMonth ? "gregorian_months" : "hijri_months", spanned},
        {"days", days},
        {"missing_days", missing},
    };
    if (!grid.HijriCalendar.empty())
        object["hijri_calendar"] = grid.HijriCalendar;
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
                            const std::optional<DateParts>& today)
{
    return form == OutputForm::ofJson ? GridJson(grid) : GridText(grid, today);
}
