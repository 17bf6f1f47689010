// Rising and setting of the Sun and the Moon at a place, found by iteration on
// the hour angle (each step recomputes the body's place at the new instant, so
// the answer is the instant at which the body's altitude is the standard
// altitude, not an interpolation between days).
//
// Time scale: every instant is a UT Julian day.
//
// The civil date at a place is reckoned in local mean time from the longitude:
// the date runs from local mean midnight, which falls at 00:00 UT minus
// longitude/15 hours. A date is passed as its 00:00 UT Julian day (a value
// ending in .5, as the calendar engine's DateToJulianDay gives it). The sunset
// of a date is the setting that follows the Sun's upper transit on that date
// (which can fall a few minutes past local mean midnight near the polar
// circles); its sunrise is the rising before that transit.
#pragma once

#include "astronomy/Angles.h"
#include "astronomy/Coordinates.h"
#include "astronomy/Sky.h"

#include <algorithm>

namespace astronomy {

enum class Body { bdSun, bdMoon };
enum class Crossing { crRise, crSet };

// Whether the body crosses the horizon, or stays above or below it all day
// (polar day and polar night are answers, not errors).
enum class HorizonStatus { hsCrosses, hsAlwaysAbove, hsAlwaysBelow };

struct HorizonEvent {
    HorizonStatus Status = HorizonStatus::hsCrosses;
    double Instant = 0;  // UT Julian day; meaningful when Status is hsCrosses
    bool Happens() const { return Status == HorizonStatus::hsCrosses; }
};

// The standard altitudes of the geocentric centre at the moment the upper limb
// touches the apparent horizon: the Sun -0°50' (refraction 34' and
// semi-diameter 16'); the Moon 0.7275 π - 0°34' (its parallax less refraction
// and semi-diameter), π its horizontal parallax.
inline constexpr double SunHorizonAltitude = -50.0 / 60;
inline double MoonHorizonAltitude(double parallax) { return 0.7275 * parallax - 34.0 / 60; }

// What the iteration needs of a body at an instant: its apparent geocentric
// place, the apparent sidereal time, and the altitude of its centre at the
// event.
struct HorizonPoint {
    Equatorial Position;
    double SiderealTime;
    double EventAltitude;
};

namespace rise_set_detail {
// Converged when a step is below 0.05 s; 12 steps are far more than any
// crossing needs (three or four).
inline constexpr double ConvergedDays = 0.05 / SecondsPerDay;
inline constexpr int MaxSteps = 12;
// At a pole the hour angle means nothing; a hair away from it the formula
// still says whether the body rises, and stays finite.
inline constexpr double MaxLatitude = 89.9999;
} // namespace rise_set_detail

// The crossing of the event altitude nearest `startUT` in hour angle, for any
// body: pointAt(jdUT) gives its HorizonPoint, hourAngleRate its hour angle's
// mean gain in degrees a day. Each step moves the instant by the hour angle
// still missing (Meeus 15.1 for the hour angle at the event altitude).
template <typename PointAt>
HorizonEvent CrossEventAltitude(PointAt&& pointAt, double hourAngleRate, Crossing crossing,
                                const Place& place, double startUT)
{
    using namespace rise_set_detail;
    const double latitude = std::clamp(place.Latitude, -MaxLatitude, MaxLatitude);
    const double sinPhi = SinDeg(latitude), cosPhi = CosDeg(latitude);
    double t = startUT;
    for (int step = 0; step < MaxSteps; ++step) {
        const HorizonPoint p = pointAt(t);
        const double cosH0 = (SinDeg(p.EventAltitude) - sinPhi * SinDeg(p.Position.Declination)) /
                             (cosPhi * CosDeg(p.Position.Declination));
        if (cosH0 > 1)
            return {HorizonStatus::hsAlwaysBelow, t};
        if (cosH0 < -1)
            return {HorizonStatus::hsAlwaysAbove, t};
        const double H0 = Degrees(std::acos(cosH0));
        const double hourAngle = p.SiderealTime + place.Longitude - p.Position.RightAscension;
        const double target = crossing == Crossing::crSet ? H0 : -H0;
        const double dt = SignedDegrees(target - hourAngle) / hourAngleRate;
        t += dt;
        if (std::fabs(dt) < ConvergedDays)
            break;
    }
    return {HorizonStatus::hsCrosses, t};
}

// The rising or setting of a body nearest `startUT` in hour angle, which is
// the nearest in time (each lies within about half a day of the start).
HorizonEvent FindCrossing(const SkySource& sky, Body body, Crossing crossing, const Place& place,
                          double startUT);

// 00:00 UT of a date plus the local noon of that date in local mean time.
double LocalMeanNoon(double dateMidnightUT, const Place& place);

HorizonEvent Sunset(const SkySource& sky, const Place& place, double dateMidnightUT);
HorizonEvent Sunrise(const SkySource& sky, const Place& place, double dateMidnightUT);
HorizonEvent MoonsetNearest(const SkySource& sky, const Place& place, double instantUT);
HorizonEvent MoonriseNearest(const SkySource& sky, const Place& place, double instantUT);

} // namespace astronomy
