// `umalqura`: Saudi Arabia's Umm al-Qura calendar. For the Hijri years the
// published table covers, ICU's islamic-umalqura calendar; outside them, the
// rule in force since 1423 AH (UmmAlQuraRuleCalendar), marked as computed and
// joined to the table's ends so that every month keeps 29 or 30 days.
#pragma once

#include "calendar/calendars/HijriCalendar.h"
#include "calendar/calendars/UmmAlQuraRuleCalendar.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

inline constexpr std::int32_t FirstUmmAlQuraYear = 1300;
inline constexpr std::int32_t LastUmmAlQuraYear = 1600;

class UmmAlQuraCalendar final : public HijriCalendar {
public:
    // Reads the table's first days from ICU (about a millisecond). Exception when
    // ICU cannot give them.
    UmmAlQuraCalendar();

    std::string_view Name() const override { return "umalqura"; }
    MonthSpan Months() const override { return Rule_->Months(); }
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;

    // Whether the table gives the month.
    static bool InTable(std::int64_t month);

private:
    // Day 1 of the months next to the table that its ends move off the rule's
    // own days: after it from its last month's end, before it back from its
    // first month. Worked out on the first question outside the table.
    struct Joins {
        std::vector<std::int64_t> After;   // from the month after the table on
        std::vector<std::int64_t> Before;  // from the month before the table back
    };
    const Joins& JoinsToTheRule() const;
    std::int64_t OutsideStart(std::int32_t month) const;

    // Day 1 of every month of the table, and then the day after its last month.
    std::vector<std::int64_t> FirstDays_;
    std::unique_ptr<UmmAlQuraRuleCalendar> Rule_;
    mutable std::once_flag JoinsMade_;
    mutable Joins Joins_;
};
