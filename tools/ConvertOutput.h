// How dates-convert prints its reports: "key: value" lines for people, or one
// JSON object with stable keys for scripts.
#pragma once

#include "tools/ConvertCommands.h"
#include "tools/Presentation.h"

#include <string>
#include <vector>

enum class OutputForm { ofText, ofJson };

// `named`: --calendar named the calendar. The JSON always carries the calendar
// and the source of the month's first day; the text names them when the calendar
// was named or a correction set the month.
//
// `presentation` names weekdays and months and writes the numbers of the text.
// The JSON keeps its keys and values whatever the language; with a language, a
// key whose value holds names gains a twin KEY_local with the language's names
// (weekday_local, line_local, name_local, first_weekday_local), and the object
// gains `lang`.
std::string FormatDayReport(const DayReport& report, OutputForm form, bool named = false,
                            const Presentation& presentation = Presentation());
// Without `named`, how the converter's own rule opens the month; with it, how the
// chosen calendar does. Both end with every calendar's first day side by side.
std::string FormatMonthReport(const MonthReport& report, OutputForm form, bool named = false,
                              const Presentation& presentation = Presentation());
// A Hijri year, one aligned row per month, or an object whose `months` array holds
// the objects of FormatMonthReport.
std::string FormatYearReport(std::int32_t year, const std::vector<MonthReport>& months,
                             OutputForm form, bool named = false,
                             const Presentation& presentation = Presentation());

// Rows of cells as columns two blanks apart, each as wide as its widest cell on a
// terminal, without trailing blanks.
std::string AlignedColumns(const std::vector<std::vector<std::string>>& rows);

// An instant (Julian day, UT) to the minute in ISO 8601 form, shifted by
// `hoursAhead` from UT: "1984-09-25T03:10Z", or "…T06:10+03:00" three hours ahead.
std::string FormatInstant(double julianDay, int hoursAhead = 0);
