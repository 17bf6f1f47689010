#include "astronomy/TimeScales.h"

#include "astronomy/Angles.h"

#include <array>
#include <iterator>
#include <limits>

namespace astronomy {

namespace {

// One era of ΔT: from FromYear on, ΔT = sum of Coefficients[i] u^i seconds with
// u = (y - Origin) / Scale. Espenak and Meeus write some coefficients as
// fractions (t^3 / 7129); they stand here as those fractions.
struct DeltaTEra {
    double FromYear;
    double Origin;
    double Scale;
    std::array<double, 8> Coefficients;
};

constexpr double Before = -std::numeric_limits<double>::infinity();

// Espenak & Meeus, "Polynomial expressions for Delta T", Five Millennium Canon
// of Solar Eclipses: -1999 to +3000 (NASA/TP-2006-214141), in the order of
// their text. The 2050-2150 era, -20 + 32 u^2 - 0.5628 (2150 - y), is written
// out in powers of u = (y - 1820) / 100: -205.724 + 56.28 u + 32 u^2.
constexpr DeltaTEra DeltaTEras[] = {
    // before -500: the long-term parabola
    {Before, 1820, 100, {-20, 0, 32}},
    // -500 to +500, fitted to the eclipse record
    {-500, 0, 100, {10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192, 0.0090316521}},
    // +500 to +1600
    {500, 1000, 100, {1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073}},
    // telescopic era, from +1600
    {1600, 1600, 1, {120, -0.9808, -0.01532, 1.0 / 7129}},
    {1700, 1700, 1, {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000}},
    {1800, 1800, 1,
     {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272, -0.0000001699, 0.000000000875}},
    {1860, 1860, 1, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174}},
    {1900, 1900, 1, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197}},
    {1920, 1920, 1, {21.20, 0.84493, -0.076100, 0.0020936}},
    {1941, 1950, 1, {29.07, 0.407, -1.0 / 233, 1.0 / 2547}},
    {1961, 1975, 1, {45.45, 1.067, -1.0 / 260, -1.0 / 718}},
    {1986, 2000, 1, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599}},
    // extrapolations
    {2005, 2000, 1, {62.92, 0.32217, 0.005589}},
    {2050, 1820, 100, {-205.724, 56.28, 32}},
    {2150, 1820, 100, {-20, 0, 32}},
};

} // namespace

double DecimalYear(double jd)
{
    // The mean Gregorian year from the start of 2000 (JD 2451544.5).
    return 2000.0 + (jd - 2451544.5) / 365.2425;
}

double DeltaTSeconds(double decimalYear)
{
    const DeltaTEra* era = &DeltaTEras[0];
    for (const DeltaTEra& candidate : DeltaTEras)
        if (decimalYear >= candidate.FromYear)
            era = &candidate;
    const double u = (decimalYear - era->Origin) / era->Scale;
    double sum = 0;  // Horner's scheme, highest power first
    for (auto c = std::rbegin(era->Coefficients); c != std::rend(era->Coefficients); ++c)
        sum = sum * u + *c;
    return sum;
}

double TerrestrialTime(double jdUT)
{
    return jdUT + DeltaTSeconds(DecimalYear(jdUT)) / SecondsPerDay;
}

double UniversalTime(double jdTT)
{
    // ΔT changes by well under a second a day, so two rounds settle it.
    double ut = jdTT - DeltaTSeconds(DecimalYear(jdTT)) / SecondsPerDay;
    ut = jdTT - DeltaTSeconds(DecimalYear(ut)) / SecondsPerDay;
    return ut;
}

} // namespace astronomy
