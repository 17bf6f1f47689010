// The Moon's geocentric position (Meeus, chapter 47): the ELP-2000/82 series
// truncated as Meeus gives them (tables 47.A and 47.B), within about 10" in
// longitude and 4" in latitude.
#pragma once

namespace astronomy {

// Equatorial radius of the Earth, km, as Meeus uses it for the Moon's parallax.
inline constexpr double EarthRadiusKm = 6378.14;

struct MoonEcliptic {
    double GeometricLongitude;  // λ, mean equinox of date, degrees 0..360
    double Longitude;           // apparent λ (plus nutation), degrees 0..360
    double Latitude;            // β, degrees
    double Distance;            // Δ, centre to centre, km
    double Parallax;            // equatorial horizontal parallax π, degrees
};

// At a TT instant; nutationInLongitude in degrees (from Nutation()).
MoonEcliptic MoonPosition(double jdTT, double nutationInLongitude);

} // namespace astronomy
