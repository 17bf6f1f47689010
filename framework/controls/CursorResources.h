// The program's cursor resources: 32 by 32 monochrome pictures with a hot
// spot, reached by number as cursor resources are. The pictures are drawn as
// text rows, '#' black, '.' white, ' ' transparent (a row shorter than 32
// columns is transparent to its end).
#pragma once

#include "framework/runtime/Types.h"

#include <QCursor>

#include <array>
#include <optional>
#include <string_view>

inline constexpr int CursorResourceSize = 32;

struct TCursorResource {
    int Id;
    TPoint HotSpot;
    std::array<std::string_view, CursorResourceSize> Rows;
};

// The resource numbered id, or nullptr when the program does not carry it.
const TCursorResource* FindCursorResource(int id);

// A cursor made from resource id; nothing for a number the program does not carry.
std::optional<QCursor> LoadCursor(int id);
