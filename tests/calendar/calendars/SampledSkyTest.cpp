// The sampled sky stands in for the full series over an evening: the Sun and the
// Moon within an arcsecond, sunsets and moonsets within a second.
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/SampledSky.h"
#include "astronomy/Coordinates.h"
#include "astronomy/Places.h"
#include "astronomy/RiseSet.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using astronomy::BodySky;

constexpr double Arcsecond = 1.0 / 3600;
constexpr double Second = 1.0 / 86400;

double Apart(const BodySky& a, const BodySky& b)
{
    return astronomy::AngularSeparation(a.Position, b.Position);
}

// Evenings every 37 days over four centuries and at the far ends of the
// astronomy's years.
std::vector<double> Noons()
{
    std::vector<double> noons;
    for (double day = CivilDayNumber(1800, 1, 1); day < CivilDayNumber(2200, 1, 1); day += 37)
        noons.push_back(day);
    noons.push_back(CivilDayNumber(-1990, 3, 1));
    noons.push_back(CivilDayNumber(2990, 9, 1));
    return noons;
}

TEST(SampledSky, AnEveningsSunAndMoonWithinAnArcsecondOfTheFullSeries)
{
    const astronomy::FullSky full;
    double worstSun = 0, worstMoon = 0, worstSidereal = 0;
    for (const double noon : Noons()) {
        const double centre = noon + 0.3;
        for (const bool sampled : {false, true}) {
            const SampledSky sky = SampledSky::Evening(centre, sampled);
            for (double hours = -4; hours <= 4; hours += 0.5) {
                const double t = centre + hours / 24;
                worstSun = std::fmax(worstSun, Apart(sky.Sun(t), full.Sun(t)));
                worstMoon = std::fmax(worstMoon, Apart(sky.Moon(t), full.Moon(t)));
                worstSidereal = std::fmax(worstSidereal,
                                          std::fabs(astronomy::SignedDegrees(sky.Sun(t).SiderealTime - full.Sun(t).SiderealTime)));
            }
        }
    }
    EXPECT_LT(worstSun, 0.5 * Arcsecond);
    EXPECT_LT(worstMoon, 0.1 * Arcsecond);
    EXPECT_LT(worstSidereal, 0.1 * Arcsecond);
}

TEST(SampledSky, TwelveHoursFromOneInstantWithinAnArcsecond)
{
    // As the Istanbul rule samples the sky after 24:00 UT for the Americas.
    const astronomy::FullSky full;
    double worstSun = 0, worstMoon = 0;
    for (const double noon : Noons()) {
        const double midnight = noon + 0.5;
        const SampledSky sky(SkyAt(midnight), midnight + 0.5, {midnight + 1.0 / 6, midnight + 2.0 / 6, midnight + 0.5},
                             {midnight - 0.125, midnight + 0.55});
        for (double hours = -1; hours <= 12; hours += 1) {
            const double t = midnight + hours / 24;
            worstSun = std::fmax(worstSun, Apart(sky.Sun(t), full.Sun(t)));
            worstMoon = std::fmax(worstMoon, Apart(sky.Moon(t), full.Moon(t)));
        }
    }
    EXPECT_LT(worstSun, 1.5 * Arcsecond);
    EXPECT_LT(worstMoon, 0.3 * Arcsecond);
}

TEST(SampledSky, SunsetsAndMoonsetsWithinASecondOfTheFullSeries)
{
    const astronomy::FullSky full;
    double worst = 0;
    for (const double noon : Noons())
        for (const astronomy::Place& place :
             {astronomy::DefaultPlace().Where, astronomy::Place{51.5, -0.13, 0}, astronomy::Place{-33.9, 18.4, 0}}) {
            const double midnight = noon - 0.5;
            const SampledSky sky = SampledSky::Evening(astronomy::LocalMeanNoon(midnight, place) + 0.3, true);
            const double sunset = astronomy::Sunset(sky, place, midnight).Instant;
            worst = std::fmax(worst, std::fabs(sunset - astronomy::Sunset(full, place, midnight).Instant));
            const auto moonset = astronomy::MoonsetNearest(sky, place, sunset);
            if (moonset.Happens() && std::fabs(moonset.Instant - sunset) < 3.0 / 24)
                worst = std::fmax(worst, std::fabs(moonset.Instant -
                                                   astronomy::MoonsetNearest(full, place, sunset).Instant));
        }
    EXPECT_LT(worst, Second);
}

TEST(SampledSky, FarFromItsSamplesItIsTheFullSeries)
{
    const astronomy::FullSky full;
    const double centre = CivilDayNumber(2026, 2, 17) + 0.3;
    const SampledSky sky = SampledSky::Evening(centre, true);
    for (const double t : {centre - 1, centre + 0.5}) {
        EXPECT_EQ(sky.Moon(t).Position.RightAscension, full.Moon(t).Position.RightAscension);
        EXPECT_EQ(sky.Sun(t).Position.Declination, full.Sun(t).Position.Declination);
    }
}

} // namespace
