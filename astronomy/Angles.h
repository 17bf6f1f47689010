// Angles and instants shared by the astronomy modules: degrees at every public
// boundary, radians only inside a formula.
#pragma once

#include <cmath>

namespace astronomy {

inline constexpr double Pi = 3.14159265358979323846;
inline constexpr double RadiansPerDegree = Pi / 180;
inline constexpr double ArcsecondsPerDegree = 3600;

// The standard epoch J2000.0 (2000 January 1, 12:00 TT) as a Julian day.
inline constexpr double J2000 = 2451545.0;
inline constexpr double DaysPerJulianCentury = 36525;
inline constexpr double DaysPerJulianMillennium = 365250;
inline constexpr double SecondsPerDay = 86400;
inline constexpr double MinutesPerDay = 1440;

inline double Radians(double degrees) { return degrees * RadiansPerDegree; }
inline double Degrees(double radians) { return radians / RadiansPerDegree; }
inline double SinDeg(double degrees) { return std::sin(Radians(degrees)); }
inline double CosDeg(double degrees) { return std::cos(Radians(degrees)); }

// An angle reduced to 0 <= a < 360.
inline double NormalizeDegrees(double degrees)
{
    double a = std::fmod(degrees, 360.0);
    if (a < 0)
        a += 360;
    return a >= 360 ? 0 : a;
}

// An angle reduced to -180 < a <= 180: the shortest turn from one direction to another.
inline double SignedDegrees(double degrees)
{
    const double a = NormalizeDegrees(degrees);
    return a > 180 ? a - 360 : a;
}

// Julian centuries of 36525 days from J2000.0, in the time scale of jd.
inline double JulianCenturies(double jd) { return (jd - J2000) / DaysPerJulianCentury; }

} // namespace astronomy
