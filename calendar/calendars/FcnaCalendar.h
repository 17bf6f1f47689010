// `fcna`: a month opens on the civil day after the geocentric conjunction when
// the conjunction falls before 12:00 UT, otherwise on the day after that.
#pragma once

#include "calendar/calendars/HijriCalendar.h"

class FcnaCalendar final : public HijriCalendar {
public:
    FcnaCalendar();

    std::string_view Name() const override { return "fcna"; }
    MonthSpan Months() const override { return Span_; }
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;

private:
    MonthSpan Span_;
};
