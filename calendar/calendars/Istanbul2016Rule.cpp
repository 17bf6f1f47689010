#include "calendar/calendars/Istanbul2016Rule.h"

#include "calendar/calendars/AmericasLand.h"
#include "calendar/calendars/Conjunctions.h"
#include "calendar/calendars/SampledSky.h"
#include "astronomy/Angles.h"
#include "astronomy/Crescent.h"
#include "astronomy/Criteria.h"
#include "astronomy/RiseSet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace {

using namespace astronomy;

constexpr double MinimumElongation = 8;
// Wellington, the capital, for dawn in New Zealand; dawn is the Sun 18° down.
constexpr Place Wellington{-41.2865, 174.7762, 0};
constexpr double DawnAltitude = -18;
// Where the rule is met the Moon stands at least 5.8° above the setting Sun, so
// its parallax, which lowers it, brings it nearer the Sun: the topocentric
// elongation exceeds the geocentric by at most the second-order π²/2e, under
// 0.06° at 8°. Below this geocentric elongation no place can meet the rule.
constexpr double GeocentricElongationNeeded = MinimumElongation - 0.1;
// The Moon draws away from the Sun in longitude at most 14.5° a day, and its
// latitude adds at most 5.3° across: under 9.5 hours after the conjunction it
// is still within 7.9° of the Sun, short of that.
constexpr double YoungestHours = 9.5;

// The Sun and the Moon as they stand at one instant, whatever instant is asked:
// every place on the line where the Sun sets at 24:00 UT is read at that instant.
class FixedSky final : public SkySource {
public:
    FixedSky(const BodySky& sun, const BodySky& moon) : Sun_(sun), Moon_(moon) {}
    BodySky Sun(double) const override { return Sun_; }
    BodySky Moon(double) const override { return Moon_; }

private:
    BodySky Sun_, Moon_;
};

IstanbulPlace Measure(const SkySource& sky, const Place& place, double sunset)
{
    const CrescentGeometry g = MeasureCrescent(sky, place, sunset);
    CrescentInputs inputs;
    inputs.MoonAltitude = g.MoonTopocentric.Altitude;
    inputs.Elongation = g.ArclTopocentric;
    return {place, sunset, inputs.MoonAltitude, inputs.Elongation,
            Judge(CriterionId::ciIstanbul2016, inputs).Value};
}

// The place on the line where the Sun sets at an instant (given the sky there)
// whose zenith lies on the great circle from the Sun through the Moon: there
// the Moon stands straight above the setting Sun, at its highest. Its latitude
// is the declination of the point 90° from the Sun towards the Moon.
double LatitudeUnderTheMoon(const Equatorial& sun, const Equatorial& moon)
{
    const auto unit = [](const Equatorial& e) {
        return std::array<double, 3>{CosDeg(e.Declination) * CosDeg(e.RightAscension),
                                     CosDeg(e.Declination) * SinDeg(e.RightAscension), SinDeg(e.Declination)};
    };
    const std::array<double, 3> s = unit(sun), m = unit(moon);
    const double along = s[0] * m[0] + s[1] * m[1] + s[2] * m[2];
    std::array<double, 3> p{m[0] - along * s[0], m[1] - along * s[1], m[2] - along * s[2]};
    const double length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    if (length == 0)
        return 0;
    return astronomy::Degrees(std::asin(std::clamp(p[2] / length, -1.0, 1.0)));
}

using AtLatitude = std::function<std::optional<IstanbulPlace>(double)>;

// Keeps the best place seen; true once one meets the rule.
struct BestSoFar {
    std::optional<IstanbulPlace> Place;
    bool Take(const std::optional<IstanbulPlace>& found)
    {
        if (found && (!Place || found->Margin > Place->Margin))
            Place = found;
        return Place && Place->Margin >= 0;
    }
};

// Below the rule by more than this at the best of a coarse look, no finer look
// can meet it: along a smooth line the margin bends by hundredths of a degree
// between latitudes 5° apart.
constexpr double NotNear = -0.3;

// Around the best latitude so far, every 1° then every 0.1°.
void Refine(const AtLatitude& at, BestSoFar& best, double from, double to, double reach)
{
    for (const double step : {1.0, 0.1}) {
        const double around = best.Place->Where.Latitude;
        for (double latitude = around - reach; latitude <= around + reach + 1e-9; latitude += step)
            if (latitude >= from && latitude <= to && best.Take(at(latitude)))
                return;
        reach = step;
    }
}

