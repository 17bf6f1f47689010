#include "calendar/calendars/SampledSky.h"

#include "astronomy/Angles.h"
#include "astronomy/MoonPosition.h"
#include "astronomy/SiderealTime.h"
#include "astronomy/SunPosition.h"
#include "astronomy/TimeScales.h"

#include <cmath>

namespace {

using astronomy::BodySky;

// The astronomical unit (IAU 2012) and the solar parallax at 1 au (8.794"), as
// the full sky uses them.
constexpr double KilometresPerAu = 149597870.7;
constexpr double SolarParallaxArcseconds = 8.794;

// Right ascension continued from `from` across 0°/360°.
double Continued(double alpha, double from)
{
    return from + astronomy::SignedDegrees(alpha - from);
}

// The apparent sidereal time from a given nutation.
double SiderealTime(double jdUT, const astronomy::NutationAngles& nutation)
{
    return astronomy::ApparentSiderealTime(jdUT, nutation.Longitude, nutation.TrueObliquity);
}

BodySky SunFromSeries(double jdUT, const astronomy::NutationAngles& nutation)
{
    const double tt = astronomy::TerrestrialTime(jdUT);
    const astronomy::SunEcliptic sun = astronomy::SunPosition(tt, nutation.Longitude);
    BodySky sky;
    sky.Position = astronomy::EclipticToEquatorial(sun.Longitude, sun.Latitude, nutation.TrueObliquity);
    sky.Distance = sun.Distance * KilometresPerAu;
    sky.Parallax = astronomy::Degrees(
        std::asin(std::sin(astronomy::Radians(SolarParallaxArcseconds / 3600)) / sun.Distance));
    sky.SiderealTime = SiderealTime(jdUT, nutation);
    return sky;
}

BodySky MoonFromSeries(double jdUT, const astronomy::NutationAngles& nutation)
{
    const double tt = astronomy::TerrestrialTime(jdUT);
    const astronomy::MoonEcliptic moon = astronomy::MoonPosition(tt, nutation.Longitude);
    BodySky sky;
    sky.Position = astronomy::EclipticToEquatorial(moon.Longitude, moon.Latitude, nutation.TrueObliquity);
    sky.Distance = moon.Distance;
    sky.Parallax = moon.Parallax;
    sky.SiderealTime = SiderealTime(jdUT, nutation);
    return sky;
}

astronomy::NutationAngles NutationAt(double jdUT)
{
    return astronomy::Nutation(astronomy::TerrestrialTime(jdUT));
}

} // namespace

SkyAtInstant SkyAt(double jdUT)
{
    SkyAtInstant at;
    at.Instant = jdUT;
    at.Nutation = NutationAt(jdUT);
    at.Sun = SunFromSeries(jdUT, at.Nutation);
    at.Moon = MoonFromSeries(jdUT, at.Nutation);
    return at;
}

SampledSky::SampledSky(double reference, std::array<double, 2> sunAt, Span span)
    : Nutation_(NutationAt(reference)), Span_(span), SunAt_(sunAt)
{
    Sun_ = {SunFromSeries(sunAt[0], Nutation_), SunFromSeries(sunAt[1], Nutation_)};
}

SampledSky::SampledSky(double reference, std::array<double, 2> sunAt, std::array<double, 4> moonAt, Span span)
    : SampledSky(reference, sunAt, span)
{
    MoonSampled_ = true;
    MoonAt_ = moonAt;
    for (std::size_t i = 0; i < moonAt.size(); ++i)
        Moon_[i] = MoonFromSeries(moonAt[i], Nutation_);
}

SampledSky::SampledSky(const SkyAtInstant& first, double sunLast, std::array<double, 3> moonNext, Span span)
    : Nutation_(first.Nutation), Span_(span), SunAt_{first.Instant, sunLast}, MoonSampled_(true),
      MoonAt_{first.Instant, moonNext[0], moonNext[1], moonNext[2]}
{
    Sun_ = {first.Sun, SunFromSeries(sunLast, Nutation_)};
    Moon_[0] = first.Moon;
    for (std::size_t i = 0; i < moonNext.size(); ++i)
        Moon_[i + 1] = MoonFromSeries(moonNext[i], Nutation_);
}

SampledSky SampledSky::Evening(double centre, bool sampleMoon)
{
    constexpr double SunStep = 1.5 / 24, Reach = 4.0 / 24;
    const std::array<double, 2> sun{centre - SunStep, centre + SunStep};
    const Span span{centre - Reach, centre + Reach};
    if (!sampleMoon)
        return SampledSky(centre, sun, span);
    return SampledSky(centre, sun, {centre - Reach, centre - Reach / 3, centre + Reach / 3, centre + Reach},
                      span);
}

bool SampledSky::Inside(double jdUT) const
{
    return jdUT >= Span_.From && jdUT <= Span_.To;
}

BodySky SampledSky::Sun(double jdUT) const
{
    if (!Inside(jdUT))
        return Full_.Sun(jdUT);
    const double p = (jdUT - SunAt_[0]) / (SunAt_[1] - SunAt_[0]);
    const auto line = [p](double a, double b) { return a + (b - a) * p; };
    const BodySky& a = Sun_[0];
    const BodySky& b = Sun_[1];
    BodySky sky;
    sky.Position.RightAscension = astronomy::NormalizeDegrees(
        line(a.Position.RightAscension, Continued(b.Position.RightAscension, a.Position.RightAscension)));
    sky.Position.Declination = line(a.Position.Declination, b.Position.Declination);
    sky.Distance = line(a.Distance, b.Distance);
    sky.Parallax = line(a.Parallax, b.Parallax);
    sky.SiderealTime = SiderealTime(jdUT, Nutation_);
    return sky;
}

BodySky SampledSky::Moon(double jdUT) const
{
    if (!Inside(jdUT))
        return Full_.Moon(jdUT);
    if (!MoonSampled_)
        return MoonFromSeries(jdUT, Nutation_);
    // Lagrange weights of the samples at 0, 1, 2 and 3 steps.
    const double p = (jdUT - MoonAt_[0]) / (MoonAt_[1] - MoonAt_[0]);
    const std::array<double, 4> w{-(p - 1) * (p - 2) * (p - 3) / 6, p * (p - 2) * (p - 3) / 2,
                                  -p * (p - 1) * (p - 3) / 2, p * (p - 1) * (p - 2) / 6};
    const auto blend = [&](auto field) {
        double sum = 0;
        for (std::size_t i = 0; i < w.size(); ++i)
            sum += w[i] * field(Moon_[i]);
        return sum;
    };
    const double from = Moon_[0].Position.RightAscension;
    BodySky sky;
    sky.Position.RightAscension = astronomy::NormalizeDegrees(
        blend([from](const BodySky& b) { return Continued(b.Position.RightAscension, from); }));
    sky.Position.Declination = blend([](const BodySky& b) { return b.Position.Declination; });
    sky.Distance = blend([](const BodySky& b) { return b.Distance; });
    sky.Parallax = blend([](const BodySky& b) { return b.Parallax; });
    sky.SiderealTime = SiderealTime(jdUT, Nutation_);
    return sky;
}
