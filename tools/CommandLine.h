// The command line of dates-convert: one command, its argument, and options.
#pragma once

#include "tools/ConvertOutput.h"
#include "tools/CrescentMap.h"

#include <ctime>
#include <string>
#include <vector>

enum class CommandKind {
    ckHelp, ckCalendarList, ckToHijri, ckToGregorian, ckToday, ckMonth, ckYear, ckCalendar, ckIcs,
    ckObservances, ckCrescent, ckCrescentMap,
    ckBatchToHijri, ckBatchToGregorian  // to-hijri - and to-gregorian -
};

struct Request {
    CommandKind Command = CommandKind::ckHelp;
    std::string Argument;        // the date, month or year, for the commands that take one
    std::string SecondArgument;  // ics: the last year
    OutputForm Form = OutputForm::ofText;
    bool HijriCalendar = false;  // calendar --hijri
    std::string CalendarName;    // --calendar NAME; empty for the converter's own rule
    std::string CorrectionsFile; // --corrections FILE; empty for the user's own file
    bool Observances = false;    // ics --observances
    std::string Place;           // crescent or --calendar sighting: --at PLACE (empty: Mecca)
    std::string Criterion;       // --calendar sighting: --criterion NAME (empty: odeh)
    CrescentMapArguments Map;    // crescent-map --png, --grid (and --criterion)
    std::string Language;        // --lang CODE or auto; empty when not given
    std::string Digits;          // --digits SET or auto; empty when not given
    bool MarkToday = false;      // calendar: standard output is a terminal that takes colour
    std::time_t Stamp = 0;       // ics: the DTSTAMP of its events
    std::string EnvironmentLocale;  // what LC_ALL, LC_TIME or LANG names, for --lang auto
};

// Options may stand anywhere; an argument starting with '-' and a digit is a
// negative year, not an option. --calendar, --corrections, --lang and --digits
// take the next argument (or the value after '='). EUsageError for anything else
// out of place, and for a language or digit set that is none of the choices.
Request ParseCommandLine(const std::vector<std::string>& arguments);

// Carries the request out and returns what goes to standard output. Bad input
// raises EUsageError.
std::string ExecuteRequest(const Request& request);

// One whole run: fills `output` or `error` (one line naming the reason) and
// returns the exit status, 0 on success, 2 for bad input, 1 for anything else.
int RunDatesConvert(const std::vector<std::string>& arguments, std::string& output,
                    std::string& error);

// The program over its standard streams, as main() runs it: the batch commands
// stream through file descriptors 0, 1 and 2; `calendar` marks today only when
// standard output is a terminal and NO_COLOR is unset or empty; `ics` stamps its
// events with SOURCE_DATE_EPOCH when that is set, else with the current time;
// --lang auto reads the locale environment.
int RunDatesConvertProcess(const std::vector<std::string>& arguments);

extern const char* const UsageText;