// The line where the Sun sets at one instant: from the latitude under the Moon
// outward both ways every 5° while the margin grows (near the Moon the
// elongation may bind, farther out the altitude), then finer around the best.
std::optional<IstanbulPlace> SearchSunsetLine(const AtLatitude& at, double start)
{
    constexpr double Step = 5, Pole = 89;
    BestSoFar best;
    const std::optional<IstanbulPlace> first = at(start);
    if (best.Take(first))
        return best.Place;
    for (const double direction : {-1.0, 1.0}) {
        std::optional<IstanbulPlace> previous = first;
        for (double latitude = start + direction * Step; std::fabs(latitude) <= Pole;
             latitude += direction * Step) {
            const std::optional<IstanbulPlace> found = at(latitude);
            if (best.Take(found))
                return best.Place;
            if (!found || (previous && found->Margin < previous->Margin))
                break;
            previous = found;
        }
    }
    if (best.Place && best.Place->Margin >= NotNear)
        Refine(at, best, -Pole, Pole, Step);
    return best.Place;
}

} // namespace

double NewZealandDawn(std::int64_t day)
{
    const FullSky sky;
    const auto pointAt = [&](double t) {
        const BodySky b = sky.Sun(t);
        return HorizonPoint{b.Position, b.SiderealTime, DawnAltitude};
    };
    // The Sun's hour angle gains about 360.9856° - 0.9856° a day.
    const double start = LocalMeanNoon(static_cast<double>(day) - 0.5, Wellington) - 0.3;
    const HorizonEvent dawn = CrossEventAltitude(pointAt, 360.0, Crossing::crRise, Wellington, start);
    // Never dark enough (not at Wellington's latitude): the day's local midnight.
    return dawn.Happens() ? dawn.Instant : static_cast<double>(day) - 0.5 - Wellington.Longitude / 360;
}

