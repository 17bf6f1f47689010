#include "astronomy/Coordinates.h"

#include "astronomy/Angles.h"

#include <algorithm>

namespace astronomy {

namespace {

// IAU 1976 ellipsoid: b/a, and the equatorial radius in metres.
constexpr double PolarOverEquatorial = 0.99664719;
constexpr double EquatorialRadiusMetres = 6378140;

} // namespace

Equatorial EclipticToEquatorial(double longitude, double latitude, double obliquity)
{
    const double l = Radians(longitude), b = Radians(latitude), e = Radians(obliquity);
    const double alpha = std::atan2(std::sin(l) * std::cos(e) - std::tan(b) * std::sin(e), std::cos(l));
    const double delta = std::asin(std::sin(b) * std::cos(e) + std::cos(b) * std::sin(e) * std::sin(l));
    return {NormalizeDegrees(Degrees(alpha)), Degrees(delta)};
}

Horizontal EquatorialToHorizontal(double hourAngle, double declination, double latitude)
{
    const double H = Radians(hourAngle), d = Radians(declination), phi = Radians(latitude);
    // Meeus counts the azimuth from the south; 180° more counts it from the north.
    const double fromSouth = std::atan2(std::sin(H), std::cos(H) * std::sin(phi) - std::tan(d) * std::cos(phi));
    const double altitude = std::asin(std::sin(phi) * std::sin(d) + std::cos(phi) * std::cos(d) * std::cos(H));
    return {Degrees(altitude), NormalizeDegrees(Degrees(fromSouth) + 180)};
}

GeocentricObserver ObserverOnEllipsoid(const Place& place)
{
    const double phi = Radians(place.Latitude);
    const double u = std::atan(PolarOverEquatorial * std::tan(phi));
    const double height = place.Elevation / EquatorialRadiusMetres;
    return {PolarOverEquatorial * std::sin(u) + height * std::sin(phi),
            std::cos(u) + height * std::cos(phi)};
}

Topocentric ToTopocentric(const Equatorial& geocentric, double hourAngle, double parallax,
                          const GeocentricObserver& observer)
{
    const double sinPi = std::sin(Radians(parallax));
    const double H = Radians(hourAngle), d = Radians(geocentric.Declination);
    const double cosD = std::cos(d), sinD = std::sin(d);
    // Meeus 40.2: the shift in right ascension.
    const double x = cosD - observer.RhoCosPhi * sinPi * std::cos(H);
    const double y = -observer.RhoCosPhi * sinPi * std::sin(H);
    const double deltaAlpha = std::atan2(y, x);
    // 40.3: the topocentric declination.
    const double z = sinD - observer.RhoSinPhi * sinPi;
    const double dPrime = std::atan2(z * std::cos(deltaAlpha), x);
    // The topocentric distance, in units of the geocentric one: the length of
    // the vector (x, y, z) scaled back.
    const double ratio = std::sqrt(x * x + y * y + z * z);
    Topocentric result;
    result.Position = {NormalizeDegrees(geocentric.RightAscension + Degrees(deltaAlpha)), Degrees(dPrime)};
    result.HourAngle = hourAngle - Degrees(deltaAlpha);
    result.DistanceRatio = ratio;
    return result;
}

double AngularSeparation(const Equatorial& a, const Equatorial& b)
{
    // The haversine form: exact at every angle, precise at small ones.
    const double d1 = Radians(a.Declination), d2 = Radians(b.Declination);
    const double dAlpha = Radians(a.RightAscension - b.RightAscension);
    const double s = std::sin((d2 - d1) / 2);
    const double t = std::sin(dAlpha / 2);
    const double h = s * s + std::cos(d1) * std::cos(d2) * t * t;
    return Degrees(2 * std::asin(std::sqrt(std::min(1.0, std::max(0.0, h)))));
}

double RefractionFromTrueAltitude(double altitude)
{
    // Saemundsson: R = 1.02' / tan(h + 10.3 / (h + 5.11)), h in degrees. Below
    // about -2° it has no meaning; the horizon's value is kept there.
    const double h = std::max(altitude, -1.9);
    const double minutes = 1.02 / std::tan(Radians(h + 10.3 / (h + 5.11)));
    return minutes / 60;
}

} // namespace astronomy
