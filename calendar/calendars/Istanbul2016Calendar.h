// `istanbul2016`: the unified calendar of the Istanbul congress of 2016. A month
// opens on the day after the first UT date, from the conjunction's on, on which
// the rule holds (Istanbul2016Rule.h).
#pragma once

#include "calendar/calendars/HijriCalendar.h"

class Istanbul2016Calendar final : public HijriCalendar {
public:
    Istanbul2016Calendar();

    std::string_view Name() const override { return "istanbul2016"; }
    MonthSpan Months() const override { return Span_; }
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;

private:
    MonthSpan Span_;
};
