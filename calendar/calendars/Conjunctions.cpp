#include "calendar/calendars/Conjunctions.h"

#include "calendar/conver2.h"
#include "astronomy/Conjunction.h"

#include <cmath>

namespace {

// Farther than this from the engine's new moon an instant is on the same side of
// the conjunction as of the new moon; the two differ by under half an hour
// (checked over the whole span by the tests).
constexpr double EngineMarginDays = 1.0 / 24;

// A margin inside the astronomy's years at both ends, so that every evening a
// month's rule looks at lies inside them too.
constexpr double EdgeDays = 5;

constexpr std::int64_t MuharramIndex1405 = 1048;
constexpr double MeanLunation = 29.530588853;
constexpr double Lunation1048 = 2445970.5;  // near the engine's new moon of Muharram 1405

// The month index of the first Muharram on or after (later) or on or before
// (!later) an instant, by mean lunations; exact enough for a span's ends.
std::int32_t MuharramNear(double jd, bool later)
{
    const double months = (jd - Lunation1048) / MeanLunation;
    std::int64_t k = MuharramIndex1405 + static_cast<std::int64_t>(later ? std::ceil(months) : std::floor(months));
    // To a Muharram, then to the side of the instant the engine's new moon says.
    const auto offset = [](std::int64_t index) { return ((index - MuharramIndex1405) % 12 + 12) % 12; };
    if (later) {
        k += (12 - offset(k)) % 12;
        while (EngineNewMoon(static_cast<std::int32_t>(k)) < jd)
            k += 12;
    } else {
        k -= offset(k);
        while (EngineNewMoon(static_cast<std::int32_t>(k)) > jd)
            k -= 12;
    }
    return static_cast<std::int32_t>(k);
}

} // namespace

double EngineNewMoon(std::int32_t month)
{
    double newMoon = 0;
    MonthStartInstant(month, newMoon);
    return newMoon;
}

bool ConjunctionPrecedes(std::int32_t month, double instantUT)
{
    const double newMoon = EngineNewMoon(month);
    if (newMoon + EngineMarginDays < instantUT)
        return true;
    if (newMoon - EngineMarginDays >= instantUT)
        return false;
    // Positive elongation: the Moon has passed the Sun in longitude.
    return astronomy::LongitudeElongation(instantUT) > 0;
}

double ConjunctionOf(std::int32_t month)
{
    return astronomy::ConjunctionNearest(EngineNewMoon(month));
}

std::int64_t ConjunctionDay(std::int32_t month, double longitude)
{
    const double shift = longitude / 360;  // of local mean time ahead of UT, in days
    const auto day = static_cast<std::int64_t>(std::floor(EngineNewMoon(month) + 0.5 + shift));
    const double midnight = static_cast<double>(day) - 0.5 - shift;  // the local midnight opening it
    if (!ConjunctionPrecedes(month, midnight + 1))
        return day + 1;
    if (!ConjunctionPrecedes(month, midnight))
        return day;
    return day - 1;
}

MonthSpan AstronomySpan()
{
    const double first = DateToJulianDay(FirstAstronomyYear, 1, 1) + EdgeDays;
    const double last = DateToJulianDay(LastAstronomyYear, 12, 31) - EdgeDays;
    // The last month is the one before the last Muharram that still fits, whose
    // first day ends it.
    return {MuharramNear(first, true), MuharramNear(last, false) - 1, "the astronomy's years"};
}
