// The folders settings live in, under the names the classic calls give them:
//
//   Windows folder   the user's configuration folder of the program,
//                    $XDG_CONFIG_HOME/dates-converter (default ~/.config/...)
//   system folder    the machine-wide one, /etc/xdg/dates-converter; the
//                    program reads it and never writes it
//   program folder   the folder of the running program file
//
// Tests point each one at a temporary folder with OverrideConfigFolder, so no
// test reads or writes the machine's real folders.
#pragma once

#include <string>

enum TConfigFolderKind { cfWindows, cfSystem, cfProgram };

// The folder's path, without a trailing '/'. Empty when it cannot be told
// (no $XDG_CONFIG_HOME, no home folder). Nothing is created here.
std::string ConfigFolder(TConfigFolderKind kind);

// Replaces a folder for the whole process; an empty path restores the normal one.
void OverrideConfigFolder(TConfigFolderKind kind, const std::string& path);

// The classic calls over the first two: the folder's path copied into buffer
// (size characters including the terminating zero). Returns its length, or
// the size needed (terminator included) when the buffer is too small, or 0
// when there is no such folder.
unsigned GetWindowsDirectory(char* buffer, unsigned size);
unsigned GetSystemDirectory(char* buffer, unsigned size);

// The user's configuration folder, made (mode 0700, with any missing parent)
// when it is missing. False when it cannot be made or is not a folder.
bool EnsureWindowsFolder();

// The user's home folder: $HOME when it is an absolute path, else the password
// database's entry; empty when neither knows.
std::string HomeFolder();
