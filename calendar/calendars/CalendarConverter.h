// Dates under one Hijri calendar: civil day to Hijri date and back, month
// lengths and weekdays, all from the calendar's first days of its months.
#pragma once

#include "calendar/calendars/HijriCalendar.h"
#include "framework/runtime/sysutils.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// A Hijri date found for a civil day.
struct HijriDay {
    std::int32_t Year = 0;  // no year zero
    std::int32_t Month = 0;
    std::int32_t Day = 0;
    std::int32_t MonthIndex = 0;
    MonthSource Source = MonthSource::msRule;  // of the month's first day
};

// Converts under one calendar and remembers the first days it was given: a
// direct-mapped table, so a run of dates from a few centuries asks the calendar
// for each month about once. Allocates nothing after construction; one per
// thread. The calendar must outlive it.
class CalendarConverter {
public:
    explicit CalendarConverter(const HijriCalendar& calendar);

    const HijriCalendar& Calendar() const { return Calendar_; }

    // Whether the month (index) is one the calendar covers.
    bool Covers(std::int64_t month) const;

    // The calendar's Start(month), remembered; for covered months and the one
    // after the last.
    MonthStart StartOf(std::int32_t month);
    // Days in a covered month.
    std::int32_t MonthLength(std::int32_t month);

    // The Hijri date of a civil day; false when the calendar does not cover it or
    // the day lies outside the engine's days. Raises only what the calendar raises.
    bool TryToHijri(std::int64_t dayNumber, HijriDay& result);
    // The civil day of a Hijri date; false when the calendar does not cover the
    // month, the day lies outside 1..its length, or the civil day outside the
    // engine's days.
    bool TryToCivilDay(std::int32_t year, std::int32_t month, std::int32_t day,
                       std::int64_t& dayNumber, MonthSource& source);

    // The same, raising ERangeError that names the date and what the calendar
    // covers instead of returning false.
    HijriDay ToHijri(std::int64_t dayNumber);
    std::int64_t ToCivilDay(std::int32_t year, std::int32_t month, std::int32_t day);

    // What the calendar covers, for messages: "the Hijri years 1300 to 1600
    // (1882-11-12 to 2174-11-25)".
    std::string CoverageText();

private:
    struct Entry {
        std::int64_t FirstDay = 0;
        std::int32_t Month = 0;
        MonthSource Source = MonthSource::msRule;
        bool Filled = false;
    };
    static constexpr std::uint32_t CacheSize = 4096;  // a power of two

    bool Locate(std::int64_t dayNumber, std::int32_t& month, MonthStart& start);

    const HijriCalendar& Calendar_;
    const MonthSpan Span_;
    std::unique_ptr<std::array<Entry, CacheSize>> Cache_;
};
