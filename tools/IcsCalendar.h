// `dates-convert ics`: the first days of Hijri months as an iCalendar file
// (RFC 5545) that calendar programs can subscribe to.
#pragma once

#include "tools/CalendarChoice.h"
#include "tools/Presentation.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

inline constexpr std::int32_t MaxIcsYears = 200;

// One all-day event on the first day of every month of the Hijri years
// fromYear..toYear under the chosen calendar, and with `observances` one on each
// observance of those years. `stamp` is the DTSTAMP of every event. EUsageError
// for year 0, toYear before fromYear, more than MaxIcsYears years, a year the
// calendar does not cover, or a day outside the civil years 1 to 9999 that an
// iCalendar date can hold. Events of a calendar other than the default carry its
// name in their UIDs, so that files of two calendars can be subscribed side by side.
// The presentation words the summaries ("1 Ramadhan 1447" in the language's
// names and digits); descriptions stay in English.
std::string IcsCalendar(std::int32_t fromYear, std::int32_t toYear, std::time_t stamp,
                        CalendarChoice& calendars, bool observances = false,
                        const Presentation& presentation = Presentation());

// A content line ended by CRLF, folded so that no line is longer than 75 octets
// (a UTF-8 sequence is never split); each continuation starts with a blank.
std::string FoldedIcsLine(std::string_view line);

// TEXT value escaping: backslash, semicolon, comma and newline.
std::string IcsText(std::string_view text);
