// dates-convert run as a process by the tests: arguments in; exit status,
// standard output and standard error out. The child never reads the machine's
// own corrections file: $XDG_CONFIG_HOME points at a folder that does not exist
// unless a test gives one.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

struct ProcessResult {
    int ExitStatus = -1;
    std::string Output;
    std::string Error;
    long PeakKilobytes = 0;  // the child's peak resident memory
};

struct ProcessOptions {
    const char* StdoutPath = nullptr;  // standard output to this file instead of a pipe
    std::size_t FillBytes = 0;         // so many '7's fed to standard input first,
    std::string Input;                 // then this, and standard input closes
    std::vector<std::string> Environment;  // NAME=value entries put before ours
};

ProcessOptions Input(std::string text);

// Runs dates-convert with the arguments, feeding standard input and reading both
// output pipes as they fill, so that no pipe can block the child.
ProcessResult RunDatesConvert(const std::vector<std::string>& arguments,
                              const ProcessOptions& options = {});

std::vector<std::string> LinesOf(const std::string& text);

// The JSON a successful run prints.
nlohmann::json JsonOf(const std::vector<std::string>& arguments, const ProcessOptions& options = {});
