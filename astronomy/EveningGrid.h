// One evening over the whole world: every cell of a latitude-longitude grid at
// its own sunset on a civil date (local mean time of the cell's centre, see
// RiseSet.h), with the crescent's geometry and the Yallop and Odeh zones.
//
// The Sun's and the Moon's series are evaluated once, on an hourly table over
// the evening's span of UT, and every cell interpolates in it; cells run on
// several threads. Time scale: UT Julian days.
#pragma once

#include "astronomy/Coordinates.h"
#include "astronomy/Sky.h"

#include <cstddef>
#include <vector>

namespace astronomy {

enum class CellSun : unsigned char {
    csSets,        // the Sun sets on that date
    csPolarDay,    // it stays above the horizon
    csPolarNight,  // it stays below
};

struct GridCell {
    CellSun Sun = CellSun::csSets;
    bool MoonSets = false;        // a moonset was found near the sunset
    bool MoonSetsFirst = false;
    double Sunset = 0;            // UT Julian day, when the Sun sets
    double LagMinutes = 0;        // when the Moon sets
    double MoonAltitude = 0;      // at sunset, topocentric, airless
    double Elongation = 0;        // at sunset, topocentric
    double ArcvGeocentric = 0;    // at the best time (at sunset when the Moon sets first)
    double ArcvTopocentric = 0;
    double Width = 0;             // arcminutes, topocentric
    double YallopQ = 0;
    double OdehV = 0;
    char YallopZone = '-';        // 'A'..'F'; '-' without a sunset
    char OdehZone = '-';          // 'A'..'D'
};

struct GridOptions {
    double StepDegrees = 1;       // cell size; 180 / step rows and 360 / step columns
    unsigned Threads = 0;         // 0: one per processor
};

struct EveningGrid {
    std::size_t Rows = 0;         // from the north: row 0 is the band below 90°N
    std::size_t Columns = 0;      // from the west: column 0 is the band east of 180°W
    double StepDegrees = 1;
    double DateMidnightUT = 0;
    double ConjunctionUT = 0;
    std::vector<GridCell> Cells;  // row by row

    const GridCell& At(std::size_t row, std::size_t column) const { return Cells[row * Columns + column]; }
    Place CentreOf(std::size_t row, std::size_t column) const;
};

// The evening of a date, from its 00:00 UT Julian day, and the conjunction the
// ages are counted from.
EveningGrid ComputeEveningGrid(double dateMidnightUT, double conjunctionUT, const GridOptions& options = {});

// The same on a sky of the caller's (FullSky for the straightforward reckoning
// that evaluates the series at every step).
EveningGrid ComputeEveningGrid(const SkySource& sky, double dateMidnightUT, double conjunctionUT,
                               const GridOptions& options = {});

// The span of UT the evening of a date can reach anywhere: the earliest sunset
// on the date (at 180°E), the latest moonset near the latest sunset (180°W).
struct TimeSpan {
    double From;
    double To;
};
TimeSpan EveningSpan(double dateMidnightUT);

} // namespace astronomy
