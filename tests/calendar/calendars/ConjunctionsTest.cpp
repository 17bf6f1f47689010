// The conjunction a month opens with, asked cheaply through the engine's new
// moon, against the full search; and the span the astronomy covers.
#include "calendar/calendars/CivilDays.h"
#include "calendar/calendars/Conjunctions.h"
#include "astronomy/Conjunction.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double Minute = 1.0 / 1440;

TEST(Conjunctions, TheEnginesNewMoonLiesWithinHalfAnHourOfTheConjunctionOverTheSpan)
{
    // The quick answers trust the engine an hour either side; half an hour is
    // the margin the tests hold it to.
    const MonthSpan span = AstronomySpan();
    double worst = 0;
    std::int32_t worstMonth = 0;
    for (std::int32_t k = span.First; k <= span.Last + 1; k += 53) {
        const double off = std::fabs(EngineNewMoon(k) - ConjunctionOf(k));
        if (off > worst) {
            worst = off;
            worstMonth = k;
        }
    }
    EXPECT_LT(worst, 30 * Minute) << "month " << worstMonth << ": " << worst / Minute << " minutes";
}

TEST(Conjunctions, BeforeOrAfterAnInstantAsTheFullSearchSaysToTheSecond)
{
    const MonthSpan span = AstronomySpan();
    const double offsets[] = {-120, -61, -59, -5, -0.5, -1.0 / 60, 1.0 / 60, 0.5, 5, 59, 61, 120};  // minutes
    for (std::int32_t k = span.First + 7; k <= span.Last; k += 997) {
        const double conjunction = ConjunctionOf(k);
        for (const double minutes : offsets)
            EXPECT_EQ(ConjunctionPrecedes(k, conjunction + minutes * Minute), minutes > 0)
                << "month " << k << ", " << minutes << " minutes";
    }
}

TEST(Conjunctions, TheConjunctionsDayIsItsLocalMeanDate)
{
    const MonthSpan span = AstronomySpan();
    for (std::int32_t k = span.First + 3; k <= span.Last; k += 211)
        for (const double longitude : {-179.9, -75.0, 0.0, 39.8262, 106.8, 179.9}) {
            const double conjunction = ConjunctionOf(k);
            EXPECT_EQ(ConjunctionDay(k, longitude),
                      static_cast<std::int64_t>(std::floor(conjunction + 0.5 + longitude / 360)))
                << "month " << k << " at " << longitude;
        }
    // Ramadan 1447: 17 February 2026, 12:01:07 UT, which is already the 18th
    // at 179.9°E (00:00:43 there).
    const auto ramadan = static_cast<std::int32_t>(MonthIndexOf(1447, 9));
    EXPECT_EQ(DayText(ConjunctionDay(ramadan, 0)), "2026-02-17");
    EXPECT_EQ(DayText(ConjunctionDay(ramadan, 179.7)), "2026-02-17");
    EXPECT_EQ(DayText(ConjunctionDay(ramadan, 179.9)), "2026-02-18");
}

TEST(Conjunctions, TheSpanIsTheWholeHijriYearsInsideTheAstronomysYears)
{
    const MonthSpan span = AstronomySpan();
    EXPECT_EQ(MonthOfIndex(span.First), (HijriMonth{-2700, 1}));
    EXPECT_EQ(MonthOfIndex(span.Last), (HijriMonth{2451, 12}));
    EXPECT_GT(EngineNewMoon(span.First), CivilDayNumber(FirstAstronomyYear, 1, 1));
    EXPECT_LT(EngineNewMoon(span.Last + 1), CivilDayNumber(LastAstronomyYear, 12, 31));
    // One more year either way would leave the astronomy's years.
    EXPECT_LT(EngineNewMoon(span.First - 12), CivilDayNumber(FirstAstronomyYear, 1, 1) + 5);
    EXPECT_GT(EngineNewMoon(span.Last + 13), CivilDayNumber(LastAstronomyYear, 12, 31) - 5);
}

} // namespace
