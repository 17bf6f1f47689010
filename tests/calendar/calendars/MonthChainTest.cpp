// A chain of first days that each depend on the month before gives the days of
// the reckoning from its first month, whatever the order it is asked in.
#include "calendar/calendars/MonthChain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Natural first days 29 or 30 days apart, with a 28- or 31-day gap now and then
// (a crescent seen early or late), and the clamp that holds every month at 29 or
// 30 days: the sighting rule on made-up evenings. Counts the steps it is asked.
class MadeUpClamp final : public MonthChainRule {
public:
    explicit MadeUpClamp(std::int32_t months)
    {
        std::uint32_t state = 2024;
        std::int64_t day = 2400000;
        for (std::int32_t k = 0; k < months; ++k) {
            state = state * 1103515245u + 12345u;
            const std::uint32_t draw = (state >> 16) % 20;
            day += draw == 0 ? 28 : draw == 1 ? 31 : 29 + static_cast<std::int64_t>(draw % 2);
            Natural.push_back(day);
        }
    }
    std::int64_t Next(std::int32_t month, std::int64_t previous) const override
    {
        ++Steps;
        return std::clamp(Natural.at(static_cast<std::size_t>(month)), previous + 29, previous + 30);
    }
    Days Bounds(std::int32_t month) const override
    {
        const std::int64_t day = Natural.at(static_cast<std::size_t>(month));
        return {day - 4, day + 4};
    }
    std::int64_t Opening(std::int32_t month) const override { return Natural.at(static_cast<std::size_t>(month)); }

    std::vector<std::int64_t> Natural;
    mutable int Steps = 0;
};

// The days month by month from the first.
std::vector<std::int64_t> Reckoned(const MadeUpClamp& rule)
{
    std::vector<std::int64_t> days{rule.Opening(0)};
    for (std::int32_t k = 1; k < static_cast<std::int32_t>(rule.Natural.size()); ++k)
        days.push_back(rule.Next(k, days.back()));
    return days;
}

TEST(MonthChain, GivesTheDaysOfTheReckoningFromTheFirstMonthInAnyOrder)
{
    const MadeUpClamp rule(2000);
    const std::vector<std::int64_t> expected = Reckoned(rule);
    int clamped = 0;
    for (std::size_t k = 1; k < expected.size(); ++k)
        clamped += expected[k] != rule.Natural[k];
    ASSERT_GT(clamped, 100);  // the clamp is at work

    // Backwards, scrambled and month by month from fresh chains.
    MonthChain backwards(rule, 0);
    for (std::int32_t k = 1999; k >= 0; --k)
        ASSERT_EQ(backwards.Start(k), expected[static_cast<std::size_t>(k)]) << k;
    MonthChain scrambled(rule, 0);
    std::uint32_t state = 7;
    for (int i = 0; i < 4000; ++i) {
        state = state * 1103515245u + 12345u;
        const auto k = static_cast<std::int32_t>((state >> 8) % 2000);
        ASSERT_EQ(scrambled.Start(k), expected[static_cast<std::size_t>(k)]) << k;
    }
    for (std::int32_t k = 0; k < 2000; k += 97) {
        MonthChain fresh(rule, 0);
        EXPECT_EQ(fresh.Start(k), expected[static_cast<std::size_t>(k)]) << k;
    }
}

TEST(MonthChain, AsksTheRuleAboutEachMonthOnceWhenWalkedForwards)
{
    const MadeUpClamp rule(600);
    MonthChain chain(rule, 0);
    chain.Start(300);  // reckons a little way back
    const int first = rule.Steps;
    EXPECT_LT(first, 200);
    for (std::int32_t k = 0; k < 600; ++k)
        chain.Start(k);
    // Months before 300 not yet known walk from the nearest known one; every
    // month after is one step.
    EXPECT_LT(rule.Steps - first, 600 + 2 * 48);
    const int all = rule.Steps;
    for (std::int32_t k = 0; k < 600; ++k)
        chain.Start(k);
    EXPECT_EQ(rule.Steps, all);  // kept
}

} // namespace
