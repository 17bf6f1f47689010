// Temporary folders for the store's tests: the Windows, system and program
// folders all point into one temporary folder for the whole run, so no test
// reads or writes the machine's real ones.
#pragma once

#include <string>

// The run's folders (made by main before any test).
std::string TestWindowsFolder();
std::string TestSystemFolder();

// Makes the folders and points the store at them; removes them on Remove.
void MakeTestFolders();
void RemoveTestFolders();
// Clears the Windows and system folders between tests.
void EmptyTestFolders();

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// The permission bits of a file or folder.
unsigned ModeOf(const std::string& path);
