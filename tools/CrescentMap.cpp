#include "tools/CrescentMap.h"

#include "astronomy/Conjunction.h"
#include "astronomy/EveningGrid.h"
#include "astronomy/Places.h"
#include "calendar/CalendarNames.h"
#include "calendar/conver2.h"
#include "tools/MapText.h"
#include "tools/OutputFile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

using astronomy::CriterionId;

// The span of ΔT's polynomials, as for the crescent command: beyond it a
// sunset's instant is an extrapolation.
constexpr std::int32_t FirstYear = -1999;
constexpr std::int32_t LastYear = 3000;

// Finer than the picture's pixels (four a degree) would only cost time.
constexpr double FinestGrid = 0.25;
constexpr double CoarsestGrid = 10;

// Where in the evening the conjunction is looked for: the sunsets of a civil
// date run from about 06:00 UT (180°E) to 06:00 UT the next day (180°W).
constexpr double MiddleOfTheEveningsDays = 0.75;

struct MapOption {
    std::string_view Name;
    std::string CrescentMapArguments::*Field;
};
constexpr MapOption MapOptions[] = {
    {"--png", &CrescentMapArguments::Png},
    {"--grid", &CrescentMapArguments::Grid},
};

std::string Trimmed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// "2026-02-17 12:01 UT", to the minute.
std::string MinuteUT(double jd)
{
    const MinuteText at = InstantToTheMinute(jd);
    return at.Date + " " + at.Clock + " UT";
}

MapCaption CaptionOf(const CrescentMapRequest& request, double conjunction, const Coastlines& coastlines)
{
    CalendarDate evening;
    JulianDayToDate(evening, DateToJulianDay(request.Date.Year, request.Date.Month, request.Date.Day));
    MapCaption caption;
    caption.Title = "Crescent visibility on the evening of " + std::string(DayName(evening.WeekDay)) + " " +
                    std::to_string(request.Date.Day) + " " + std::string(GMonthName(request.Date.Month)) + " " +
                    std::to_string(request.Date.Year);
    caption.Subtitle = std::string(astronomy::CriterionOf(request.Criterion).Name) +
                       " \u00b7 each place at its own sunset \u00b7 conjunction " + MinuteUT(conjunction) + " \u00b7 " +
                       Trimmed(request.GridDegrees) + "\u00b0 grid";
    caption.Footnote = "Each cell is judged at its centre, at sea level, at the sunset of its own civil date. ";
    caption.Footnote += coastlines.Read() ? "Coastlines: GSHHG (Wessel and Smith), low resolution."
                                          : "No coastlines: " + coastlines.Problem + ".";
    return caption;
}

std::vector<MapPlace> PlacesToMark()
{
    std::vector<MapPlace> places;
    for (const astronomy::NamedPlace& place : astronomy::NamedPlaces())
        places.push_back({std::string(place.Name), place.Where.Latitude, place.Where.Longitude});
    return places;
}

} // namespace

bool TakeCrescentMapOption(const std::vector<std::string>& arguments, std::size_t& at,
                           CrescentMapArguments& into)
{
    const std::string& word = arguments[at];
    for (const MapOption& option : MapOptions) {
        if (word == option.Name) {
            if (at + 1 == arguments.size())
                throw EUsageError("The option " + std::string(option.Name) + " needs a value");
            into.*option.Field = arguments[++at];
        } else if (word.starts_with(std::string(option.Name) + "=")) {
            into.*option.Field = word.substr(option.Name.size() + 1);
        } else {
            continue;
        }
        into.Given = true;
        return true;
    }
    return false;
}

double ParseGridDegrees(std::string_view text)
{
    const std::string copy(text);
    const auto refuse = [&copy] {
        return EUsageError("Grid '" + copy + "' is not a step from 0.25 to 10 degrees that divides 180 into whole "
                           "cells (such as 0.5, 1, 2 or 5)");
    };
    if (copy.empty() || copy.find_first_not_of("0123456789.") != std::string::npos)
        throw refuse();
    char* end = nullptr;
    errno = 0;
    const double step = std::strtod(copy.c_str(), &end);
    if (errno != 0 || end != copy.c_str() + copy.size() || !(step >= FinestGrid && step <= CoarsestGrid))
        throw refuse();
    const double cells = 180 / step;
    if (std::fabs(cells - std::round(cells)) > 1e-9 * cells)
        throw refuse();
    return step;
}

CriterionId ParseMapCriterion(std::string_view text)
{
    for (const CriterionId id : {CriterionId::ciOdeh, CriterionId::ciYallop})
        if (text == astronomy::CriterionOf(id).Key)
            return id;
    throw EUsageError("Unknown criterion '" + std::string(text) + "': give odeh or yallop");
}

CrescentMapRequest ParseCrescentMapRequest(std::string_view date, const CrescentMapArguments& arguments)
{
    CrescentMapRequest request;
    request.Date = ParseDate(date);
    RequireCivilDate(request.Date);
    if (request.Date.Year < FirstYear || request.Date.Year > LastYear)
        throw EUsageError("The crescent is computed for the civil years -1999 to 3000; " + std::string(date) +
                          " is outside them");
    if (arguments.Png.empty())
        throw EUsageError("The command crescent-map needs --png FILE");
    if (arguments.Png == "-")
        throw EUsageError("The command crescent-map writes a file: give --png FILE, not standard output");
    request.PngPath = arguments.Png;
    if (!arguments.Criterion.empty())
        request.Criterion = ParseMapCriterion(arguments.Criterion);
    if (!arguments.Grid.empty())
        request.GridDegrees = ParseGridDegrees(arguments.Grid);
    return request;
}

CrescentMap MakeCrescentMap(const CrescentMapRequest& request)
{
    const double midnight = DateToJulianDay(request.Date.Year, request.Date.Month, request.Date.Day);
    const double conjunction = astronomy::ConjunctionNearest(midnight + MiddleOfTheEveningsDays);
    astronomy::GridOptions options;
    options.StepDegrees = request.GridDegrees;
    options.Threads = request.Threads;
    const astronomy::EveningGrid grid = astronomy::ComputeEveningGrid(midnight, conjunction, options);

    const Coastlines coastlines = ReadCoastlines(request.CoastlineFile);
    const MapText text;
    const std::vector<MapPlace> places = PlacesToMark();
    CrescentMap map{DrawCrescentMap(grid, request.Criterion, coastlines, places,
                                    CaptionOf(request, conjunction, coastlines), text),
                    conjunction, {}};
    if (!coastlines.Read())
        map.Notices.push_back("coastlines not drawn: " + coastlines.Problem + " (Debian package gmt-gshhg-low)");
    return map;
}

void WriteCrescentMap(const CrescentMapRequest& request, const std::function<void(const std::string&)>& notice)
{
    const CrescentMap map = MakeCrescentMap(request);
    WriteFileAtomically(request.PngPath, EncodePng(map.Picture.Image));
    for (const std::string& line : map.Notices)
        notice(line);
}
