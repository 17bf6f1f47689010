#include "astronomy/MoonPosition.h"

#include "astronomy/Angles.h"

namespace astronomy {

namespace {

// A term of the Moon's longitude and distance: argument D d + M m + M' mp + F f
// (D mean elongation, M the Sun's mean anomaly, M' the Moon's mean anomaly, F
// the Moon's argument of latitude). Σl gains SinL sin(argument) (0.000001°), Σr
// gains CosR cos(argument) (0.001 km); a term with M is multiplied by E, one
// with 2M by E^2, for the shrinking eccentricity of the Earth's orbit.
struct LongitudeDistanceTerm {
    signed char D, M, Mp, F;
    double SinL, CosR;
};

// Meeus, table 47.A.
constexpr LongitudeDistanceTerm LongitudeDistanceTerms[] = {
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {2, 1, 0, -2, -399, 0},
    {0, 0, 2, -2, -381, -4421},
    {1, 1, 1, 0, 351, 0},
    {3, 0, -2, 0, -340, 0},
    {4, 0, -3, 0, 330, 0},
    {2, -1, 2, 0, 327, 0},
    {0, 2, 1, 0, -323, 1165},
    {1, 1, -1, 0, 299, 0},
    {2, 0, 3, 0, 294, 0},
    {2, 0, -1, -2, 0, 8752},
};

// A term of the Moon's latitude: Σb gains SinB sin(argument) (0.000001°).
struct LatitudeTerm {
    signed char D, M, Mp, F;
    double SinB;
};

// Meeus, table 47.B.
constexpr LatitudeTerm LatitudeTerms[] = {
    {0, 0, 0, 1, 5128122},
    {0, 0, 1, 1, 280602},
    {0, 0, 1, -1, 277693},
    {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},
    {2, 0, -1, -1, 46271},
    {2, 0, 0, 1, 32573},
    {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},
    {0, 0, 2, -1, 8822},
    {2, -1, 0, -1, 8216},
    {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},
    {2, 1, 0, -1, -3359},
    {2, -1, -1, 1, 2463},
    {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065},
    {0, 1, -1, -1, -1870},
    {4, 0, -1, -1, 1828},
    {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},
    {0, 1, -1, 1, -1565},
    {1, 0, 0, 1, -1491},
    {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},
    {0, 1, 0, -1, -1344},
    {1, 0, 0, -1, -1335},
    {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021},
    {4, 0, -1, 1, 833},
    {0, 0, 1, -3, 777},
    {4, 0, -2, 1, 671},
    {2, 0, 0, -3, 607},
    {2, 0, 2, -1, 596},
    {2, -1, 1, -1, 491},
    {2, 0, -2, 1, -451},
    {0, 0, 3, -1, 439},
    {2, 0, 2, 1, 422},
    {2, 0, -3, -1, 421},
    {2, 1, -1, 1, -366},
    {2, 1, 0, 1, -351},
    {4, 0, 0, 1, 331},
    {2, -1, 1, 1, 315},
    {2, -2, 0, -1, 302},
    {0, 0, 1, 3, -283},
    {2, 1, 1, -1, -229},
    {1, 1, 0, -1, 223},
    {1, 1, 0, 1, 223},
    {0, 1, -2, -1, -220},
    {2, 1, -1, -1, -220},
    {1, 0, 1, 1, -185},
    {2, -1, -2, -1, 181},
    {0, 1, 2, 1, -177},
    {4, 0, -2, -1, 176},
    {4, -1, -1, -1, 166},
    {1, 0, 1, -1, -164},
    {4, 0, 1, -1, 132},
    {1, 0, -1, -1, -119},
    {4, -1, 0, -1, 115},
    {2, -2, 0, 1, 107},
};

// a0 + a1 T + a2 T^2 + a3 T^3 + a4 T^4, degrees.
double Quartic(double T, double a0, double a1, double a2, double a3, double a4)
{
    return (((a4 * T + a3) * T + a2) * T + a1) * T + a0;
}

// The factor E^|m| of a term with m multiples of the Sun's anomaly.
double EccentricityFactor(int m, double E)
{
    return m == 0 ? 1 : (m == 1 || m == -1) ? E : E * E;
}

} // namespace

MoonEcliptic MoonPosition(double jdTT, double nutationInLongitude)
{
    const double T = JulianCenturies(jdTT);
    // Mean elements (Meeus 47.1 to 47.5), degrees.
    const double Lp = Quartic(T, 218.3164477, 481267.88123421, -0.0015786, 1.0 / 538841, -1.0 / 65194000);
    const double D = Quartic(T, 297.8501921, 445267.1114034, -0.0018819, 1.0 / 545868, -1.0 / 113065000);
    const double M = Quartic(T, 357.5291092, 35999.0502909, -0.0001536, 1.0 / 24490000, 0);
    const double Mp = Quartic(T, 134.9633964, 477198.8675055, 0.0087414, 1.0 / 69699, -1.0 / 14712000);
    const double F = Quartic(T, 93.2720950, 483202.0175233, -0.0036539, -1.0 / 3526000, 1.0 / 863310000);
    // Further arguments: A1 for the action of Venus, A2 of Jupiter, A3 for the
    // flattening of the Earth.
    const double A1 = 119.75 + 131.849 * T;
    const double A2 = 53.09 + 479264.290 * T;
    const double A3 = 313.45 + 481266.484 * T;
    // Eccentricity of the Earth's orbit relative to its value at J2000 (47.6).
    const double E = 1 - 0.002516 * T - 0.0000074 * T * T;

    double sumL = 0, sumR = 0, sumB = 0;
    for (const LongitudeDistanceTerm& term : LongitudeDistanceTerms) {
        const double argument = Radians(term.D * D + term.M * M + term.Mp * Mp + term.F * F);
        const double factor = EccentricityFactor(term.M, E);
        sumL += factor * term.SinL * std::sin(argument);
        sumR += factor * term.CosR * std::cos(argument);
    }
    for (const LatitudeTerm& term : LatitudeTerms) {
        const double argument = Radians(term.D * D + term.M * M + term.Mp * Mp + term.F * F);
        sumB += EccentricityFactor(term.M, E) * term.SinB * std::sin(argument);
    }
    // The additive terms of Venus, Jupiter and the Earth's flattening.
    sumL += 3958 * SinDeg(A1) + 1962 * SinDeg(Lp - F) + 318 * SinDeg(A2);
    sumB += -2235 * SinDeg(Lp) + 382 * SinDeg(A3) + 175 * SinDeg(A1 - F) + 175 * SinDeg(A1 + F) +
            127 * SinDeg(Lp - Mp) - 115 * SinDeg(Lp + Mp);

    MoonEcliptic moon;
    moon.GeometricLongitude = NormalizeDegrees(Lp + sumL / 1e6);
    moon.Longitude = NormalizeDegrees(moon.GeometricLongitude + nutationInLongitude);
    moon.Latitude = sumB / 1e6;
    moon.Distance = 385000.56 + sumR / 1000;
    moon.Parallax = Degrees(std::asin(EarthRadiusKm / moon.Distance));
    return moon;
}

} // namespace astronomy
