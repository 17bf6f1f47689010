// The Sun's apparent geocentric position (Meeus, chapter 25, "higher
// accuracy"): the Earth's heliocentric position from the VSOP87 series as
// Meeus gives them (appendix III: the terms that keep the Sun within about 1"
// of the full theory from 1000 to 3000), turned round to geocentric, moved to
// the FK5 frame, then nutation and aberration.
#pragma once

namespace astronomy {

// The Earth's heliocentric ecliptic coordinates for the mean equinox of date
// (VSOP87D): longitude L and latitude B in radians, not reduced; R in au.
struct HeliocentricEarth {
    double Longitude;
    double Latitude;
    double Radius;
};

HeliocentricEarth EarthPosition(double jdTT);

struct SunEcliptic {
    double GeometricLongitude;  // Θ in FK5, mean equinox of date, degrees 0..360
    double Longitude;           // apparent λ (nutation and aberration), degrees 0..360
    double Latitude;            // β, degrees
    double Distance;            // R, au
};

// At a TT instant; nutationInLongitude in degrees (from Nutation()).
SunEcliptic SunPosition(double jdTT, double nutationInLongitude);

} // namespace astronomy
