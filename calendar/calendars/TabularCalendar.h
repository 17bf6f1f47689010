// `civil` and `tbla`: the 30-year tabular Hijri calendar. Months alternate 30
// and 29 days from Muharram; Thul-Hujja has 30 in the eleven leap years of each
// cycle. The two differ only in the epoch, the day 1 Muharram 1 falls on.
#pragma once

#include "calendar/calendars/HijriCalendar.h"

#include <array>
#include <cstdint>
#include <string_view>

// The leap years of the 30-year cycle.
inline constexpr std::array<std::int32_t, 11> TabularLeapYears{2,  5,  7,  10, 13, 16,
                                                               18, 21, 24, 26, 29};

struct TabularEpoch {
    std::int64_t Day;          // day number of 1 Muharram 1
    std::string_view Weekday;  // as the epoch is known: "Friday", "Thursday"
};
// 16 July 622 (Julian calendar), a Friday: the civil epoch.
inline constexpr TabularEpoch FridayEpoch{1948440, "Friday"};
// 15 July 622, a Thursday: the astronomical epoch.
inline constexpr TabularEpoch ThursdayEpoch{1948439, "Thursday"};

class TabularCalendar final : public HijriCalendar {
public:
    TabularCalendar(std::string_view name, TabularEpoch epoch);

    std::string_view Name() const override { return Name_; }
    MonthSpan Months() const override { return Span_; }
    MonthStart Start(std::int32_t month) const override;
    MonthReason Reason(std::int32_t month) const override;

    // Year 1..30 of the cycle a Hijri year (no year zero) holds, and whether it
    // is a leap year.
    static std::int32_t CycleYear(std::int32_t year);
    static bool IsLeapYear(std::int32_t year);

private:
    std::int64_t FirstDayOf(std::int64_t month) const;

    std::string_view Name_;
    TabularEpoch Epoch_;
    MonthSpan Span_;
};
