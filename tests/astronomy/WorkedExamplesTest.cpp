// Meeus's worked examples (Astronomical Algorithms, 2nd edition), each with
// the figures he prints, to the places he prints them. A tolerance is half a
// unit in his last place unless the line says why it is wider.
#include "astronomy/Angles.h"
#include "astronomy/Coordinates.h"
#include "astronomy/MoonPosition.h"
#include "astronomy/Nutation.h"
#include "astronomy/RiseSet.h"
#include "astronomy/SiderealTime.h"
#include "astronomy/SunPosition.h"
#include "astronomy/TimeScales.h"

#include <gtest/gtest.h>

using namespace astronomy;

namespace {

constexpr double Arcsecond = 1.0 / 3600;

double Dms(double degrees, double minutes, double seconds)
{
    const double sign = degrees < 0 || minutes < 0 || seconds < 0 ? -1 : 1;
    return sign * (std::fabs(degrees) + std::fabs(minutes) / 60 + std::fabs(seconds) / 3600);
}

double Hms(double hours, double minutes, double seconds)
{
    return (hours + minutes / 60 + seconds / 3600) * 15;
}

} // namespace

// Example 22.a: 1987 April 10, 0h TD.
TEST(WorkedExample, Nutation22a)
{
    const NutationAngles n = Nutation(2446895.5);
    EXPECT_NEAR(n.Longitude / Arcsecond, -3.788, 0.0005);
    EXPECT_NEAR(n.Obliquity / Arcsecond, 9.443, 0.0005);
    EXPECT_NEAR(n.MeanObliquity, Dms(23, 26, 27.407), 0.0005 * Arcsecond);
    // ε = ε0 + Δε from his two rounded figures: two half-units.
    EXPECT_NEAR(n.TrueObliquity, Dms(23, 26, 36.850), 0.001 * Arcsecond);
}

// Examples 12.a and 12.b: sidereal time at Greenwich on 1987 April 10.
TEST(WorkedExample, SiderealTime12aAnd12b)
{
    EXPECT_NEAR(MeanSiderealTime(2446895.5), Hms(13, 10, 46.3668), 0.00005 * 15 * Arcsecond);
    // The apparent time with the example's own nutation (Δψ = -3.788", ε = 23°26'36.85").
    EXPECT_NEAR(ApparentSiderealTime(2446895.5, -3.788 * Arcsecond, Dms(23, 26, 36.85)),
                Hms(13, 10, 46.1351), 0.00005 * 15 * Arcsecond);
    // 128.73787328° to ten places; Meeus prints 128.7378734.
    EXPECT_NEAR(MeanSiderealTime(2446896.30625), 128.7378734, 0.0000002);
}

// Example 13.b: Venus seen from Washington (38°55'17" N) on 1987 April 10 at
// 19h21m UT: δ = -6°43'11.61" at the hour angle H = 64.352133°.
TEST(WorkedExample, Horizontal13b)
{
    const Horizontal h = EquatorialToHorizontal(64.352133, Dms(-6, 43, 11.61), Dms(38, 55, 17));
    EXPECT_NEAR(h.Altitude, 15.1249, 0.00005);
    EXPECT_NEAR(h.Azimuth, 68.0337 + 180, 0.00005);  // Meeus counts from the south
}

// Example 13.a in reverse, and the ecliptic of example 47.a: the Moon's apparent
// λ = 133.167265°, β = -3.229126° with ε = 23.440636° give α = 134.688470°,
// δ = +13.768368°.
TEST(WorkedExample, EclipticToEquatorial47a)
{
    const Equatorial e = EclipticToEquatorial(133.167265, -3.229126, 23.440636);
    EXPECT_NEAR(e.RightAscension, 134.688470, 0.0000005);
    EXPECT_NEAR(e.Declination, 13.768368, 0.0000005);
}

// Example 11.a: Palomar, 33°21'22" N, 1706 m.
TEST(WorkedExample, ObserverOnEllipsoid11a)
{
    const GeocentricObserver o = ObserverOnEllipsoid({Dms(33, 21, 22), 0, 1706});
    EXPECT_NEAR(o.RhoSinPhi, 0.546861, 0.0000005);
    EXPECT_NEAR(o.RhoCosPhi, 0.836339, 0.0000005);
}

