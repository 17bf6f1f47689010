// The running program's file, and the classic file-name helpers that work on it.
#pragma once

#include <string>

// Full path of the running program's executable ("/usr/bin/dates-converter");
// empty when the system cannot tell.
std::string ProgramFilePath();

// The part after the last '/' ("dates-converter" of "/usr/bin/dates-converter").
std::string ExtractFileName(const std::string& path);

// path with the extension of its file-name part replaced by extension (which
// includes its dot), or extension appended when the file name has none:
// ChangeFileExt("/opt/dc/convert.bin", ".LOG") is "/opt/dc/convert.LOG".
std::string ChangeFileExt(const std::string& path, const std::string& extension);
