#include "astronomy/Sky.h"

#include "astronomy/Angles.h"
#include "astronomy/MoonPosition.h"
#include "astronomy/Nutation.h"
#include "astronomy/SiderealTime.h"
#include "astronomy/SunPosition.h"
#include "astronomy/TimeScales.h"

#include <cstddef>

namespace astronomy {

namespace {

// The Sun's equatorial horizontal parallax at 1 au (Meeus 40: 8.794").
constexpr double SolarParallaxArcseconds = 8.794;
constexpr double KilometresPerAu = 149597870.7;

double SunParallax(double distanceAu)
{
    return Degrees(std::asin(std::sin(Radians(SolarParallaxArcseconds / ArcsecondsPerDegree)) / distanceAu));
}

} // namespace

BodySky FullSky::Sun(double jdUT) const
{
    const double tt = TerrestrialTime(jdUT);
    const NutationAngles nutation = Nutation(tt);
    const SunEcliptic sun = SunPosition(tt, nutation.Longitude);
    BodySky sky;
    sky.Position = EclipticToEquatorial(sun.Longitude, sun.Latitude, nutation.TrueObliquity);
    sky.Distance = sun.Distance * KilometresPerAu;
    sky.Parallax = SunParallax(sun.Distance);
    sky.SiderealTime = ApparentSiderealTime(jdUT, nutation.Longitude, nutation.TrueObliquity);
    return sky;
}

BodySky FullSky::Moon(double jdUT) const
{
    const double tt = TerrestrialTime(jdUT);
    const NutationAngles nutation = Nutation(tt);
    const MoonEcliptic moon = MoonPosition(tt, nutation.Longitude);
    BodySky sky;
    sky.Position = EclipticToEquatorial(moon.Longitude, moon.Latitude, nutation.TrueObliquity);
    sky.Distance = moon.Distance;
    sky.Parallax = moon.Parallax;
    sky.SiderealTime = ApparentSiderealTime(jdUT, nutation.Longitude, nutation.TrueObliquity);
    return sky;
}

EclipticLongitudes ApparentLongitudes(double jdUT)
{
    const double tt = TerrestrialTime(jdUT);
    const NutationAngles nutation = Nutation(tt);
    return {SunPosition(tt, nutation.Longitude).Longitude, MoonPosition(tt, nutation.Longitude).Longitude};
}

TabulatedSky::TabulatedSky(double fromUT, double toUT, double stepDays) : from_(fromUT), step_(stepDays)
{
    // One sample beyond each end, so that every instant of the span has two
    // samples either side.
    from_ -= step_;
    const auto count = static_cast<std::size_t>(std::ceil((toUT + step_ - from_) / step_)) + 1;
    sun_.reserve(count);
    moon_.reserve(count);
    equationOfEquinoxes_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = from_ + static_cast<double>(i) * step_;
        const double tt = TerrestrialTime(t);
        const NutationAngles nutation = Nutation(tt);
        const SunEcliptic sun = SunPosition(tt, nutation.Longitude);
        const MoonEcliptic moon = MoonPosition(tt, nutation.Longitude);
        const Equatorial sunPlace = EclipticToEquatorial(sun.Longitude, sun.Latitude, nutation.TrueObliquity);
        const Equatorial moonPlace = EclipticToEquatorial(moon.Longitude, moon.Latitude, nutation.TrueObliquity);
        // Right ascension unwrapped, so that no interpolation runs across 0/360.
        const auto unwrap = [](const std::vector<Sample>& samples, double alpha) {
            return samples.empty() ? alpha
                                   : samples.back().RightAscension +
                                         SignedDegrees(alpha - samples.back().RightAscension);
        };
        sun_.push_back({unwrap(sun_, sunPlace.RightAscension), sunPlace.Declination,
                        sun.Distance * KilometresPerAu});
        moon_.push_back({unwrap(moon_, moonPlace.RightAscension), moonPlace.Declination, moon.Distance});
        equationOfEquinoxes_.push_back(nutation.Longitude * CosDeg(nutation.TrueObliquity));
    }
}

BodySky TabulatedSky::Interpolate(const std::vector<Sample>& samples, double jdUT, bool moon) const
{
    const double position = (jdUT - from_) / step_;
    const double last = static_cast<double>(samples.size()) - 2;
    if (!(position >= 1 && position < last))
        return moon ? full_.Moon(jdUT) : full_.Sun(jdUT);
    const auto i = static_cast<std::size_t>(position);  // samples i-1 .. i+2
    const double p = position - static_cast<double>(i);
    // Lagrange weights of the four samples at p (0 <= p < 1 between i and i+1).
    const double w0 = -p * (p - 1) * (p - 2) / 6;
    const double w1 = (p + 1) * (p - 1) * (p - 2) / 2;
    const double w2 = -(p + 1) * p * (p - 2) / 2;
    const double w3 = (p + 1) * p * (p - 1) / 6;
    const auto blend = [&](auto field) {
        return w0 * field(samples[i - 1]) + w1 * field(samples[i]) + w2 * field(samples[i + 1]) +
               w3 * field(samples[i + 2]);
    };
    BodySky sky;
    sky.Position.RightAscension = NormalizeDegrees(blend([](const Sample& s) { return s.RightAscension; }));
    sky.Position.Declination = blend([](const Sample& s) { return s.Declination; });
    sky.Distance = blend([](const Sample& s) { return s.Distance; });
    sky.Parallax = moon ? Degrees(std::asin(EarthRadiusKm / sky.Distance)) : SunParallax(sky.Distance / KilometresPerAu);
    const double equation = w0 * equationOfEquinoxes_[i - 1] + w1 * equationOfEquinoxes_[i] +
                            w2 * equationOfEquinoxes_[i + 1] + w3 * equationOfEquinoxes_[i + 2];
    sky.SiderealTime = NormalizeDegrees(MeanSiderealTime(jdUT) + equation);
    return sky;
}

BodySky TabulatedSky::Sun(double jdUT) const { return Interpolate(sun_, jdUT, false); }
BodySky TabulatedSky::Moon(double jdUT) const { return Interpolate(moon_, jdUT, true); }

} // namespace astronomy
