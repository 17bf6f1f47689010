#include "tools/CrescentCommand.h"

#include "astronomy/Conjunction.h"
#include "astronomy/Places.h"
#include "astronomy/TimeScales.h"
#include "calendar/calendars/AstronomicalCalendar.h"
#include "calendar/CalendarNames.h"
#include "calendar/conver2.h"
#include "tools/ConvertCommands.h"
#include "tools/DateText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;
using namespace astronomy;

// The span of ΔT's polynomials; beyond it the series are extrapolations too far
// from anything observed to place a sunset or a crescent.
constexpr double FirstYear = -1999;
constexpr double LastYear = 3000;
constexpr double MinElevation = -500;
constexpr double MaxElevation = 9000;

// A decimal number and nothing else, or none.
std::optional<double> ParseNumber(std::string_view text)
{
    const std::string copy(text);
    if (copy.empty() || copy.find_first_not_of("+-.0123456789") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(copy.c_str(), &end);
    if (errno != 0 || end != copy.c_str() + copy.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Rounded for JSON, so that a reader sees the precision the numbers carry.
double Rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

DateParts CivilDateOf(double midnightUT)
{
    CalendarDate date;
    JulianDayToDate(date, midnightUT);
    return {date.Year, date.Month, date.Day};
}

// An instant to the second: "2026-02-17T12:01:07Z".
std::string UtcSeconds(double jd)
{
    const double seconds = std::round((jd + 0.5) * 86400);
    const double dayNumber = std::floor(seconds / 86400);
    const auto ofDay = static_cast<int>(seconds - dayNumber * 86400);
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", ofDay / 3600, ofDay / 60 % 60, ofDay % 60);
    return FormatDate(CivilDateOf(dayNumber - 0.5)) + "T" + clock + "Z";
}

// The clock part of an instant, with the day it falls on when that is not the
// evening's civil date ("23:41:05" or "00:12:40 +1d").
std::string ClockOn(double jd, double eveningMidnightUT)
{
    const std::string full = UtcSeconds(jd);
    const double seconds = std::round((jd + 0.5) * 86400);
    const auto days = static_cast<long>(std::floor(seconds / 86400) - std::floor(eveningMidnightUT + 0.5));
    std::string text = full.substr(11, 8);
    if (days != 0)
        text += days > 0 ? " +" + std::to_string(days) + "d" : " " + std::to_string(days) + "d";
    return text;
}

std::string DegreesText(double value) { return Fixed(value, 2) + "\u00b0"; }

std::string_view SunWord(const HorizonEvent& sunset)
{
    switch (sunset.Status) {
    case HorizonStatus::hsCrosses: return "sets";
    case HorizonStatus::hsAlwaysAbove: return "polar-day";
    case HorizonStatus::hsAlwaysBelow: return "polar-night";
    }
    return "sets";
}

const Verdict& VerdictOf(const EveningReport& evening, CriterionId id)
{
    return evening.Verdicts[static_cast<std::size_t>(id)];
}

std::string PlaceLine(const CrescentPlace& place)
{
    const std::string coordinates = CoordinatesText(place.Where) + ", " + Fixed(place.Where.Elevation, 0) + " m";
    return place.Name ? *place.Name + " (" + coordinates + ")" : coordinates;
}

// Rows of cells to columns two blanks apart, each as wide as its widest cell
// (counting characters, not bytes, for the degree sign).
std::string Columns(const std::vector<std::vector<std::string>>& rows)
{
    const auto width = [](const std::string& s) {
        return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    };
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], width(row[i]));
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i)
            line += row[i] + (i + 1 < row.size() ? std::string(widths[i] - width(row[i]) + 2, ' ') : "");
        text += line + "\n";
    }
    return text;
}

std::string YesNo(const Verdict& verdict) { return verdict.Seen ? "yes" : "no"; }

// The table's cells after its heading with their numbers in the chosen digits.
std::vector<std::vector<std::string>> InDigitsOf(std::vector<std::vector<std::string>> rows,
                                                const Presentation& p)
{
    for (std::size_t row = 1; row < rows.size(); ++row)
        for (std::string& cell : rows[row])
            cell = p.Number(cell);
    return rows;
}

