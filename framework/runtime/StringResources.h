// The program's string table: texts reached by number, as string resources
// are, so a message is written once and every user of it agrees.
#pragma once

#include <string>

// The text of string resource id; empty for a number the program does not carry.
std::string LoadStr(int id);

// The user name the settings store gives when the system cannot tell it.
inline constexpr int SUnknownUserName = 16509;
