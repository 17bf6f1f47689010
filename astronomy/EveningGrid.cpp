#include "astronomy/EveningGrid.h"

#include "astronomy/Crescent.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace astronomy {

namespace {

GridCell CellOf(const EveningReport& report)
{
    GridCell cell;
    if (!report.Sunset.Happens()) {
        cell.Sun = report.Sunset.Status == HorizonStatus::hsAlwaysAbove ? CellSun::csPolarDay
                                                                         : CellSun::csPolarNight;
        return cell;
    }
    cell.Sunset = report.Sunset.Instant;
    cell.MoonSets = report.Moonset.has_value();
    cell.MoonSetsFirst = report.MoonSetsFirst;
    cell.LagMinutes = report.LagMinutes.value_or(0);
    cell.MoonAltitude = *report.MoonAltitude;
    cell.Elongation = *report.Elongation;
    cell.ArcvGeocentric = report.Geometry->ArcvGeocentric;
    cell.ArcvTopocentric = report.Geometry->ArcvTopocentric;
    cell.Width = report.Geometry->Width;
    const Verdict& yallop = report.Verdicts[static_cast<std::size_t>(CriterionId::ciYallop)];
    const Verdict& odeh = report.Verdicts[static_cast<std::size_t>(CriterionId::ciOdeh)];
    cell.YallopQ = yallop.Value;
    cell.OdehV = odeh.Value;
    cell.YallopZone = yallop.Category.empty() ? '-' : yallop.Category[0];
    cell.OdehZone = odeh.Category.empty() ? '-' : odeh.Category[0];
    return cell;
}

} // namespace

Place EveningGrid::CentreOf(std::size_t row, std::size_t column) const
{
    return {90 - (static_cast<double>(row) + 0.5) * StepDegrees,
            -180 + (static_cast<double>(column) + 0.5) * StepDegrees, 0};
}

TimeSpan EveningSpan(double dateMidnightUT)
{
    // Local noon runs from 00:00 UT (180°E) to 24:00 UT (180°W) of the date; a
    // sunset follows within about 12.3 hours and the nearest moonset lies within
    // about 12.5 hours of it, either side. A margin on both sides covers the rest.
    return {dateMidnightUT - 0.6, dateMidnightUT + 2.1};
}

EveningGrid ComputeEveningGrid(const SkySource& sky, double dateMidnightUT, double conjunctionUT,
                               const GridOptions& options)
{
    EveningGrid grid;
    grid.StepDegrees = options.StepDegrees;
    grid.Rows = static_cast<std::size_t>(std::lround(180 / options.StepDegrees));
    grid.Columns = static_cast<std::size_t>(std::lround(360 / options.StepDegrees));
    grid.DateMidnightUT = dateMidnightUT;
    grid.ConjunctionUT = conjunctionUT;
    grid.Cells.resize(grid.Rows * grid.Columns);

    // Rows are handed out one at a time, so that threads that meet the polar
    // rows (no sunset, little work) take more of the others.
    std::atomic<std::size_t> nextRow{0};
    const auto work = [&] {
        for (std::size_t row; (row = nextRow.fetch_add(1)) < grid.Rows;)
            for (std::size_t column = 0; column < grid.Columns; ++column)
                grid.Cells[row * grid.Columns + column] =
                    CellOf(ReportEvening(sky, grid.CentreOf(row, column), dateMidnightUT, conjunctionUT));
    };
    const unsigned threads = std::max(1u, options.Threads != 0 ? options.Threads : std::thread::hardware_concurrency());
    {
        std::vector<std::jthread> helpers;
        for (unsigned i = 1; i < threads; ++i)
            helpers.emplace_back(work);
        work();
    }  // the helpers join here, before the grid is handed out
    return grid;
}

EveningGrid ComputeEveningGrid(double dateMidnightUT, double conjunctionUT, const GridOptions& options)
{
    const TimeSpan span = EveningSpan(dateMidnightUT);
    const TabulatedSky sky(span.From, span.To);
    return ComputeEveningGrid(sky, dateMidnightUT, conjunctionUT, options);
}

} // namespace astronomy
