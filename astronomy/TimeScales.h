// Universal Time and Terrestrial Time.
//
// Every instant at the library's boundary is a Julian day in UT (the scale of
// the civil clock and of the calendar engine). The Sun's and the Moon's series
// run in TT (Terrestrial, formerly Dynamical, Time); the two differ by ΔT,
// which grows with the slowing of the Earth's rotation and is known from the
// historical record, not from theory.
#pragma once

namespace astronomy {

// The year with its fraction for an instant (Gregorian reckoning; the month's
// middle is all ΔT's polynomials need). 2000.0 is the start of 2000.
double DecimalYear(double jd);

// ΔT = TT - UT in seconds at a decimal year: Espenak and Meeus's polynomials
// for -1999 to +3000 (Five Millennium Canon of Solar Eclipses, 2006), and their
// long-term parabola -20 + 32 u^2, u = (y - 1820) / 100, outside that span.
double DeltaTSeconds(double decimalYear);

// TT Julian day of a UT Julian day, and back.
double TerrestrialTime(double jdUT);
double UniversalTime(double jdTT);

} // namespace astronomy
