// `umalqura-rule`: the rule of Saudi Arabia's Umm al-Qura calendar in force
// since 1423 AH. On the 29th day of a month, when the conjunction falls before
// sunset at Mecca and the Moon sets after the Sun there, the next day opens the
// new month; otherwise the month has 30 days.
#pragma once

#include "calendar/calendars/HijriCalendar.h"
#include "calendar/calendars/MonthChain.h"

#include <memory>
#include <mutex>
#include <unordered_map>

class UmmAlQuraRuleCalendar final : public HijriCalendar, private MonthChainRule {
public:
    UmmAlQuraRuleCalendar();

    std::string_view Name() const override { return "umalqura-rule"; }
    MonthSpan Months() const override { return Span_; }
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;

    // Day 1 of `month` when day 1 of the month before is `previous`, and why: the
    // rule's one step, for a reckoning that starts elsewhere (the Umm al-Qura
    // table's last month).
    std::int64_t StartAfter(std::int32_t month, std::int64_t previous) const;
    MonthReason ReasonAfter(std::int32_t month, std::int64_t previous) const;

private:
    std::int64_t Next(std::int32_t month, std::int64_t previous) const override;
    Days Bounds(std::int32_t month) const override;
    std::int64_t Opening(std::int32_t month) const override;

    // Whether the evening of a civil day at Mecca meets both conditions, for the
    // conjunction that opens `month`; remembered by day.
    bool Met(std::int32_t month, std::int64_t day) const;

    MonthSpan Span_;
    std::unique_ptr<MonthChain> Chain_;
    mutable std::mutex EveningsLock_;
    mutable std::unordered_map<std::int64_t, bool> Evenings_;
};
