#include "StraightforwardMoonPhase.h"

#include "calendar/conver2.h"

#include <cmath>

double StraightforwardMoonPhase(std::int32_t k, std::int32_t phase)
{
    using X = long double;
    const double kk = k + 0.25 * phase;
    const double T = static_cast<double>(kk * (1.0L / 1236.85L));
    const double T2 = static_cast<double>(static_cast<X>(T) * T);
    const double T3 = static_cast<double>(static_cast<X>(T2) * T);
    const double JD0 = static_cast<double>(
        2415020.75933L + 29.53058868L * kk + 0.0001178L * T2 - 0.000000155L * T3 +
        0.00033L * sinl((166.56L + 132.87L * T - 0.009173L * T2) * DegToRad));
    const X M = static_cast<double>(
        (359.2242L + 29.10535608L * kk - 0.0000333L * T2 - 0.00000347L * T3) * DegToRad);
    const X M1 = static_cast<double>(
        (306.0253L + 385.81691806L * kk + 0.0107306L * T2 + 0.00001236L * T3) * DegToRad);
    const X F2 = static_cast<double>(
        (21.2964L + 390.67050646L * kk - 0.0016528L * T2 - 0.00000239L * T3) *
        (static_cast<X>(DegToRad) * 2));
    X sum;
    if (phase == 0 || phase == 2)
        sum = (0.1734L - 0.000393L * T) * sinl(M) + 0.0021L * sinl(2 * M) -
              0.4068L * sinl(M1) + 0.0161L * sinl(2 * M1) - 0.0004L * sinl(3 * M1) +
              0.0104L * sinl(F2) - 0.0051L * sinl(M + M1) - 0.0074L * sinl(M - M1) +
              0.0004L * sinl(F2 + M) - 0.0004L * sinl(F2 - M) - 0.0006L * sinl(F2 + M1) +
              0.0010L * sinl(F2 - M1) + 0.0005L * sinl(M + 2 * M1);
    else
        sum = (0.1721L - 0.0004L * T) * sinl(M) + 0.0021L * sinl(2 * M) -
              0.6280L * sinl(M1) + 0.0089L * sinl(2 * M1) - 0.0004L * sinl(3 * M1) +
              0.0079L * sinl(F2) - 0.0119L * sinl(M + M1) - 0.0047L * sinl(M - M1) +
              0.0003L * sinl(F2 + M) - 0.0004L * sinl(F2 - M) - 0.0006L * sinl(F2 + M1) +
              0.0021L * sinl(F2 - M1) + 0.0003L * sinl(M + 2 * M1) +
              0.0004L * sinl(M - 2 * M1) - 0.0003L * sinl(2 * M + M1);
    double C = static_cast<double>(sum);
    if (phase == 1)
        C = static_cast<double>(C + 0.0028L - 0.0004L * cosl(M) + 0.0003L * cosl(M1));
    else if (phase == 3)
        C = static_cast<double>(C - 0.0028L + 0.0004L * cosl(M) - 0.0003L * cosl(M1));
    return static_cast<double>((JD0 + static_cast<X>(C)) -
                               (0.41L + 1.2053L * T + 0.4992L * T2) * (1.0L / 1440.0L));
}
