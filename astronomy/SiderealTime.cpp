#include "astronomy/SiderealTime.h"

#include "astronomy/Angles.h"

namespace astronomy {

double MeanSiderealTime(double jdUT)
{
    const double T = JulianCenturies(jdUT);
    // The day count is split so that the large product keeps its fraction.
    const double days = jdUT - J2000;
    const double wholeDays = std::floor(days);
    const double turns = NormalizeDegrees(360.98564736629 * wholeDays) +
                         360.98564736629 * (days - wholeDays);
    return NormalizeDegrees(280.46061837 + turns + T * T * (0.000387933 - T / 38710000));
}

double ApparentSiderealTime(double jdUT, double nutationInLongitude, double trueObliquity)
{
    return NormalizeDegrees(MeanSiderealTime(jdUT) + nutationInLongitude * CosDeg(trueObliquity));
}

} // namespace astronomy
