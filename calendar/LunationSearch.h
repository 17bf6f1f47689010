// Finding the lunation whose Hijri month holds a given civil day.
// Internal to the engine; a header of its own so that tests can count the
// month-start evaluations a search needs.
#pragma once

#include <cmath>
#include <cstdint>

struct LunationMatch {
    std::int32_t Lunation;
    double Start;  // its month-start instant
};

// A value never above the month-start instant of lunation k, from the mean
// phase and the largest possible sum of the periodic terms; no sines.
double EarliestMonthStart(std::int32_t k);

namespace lunation_search_detail {
inline constexpr double MeanLunation = 29.530588853;  // days
// Beyond this distance from the day sought the search leaps instead of stepping.
// An estimate from years 1 to 3000 is at most two lunations off, which stays
// within it, so those searches step exactly as the estimate promises.
inline constexpr double LeapDistance = 3 * MeanLunation;
inline constexpr int MaxLeaps = 16;
} // namespace lunation_search_detail

// The last lunation whose month-start instant lies at or before the midnight d,
// starting from an estimate. monthStart(k) gives the instant of lunation k and
// grows with k; earliestStart(k) is a cheap bound never above it.
//
// From an estimate at or above the answer this is a downward walk, one lunation
// at a time; a lunation whose bound already lies after d is passed over without
// evaluating it, which leaves the answer as a full evaluation of each would. An
// estimate below the answer (negative years, the far future) is walked up the
// same way. Estimates far off (years far from the present, where the series'
// polynomial terms dominate) first leap by mean lunations.
template <typename MonthStart, typename EarliestStart>
LunationMatch FindLunation(double d, std::int32_t estimate, MonthStart&& monthStart,
                           EarliestStart&& earliestStart)
{
    using namespace lunation_search_detail;
    std::int32_t n = estimate;
    double bound = earliestStart(n);
    for (int leap = 0; leap < MaxLeaps && std::fabs(d - bound) > LeapDistance; ++leap) {
        n += static_cast<std::int32_t>(std::nearbyint((d - bound) / MeanLunation));
        bound = earliestStart(n);
    }

    bool walkedDown = false;
    double e;
    for (;;) {
        if (bound <= d) {
            e = monthStart(n);
            if (e <= d)
                break;
        }
        --n;
        walkedDown = true;
        bound = earliestStart(n);
    }
    if (!walkedDown) {
        while (earliestStart(n + 1) <= d) {
            const double next = monthStart(n + 1);
            if (next > d)
                break;
            ++n;
            e = next;
        }
    }
    return {n, e};
}
