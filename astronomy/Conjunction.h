// The geocentric conjunction of the Moon with the Sun in longitude (the
// astronomical new moon): the instant at which their apparent geocentric
// ecliptic longitudes are equal, found by iteration on the full series to well
// under a second. Not the calendar engine's mean-phase series: the two differ by
// that series' approximation (minutes).
//
// Time scale: UT Julian days in and out.
#pragma once

namespace astronomy {

// The Moon's apparent longitude less the Sun's, -180..180 degrees: negative
// before a conjunction, positive after.
double LongitudeElongation(double jdUT);

// The conjunction nearest an instant (within half a lunation).
double ConjunctionNearest(double jdUT);

// The first conjunction after an instant, and the last at or before it.
double ConjunctionAfter(double jdUT);
double ConjunctionBefore(double jdUT);

} // namespace astronomy
