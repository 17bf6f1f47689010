// The month grids of `dates-convert calendar`: a civil or a Hijri month, every
// day with its date in both calendars, laid out in weeks from Sunday.
#pragma once

#include "tools/ConvertCommands.h"
#include "tools/ConvertOutput.h"
#include "tools/DateText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GridDay {
    DateParts Gregorian;  // Julian calendar before 15 October 1582
    DateParts Hijri;
    std::int32_t WeekDay = 0;  // 0 Sunday .. 6 Saturday
};

struct MonthGrid {
    bool HijriMonth = false;  // the month drawn is a Hijri one
    std::int32_t Year = 0;
    std::int32_t Month = 0;
    std::vector<GridDay> Days;             // the days that exist, in order
    std::vector<DateParts> MissingDays;    // civil days the reform left out (October 1582)
    std::string HijriCalendar;  // the calendar of the Hijri days when --calendar named it
};

// EUsageError for a month that does not exist or lies outside the engine's range,
// or outside what the calendar covers.
MonthGrid CivilMonthGrid(std::int32_t year, std::int32_t month, CalendarChoice& calendars);
MonthGrid HijriMonthGrid(std::int32_t year, std::int32_t month, CalendarChoice& calendars);

// The grid as text in the manner of cal, or one JSON object with a `days` array.
// `today`, a civil date, is shown in reverse video when it lies in the grid. A
// named calendar is named after the months the grid spans, and in the JSON as
// hijri_calendar. The presentation names the weekdays and months; in a
// right-to-left language the week runs from Sunday at the right to Saturday at
// the left, and the text carries the marks that keep that order on a terminal
// or viewer that orders text by the bidirectional algorithm. With a language the
// JSON gains lang, name_local, hijri_months_local (gregorian_months_local) and
// each day's weekday_local.
std::string FormatMonthGrid(const MonthGrid& grid, OutputForm form,
                            const std::optional<DateParts>& today = std::nullopt,
                            const Presentation& presentation = Presentation());
