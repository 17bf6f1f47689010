#include "astronomy/Conjunction.h"

#include "astronomy/Angles.h"
#include "astronomy/Sky.h"

namespace astronomy {

namespace {

// The Moon gains on the Sun 360° in a mean synodic month; its true rate varies
// between about 10° and 15° a day, which the iteration absorbs.
constexpr double SynodicMonth = 29.530588853;
constexpr double MeanGainPerDay = 360 / SynodicMonth;
constexpr double ConvergedDays = 0.01 / 86400;
constexpr int MaxSteps = 20;

} // namespace

double LongitudeElongation(double jdUT)
{
    const EclipticLongitudes longitudes = ApparentLongitudes(jdUT);
    return SignedDegrees(longitudes.Moon - longitudes.Sun);
}

double ConjunctionNearest(double jdUT)
{
    // Secant steps on the elongation, started with the mean rate.
    double t0 = jdUT;
    double e0 = LongitudeElongation(t0);
    double t1 = t0 - e0 / MeanGainPerDay;
    for (int step = 0; step < MaxSteps; ++step) {
        const double e1 = LongitudeElongation(t1);
        const double slope = (e1 - e0) / (t1 - t0);
        // Far from the event the chord can be poor; keep the slope near the
        // Moon's possible rates.
        const double rate = (slope > 9 && slope < 17) ? slope : MeanGainPerDay;
        const double next = t1 - e1 / rate;
        t0 = t1;
        e0 = e1;
        t1 = next;
        if (std::fabs(t1 - t0) < ConvergedDays)
            break;
    }
    return t1;
}

double ConjunctionAfter(double jdUT)
{
    // The elongation still to go, 0 < gap <= 360, at the mean rate.
    const double gap = 360 - NormalizeDegrees(LongitudeElongation(jdUT));
    double t = ConjunctionNearest(jdUT + gap / MeanGainPerDay);
    while (t <= jdUT)
        t = ConjunctionNearest(t + SynodicMonth);
    return t;
}

double ConjunctionBefore(double jdUT)
{
    const double done = NormalizeDegrees(LongitudeElongation(jdUT));
    double t = ConjunctionNearest(jdUT - done / MeanGainPerDay);
    while (t > jdUT)
        t = ConjunctionNearest(t - SynodicMonth);
    return t;
}

} // namespace astronomy
