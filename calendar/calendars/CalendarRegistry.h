// The calendars dates-convert knows, by name: one row each, the module behind
// it knowing only its own rule.
#pragma once

#include "calendar/calendars/CalendarOptions.h"
#include "calendar/calendars/HijriCalendar.h"

#include <memory>
#include <span>
#include <string_view>

struct CalendarEntry {
    std::string_view Name;
    std::string_view Summary;  // one line for `--calendar list`
    // Makes the calendar; only the ones reckoned at a place read the options.
    std::unique_ptr<HijriCalendar> (*MakeWith)(const CalendarOptions& options);
    bool ReadsOptions = false;  // whether the place and criterion change it

    std::unique_ptr<HijriCalendar> Make(const CalendarOptions& options = {}) const { return MakeWith(options); }
};

// The converter's own rule, used wherever no calendar is named.
inline constexpr std::string_view DefaultCalendarName = "astronomical";

// Every registered calendar, the default first.
std::span<const CalendarEntry> RegisteredCalendars();

// The row of a name, or nullptr.
const CalendarEntry* FindCalendar(std::string_view name);
