// Where months open: the engine's fast sines against the plain sinl series for
// every month of the civil years 1 to 3000, and the rule for new moons before
// Julian day 0, where the fraction of a negative Julian day must be taken by floor.
#include "calendar/conver2.h"
#include "framework/runtime/sysutils.h"
#include "StraightforwardMoonPhase.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The civil day whose midnight starts day 1 of a month counted from `start`.
double FirstDayNumber(double start)
{
    return std::floor(start + 1 + 0.5);
}

TEST(MonthStart, FastSinesChangeNoFirstDayInYears1To3000)
{
    const std::int32_t first = LunationEstimate(1, 1, 1) - 2;
    const std::int32_t last = LunationEstimate(3000, 12, 31) + 2;
    const double firstDay = DateToJulianDay(1, 1, 1);
    const double lastDay = DateToJulianDay(3000, 12, 31);
    int compared = 0;
    for (std::int32_t k = first; k <= last; ++k) {
        double newMoon;
        const double engine = FirstDayNumber(MonthStartInstant(k, newMoon));
        const double dayNumber = engine - 0.5;  // its midnight, as DateToJulianDay gives it
        if (dayNumber < firstDay || dayNumber > lastDay)
            continue;
        const double plain = FirstDayNumber(MonthStartFromNewMoon(StraightforwardMoonPhase(k, 0)));
        ASSERT_EQ(engine, plain) << "lunation " << k << ", new moon " << newMoon;
        ++compared;
    }
    EXPECT_GT(compared, 37000);  // 3000 years of about 12.37 lunations
}

// The UT hour of an instant given as a Julian day, which starts at noon.
double UtHour(double jd)
{
    const double sinceMidnight = jd + 0.5;
    return (sinceMidnight - std::floor(sinceMidnight)) * 24;
}

TEST(MonthStart, NewMoonBeforeJulianDayZeroOpensOnTheNextDay)
{
    // The first lunation before Julian day 0 whose new moon lies clear inside
    // 00:00 to 03:00 UT. Truncating its negative Julian day would give a negative
    // fraction, miss the branch and open the month a day late.
    std::int32_t k = LunationEstimate(-4713, 1, 1);
    double newMoon = tmoonphase(k, 0);
    while (!(newMoon < 0 && UtHour(newMoon) > 0.5 && UtHour(newMoon) < 2.5))
        newMoon = tmoonphase(--k, 0);
    ASSERT_GT(newMoon, -1500);  // found within a few years
    EXPECT_EQ(MonthStartFromNewMoon(newMoon), newMoon);

    // Through the public conversion: the new moon's own civil day is the old
    // month's last, the next civil day is day 1.
    const double newMoonDay = std::floor(newMoon + 0.5) - 0.5;
    CalendarDate civil, hijri;
    JulianDayToDate(civil, newMoonDay + 1);
    GregorianToHijriDate(civil.Year, civil.Month, civil.Day, hijri);
    EXPECT_EQ(hijri.Day, 1) << civil.Year << "-" << civil.Month << "-" << civil.Day;
    JulianDayToDate(civil, newMoonDay);
    GregorianToHijriDate(civil.Year, civil.Month, civil.Day, hijri);
    EXPECT_GE(hijri.Day, 29);

    // Outside the branch the month opens on the day after next, also before day 0.
    double later = tmoonphase(k, 0);
    while (!(later < 0 && UtHour(later) > 4 && UtHour(later) < 11))
        later = tmoonphase(--k, 0);
    EXPECT_EQ(MonthStartFromNewMoon(later), later + 1);
}

TEST(MonthStartCache, ConvertsAsTheEngineDoesAcrossCollidingLunations)
{
    // Days 4096 lunations apart share a slot of the table; visiting them in
    // turn makes every slot refill and be read back again.
    MonthStartCache cache;
    CalendarDate plain, cached;
    const double spacing = 4096 * 29.530588853;
    for (int round = 0; round < 2; ++round)
        for (double jd = DateToJulianDay(-2000, 1, 1) + round * 17; jd < DateToJulianDay(6000, 1, 1);
             jd += spacing / 7) {
            JulianDayToDate(plain, jd);
            const CalendarDate civil = plain;
            GregorianToHijriDate(civil.Year, civil.Month, civil.Day, plain);
            GregorianToHijriDate(civil.Year, civil.Month, civil.Day, cached, cache);
            ASSERT_EQ(cached.Day, plain.Day);
            ASSERT_EQ(cached.Month, plain.Month);
            ASSERT_EQ(cached.Year, plain.Year);
            ASSERT_EQ(cached.WeekDay, plain.WeekDay);
            const CalendarDate hijri = plain;
            HijriToGregorianDate(hijri.Year, hijri.Month, hijri.Day, plain);
            HijriToGregorianDate(hijri.Year, hijri.Month, hijri.Day, cached, cache);
            ASSERT_EQ(cached.Day, civil.Day);
            ASSERT_EQ(cached.Month, civil.Month);
            ASSERT_EQ(cached.Year, civil.Year);
            ASSERT_EQ(cached.NewMoon, plain.NewMoon);
        }
    // Out of range stays out of range, and the cache keeps working after it.
    EXPECT_THROW(HijriToGregorianDate(1'100'000, 1, 1, cached, cache), ERangeError);
    EXPECT_THROW(GregorianToHijriDate(MaxYear + 1, 1, 1, cached, cache), ERangeError);
    HijriToGregorianDate(1445, 9, 1, cached, cache);
    EXPECT_EQ(cached.Day, 12);
    EXPECT_EQ(cached.Month, 3);
}

} // namespace
