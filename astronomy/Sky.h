// The Sun and the Moon as the rest of the library sees them: apparent
// geocentric right ascension and declination, distance and parallax, with the
// apparent sidereal time at Greenwich, at a UT instant.
//
// FullSky evaluates the series at every call. TabulatedSky samples them once
// over a span and interpolates, for the many places of one evening: the same
// answers to far below a second of arc, at a small part of the cost.
#pragma once

#include "astronomy/Coordinates.h"

#include <vector>

namespace astronomy {

struct BodySky {
    Equatorial Position;   // apparent, geocentric
    double Distance;       // km
    double Parallax;       // equatorial horizontal parallax, degrees
    double SiderealTime;   // apparent, Greenwich, degrees
};

class SkySource {
public:
    virtual ~SkySource() = default;
    virtual BodySky Sun(double jdUT) const = 0;
    virtual BodySky Moon(double jdUT) const = 0;
};

class FullSky final : public SkySource {
public:
    BodySky Sun(double jdUT) const override;
    BodySky Moon(double jdUT) const override;
};

// The apparent ecliptic longitudes of the Sun and the Moon at a UT instant, from
// the full series (for conjunctions and elongations in longitude).
struct EclipticLongitudes {
    double Sun;
    double Moon;
};
EclipticLongitudes ApparentLongitudes(double jdUT);

// Samples of the full series every `stepDays` from `fromUT` to `toUT`,
// interpolated through four points (Lagrange, cubic). With the default hour
// the Moon's position is off by less than 0.01" and its distance by metres.
// Instants outside the span fall back to the full series.
class TabulatedSky final : public SkySource {
public:
    TabulatedSky(double fromUT, double toUT, double stepDays = 1.0 / 24);
    BodySky Sun(double jdUT) const override;
    BodySky Moon(double jdUT) const override;

private:
    struct Sample {
        double RightAscension;  // unwrapped: continuous across 360°
        double Declination;
        double Distance;
    };
    BodySky Interpolate(const std::vector<Sample>& samples, double jdUT, bool moon) const;

    double from_;
    double step_;
    std::vector<Sample> sun_;
    std::vector<Sample> moon_;
    std::vector<double> equationOfEquinoxes_;  // Δψ cos ε, degrees
    FullSky full_;
};

} // namespace astronomy
