// Nutation and the obliquity of the ecliptic (Meeus, Astronomical Algorithms,
// 2nd ed., chapter 22): the IAU 1980 theory truncated to its 63 terms above
// 0.0003", and Laskar's polynomial for the mean obliquity.
#pragma once

namespace astronomy {

struct NutationAngles {
    double Longitude;       // Δψ, nutation in longitude, degrees
    double Obliquity;       // Δε, nutation in obliquity, degrees
    double MeanObliquity;   // ε0, degrees
    double TrueObliquity;   // ε = ε0 + Δε, degrees
};

// At an instant in TT (Julian day).
NutationAngles Nutation(double jdTT);

// ε0 alone: Laskar's expression, good to 0.01" over 1000 years around 2000 and
// to a few seconds of arc over 10000 years.
double MeanObliquity(double jdTT);

} // namespace astronomy
