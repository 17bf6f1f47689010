// The young crescent at a place: its geometry at an instant, and one evening's
// full report (sunset, moonset, lag, age, best time, the criteria's verdicts).
//
// Time scale: UT Julian days. A civil date is passed as its 00:00 UT Julian day
// and read at the place in local mean time (see RiseSet.h).
#pragma once

#include "astronomy/Coordinates.h"
#include "astronomy/Criteria.h"
#include "astronomy/RiseSet.h"
#include "astronomy/Sky.h"

#include <array>
#include <optional>

namespace astronomy {

// Everything airless (no refraction); topocentric includes parallax for the
// observer's latitude, longitude and elevation.
struct CrescentGeometry {
    Horizontal SunGeocentric;
    Horizontal MoonGeocentric;
    Horizontal SunTopocentric;
    Horizontal MoonTopocentric;
    double ArclGeocentric;    // elongation, degrees
    double ArclTopocentric;
    double ArcvGeocentric;    // Moon's altitude less the Sun's, degrees
    double ArcvTopocentric;
    double Daz;               // Sun's azimuth less the Moon's (topocentric), -180..180
    double SemiDiameter;      // the Moon's topocentric semi-diameter, arcminutes
    double Width;             // topocentric crescent width SD' (1 - cos ARCL'), arcminutes
    double YallopWidth;       // Yallop's W' = SD' (1 - cos ARCL), geocentric ARCL, arcminutes
};

// The geometry at one instant.
CrescentGeometry MeasureCrescent(const SkySource& sky, const Place& place, double jdUT);

// Yallop's best time for looking: sunset plus four ninths of the lag.
inline double BestTime(double sunset, double moonset) { return sunset + (moonset - sunset) * 4 / 9; }

inline constexpr std::size_t CriterionCount = 5;

struct EveningReport {
    double DateMidnightUT = 0;
    HorizonEvent Sunset;
    // The Moon's setting nearest the sunset (before it when the Moon sets
    // first); none when there is no sunset or the Moon neither rises nor sets.
    std::optional<double> Moonset;
    bool MoonSetsFirst = false;
    std::optional<double> LagMinutes;    // moonset - sunset, negative when the Moon sets first
    std::optional<double> AgeHours;      // sunset - conjunction
    std::optional<double> MoonAltitude;  // at sunset, topocentric, airless, centre
    std::optional<double> Elongation;    // at sunset, topocentric
    // The best time; none when the Moon sets first or does not set, and then
    // the criteria that read the best time are read at sunset instead.
    std::optional<double> BestTime;
    std::optional<CrescentGeometry> Geometry;  // at the best time, else at sunset
    std::optional<CrescentInputs> Inputs;
    std::array<Verdict, CriterionCount> Verdicts{};  // by CriterionId; empty without a sunset
};

EveningReport ReportEvening(const SkySource& sky, const Place& place, double dateMidnightUT,
                            double conjunctionUT);

} // namespace astronomy
