// New-moon instants, the month-start rule, the illegal-phase report, and the fast
// sines measured against a plain evaluation.
#include "StraightforwardMoonPhase.h"
#include "calendar/SineCosine.h"
#include "calendar/conver2.h"
#include "framework/runtime/sysutils.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {

TEST(DegToRad, IsTheDoubleNearestToPiOver180)
{
    EXPECT_EQ(std::bit_cast<std::uint64_t>(DegToRad), 0x3F91DF46A2529D39u);
}

struct PhaseInstants {
    int Lunation;
    double Instants[4];  // new moon, first quarter, full moon, last quarter
};

TEST(tmoonphase, GivesThePhasesOfALunation)
{
    const PhaseInstants cases[] = {
        {0, {2415021.076436, 2415027.735614, 2415035.295828, 2415043.495336}},
        {1236, {2451520.438158, 2451528.533914, 2451535.229874, 2451542.086012}},
    };
    for (const PhaseInstants& c : cases)
        for (int phase = 0; phase < 4; ++phase)
            EXPECT_NEAR(tmoonphase(c.Lunation, phase), c.Instants[phase], 5e-7)
                << "lunation " << c.Lunation << " phase " << phase;
}

struct MonthStart {
    int Lunation;
    double NewMoon;
    bool OpensNextDay;  // the new moon lies from 00:00 to 03:00 UT
    int Year, Month, Day;  // the civil day the month opens
};

TEST(MonthStartInstant, FollowsTheHourOfTheNewMoon)
{
    const MonthStart cases[] = {
        {1048, 2445968.632130, false, 1984, 9, 27},  // 03:10 UT, 06:10 at UT+3
        {1500, 2459316.604403, true, 2021, 4, 13},   // 02:30 UT
        {1236, 2451520.438158, false, 1999, 12, 9},  // 22:31 UT, before midnight
        {-15800, 1948437.725850, false, 622, 7, 16},  // 05:25 UT
    };
    for (const MonthStart& c : cases) {
        double newMoon = 0;
        const double start = MonthStartInstant(c.Lunation, newMoon);
        EXPECT_NEAR(newMoon, c.NewMoon, 5e-7) << c.Lunation;
        EXPECT_EQ(start, c.OpensNextDay ? newMoon : newMoon + 1) << c.Lunation;
        // Day 1 is the first civil day whose starting midnight is at or after start.
        CalendarDate first;
        JulianDayToDate(first, std::ceil(start - 0.5) + 0.5);
        EXPECT_EQ(first.Year, c.Year) << c.Lunation;
        EXPECT_EQ(first.Month, c.Month) << c.Lunation;
        EXPECT_EQ(first.Day, c.Day) << c.Lunation;
    }
}

TEST(MonthStartFromNewMoon, ComparesStrictlyAtTheCutOffs)
{
    const double midnight = 2451544.5;
    struct Case {
        double NewMoon;
        bool OpensNextDay;
    };
    const Case cases[] = {
        {midnight, false},  // exactly 00:00 UT: the day after is counted from
        {midnight + 1.0 / 1024, true},
        {midnight + 0.125, true},  // exactly 03:00 UT, 06:00 at UT+3
        {std::nextafter(midnight + 0.125, 1e9), false},
        {midnight - 0.25, false},  // 18:00 UT the day before
    };
    for (const Case& c : cases)
        EXPECT_EQ(MonthStartFromNewMoon(c.NewMoon), c.OpensNextDay ? c.NewMoon : c.NewMoon + 1)
            << std::fixed << c.NewMoon;
}

TEST(tmoonphase, ReportsAnIllegalPhaseOnStandardOutput)
{
    for (int phase : {4, -1}) {
        testing::internal::CaptureStdout();
        const double instant = tmoonphase(10, phase);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "tmoonphase: illegal phase number\n");
        EXPECT_TRUE(std::isnan(instant));
    }
}

// Runs tmoonphase with an illegal phase on a standard output made unwritable by
// `prepare`, in a child process, and exits 0 if it raised EInOutError.
void ExpectInOutErrorWhen(void (*prepare)())
{
    EXPECT_EXIT(
        {
            prepare();
            try {
                tmoonphase(0, 7);
            } catch (const EInOutError&) {
                std::_Exit(0);
            }
            std::_Exit(1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(tmoonphaseDeathTest, RaisesInOutErrorWhenTheWriteFails)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ExpectInOutErrorWhen([] {
        const int full = open("/dev/full", O_WRONLY);
        dup2(full, STDOUT_FILENO);
    });
    ExpectInOutErrorWhen([] { close(STDOUT_FILENO); });
}

TEST(SinCos, MatchesTheLibraryForLargeAngles)
{
    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> magnitude(-20.0, 27.0);  // up to about 1e8 rad
    long double worst = 0;
    for (int i = 0; i < 200000; ++i) {
        const long double angle = std::copysign(std::exp2(magnitude(random)), i % 2 ? 1.0 : -1.0);
        const SineCosine r = SinCos(angle);
        worst = std::fmax(worst, std::fabs(r.Sin - sinl(angle)));
        worst = std::fmax(worst, std::fabs(r.Cos - cosl(angle)));
    }
    EXPECT_LE(worst, 0x1p-62L);
}

// Over every lunation from the year -9999 to 9999 the fast evaluation stays within
// 2e-9 days of the plain one (one unit in the last place of a Julian day is about
// 5e-10), so a month can open on another day only for a new moon within that of a
// cut-off; the day-by-day sweeps show none does.
TEST(tmoonphase, AgreesWithThePlainEvaluation)
{
    const int first = LunationEstimate(-9999, 1, 1) - 2;
    const int last = LunationEstimate(9999, 12, 31);
    double worst = 0;
    long identical = 0;
    long compared = 0;
    for (int k = first; k <= last; ++k) {
        // Every new moon; the other phases on every seventh lunation.
        for (int phase = 0; phase < (k % 7 == 0 ? 4 : 1); ++phase) {
            const double fast = tmoonphase(k, phase);
            const double plain = StraightforwardMoonPhase(k, phase);
            worst = std::fmax(worst, std::fabs(fast - plain));
            identical += fast == plain;
            ++compared;
        }
    }
    EXPECT_LE(worst, 2e-9);
    RecordProperty("identical", std::to_string(identical) + " of " + std::to_string(compared));
}

} // namespace
