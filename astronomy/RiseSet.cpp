#include "astronomy/RiseSet.h"

#include "astronomy/Angles.h"

namespace astronomy {

namespace {

// The Earth turns 360.985647° a day against the stars; a body's hour angle
// grows by that less its own daily motion in right ascension (the Sun's mean
// motion, the Moon's). Exact rates are not needed: the iteration corrects them.
constexpr double SiderealDegreesPerDay = 360.985647;
constexpr double SunDegreesPerDay = 0.9856;
constexpr double MoonDegreesPerDay = 13.176;

} // namespace

HorizonEvent FindCrossing(const SkySource& sky, Body body, Crossing crossing, const Place& place,
                          double startUT)
{
    const bool sun = body == Body::bdSun;
    const auto pointAt = [&](double t) {
        const BodySky b = sun ? sky.Sun(t) : sky.Moon(t);
        return HorizonPoint{b.Position, b.SiderealTime,
                            sun ? SunHorizonAltitude : MoonHorizonAltitude(b.Parallax)};
    };
    const double rate = SiderealDegreesPerDay - (sun ? SunDegreesPerDay : MoonDegreesPerDay);
    return CrossEventAltitude(pointAt, rate, crossing, place, startUT);
}

double LocalMeanNoon(double dateMidnightUT, const Place& place)
{
    return dateMidnightUT + 0.5 - place.Longitude / 360;
}

HorizonEvent Sunset(const SkySource& sky, const Place& place, double dateMidnightUT)
{
    // From six hours after local noon the nearest setting in hour angle is the
    // one after that day's transit.
    return FindCrossing(sky, Body::bdSun, Crossing::crSet, place, LocalMeanNoon(dateMidnightUT, place) + 0.25);
}

HorizonEvent Sunrise(const SkySource& sky, const Place& place, double dateMidnightUT)
{
    return FindCrossing(sky, Body::bdSun, Crossing::crRise, place, LocalMeanNoon(dateMidnightUT, place) - 0.25);
}

HorizonEvent MoonsetNearest(const SkySource& sky, const Place& place, double instantUT)
{
    return FindCrossing(sky, Body::bdMoon, Crossing::crSet, place, instantUT);
}

HorizonEvent MoonriseNearest(const SkySource& sky, const Place& place, double instantUT)
{
    return FindCrossing(sky, Body::bdMoon, Crossing::crRise, place, instantUT);
}

} // namespace astronomy
