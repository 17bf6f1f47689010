#include "astronomy/Nutation.h"

#include "astronomy/Angles.h"

namespace astronomy {

namespace {

// One periodic term: the argument is the sum of the multiples of the five
// fundamental arguments, D (mean elongation of the Moon from the Sun), M (the
// Sun's mean anomaly), M' (the Moon's mean anomaly), F (the Moon's argument of
// latitude) and Ω (longitude of the Moon's ascending node). Δψ gains
// (SinA + SinB T) sin(argument), Δε gains (CosA + CosB T) cos(argument), in
// units of 0.0001".
struct NutationTerm {
    signed char D, M, Mp, F, Omega;
    double SinA, SinB, CosA, CosB;
};

// Meeus, table 22.A (IAU 1980 theory of nutation, terms above 0.0003").
constexpr NutationTerm NutationTerms[] = {
    {0, 0, 0, 0, 1, -171996, -174.2, 92025, 8.9},
    {-2, 0, 0, 2, 2, -13187, -1.6, 5736, -3.1},
    {0, 0, 0, 2, 2, -2274, -0.2, 977, -0.5},
    {0, 0, 0, 0, 2, 2062, 0.2, -895, 0.5},
    {0, 1, 0, 0, 0, 1426, -3.4, 54, -0.1},
    {0, 0, 1, 0, 0, 712, 0.1, -7, 0},
    {-2, 1, 0, 2, 2, -517, 1.2, 224, -0.6},
    {0, 0, 0, 2, 1, -386, -0.4, 200, 0},
    {0, 0, 1, 2, 2, -301, 0, 129, -0.1},
    {-2, -1, 0, 2, 2, 217, -0.5, -95, 0.3},
    {-2, 0, 1, 0, 0, -158, 0, 0, 0},
    {-2, 0, 0, 2, 1, 129, 0.1, -70, 0},
    {0, 0, -1, 2, 2, 123, 0, -53, 0},
    {2, 0, 0, 0, 0, 63, 0, 0, 0},
    {0, 0, 1, 0, 1, 63, 0.1, -33, 0},
    {2, 0, -1, 2, 2, -59, 0, 26, 0},
    {0, 0, -1, 0, 1, -58, -0.1, 32, 0},
    {0, 0, 1, 2, 1, -51, 0, 27, 0},
    {-2, 0, 2, 0, 0, 48, 0, 0, 0},
    {0, 0, -2, 2, 1, 46, 0, -24, 0},
    {2, 0, 0, 2, 2, -38, 0, 16, 0},
    {0, 0, 2, 2, 2, -31, 0, 13, 0},
    {0, 0, 2, 0, 0, 29, 0, 0, 0},
    {-2, 0, 1, 2, 2, 29, 0, -12, 0},
    {0, 0, 0, 2, 0, 26, 0, 0, 0},
    {-2, 0, 0, 2, 0, -22, 0, 0, 0},
    {0, 0, -1, 2, 1, 21, 0, -10, 0},
    {0, 2, 0, 0, 0, 17, -0.1, 0, 0},
    {2, 0, -1, 0, 1, 16, 0, -8, 0},
    {-2, 2, 0, 2, 2, -16, 0.1, 7, 0},
    {0, 1, 0, 0, 1, -15, 0, 9, 0},
    {-2, 0, 1, 0, 1, -13, 0, 7, 0},
    {0, -1, 0, 0, 1, -12, 0, 6, 0},
    {0, 0, 2, -2, 0, 11, 0, 0, 0},
    {2, 0, -1, 2, 1, -10, 0, 5, 0},
    {2, 0, 1, 2, 2, -8, 0, 3, 0},
    {0, 1, 0, 2, 2, 7, 0, -3, 0},
    {-2, 1, 1, 0, 0, -7, 0, 0, 0},
    {0, -1, 0, 2, 2, -7, 0, 3, 0},
    {2, 0, 0, 2, 1, -7, 0, 3, 0},
    {2, 0, 1, 0, 0, 6, 0, 0, 0},
    {-2, 0, 2, 2, 2, 6, 0, -3, 0},
    {-2, 0, 1, 2, 1, 6, 0, -3, 0},
    {2, 0, -2, 0, 1, -6, 0, 3, 0},
    {2, 0, 0, 0, 1, -6, 0, 3, 0},
    {0, -1, 1, 0, 0, 5, 0, 0, 0},
    {-2, -1, 0, 2, 1, -5, 0, 3, 0},
    {-2, 0, 0, 0, 1, -5, 0, 3, 0},
    {0, 0, 2, 2, 1, -5, 0, 3, 0},
    {-2, 0, 2, 0, 1, 4, 0, 0, 0},
    {-2, 1, 0, 2, 1, 4, 0, 0, 0},
    {0, 0, 1, -2, 0, 4, 0, 0, 0},
    {-1, 0, 1, 0, 0, -4, 0, 0, 0},
    {-2, 1, 0, 0, 0, -4, 0, 0, 0},
    {1, 0, 0, 0, 0, -4, 0, 0, 0},
    {0, 0, 1, 2, 0, 3, 0, 0, 0},
    {0, 0, -2, 2, 2, -3, 0, 0, 0},
    {-1, -1, 1, 0, 0, -3, 0, 0, 0},
    {0, 1, 1, 0, 0, -3, 0, 0, 0},
    {0, -1, 1, 2, 2, -3, 0, 0, 0},
    {2, -1, -1, 2, 2, -3, 0, 0, 0},
    {0, 0, 3, 2, 2, -3, 0, 0, 0},
    {2, -1, 0, 2, 2, -3, 0, 0, 0},
};

// A polynomial a0 + a1 T + a2 T^2 + a3 T^3, in degrees.
double Cubic(double T, double a0, double a1, double a2, double a3)
{
    return ((a3 * T + a2) * T + a1) * T + a0;
}

} // namespace

double MeanObliquity(double jdTT)
{
    // Laskar (1986) in units of U = T / 100 (10000 Julian years), seconds of arc.
    constexpr double Coefficients[] = {84381.448, -4680.93, -1.55, 1999.25, -51.38, -249.67,
                                       -39.05,    7.12,     27.87, 5.79,    2.45};
    const double U = JulianCenturies(jdTT) / 100;
    double seconds = 0;
    for (int i = 10; i >= 0; --i)
        seconds = seconds * U + Coefficients[i];
    return seconds / ArcsecondsPerDegree;
}

NutationAngles Nutation(double jdTT)
{
    const double T = JulianCenturies(jdTT);
    // The fundamental arguments (Meeus 22), degrees.
    const double D = Cubic(T, 297.85036, 445267.111480, -0.0019142, 1.0 / 189474);
    const double M = Cubic(T, 357.52772, 35999.050340, -0.0001603, -1.0 / 300000);
    const double Mp = Cubic(T, 134.96298, 477198.867398, 0.0086972, 1.0 / 56250);
    const double F = Cubic(T, 93.27191, 483202.017538, -0.0036825, 1.0 / 327270);
    const double Omega = Cubic(T, 125.04452, -1934.136261, 0.0020708, 1.0 / 450000);

    double psi = 0, eps = 0;  // 0.0001"
    for (const NutationTerm& term : NutationTerms) {
        const double argument =
            Radians(term.D * D + term.M * M + term.Mp * Mp + term.F * F + term.Omega * Omega);
        psi += (term.SinA + term.SinB * T) * std::sin(argument);
        eps += (term.CosA + term.CosB * T) * std::cos(argument);
    }
    NutationAngles angles;
    angles.Longitude = psi / 10000 / ArcsecondsPerDegree;
    angles.Obliquity = eps / 10000 / ArcsecondsPerDegree;
    angles.MeanObliquity = MeanObliquity(jdTT);
    angles.TrueObliquity = angles.MeanObliquity + angles.Obliquity;
    return angles;
}

} // namespace astronomy
