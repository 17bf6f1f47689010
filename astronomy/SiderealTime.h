// Sidereal time at Greenwich (Meeus, chapter 12): the hour angle of the
// equinox, which turns a right ascension into a local hour angle.
#pragma once

namespace astronomy {

// Mean sidereal time at Greenwich, degrees 0..360, at a UT Julian day (IAU 1982
// expression, Meeus 12.4).
double MeanSiderealTime(double jdUT);

// Apparent sidereal time: the mean one plus the equation of the equinoxes
// Δψ cos ε, given the nutation in longitude and the true obliquity (degrees).
double ApparentSiderealTime(double jdUT, double nutationInLongitude, double trueObliquity);

} // namespace astronomy
