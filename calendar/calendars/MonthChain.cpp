#include "calendar/calendars/MonthChain.h"

#include <algorithm>

namespace {

// A month with a kept month this close before it walks on from there (one step a
// month) rather than starting two reckonings of its own.
constexpr std::int32_t Reach = 240;
// The first two reckonings start this many months back; each failure to meet
// doubles it.
constexpr std::int32_t FirstLead = 12;

} // namespace

MonthChain::MonthChain(const MonthChainRule& rule, std::int32_t firstMonth)
    : Rule_(rule), First_(firstMonth)
{
}

std::int64_t MonthChain::Start(std::int32_t month)
{
    const std::lock_guard<std::mutex> guard(Lock_);
    if (const auto found = Kept_.find(month); found != Kept_.end())
        return found->second;
    std::int32_t kept = 0;
    if (KeptBefore(month, kept))
        return WalkFrom(kept, month);
    return Squeeze(month);
}

bool MonthChain::KeptBefore(std::int32_t month, std::int32_t& kept) const
{
    for (std::int32_t k = month - 1; k >= std::max(First_, month - Reach); --k)
        if (Kept_.contains(k)) {
            kept = k;
            return true;
        }
    return false;
}

std::int64_t MonthChain::WalkFrom(std::int32_t kept, std::int32_t month)
{
    std::int64_t day = Kept_.at(kept);
    for (std::int32_t k = kept + 1; k <= month; ++k) {
        day = Rule_.Next(k, day);
        Kept_.emplace(k, day);
    }
    return day;
}

std::int64_t MonthChain::Squeeze(std::int32_t month)
{
    for (std::int64_t lead = FirstLead;; lead *= 2) {
        const std::int64_t from = month - lead;
        if (from <= First_) {
            Kept_.emplace(First_, Rule_.Opening(First_));
            return month == First_ ? Kept_.at(First_) : WalkFrom(First_, month);
        }
        const auto start = static_cast<std::int32_t>(from);
        const MonthChainRule::Days bounds = Rule_.Bounds(start);
        std::int64_t low = bounds.Low, high = bounds.High;
        for (std::int32_t k = start + 1; k <= month; ++k) {
            low = Rule_.Next(k, low);
            high = Rule_.Next(k, high);
            if (low == high) {
                Kept_.emplace(k, low);
                return WalkFrom(k, month);
            }
        }
    }
}