std::string Text(const CrescentReport& report, const Presentation& p)
{
    std::string text = p.HijriMonthYear(report.Year, report.Month) + " (" +
                       p.Month(report.Year, report.Month) + ") at " + p.Number(PlaceLine(report.Place)) +
                       "\n";
    text += "conjunction: " + p.Number(UtcSeconds(report.Conjunction)) +
            " (geocentric, in ecliptic longitude)\n";
    text += "engine's new moon: " + p.Number(FormatInstant(report.EngineNewMoon)) + " (mean phase)\n";
    text += "times in UT; the Moon's altitude and elongation: topocentric, airless\n\n";

    std::vector<std::vector<std::string>> sunsetRows{
        {"evening", "sunset", "moonset", "lag", "age", "altitude", "elongation", "MABIMS", "Istanbul", "Danjon"}};
    std::vector<std::vector<std::string>> bestRows{
        {"evening", "best time", "ARCL", "ARCV", "DAZ", "W", "q", "Yallop", "V", "Odeh"}};
    for (const EveningReport& e : report.Evenings) {
        const std::string date = FormatDate(CivilDateOf(e.DateMidnightUT));
        if (!e.Sunset.Happens()) {
            const std::string why = e.Sunset.Status == HorizonStatus::hsAlwaysAbove ? "no sunset (polar day)"
                                                                                    : "no sunset (polar night)";
            sunsetRows.push_back({date, why});
            bestRows.push_back({date, "-"});
            continue;
        }
        sunsetRows.push_back({date, ClockOn(e.Sunset.Instant, e.DateMidnightUT),
                              e.Moonset ? ClockOn(*e.Moonset, e.DateMidnightUT) : "none",
                              e.LagMinutes ? Fixed(*e.LagMinutes, 0) + " min" : "-",
                              Fixed(*e.AgeHours, 1) + " h", DegreesText(*e.MoonAltitude), DegreesText(*e.Elongation),
                              YesNo(VerdictOf(e, CriterionId::ciMabims2021)),
                              YesNo(VerdictOf(e, CriterionId::ciIstanbul2016)),
                              YesNo(VerdictOf(e, CriterionId::ciDanjon))});
        const CrescentGeometry& g = *e.Geometry;
        const Verdict& yallop = VerdictOf(e, CriterionId::ciYallop);
        const Verdict& odeh = VerdictOf(e, CriterionId::ciOdeh);
        bestRows.push_back({date,
                            e.BestTime ? ClockOn(*e.BestTime, e.DateMidnightUT)
                                       : (e.MoonSetsFirst ? "(sunset: Moon sets first)" : "(sunset)"),
                            DegreesText(g.ArclTopocentric), DegreesText(g.ArcvTopocentric), DegreesText(g.Daz),
                            Fixed(g.Width, 3) + "'", Fixed(yallop.Value, 3), std::string(yallop.Category),
                            Fixed(odeh.Value, 2), std::string(odeh.Category)});
    }
    text += "At sunset\n" + Columns(InDigitsOf(sunsetRows, p)) + "\n";
    text += "At the best time (sunset + 4/9 of the lag)\n" + Columns(InDigitsOf(bestRows, p));
    text += "\nYallop: A easily visible, B visible in perfect conditions, C may need optical aid,\n"
            "D needs optical aid, E not visible with a telescope, F below the Danjon limit.\n"
            "Odeh: A naked eye, B optical aid (perhaps naked eye), C optical aid only, D not visible.\n";
    return text;
}

Json OptionalInstant(const std::optional<double>& jd)
{
    return jd ? Json(UtcSeconds(*jd)) : Json(nullptr);
}

Json OptionalNumber(const std::optional<double>& value, int decimals)
{
    return value ? Json(Rounded(*value, decimals)) : Json(nullptr);
}

Json EveningJson(const EveningReport& e)
{
    const bool judged = e.Sunset.Happens();
    const std::optional<CrescentGeometry>& g = e.Geometry;
    const auto geometry = [&](auto field, int decimals) {
        return g ? Json(Rounded(field(*g), decimals)) : Json(nullptr);
    };
    const auto seen = [&](CriterionId id) { return judged ? Json(VerdictOf(e, id).Seen) : Json(nullptr); };
    const auto category = [&](CriterionId id) {
        return judged ? Json(std::string(VerdictOf(e, id).Category)) : Json(nullptr);
    };
    const auto value = [&](CriterionId id, int decimals) {
        return judged ? Json(Rounded(VerdictOf(e, id).Value, decimals)) : Json(nullptr);
    };
    return {
        {"date", FormatDate(CivilDateOf(e.DateMidnightUT))},
        {"sun", SunWord(e.Sunset)},
        {"sunset", judged ? Json(UtcSeconds(e.Sunset.Instant)) : Json(nullptr)},
        {"moonset", OptionalInstant(e.Moonset)},
        {"moon_sets_first", e.MoonSetsFirst},
        {"lag_minutes", OptionalNumber(e.LagMinutes, 1)},
        {"moon_age_hours", OptionalNumber(e.AgeHours, 2)},
        {"moon_altitude", OptionalNumber(e.MoonAltitude, 4)},
        {"elongation", OptionalNumber(e.Elongation, 4)},
        {"best_time", OptionalInstant(e.BestTime)},
        {"measured_at", judged ? Json(e.BestTime ? "best_time" : "sunset") : Json(nullptr)},
        {"arcl", geometry([](const CrescentGeometry& x) { return x.ArclTopocentric; }, 4)},
        {"arcv", geometry([](const CrescentGeometry& x) { return x.ArcvTopocentric; }, 4)},
        {"arcv_geocentric", geometry([](const CrescentGeometry& x) { return x.ArcvGeocentric; }, 4)},
        {"daz", geometry([](const CrescentGeometry& x) { return x.Daz; }, 4)},
        {"width_arcmin", geometry([](const CrescentGeometry& x) { return x.Width; }, 4)},
        {"yallop_width_arcmin", geometry([](const CrescentGeometry& x) { return x.YallopWidth; }, 4)},
        {"yallop_q", value(CriterionId::ciYallop, 4)},
        {"yallop", category(CriterionId::ciYallop)},
        {"odeh_v", value(CriterionId::ciOdeh, 3)},
        {"odeh", category(CriterionId::ciOdeh)},
        {"mabims", seen(CriterionId::ciMabims2021)},
        {"istanbul2016", seen(CriterionId::ciIstanbul2016)},
        {"danjon", seen(CriterionId::ciDanjon)},
    };
}

