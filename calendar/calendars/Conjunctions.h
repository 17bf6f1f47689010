// The geocentric conjunction that opens a Hijri month, as the computed
// calendars ask about it, and the months the astronomy lets them compute.
//
// Month index k is the engine's lunation k, whose mean-phase new moon lies
// within minutes of the conjunction (under half an hour anywhere in the
// astronomy's years, a few minutes in this era). So whether the conjunction
// falls before an instant more than an hour from that new moon is the engine's
// answer alone; nearer, it is the sign of the Moon's elongation in longitude at
// the instant, one evaluation of the series instead of a search.
#pragma once

#include "calendar/calendars/HijriCalendar.h"

#include <cstdint>

// The civil years the astronomy's ΔT covers, and so the computed calendars.
inline constexpr std::int32_t FirstAstronomyYear = -1999;
inline constexpr std::int32_t LastAstronomyYear = 3000;

// The engine's new moon of a month (UT Julian day).
double EngineNewMoon(std::int32_t month);

// Whether the month's conjunction falls strictly before an instant (UT). The
// instant must lie within a few days of the conjunction.
bool ConjunctionPrecedes(std::int32_t month, double instantUT);

// The conjunction itself, to well under a second (UT Julian day).
double ConjunctionOf(std::int32_t month);

// The civil day (day number) on which the conjunction falls in local mean time
// at a longitude (east positive); 0 gives the UT date.
std::int64_t ConjunctionDay(std::int32_t month, double longitude);

// The whole Hijri years whose months, and the month after the last, open on
// conjunctions inside FirstAstronomyYear..LastAstronomyYear.
MonthSpan AstronomySpan();
