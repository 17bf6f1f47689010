#include "astronomy/Crescent.h"

#include "astronomy/Angles.h"

namespace astronomy {

namespace {

// The Moon's radius over the Earth's equatorial radius (Meeus 55: k = 0.272481),
// which turns the horizontal parallax into the semi-diameter.
constexpr double MoonRadiusInEarthRadii = 0.272481;

struct SeenBody {
    Horizontal Geocentric;
    Horizontal Topocentric;
    Equatorial GeocentricPlace;
    Equatorial TopocentricPlace;
    double DistanceRatio;
};

SeenBody See(const BodySky& body, const Place& place, const GeocentricObserver& observer)
{
    const double hourAngle = body.SiderealTime + place.Longitude - body.Position.RightAscension;
    const Topocentric topo = ToTopocentric(body.Position, hourAngle, body.Parallax, observer);
    return {EquatorialToHorizontal(hourAngle, body.Position.Declination, place.Latitude),
            EquatorialToHorizontal(topo.HourAngle, topo.Position.Declination, place.Latitude),
            body.Position, topo.Position, topo.DistanceRatio};
}

} // namespace

CrescentGeometry MeasureCrescent(const SkySource& sky, const Place& place, double jdUT)
{
    const GeocentricObserver observer = ObserverOnEllipsoid(place);
    const BodySky sunSky = sky.Sun(jdUT);
    const BodySky moonSky = sky.Moon(jdUT);
    const SeenBody sun = See(sunSky, place, observer);
    const SeenBody moon = See(moonSky, place, observer);

    CrescentGeometry g;
    g.SunGeocentric = sun.Geocentric;
    g.MoonGeocentric = moon.Geocentric;
    g.SunTopocentric = sun.Topocentric;
    g.MoonTopocentric = moon.Topocentric;
    g.ArclGeocentric = AngularSeparation(sun.GeocentricPlace, moon.GeocentricPlace);
    g.ArclTopocentric = AngularSeparation(sun.TopocentricPlace, moon.TopocentricPlace);
    g.ArcvGeocentric = moon.Geocentric.Altitude - sun.Geocentric.Altitude;
    g.ArcvTopocentric = moon.Topocentric.Altitude - sun.Topocentric.Altitude;
    g.Daz = SignedDegrees(sun.Topocentric.Azimuth - moon.Topocentric.Azimuth);
    // The geocentric semi-diameter grows as the observer is nearer the Moon.
    const double geocentric = Degrees(std::asin(MoonRadiusInEarthRadii * std::sin(Radians(moonSky.Parallax))));
    g.SemiDiameter = geocentric / moon.DistanceRatio * 60;
    g.Width = g.SemiDiameter * (1 - CosDeg(g.ArclTopocentric));
    g.YallopWidth = g.SemiDiameter * (1 - CosDeg(g.ArclGeocentric));
    return g;
}

EveningReport ReportEvening(const SkySource& sky, const Place& place, double dateMidnightUT,
                            double conjunctionUT)
{
    EveningReport report;
    report.DateMidnightUT = dateMidnightUT;
    report.Sunset = Sunset(sky, place, dateMidnightUT);
    if (!report.Sunset.Happens())
        return report;
    const double sunset = report.Sunset.Instant;
    report.AgeHours = (sunset - conjunctionUT) * 24;

    const CrescentGeometry atSunset = MeasureCrescent(sky, place, sunset);
    report.MoonAltitude = atSunset.MoonTopocentric.Altitude;
    report.Elongation = atSunset.ArclTopocentric;

    const HorizonEvent moonset = MoonsetNearest(sky, place, sunset);
    if (moonset.Happens()) {
        report.Moonset = moonset.Instant;
        report.LagMinutes = (moonset.Instant - sunset) * MinutesPerDay;
        report.MoonSetsFirst = moonset.Instant < sunset;
        if (!report.MoonSetsFirst)
            report.BestTime = BestTime(sunset, moonset.Instant);
    }
    report.Geometry = report.BestTime ? MeasureCrescent(sky, place, *report.BestTime) : atSunset;

    CrescentInputs inputs;
    inputs.ArcvGeocentric = report.Geometry->ArcvGeocentric;
    inputs.ArcvTopocentric = report.Geometry->ArcvTopocentric;
    inputs.YallopWidth = report.Geometry->YallopWidth;
    inputs.Width = report.Geometry->Width;
    inputs.MoonAltitude = *report.MoonAltitude;
    inputs.Elongation = *report.Elongation;
    report.Inputs = inputs;
    for (const Criterion& criterion : CrescentCriteria())
        report.Verdicts[static_cast<std::size_t>(criterion.Id)] = Judge(criterion.Id, inputs);
    return report;
}

} // namespace astronomy
