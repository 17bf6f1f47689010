// The command line of dates-convert: one command, its argument, and options.
#pragma once

#include "tools/ConvertOutput.h"

#include <string>
#include <vector>

enum class CommandKind { ckHelp, ckToHijri, ckToGregorian, ckToday, ckMonth };

struct Request {
    CommandKind Command = CommandKind::ckHelp;
    std::string Argument;  // the date or month, for the commands that take one
    OutputForm Form = OutputForm::ofText;
};

// Options may stand anywhere; an argument starting with '-' and a digit is a
// negative year, not an option. EUsageError for anything else out of place.
Request ParseCommandLine(const std::vector<std::string>& arguments);

// Carries the request out and returns what goes to standard output. Bad input
// raises EUsageError.
std::string ExecuteRequest(const Request& request);

// One whole run: fills `output` or `error` (one line naming the reason) and
// returns the exit status, 0 on success, 2 for bad input, 1 for anything else.
int RunDatesConvert(const std::vector<std::string>& arguments, std::string& output,
                    std::string& error);

extern const char* const UsageText;
