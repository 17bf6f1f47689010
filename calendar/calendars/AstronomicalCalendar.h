// `astronomical`: the converter's own rule, exactly as the engine reckons: a new
// moon from 00:00 to 03:00 UT opens the month on the next civil day, one at any
// other hour on the day after.
#pragma once

#include "calendar/calendars/HijriCalendar.h"

class AstronomicalCalendar final : public HijriCalendar {
public:
    std::string_view Name() const override { return "astronomical"; }
    MonthSpan Months() const override;
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;
};
