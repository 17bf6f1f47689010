// `sighting`: months opened by the crescent seen at one place. Each month opens
// the day after the first evening, from the conjunction's civil day at the place
// on, on which the chosen criterion counts the crescent as seen there (Yallop A
// or B, Odeh A or B, the threshold rules when met); a first day that would leave
// the month before shorter than 29 or longer than 30 days is moved to make it 29
// or 30. An evening counts only when the conjunction precedes its sunset; an
// evening without a sunset never counts.
//
// Places lie within MaxSightingLatitude of the equator. Beyond, summer nights
// without darkness and winters with the Moon low leave the crescent unseen for
// months on end (no criterion was built on such evenings), and the months drift
// from their conjunctions by weeks.
#pragma once

#include "calendar/calendars/CalendarOptions.h"
#include "calendar/calendars/HijriCalendar.h"
#include "calendar/calendars/MonthChain.h"

#include <memory>
#include <mutex>
#include <unordered_map>

inline constexpr double MaxSightingLatitude = 65;

class SightingCalendar final : public HijriCalendar, private MonthChainRule {
public:
    // ERangeError for a place beyond MaxSightingLatitude.
    explicit SightingCalendar(const CalendarOptions& options);

    std::string_view Name() const override { return "sighting"; }
    MonthSpan Months() const override { return Span_; }
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;

private:
    std::int64_t Next(std::int32_t month, std::int64_t previous) const override;
    Days Bounds(std::int32_t month) const override;
    std::int64_t Opening(std::int32_t month) const override;

    // The conjunction's civil day at the place, in local mean time.
    std::int64_t ConjunctionDayHere(std::int32_t month) const;
    // Whether the crescent of `month` counts as seen on the evening of a civil
    // day; remembered by day.
    bool Seen(std::int32_t month, std::int64_t day) const;
    // The first evening from `from` to `to` on which it is seen, or to + 1.
    std::int64_t FirstSeen(std::int32_t month, std::int64_t from, std::int64_t to) const;
    // One evening in words and facts.
    MonthReason EveningReason(std::int32_t month, std::int64_t day) const;

    CalendarOptions Options_;
    MonthSpan Span_;
    std::unique_ptr<MonthChain> Chain_;
    mutable std::mutex EveningsLock_;
    mutable std::unordered_map<std::int64_t, bool> Evenings_;
};
