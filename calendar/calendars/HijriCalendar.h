// One authority's Hijri calendar behind one small interface.
//
// A calendar knows one thing: the civil day on which each Hijri month it covers
// opens, and why. Conversions both ways, month lengths and weekdays follow from
// that (CalendarConverter). Every calendar numbers its months alike: twelve a
// year, years without a year zero, and a month index that counts months as the
// engine counts lunations (index 1048 is Muharram 1405), so a month index means
// the same named month in every calendar even where they open it on different days.
//
// Civil days are Julian day numbers (CivilDays.h). Instants are Julian days in
// Universal Time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Where a month's first day comes from.
enum class MonthSource : std::uint8_t {
    msRule,        // computed by the calendar's rule (arithmetic or astronomical)
    msTable,       // read from a published table
    msCorrection,  // set by the user's corrections file
};

// "rule", "table", "correction".
std::string_view SourceName(MonthSource source);

struct MonthStart {
    std::int64_t FirstDay = 0;  // day number of day 1
    MonthSource Source = MonthSource::msRule;
};

// A value a rule compared on its way to the first day, kept apart from the
// sentence so that a script can read it.
struct UtInstant {
    double JulianDay = 0;  // UT
};
struct Degrees {
    double Value = 0;
};
struct ReasonFact {
    std::string Name;  // lower case with underscores: "new_moon", "sunset", "moon_altitude"
    std::variant<UtInstant, Degrees, std::int64_t, std::string> Value;
};

// Why a month opens on its first day: one line for people ("new moon 12:00 UT,
// outside 00:00 to 03:00 UT: the month opens on the second day after it") and
// the facts behind it.
struct MonthReason {
    MonthSource Source = MonthSource::msRule;
    std::string Text;
    std::vector<ReasonFact> Facts;
};

// The months a calendar covers, as month indexes First..Last.
struct MonthSpan {
    std::int32_t First = 0;
    std::int32_t Last = 0;
    // What bounds it, for messages ("the Umm al-Qura table"); empty when the bounds
    // are only those of the civil days the engine covers.
    std::string_view Bound;
};

class HijriCalendar {
public:
    HijriCalendar() = default;
    HijriCalendar(const HijriCalendar&) = delete;
    HijriCalendar& operator=(const HijriCalendar&) = delete;
    virtual ~HijriCalendar() = default;

    // The name it is registered by: "astronomical", "umalqura", ...
    virtual std::string_view Name() const = 0;

    virtual MonthSpan Months() const = 0;

    // Day 1 of a month and where it comes from, for every month of Months() and
    // for Months().Last + 1, whose first day ends the last month. The fast path:
    // it allocates nothing. A computed rule may take long; CalendarConverter
    // remembers what it answered.
    virtual MonthStart Start(std::int32_t month) const = 0;

    // Why the month opens on Start(month).FirstDay; months of Months() only.
    virtual MonthReason Reason(std::int32_t month) const = 0;
};

// Month indexes and Hijri (year, month), year without a year zero. Months
// outside 1..12 run on into the neighbouring years.
struct HijriMonth {
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    bool operator==(const HijriMonth&) const = default;
};
constexpr std::int64_t MonthIndexOf(std::int32_t year, std::int32_t month)
{
    constexpr std::int64_t Year1405 = 1405, MuharramIndex1405 = 1048;
    // Astronomical numbering: year 0 is the year before 1.
    const std::int64_t astronomical = year < 0 ? std::int64_t{year} + 1 : year;
    return (astronomical - Year1405) * 12 + (std::int64_t{month} - 1) + MuharramIndex1405;
}
HijriMonth MonthOfIndex(std::int64_t index);
