#include "calendar/calendars/UmmAlQuraRuleCalendar.h"

#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Conjunctions.h"
#include "calendar/calendars/SampledSky.h"
#include "astronomy/Places.h"
#include "astronomy/RiseSet.h"

#include <cmath>

namespace {

const astronomy::NamedPlace& Mecca()
{
    return astronomy::DefaultPlace();
}

// Nearer its setting altitude than this at sunset, the Moon's setting is found
// to the second, so that the decision and the moonset a reason prints agree.
constexpr double CloseDegrees = 0.05;

// The evening of one civil day at Mecca as the rule reads it.
struct Evening {
    std::int64_t Day = 0;
    double Sunset = 0;
    bool ConjunctionBefore = false;  // the conjunction falls before sunset
    bool MoonAfter = false;          // the Moon sets after the Sun (read only after the conjunction)
    double Moonset = 0;              // when asked for
    bool Met() const { return ConjunctionBefore && MoonAfter; }
};

// The sky of a day's evening at Mecca: its sunset lies within an hour and a half
// of six hours after local noon.
SampledSky SkyOfEvening(std::int64_t day)
{
    const double noon = astronomy::LocalMeanNoon(static_cast<double>(day) - 0.5, Mecca().Where);
    return SampledSky::Evening(noon + 0.25, false);
}

// The Moon's geocentric altitude at an instant less the altitude at which it
// sets: positive while it is up.
double MoonAboveSetting(const astronomy::SkySource& sky, double instant)
{
    const astronomy::Place& mecca = Mecca().Where;
    const astronomy::BodySky moon = sky.Moon(instant);
    const double hourAngle = moon.SiderealTime + mecca.Longitude - moon.Position.RightAscension;
    const double altitude =
        astronomy::EquatorialToHorizontal(hourAngle, moon.Position.Declination, mecca.Latitude).Altitude;
    return altitude - astronomy::MoonHorizonAltitude(moon.Parallax);
}

// `withMoonset`: find the moonset too, for a reason.
Evening ReadEvening(std::int32_t month, std::int64_t day, bool withMoonset = false)
{
    const SampledSky sky = SkyOfEvening(day);
    Evening evening;
    evening.Day = day;
    // Mecca's Sun always sets.
    evening.Sunset = astronomy::Sunset(sky, Mecca().Where, static_cast<double>(day) - 0.5).Instant;
    evening.ConjunctionBefore = ConjunctionPrecedes(month, evening.Sunset);
    if (!evening.ConjunctionBefore)
        return evening;
    const double above = MoonAboveSetting(sky, evening.Sunset);
    if (std::fabs(above) >= CloseDegrees && !withMoonset) {
        evening.MoonAfter = above > 0;
        return evening;
    }
    evening.Moonset = astronomy::MoonsetNearest(sky, Mecca().Where, evening.Sunset).Instant;
    evening.MoonAfter = std::fabs(above) >= CloseDegrees ? above > 0 : evening.Moonset > evening.Sunset;
    return evening;
}

// The words and facts of one evening, for a reason.
MonthReason EveningReason(std::int32_t month, const Evening& evening, std::string_view day)
{
    const double conjunction = ConjunctionOf(month);
    const bool sameDay = ConjunctionDay(month, Mecca().Where.Longitude) == evening.Day;
    const std::string place(Mecca().Name);
    MonthReason reason;
    reason.Source = MonthSource::msRule;
    // The sunset to the second when either instant it is compared with lies
    // within a minute of it.
    const bool moonsetClose =
        evening.ConjunctionBefore && std::fabs(evening.Moonset - evening.Sunset) * 1440 < 1;
    const std::string sunset =
        moonsetClose ? UtSecondText(evening.Sunset) : UtClockText(evening.Sunset, conjunction);
    reason.Text = std::string(day) + " (" + DayText(evening.Day) + "): conjunction " +
                  UtClockText(conjunction, evening.Sunset, !sameDay) + " UT " +
                  (evening.ConjunctionBefore ? "before" : "after") + " sunset " + sunset + " UT at " + place;
    reason.Facts = {{"evening", DayText(evening.Day)},
                    {"conjunction", UtInstant{conjunction}},
                    {"sunset", UtInstant{evening.Sunset}},
                    {"place", place}};
    if (evening.ConjunctionBefore) {
        reason.Text += "; moonset " + UtClockText(evening.Moonset, evening.Sunset) + " UT " +
                       (evening.MoonAfter ? "after" : "before") + " it";
        reason.Facts.push_back({"moonset", UtInstant{evening.Moonset}});
    }
    return reason;
}

} // namespace

UmmAlQuraRuleCalendar::UmmAlQuraRuleCalendar()
    : Span_(AstronomySpan()),
      Chain_(std::make_unique<MonthChain>(static_cast<const MonthChainRule&>(*this), Span_.First))
{
}

MonthStart UmmAlQuraRuleCalendar::Start(std::int32_t month) const
{
    return {Chain_->Start(month), MonthSource::msRule};
}

bool UmmAlQuraRuleCalendar::Met(std::int32_t month, std::int64_t day) const
{
    {
        const std::lock_guard<std::mutex> guard(EveningsLock_);
        if (const auto found = Evenings_.find(day); found != Evenings_.end())
            return found->second;
    }
    const bool met = ReadEvening(month, day).Met();
    const std::lock_guard<std::mutex> guard(EveningsLock_);
    Evenings_.emplace(day, met);
    return met;
}

std::int64_t UmmAlQuraRuleCalendar::Next(std::int32_t month, std::int64_t previous) const
{
    // Day 29 of the month before is its first day plus 28.
    return previous + (Met(month, previous + 28) ? 29 : 30);
}

std::int64_t UmmAlQuraRuleCalendar::StartAfter(std::int32_t month, std::int64_t previous) const
{
    return Next(month, previous);
}

MonthChainRule::Days UmmAlQuraRuleCalendar::Bounds(std::int32_t month) const
{
    // No evening before the conjunction's day meets the rule, so the month opens
    // a day after it at the earliest; a day or two after that the Moon is up at
    // sunset (over the whole span every month opens 1 or 2 days after the
    // conjunction's day), and the high bound leaves two days to spare.
    const std::int64_t day = ConjunctionDay(month, Mecca().Where.Longitude);
    return {day + 1, day + 4};
}

std::int64_t UmmAlQuraRuleCalendar::Opening(std::int32_t month) const
{
    const Days bounds = Bounds(month);
    for (std::int64_t day = bounds.Low - 1; day < bounds.High - 1; ++day)
        if (Met(month, day))
            return day + 1;
    return bounds.High;
}

MonthReason UmmAlQuraRuleCalendar::ReasonAfter(std::int32_t month, std::int64_t previous) const
{
    const Evening evening = ReadEvening(month, previous + 28, true);
    MonthReason reason = EveningReason(month, evening, "day 29");
    reason.Text += evening.Met() ? ": the month opens on the next day"
                                 : ": the month before has 30 days";
    reason.Facts.push_back({"rule", std::string(evening.Met() ? "29-days" : "30-days")});
    return reason;
}

MonthReason UmmAlQuraRuleCalendar::Reason(std::int32_t month) const
{
    if (month != Span_.First)
        return ReasonAfter(month, Start(month - 1).FirstDay);
    // The first month has no month before it: the first evening that meets the rule.
    const std::int64_t first = Start(month).FirstDay;
    MonthReason reason =
        EveningReason(month, ReadEvening(month, first - 1, true), "the first evening that meets the rule");
    reason.Text += ": the month opens on the next day";
    return reason;
}