// Example 40.a: Mars from Palomar, 2003 August 28 at 3h17m UT: α = 339.530208°,
// δ = -15.771083°, distance 0.37276 au, hour angle 288.7958°; topocentric
// α' = 22h38m08.54s, δ' = -15°46'30.0".
TEST(WorkedExample, TopocentricParallax40a)
{
    const GeocentricObserver o = ObserverOnEllipsoid({Dms(33, 21, 22), 0, 1706});
    const double parallax = Degrees(std::asin(std::sin(Radians(8.794 * Arcsecond)) / 0.37276));
    EXPECT_NEAR(parallax / Arcsecond, 23.592, 0.0005);
    const Topocentric t = ToTopocentric({339.530208, -15.771083}, 288.7958, parallax, o);
    EXPECT_NEAR(t.Position.RightAscension, Hms(22, 38, 8.54), 0.005 * 15 * Arcsecond);
    EXPECT_NEAR(t.Position.Declination, Dms(-15, 46, 30.0), 0.05 * Arcsecond);
}

// Example 25.b: the Sun on 1992 October 13, 0h TD, through the VSOP87 terms.
// Meeus compares the result with the complete VSOP87 theory: λ = 199°54'21.56",
// β = +0.72", α = 13h13m30.749s, δ = -7°47'01.74"; the truncated series stay
// within 1" of those (0.26" in λ, 0.10" in β, 0.21" in α, 0.19" in δ).
TEST(WorkedExample, Sun25b)
{
    const double jde = 2448908.5;
    const HeliocentricEarth earth = EarthPosition(jde);
    EXPECT_NEAR(earth.Longitude, -43.63484796, 0.000000005);
    EXPECT_NEAR(earth.Latitude, -0.00000312, 0.000000005);
    EXPECT_NEAR(earth.Radius, 0.99760775, 0.000000005);

    const NutationAngles n = Nutation(jde);
    EXPECT_NEAR(n.Longitude / Arcsecond, 15.908, 0.0005);
    EXPECT_NEAR(n.TrueObliquity, 23.4401443, 0.0000001);
    const SunEcliptic sun = SunPosition(jde, n.Longitude);
    EXPECT_NEAR(sun.GeometricLongitude, 199.907347, 0.0000005);  // in FK5
    EXPECT_NEAR(sun.Latitude / Arcsecond, 0.62, 0.005);
    EXPECT_NEAR(sun.Longitude, Dms(199, 54, 21.818), 0.0005 * Arcsecond);
    EXPECT_NEAR(sun.Longitude, Dms(199, 54, 21.56), 1 * Arcsecond);
    EXPECT_NEAR(sun.Latitude, 0.72 * Arcsecond, 1 * Arcsecond);
    const Equatorial e = EclipticToEquatorial(sun.Longitude, sun.Latitude, n.TrueObliquity);
    EXPECT_NEAR(e.RightAscension, Hms(13, 13, 30.749), 1 * Arcsecond);
    EXPECT_NEAR(e.Declination, Dms(-7, 47, 1.74), 1 * Arcsecond);
}

// Example 47.a: the Moon on 1992 April 12, 0h TD. Meeus carries Δψ and ε
// rounded to 0.000001°, so the apparent figures allow two units there.
TEST(WorkedExample, Moon47a)
{
    const double jde = 2448724.5;
    const NutationAngles n = Nutation(jde);
    EXPECT_NEAR(n.Longitude, 0.004610, 0.0000005);
    EXPECT_NEAR(n.TrueObliquity, 23.440636, 0.000002);
    const MoonEcliptic moon = MoonPosition(jde, n.Longitude);
    EXPECT_NEAR(moon.GeometricLongitude, 133.162655, 0.0000005);
    EXPECT_NEAR(moon.Latitude, -3.229126, 0.0000005);
    EXPECT_NEAR(moon.Distance, 368409.7, 0.05);
    EXPECT_NEAR(moon.Parallax, 0.991990, 0.0000005);
    EXPECT_NEAR(moon.Longitude, 133.167265, 0.000002);
    const Equatorial e = EclipticToEquatorial(moon.Longitude, moon.Latitude, n.TrueObliquity);
    EXPECT_NEAR(e.RightAscension, 134.688470, 0.000002);
    EXPECT_NEAR(e.Declination, 13.768368, 0.000002);
}