Json ReportJson(const CrescentReport& report)
{
    Json evenings = Json::array();
    for (const EveningReport& e : report.Evenings)
        evenings.push_back(EveningJson(e));
    const Place& p = report.Place.Where;
    return {
        {"month", FormatMonth(report.Year, report.Month)},
        {"name", std::string(HMonthName(report.Month)) + " " + IntToStr(report.Year)},
        {"place",
         {{"name", report.Place.Name ? Json(*report.Place.Name) : Json(nullptr)},
          {"latitude", p.Latitude},
          {"longitude", p.Longitude},
          {"elevation", p.Elevation}}},
        {"conjunction", UtcSeconds(report.Conjunction)},
        {"engine_new_moon", UtcSeconds(report.EngineNewMoon)},
        {"evenings", evenings},
    };
}

} // namespace

std::string CoordinatesText(const Place& p)
{
    return Fixed(std::fabs(p.Latitude), 4) + "\u00b0" + (p.Latitude < 0 ? "S" : "N") + " " +
           Fixed(std::fabs(p.Longitude), 4) + "\u00b0" + (p.Longitude < 0 ? "W" : "E");
}

CrescentPlace ParseCrescentPlace(std::string_view text)
{
    if (const std::optional<NamedPlace> named = FindPlace(text))
        return {std::string(named->Name), named->Where};
    const std::vector<std::string_view> parts = Split(text, ',');
    if (parts.size() < 2 || parts.size() > 3) {
        std::string names;
        for (const NamedPlace& place : NamedPlaces())
            names += (names.empty() ? "" : ", ") + std::string(place.Name);
        throw EUsageError("Unknown place '" + std::string(text) + "': give LAT,LON[,ELEVATION_M] or one of " + names);
    }
    std::array<double, 3> numbers{0, 0, 0};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::optional<double> number = ParseNumber(parts[i]);
        if (!number)
            throw EUsageError("'" + std::string(parts[i]) + "' in '" + std::string(text) + "' is not a number");
        numbers[i] = *number;
    }
    if (numbers[0] < -90 || numbers[0] > 90)
        throw EUsageError("Latitude " + std::string(parts[0]) + " is beyond -90 to 90 degrees");
    if (numbers[1] < -180 || numbers[1] > 180)
        throw EUsageError("Longitude " + std::string(parts[1]) + " is beyond -180 to 180 degrees");
    if (numbers[2] < MinElevation || numbers[2] > MaxElevation)
        throw EUsageError("Elevation " + std::string(parts[2]) + " m is beyond -500 to 9000 m");
    return {std::nullopt, {numbers[0], numbers[1], numbers[2]}};
}

CrescentReport DescribeCrescent(std::int32_t year, std::int32_t month, const CrescentPlace& place)
{
    // The engine's own new moon of the month; EUsageError for a month that does not exist.
    AstronomicalCalendar rule;
    CalendarConverter ruleDays(rule);
    RequireHijriDate({year, month, 1}, ruleDays);
    MonthReport engine;
    MonthStartInstant(HijriMonthLunation(year, month), engine.NewMoon);
    const double civilYear = DecimalYear(engine.NewMoon);
    if (civilYear < FirstYear || civilYear > LastYear + 1)
        throw EUsageError("The crescent is computed for the months whose new moon falls in the civil years "
                          "-1999 to 3000; " + FormatMonth(year, month) + " is outside them");
    CrescentReport report;
    report.Year = year;
    report.Month = month;
    report.Place = place;
    report.EngineNewMoon = engine.NewMoon;
    report.Conjunction = ConjunctionNearest(engine.NewMoon);
    // The conjunction's civil date at the place, in local mean time.
    const double localDay = std::floor(report.Conjunction + 0.5 + place.Where.Longitude / 360) - 0.5;
    const FullSky sky;
    for (std::size_t i = 0; i < report.Evenings.size(); ++i)
        report.Evenings[i] = ReportEvening(sky, place.Where, localDay + static_cast<double>(i), report.Conjunction);
    return report;
}

std::string FormatCrescentReport(const CrescentReport& report, OutputForm form,
                                 const Presentation& presentation)
{
    if (form == OutputForm::ofJson) {
        Json object = ReportJson(report);
        if (presentation.Translated()) {
            object["lang"] = presentation.Language();
            object["name_local"] = presentation.HijriMonthYear(report.Year, report.Month);
        }
        return object.dump(2) + "\n";
    }
    return Text(report, presentation);
}
