#include "calendar/calendars/SightingCalendar.h"

#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Conjunctions.h"
#include "calendar/calendars/SampledSky.h"
#include "astronomy/Crescent.h"
#include "framework/runtime/sysutils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

using astronomy::CriterionOf;
using astronomy::EveningReport;
using astronomy::Verdict;

// One evening at the place as the calendar reads it.
struct Evening {
    std::int64_t Day = 0;
    bool ConjunctionBefore = false;  // before sunset (before the day's end when there is none)
    std::optional<EveningReport> Report;  // none when the conjunction comes after the day
    Verdict Judged;
    bool Seen() const { return ConjunctionBefore && Judged.Seen; }
};

Evening ReadEvening(const CalendarOptions& options, std::int32_t month, std::int64_t day)
{
    Evening evening;
    evening.Day = day;
    // The local day ends at local mean midnight; a conjunction after it is after
    // the day's sunset too, and the evening needs no astronomy.
    const double dayEnd = static_cast<double>(day) + 0.5 - options.Place.Longitude / 360;
    if (!ConjunctionPrecedes(month, dayEnd))
        return evening;
    // Sunset, moonset and the best time lie a few hours either side of seven
    // hours after local noon, but near the poles.
    const double midnight = static_cast<double>(day) - 0.5;
    const SampledSky sky = SampledSky::Evening(astronomy::LocalMeanNoon(midnight, options.Place) + 0.3, true);
    evening.Report = astronomy::ReportEvening(sky, options.Place, midnight, EngineNewMoon(month));
    const bool sets = evening.Report->Sunset.Happens();
    evening.ConjunctionBefore = ConjunctionPrecedes(month, sets ? evening.Report->Sunset.Instant : dayEnd);
    if (sets)
        evening.Judged = evening.Report->Verdicts[static_cast<std::size_t>(options.Criterion)];
    return evening;
}

std::string Number(double value, const char* format = "%.2f")
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

SightingCalendar::SightingCalendar(const CalendarOptions& options)
    : Options_(options), Span_(AstronomySpan()),
      Chain_(std::make_unique<MonthChain>(static_cast<const MonthChainRule&>(*this), Span_.First))
{
    if (!(std::fabs(options.Place.Latitude) <= MaxSightingLatitude))
        throw ERangeError("Sighting is reckoned at places from 65°S to 65°N; " + options.PlaceName +
                          " lies beyond");
}

MonthStart SightingCalendar::Start(std::int32_t month) const
{
    return {Chain_->Start(month), MonthSource::msRule};
}

std::int64_t SightingCalendar::ConjunctionDayHere(std::int32_t month) const
{
    return ConjunctionDay(month, Options_.Place.Longitude);
}

bool SightingCalendar::Seen(std::int32_t month, std::int64_t day) const
{
    {
        const std::lock_guard<std::mutex> guard(EveningsLock_);
        if (const auto found = Evenings_.find(day); found != Evenings_.end())
            return found->second;
    }
    const bool seen = ReadEvening(Options_, month, day).Seen();
    const std::lock_guard<std::mutex> guard(EveningsLock_);
    Evenings_.emplace(day, seen);
    return seen;
}

std::int64_t SightingCalendar::FirstSeen(std::int32_t month, std::int64_t from, std::int64_t to) const
{
    for (std::int64_t day = from; day <= to; ++day)
        if (Seen(month, day))
            return day;
    return to + 1;
}

std::int64_t SightingCalendar::Next(std::int32_t month, std::int64_t previous) const
{
    // The month opens after 29 days when the crescent was seen on any evening from
    // the conjunction's day to day 29 of the month before; otherwise after 30
    // (also when it is first seen later: the month before is held at 30 days).
    // Day 29's evening, the likeliest, is read first.
    const std::int64_t day29 = previous + 28;
    const std::int64_t from = ConjunctionDayHere(month);
    if (from > day29)
        return previous + 30;
    if (Seen(month, day29) || FirstSeen(month, from, day29 - 1) < day29)
        return previous + 29;
    return previous + 30;
}

