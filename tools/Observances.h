// The days of a Hijri year that people keep, with their civil dates under a
// calendar and the eve on whose evening each begins (the Hijri day begins at
// sunset).
#pragma once

#include "tools/ConvertCommands.h"
#include "tools/ConvertOutput.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ObservanceDay {
    std::string_view Name;
    std::int32_t Month;  // Hijri
    std::int32_t Day;
};

inline constexpr std::array<ObservanceDay, 10> ObservanceTable{{
    {"Islamic New Year", 1, 1},
    {"Ashura", 1, 10},
    {"Mawlid", 3, 12},
    {"Isra and Mi'raj", 7, 27},
    {"Mid-Sha'ban", 8, 15},
    {"First day of Ramadan", 9, 1},
    {"Laylat al-Qadr", 9, 27},
    {"Eid al-Fitr", 10, 1},
    {"Day of Arafah", 12, 9},
    {"Eid al-Adha", 12, 10},
}};

struct Observance {
    std::string_view Name;
    DateParts Hijri;
    DateParts Gregorian;
    std::int32_t WeekDay = 0;
    DateParts Eve;  // the civil day before, on whose evening it begins
    std::int32_t EveWeekDay = 0;
};

// The observances of a Hijri year under the calendar, in the table's order.
// EUsageError for year 0 or a year the calendar does not cover.
std::vector<Observance> ObservancesOfYear(std::int32_t year, CalendarConverter& calendar);

// Aligned rows for people, or {"year", "calendar", "observances": [{"name",
// "hijri", "gregorian", "weekday", "eve"}]}. The presentation names the weekdays
// and writes the numbers of the rows; with a language the JSON gains lang and each
// observance's weekday_local. The observances keep their English names.
std::string FormatObservances(std::int32_t year, std::string_view calendar,
                              const std::vector<Observance>& observances, OutputForm form,
                              const Presentation& presentation = Presentation());
