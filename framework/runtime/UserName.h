// The logged-on user's name, from the password database.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

using DWORD = std::uint32_t;
using BOOL = int;

// Copies the name and its closing zero into buffer; *size holds the buffer's
// size and is set to the characters copied, the zero included. Returns 0 when
// the name cannot be told, or when the buffer is too small (then *size is the
// size needed).
BOOL GetUserName(char* buffer, DWORD* size);

// Tests put another source of the name in the database's place (nothing: the
// lookup fails); an empty function restores the database.
void SetUserNameSource(std::function<std::optional<std::string>()> source);
