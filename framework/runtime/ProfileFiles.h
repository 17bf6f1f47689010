// The classic profile-file calls on real files (see ProfileDocument.h for the
// file's layout and AtomicFile.h for how it is written).
//
// A file name without a '/' lies in the Windows folder (ConfigFolders.h);
// nullptr stands for "win.ini" there. Any other name is used as it is.
#pragma once

#include <cstdint>
#include <string>

using DWORD = std::uint32_t;
using BOOL = int;

// Copies into buffer (size characters, the terminating zero included):
// - with section and key: the key's value, or defaultValue (nullptr: empty)
//   when the file, the section or the key is missing or the file is not a
//   profile file; a longer value is cut to size - 1 characters. Returns the
//   number of characters copied, without the zero.
// - with key nullptr: the section's key names, each ending in a zero, the
//   list in one more zero; section nullptr: the section names likewise. A
//   list that does not fit is cut and the result is size - 2.
DWORD GetPrivateProfileString(const char* section, const char* key, const char* defaultValue, char* buffer,
                              DWORD size, const char* fileName);

// Sets key in section to value, making the file and the section on first use.
// With value nullptr the key is erased, with key nullptr the whole section;
// erasing what is not there changes nothing and succeeds without making a
// file. Returns 0 when the file could not be written: its folder is missing or
// read-only, a value cannot be carried by a line (a line break, a zero byte),
// or what is at the file's place is not a profile file (damaged, binary, a
// symlink) — such a file is never overwritten.
BOOL WritePrivateProfileString(const char* section, const char* key, const char* value, const char* fileName);

// The path the calls above use for fileName.
std::string ProfileFilePath(const char* fileName);