// Example 15.a: Venus at Boston (42°20' N, 71°05' W) on 1988 March 20, from the
// example's three daily places at 0h TD, ΔT = 56 s and the apparent sidereal
// time 177.74208° at 0h UT, interpolated as Meeus does (3.3). He finds the
// rising at 0.51766 day (12h25m) and the setting at 0.12130 day (2h55m); the
// iteration lands 0.3 s and 0.4 s from them, within his fifth decimal (0.9 s).
TEST(WorkedExample, RisingAndSetting15a)
{
    constexpr double Midnight = 2447240.5;  // 1988 March 20, 0h UT
    const double alpha[] = {40.68021, 41.73129, 42.78204};
    const double delta[] = {18.04761, 18.44092, 18.82742};
    const auto interpolate = [](const double (&y)[3], double n) {
        const double a = y[1] - y[0], b = y[2] - y[1], c = b - a;
        return y[1] + n / 2 * (a + b + n * c);
    };
    const auto venus = [&](double jdUT) {
        const double m = jdUT - Midnight;
        const double n = m + 56.0 / 86400;
        return HorizonPoint{{interpolate(alpha, n), interpolate(delta, n)},
                            177.74208 + 360.985647 * m, -0.5667};
    };
    const Place boston{Dms(42, 20, 0), -Dms(71, 5, 0), 0};
    const HorizonEvent rising = CrossEventAltitude(venus, 360.985647 - 1.05, Crossing::crRise, boston, Midnight + 0.5);
    const HorizonEvent setting = CrossEventAltitude(venus, 360.985647 - 1.05, Crossing::crSet, boston, Midnight + 0.1);
    ASSERT_TRUE(rising.Happens());
    ASSERT_TRUE(setting.Happens());
    EXPECT_NEAR((rising.Instant - Midnight) * 86400, 0.51766 * 86400, 0.9);
    EXPECT_NEAR((setting.Instant - Midnight) * 86400, 0.12130 * 86400, 0.9);
}

// ΔT at the epochs Espenak and Meeus tabulate beside their polynomials (their
// Table 1 and 2 values, which the polynomials reproduce to a few seconds in
// the ancient eras and to a fraction of a second since 1620).
TEST(WorkedExample, DeltaTPolynomials)
{
    struct Row {
        double Year;
        double Seconds;
        double Tolerance;
    };
    const Row rows[] = {
        {-500, 17190, 20}, {0, 10580, 5},   {500, 5710, 5},    {1000, 1570, 5},
        {1500, 200, 5},    {1700, 9, 1},    {1800, 14, 1},     {1900, -3, 1},
        {1950, 29.07, 0.1}, {2000, 63.8, 0.2},
    };
    for (const Row& row : rows)
        EXPECT_NEAR(DeltaTSeconds(row.Year), row.Seconds, row.Tolerance) << row.Year;
    // Outside the canon's span the long-term parabola holds on both sides.
    EXPECT_NEAR(DeltaTSeconds(-3000), -20 + 32 * 48.2 * 48.2, 1e-6);
    EXPECT_NEAR(DeltaTSeconds(3500), -20 + 32 * 16.8 * 16.8, 1e-6);
    // The polynomials' years are mean Gregorian years: 400 of them are 146097 days.
    EXPECT_DOUBLE_EQ(DecimalYear(2451544.5), 2000);
    EXPECT_NEAR(DecimalYear(2451544.5 + 146097), 2400, 1e-9);
    EXPECT_NEAR(DecimalYear(2451544.5 - 146097), 1600, 1e-9);
    // TT and UT round-trip.
    EXPECT_NEAR(UniversalTime(TerrestrialTime(2460000.25)), 2460000.25, 1e-9);
}
