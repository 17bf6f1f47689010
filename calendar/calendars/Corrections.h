// The corrections file: the first civil days an authority announced for chosen
// months of chosen calendars, entered by the user instead of shifting every date.
//
//   # Ramadan as announced
//   umalqura 1447-09 2026-02-19
//
// One month a line: a registered calendar's name, the Hijri month YYYY-MM and its
// first civil day YYYY-MM-DD, separated by blanks (a minus before a year before
// 1). '#' starts a comment that runs to the end of the line; blank lines are
// ignored. A file is taken whole or not at all: the first line that names an
// unknown calendar, a month or date that does not exist, a month the calendar
// does not cover or a month already set, or that would leave any month other
// than 29 or 30 days long, refuses the file with one error naming it and the line.
// The file is only read, never written.
#pragma once

#include "calendar/calendars/CalendarRegistry.h"
#include "framework/runtime/sysutils.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A refused file: "FILE:LINE: reason", or "FILE: reason" for the file as a whole.
class ECorrectionsError : public Exception {
public:
    using Exception::Exception;
};

// Anything longer is not a corrections file a person wrote.
inline constexpr std::size_t MaxCorrectionsBytes = 1u << 20;

struct CorrectionLine {
    std::string Calendar;
    std::int32_t Year = 0;  // Hijri, no year zero
    std::int32_t Month = 0;
    std::int32_t CivilYear = 0;
    std::int32_t CivilMonth = 0;
    std::int32_t CivilDay = 0;
    std::int32_t Line = 0;
    bool operator==(const CorrectionLine&) const = default;
};

struct Corrections {
    std::string File;                  // as named in messages and reasons
    std::vector<CorrectionLine> Lines;  // in the file's order
};

// Checks every line of `text` as read from `file`, the calendars reckoned at a
// place reckoned with `options`. ECorrectionsError on the first refused line.
Corrections ParseCorrections(std::string_view text, const std::string& file,
                             const CalendarOptions& options = {});

// $XDG_CONFIG_HOME/dates-converter/corrections (by the runtime's configuration
// folder); empty when there is no such folder.
std::string DefaultCorrectionsFile();

// Reads and checks a corrections file. A missing file gives no corrections
// unless `required`; a folder, a file that cannot be read or one larger than
// MaxCorrectionsBytes raises ECorrectionsError.
Corrections ReadCorrectionsFile(const std::string& path, bool required,
                                const CalendarOptions& options = {});

// The registered calendar, with the corrections that name it applied.
std::unique_ptr<HijriCalendar> MakeCorrectedCalendar(const CalendarEntry& entry,
                                                     const Corrections& corrections,
                                                     const CalendarOptions& options = {});