namespace {

// Whether the conjunction falls before dawn of D + 1 in New Zealand. Dawn there
// comes from about 14:15 UT of D (Wellington's midsummer) to about 18:30 UT
// (midwinter); a conjunction an hour clear of that window needs no dawn.
bool ConjunctionBeforeNewZealandDawn(std::int32_t month, std::int64_t day)
{
    const double earliest = static_cast<double>(day) - 0.5 + 13.75 / 24;
    const double latest = static_cast<double>(day) - 0.5 + 19.0 / 24;
    if (ConjunctionPrecedes(month, earliest))
        return true;
    if (!ConjunctionPrecedes(month, latest))
        return false;
    return ConjunctionPrecedes(month, NewZealandDawn(day + 1));
}

// The Sun and the Moon at 24:00 UT of the date, read once for both searches.
using MidnightSky = std::optional<SkyAtInstant>;

const SkyAtInstant& SkyAtMidnight(const IstanbulDay& result, MidnightSky& sky)
{
    if (!sky)
        sky = SkyAt(static_cast<double>(result.Day) + 0.5);
    return *sky;
}

void BeforeMidnight(std::int32_t month, IstanbulDay& result, MidnightSky& midnightSky)
{
    const double midnight = static_cast<double>(result.Day) + 0.5;  // 24:00 UT of D
    result.ConjunctionBeforeMidnight = ConjunctionPrecedes(month, midnight);
    if (!result.ConjunctionBeforeMidnight)
        return;
    result.TooYoung = !ConjunctionPrecedes(month, midnight - YoungestHours / 24);
    if (result.TooYoung)
        return;
    const SkyAtInstant& atMidnight = SkyAtMidnight(result, midnightSky);
    const BodySky& sun = atMidnight.Sun;
    const BodySky& moon = atMidnight.Moon;
    result.GeocentricElongation = AngularSeparation(sun.Position, moon.Position);
    if (result.GeocentricElongation < GeocentricElongationNeeded)
        return;
    result.Searched = true;
    const FixedSky sky(sun, moon);
    const double sinH0 = SinDeg(SunHorizonAltitude);
    const auto at = [&](double latitude) -> std::optional<IstanbulPlace> {
        // The hour angle at which the Sun sets at this latitude: the place where
        // it is that hour angle at 24:00 UT sees its sunset then.
        const double cosH = (sinH0 - SinDeg(latitude) * SinDeg(sun.Position.Declination)) /
                            (CosDeg(latitude) * CosDeg(sun.Position.Declination));
        if (!(cosH >= -1 && cosH <= 1))
            return std::nullopt;  // polar day or night
        const double hourAngle = astronomy::Degrees(std::acos(cosH));
        const double longitude = SignedDegrees(hourAngle + sun.Position.RightAscension - sun.SiderealTime);
        return Measure(sky, {latitude, longitude, 0}, midnight);
    };
    result.Best = SearchSunsetLine(at, LatitudeUnderTheMoon(sun.Position, moon.Position));
}

void InTheAmericas(std::int32_t month, IstanbulDay& result, MidnightSky& midnightSky)
{
    result.ExceptionTried = true;
    result.ConjunctionBeforeDawn = ConjunctionBeforeNewZealandDawn(month, result.Day);
    if (!result.ConjunctionBeforeDawn)
        return;
    // Every sunset of the local date in the Americas comes within 12 hours after
    // 24:00 UT (Alaska's last); the sky is sampled over that span.
    const double midnight = static_cast<double>(result.Day) + 0.5;
    const SampledSky sky(SkyAtMidnight(result, midnightSky), midnight + 0.5,
                         {midnight + 1.0 / 6, midnight + 2.0 / 6, midnight + 0.5}, {midnight - 0.125, midnight + 0.55});
    // No place meets the rule at a sunset before the geocentric elongation
    // reaches GeocentricElongationNeeded. The elongation grows ever faster after
    // the conjunction, so its chord between 24:00 UT and 12 hours later lies
    // above it and reaches that value no later than it does.
    const astronomy::BodySky sun0 = sky.Sun(midnight), moon0 = sky.Moon(midnight);
    const astronomy::BodySky sun1 = sky.Sun(midnight + 0.5), moon1 = sky.Moon(midnight + 0.5);
    const double needed = GeocentricElongationNeeded;
    const double e0 = AngularSeparation(sun0.Position, moon0.Position);
    const double e1 = AngularSeparation(sun1.Position, moon1.Position);
    if (e1 < needed)
        return;
    const double earliest = e0 >= needed ? midnight : midnight + 0.5 * (needed - e0) / (e1 - e0);
    // A rough sunset from the Sun's declination, to skip places whose sunset comes
    // well before that instant without finding it.
    const double sinH0 = SinDeg(SunHorizonAltitude);
    const auto roughSunset = [&](const Place& place) {
        const double cosH = (sinH0 - SinDeg(place.Latitude) * SinDeg(sun0.Position.Declination)) /
                            (CosDeg(place.Latitude) * CosDeg(sun0.Position.Declination));
        const double arc = std::acos(std::clamp(cosH, -1.0, 1.0)) / (2 * Pi);
        return LocalMeanNoon(static_cast<double>(result.Day) - 0.5, place) + arc;
    };
    constexpr double RoughDays = 0.5 / 24;  // the rough sunset is within half an hour
    const auto at = [&](double latitude, double longitude) -> std::optional<IstanbulPlace> {
        const Place place{latitude, longitude, 0};
        if (roughSunset(place) + RoughDays < std::max(earliest, midnight))
            return std::nullopt;
        const HorizonEvent sunset = Sunset(sky, place, static_cast<double>(result.Day) - 0.5);
        if (!sunset.Happens() || sunset.Instant <= midnight)
            return std::nullopt;
        return Measure(sky, place, sunset.Instant);
    };
    const AtLatitude westernmost = [&](double latitude) -> std::optional<IstanbulPlace> {
        const std::optional<double> west = WesternmostAmericasLand(latitude);
        return west ? at(latitude, *west) : std::nullopt;
    };
    // The westernmost land every 4° of latitude and the capes that reach out
    // west between (the coast is no smooth line), then finer around the best.
    BestSoFar best;
    for (const AmericasCape& cape : WesternAmericasCapes())
        if (best.Take(at(cape.Latitude, cape.Longitude))) {
            result.BestInAmericas = best.Place;
            return;
        }
    for (double latitude = SouthernmostAmericas; latitude <= NorthernmostAmericas; latitude += 4)
        if (best.Take(westernmost(latitude))) {
            result.BestInAmericas = best.Place;
            return;
        }
    if (best.Place && best.Place->Margin >= 3 * NotNear)
        Refine(westernmost, best, SouthernmostAmericas, NorthernmostAmericas, 2);
    result.BestInAmericas = best.Place;
}

} // namespace

IstanbulDay JudgeIstanbulDay(std::int32_t month, std::int64_t day)
{
    IstanbulDay result;
    result.Day = day;
    MidnightSky midnightSky;
    BeforeMidnight(month, result, midnightSky);
    // New Zealand's dawn of D + 1 comes before 24:00 UT of D: a conjunction
    // after that is after the dawn too.
    if (result.ConjunctionBeforeMidnight && !result.MetBeforeMidnight())
        InTheAmericas(month, result, midnightSky);
    return result;
}
