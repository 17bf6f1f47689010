// Coordinates on the sky and on the Earth (Meeus, chapters 11, 13, 16, 17, 40):
// ecliptic to equatorial, equatorial to horizontal, the observer's place on the
// ellipsoid, topocentric parallax, angular separation and refraction. Degrees
// throughout.
#pragma once

namespace astronomy {

// A place on the Earth: geodetic latitude (north positive, -90..90), longitude
// (EAST positive, -180..180) and height above sea level in metres.
struct Place {
    double Latitude = 0;
    double Longitude = 0;
    double Elevation = 0;
};

struct Equatorial {
    double RightAscension;  // α, 0..360
    double Declination;     // δ
};

// Altitude above the mathematical (airless) horizon and azimuth measured from
// north through east (0..360).
struct Horizontal {
    double Altitude;
    double Azimuth;
};

// Ecliptic longitude and latitude to right ascension and declination, for the
// obliquity ε (Meeus 13.3, 13.4).
Equatorial EclipticToEquatorial(double longitude, double latitude, double obliquity);

// Local hour angle H (west positive) and declination to altitude and azimuth at
// a latitude (Meeus 13.5, 13.6, azimuth turned to count from north).
Horizontal EquatorialToHorizontal(double hourAngle, double declination, double latitude);

// The observer's geocentric position as Meeus's ρ sin φ' and ρ cos φ' (in
// Earth equatorial radii), from the IAU 1976 ellipsoid (Meeus 11).
struct GeocentricObserver {
    double RhoSinPhi;
    double RhoCosPhi;
};
GeocentricObserver ObserverOnEllipsoid(const Place& place);

// Topocentric place of a body: the geocentric α, δ and hour angle, seen from the
// observer, for the body's equatorial horizontal parallax π (rigorous
// formulae, Meeus 40.2 and 40.3). Distance ratio: topocentric over geocentric.
struct Topocentric {
    Equatorial Position;
    double HourAngle;
    double DistanceRatio;
};
Topocentric ToTopocentric(const Equatorial& geocentric, double hourAngle, double parallax,
                          const GeocentricObserver& observer);

// Angle between two directions (Meeus 17.1, in the form that keeps its
// precision for small angles).
double AngularSeparation(const Equatorial& a, const Equatorial& b);

// Refraction in degrees to add to an airless altitude to get the apparent one,
// for standard air (1010 mbar, 10 °C): Saemundsson's formula (Meeus 16.4).
// Only the rules that ask for an apparent altitude use it.
double RefractionFromTrueAltitude(double altitude);

} // namespace astronomy
