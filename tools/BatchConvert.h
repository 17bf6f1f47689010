// dates-convert's batch mode: one date per line from a file descriptor, one
// result per line to another, in input order, through fixed buffers.
#pragma once

#include "calendar/calendars/CalendarConverter.h"
#include "tools/ConvertOutput.h"
#include "tools/Presentation.h"
#include "tools/DateText.h"

#include <cstdint>
#include <string_view>

enum class BatchDirection { bdToHijri, bdToGregorian };

// The longest line that can still hold a date (with blanks around it); a longer
// line is skipped to its end without being kept and reported as too long.
inline constexpr std::size_t MaxBatchLineBytes = 256;

// ParseDate without allocating: true and `date` filled exactly when ParseDate
// would return a date for `text`, false when it would raise.
bool ParseDateQuietly(std::string_view text, DateParts& date);

// Reads inFd to its end and converts under `calendar`. Each line that holds a
// date in any of the digit sets (blanks and a trailing CR around it are ignored)
// gives "INPUT<TAB>RESULT<TAB>Weekday" or, in the JSON form, one object per line
// with the keys gregorian, hijri, weekday, weekday_number, calendar and source.
// The presentation names the weekday and writes the two dates of the text form;
// with a language a JSON object ends with weekday_local. Blank lines give
// nothing. Any other line gives nothing on outFd and "dates-convert: line N:
// reason" on errFd, and the run goes on. Returns 0 when every line converted, 2
// when any failed, 1 when reading or writing failed (the reason then goes to
// errFd and the run stops).
int RunBatch(BatchDirection direction, OutputForm form, CalendarConverter& calendar, int inFd,
             int outFd, int errFd, const Presentation& presentation = Presentation());
