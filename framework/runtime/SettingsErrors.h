// The errors of the settings store, in the program's Exception family.
#pragma once

#include "framework/runtime/sysutils.h"

#include <string>

// A profile file that could not be written.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// A registry key or value that could not be made, written or read as asked.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// "Unable to write to <file name>"
[[noreturn]] void RaiseIniWriteError(const std::string& fileName);
// "Failed to create key <key>", followed by " (<cause>)" when a cause is given
[[noreturn]] void RaiseCreateKeyError(const std::string& key, const std::string& cause = {});
// "Failed to set data for '<value name>'", followed by " (<cause>)" likewise
[[noreturn]] void RaiseSetDataError(const std::string& valueName, const std::string& cause = {});
// "Invalid data type for '<value name>'"
[[noreturn]] void RaiseInvalidDataType(const std::string& valueName);