MonthChainRule::Days SightingCalendar::Bounds(std::int32_t month) const
{
    // No evening before the conjunction's day counts, so the month opens a day
    // after it at the earliest. Months of 30 days while the crescent goes unseen
    // carry a first day later; within 65° of the equator never more than 7 days
    // after the conjunction's (by every criterion over 1300 to 1600 AH), and the
    // high bound leaves 3 to spare.
    const std::int64_t day = ConjunctionDayHere(month);
    return {day + 1, day + 10};
}

std::int64_t SightingCalendar::Opening(std::int32_t month) const
{
    const Days bounds = Bounds(month);
    return FirstSeen(month, bounds.Low - 1, bounds.High - 2) + 1;
}

MonthReason SightingCalendar::EveningReason(std::int32_t month, std::int64_t day) const
{
    const Evening evening = ReadEvening(Options_, month, day);
    const double conjunction = ConjunctionOf(month);
    MonthReason reason;
    reason.Source = MonthSource::msRule;
    reason.Text = DayText(day) + " at " + Options_.PlaceName + ": ";
    reason.Facts = {{"evening", DayText(day)}, {"place", Options_.PlaceName},
                    {"conjunction", UtInstant{conjunction}}};
    if (!evening.Report) {
        reason.Text += "conjunction " + UtMinuteText(conjunction, true) + " UT, after the day";
        return reason;
    }
    const EveningReport& report = *evening.Report;
    if (!report.Sunset.Happens()) {
        reason.Text += "the Sun does not set";
        return reason;
    }
    const double sunset = report.Sunset.Instant;
    reason.Facts.push_back({"sunset", UtInstant{sunset}});
    if (!evening.ConjunctionBefore) {
        reason.Text += "sunset " + UtClockText(sunset, conjunction) + " UT before the conjunction " +
                       UtClockText(conjunction, sunset, true) + " UT";
        return reason;
    }
    const astronomy::Criterion& criterion = CriterionOf(Options_.Criterion);
    reason.Text += "sunset " + UtClockText(sunset, conjunction) + " UT, " +
                   Number((sunset - conjunction) * 24, "%.1f") + " h after the conjunction; altitude " +
                   Number(*report.MoonAltitude, "%.1f") + "°, elongation " + Number(*report.Elongation, "%.1f") +
                   "°; " + std::string(criterion.Name) + " " + std::string(evening.Judged.Category) + ", " +
                   std::string(criterion.Value) + " " + Number(evening.Judged.Value) + ": " +
                   (evening.Seen() ? "seen" : "not seen");
    reason.Facts.push_back({"moon_altitude", Degrees{*report.MoonAltitude}});
    reason.Facts.push_back({"elongation", Degrees{*report.Elongation}});
    reason.Facts.push_back({"criterion", std::string(criterion.Key)});
    reason.Facts.push_back({"category", std::string(evening.Judged.Category)});
    reason.Facts.push_back({"criterion_value", Number(evening.Judged.Value)});
    return reason;
}

MonthReason SightingCalendar::Reason(std::int32_t month) const
{
    const std::int64_t first = Start(month).FirstDay;
    const std::int64_t from = ConjunctionDayHere(month);
    if (month == Span_.First) {
        MonthReason reason = EveningReason(month, first - 1);
        reason.Text = "the first evening: " + reason.Text + ": the month opens on the next day";
        return reason;
    }
    const std::int64_t previous = Start(month - 1).FirstDay;
    const std::int64_t day29 = previous + 28;
    if (first == previous + 29) {
        const std::int64_t seen = FirstSeen(month, from, day29);
        MonthReason reason = EveningReason(month, seen);
        if (seen == day29)
            reason.Text = "day 29, " + reason.Text + ": the month opens on the next day";
        else
            reason.Text = "day " + IntToStr(seen - previous + 1) + ", " + reason.Text +
                          ": the month opens after day 29, so that the month before has 29 days";
        return reason;
    }
    MonthReason reason = EveningReason(month, day29);
    reason.Text = "day 29, " + reason.Text;
    if (FirstSeen(month, std::max(from, day29 + 1), day29 + 1) == day29 + 1)
        reason.Text += ": the month before has 30 days";
    else
        reason.Text += ", nor on day 30: the month before is held at 30 days";
    return reason;
}
