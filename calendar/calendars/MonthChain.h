// First days of months whose rule looks back at the month before: a check on
// its 29th day, or a clamp that keeps it at 29 or 30 days. Such a calendar is
// reckoned month by month from the first month of its span; MonthChain gives the
// same first days without walking from there, and remembers them.
//
// How: day 1 of a month lies between bounds the rule knows whatever came before
// (Bounds). Two reckonings started a few months back, one from the low bound and
// one from the high, meet after a month or two; every reckoning started between
// them is squeezed onto the same days (Next never lets a later start overtake an
// earlier one), so from the month where they meet on, the days are those of the
// reckoning from the span's first month. When they do not meet, it starts further
// back, at worst from the first month. Once known, a month's first day is kept,
// and later months follow from it one step at a time.
#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_map>

class MonthChainRule {
public:
    virtual ~MonthChainRule() = default;
    // Day 1 of `month` when day 1 of the month before is `previous`; never less
    // for a later `previous` (at most 30 days on, at least 29).
    virtual std::int64_t Next(std::int32_t month, std::int64_t previous) const = 0;
    // Days between which day 1 of `month` lies whatever the months before did.
    struct Days {
        std::int64_t Low;
        std::int64_t High;
    };
    virtual Days Bounds(std::int32_t month) const = 0;
    // Day 1 of the span's first month, which has no month before it.
    virtual std::int64_t Opening(std::int32_t month) const = 0;
};

class MonthChain {
public:
    // `rule` must outlive the chain; months before `firstMonth` are never asked.
    MonthChain(const MonthChainRule& rule, std::int32_t firstMonth);

    // Day 1 of a month from the first month on. Safe from several threads.
    std::int64_t Start(std::int32_t month);

private:
    // The nearest month before `month` whose first day is kept, within Reach.
    bool KeptBefore(std::int32_t month, std::int32_t& kept) const;
    // Walks from a kept month to `month`, keeping every first day on the way.
    std::int64_t WalkFrom(std::int32_t kept, std::int32_t month);
    std::int64_t Squeeze(std::int32_t month);

    const MonthChainRule& Rule_;
    const std::int32_t First_;
    std::mutex Lock_;
    std::unordered_map<std::int32_t, std::int64_t> Kept_;
};
