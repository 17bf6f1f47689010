#include "astronomy/Places.h"

#include <cctype>
#include <string>

namespace astronomy {

namespace {

// City centres (the Great Mosque for Mecca and Medina) to 0.0001°, east and
// north positive, with the ground's height in metres; rounded from public
// gazetteer entries. A few hundred metres either way move a sunset by well
// under a second.
constexpr NamedPlace Places[] = {
    {"Mecca", {21.4225, 39.8262, 277}},
    {"Medina", {24.4672, 39.6111, 608}},
    {"Riyadh", {24.7136, 46.6753, 612}},
    {"Cairo", {30.0444, 31.2357, 23}},
    {"Istanbul", {41.0082, 28.9784, 39}},
    {"Tehran", {35.6892, 51.3890, 1190}},
    {"Karachi", {24.8607, 67.0011, 8}},
    {"Delhi", {28.6139, 77.2090, 216}},
    {"Dhaka", {23.8103, 90.4125, 4}},
    {"Jakarta", {-6.2088, 106.8456, 8}},
    {"Kuala Lumpur", {3.1390, 101.6869, 56}},
    {"Rabat", {34.0209, -6.8416, 75}},
    {"London", {51.5074, -0.1278, 11}},
    {"New York", {40.7128, -74.0060, 10}},
    {"Cape Town", {-33.9249, 18.4241, 25}},
};

std::string Folded(std::string_view name)
{
    std::string folded;
    for (const char c : name)
        if (c != ' ' && c != '-' && c != '_')
            folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

} // namespace

std::span<const NamedPlace> NamedPlaces() { return Places; }

const NamedPlace& DefaultPlace() { return Places[0]; }

std::optional<NamedPlace> FindPlace(std::string_view name)
{
    const std::string wanted = Folded(name);
    for (const NamedPlace& place : Places)
        if (!wanted.empty() && Folded(place.Name) == wanted)
            return place;
    return std::nullopt;
}

} // namespace astronomy
