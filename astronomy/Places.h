// Named places that ship with the program, Mecca first (the default).
#pragma once

#include "astronomy/Coordinates.h"

#include <optional>
#include <span>
#include <string_view>

namespace astronomy {

struct NamedPlace {
    std::string_view Name;
    Place Where;
};

std::span<const NamedPlace> NamedPlaces();
const NamedPlace& DefaultPlace();  // Mecca

// A place by name, ignoring case, blanks, hyphens and underscores
// ("kuala-lumpur" finds Kuala Lumpur).
std::optional<NamedPlace> FindPlace(std::string_view name);

} // namespace astronomy
