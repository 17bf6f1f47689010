// `umalqura`: Saudi Arabia's Umm al-Qura calendar, for the Hijri years the
// published table covers, through ICU's islamic-umalqura calendar.
#pragma once

#include "calendar/calendars/HijriCalendar.h"

#include <cstdint>
#include <vector>

inline constexpr std::int32_t FirstUmmAlQuraYear = 1300;
inline constexpr std::int32_t LastUmmAlQuraYear = 1600;

class UmmAlQuraCalendar final : public HijriCalendar {
public:
    // Reads the table's first days from ICU (about a millisecond). Exception when
    // ICU cannot give them.
    UmmAlQuraCalendar();

    std::string_view Name() const override { return "umalqura"; }
    MonthSpan Months() const override;
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;

private:
    // Day 1 of every month of the table, and then the day after its last month.
    std::vector<std::int64_t> FirstDays_;
};
