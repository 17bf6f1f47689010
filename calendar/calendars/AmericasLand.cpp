#include "calendar/calendars/AmericasLand.h"

#include <algorithm>
#include <span>

namespace {

struct Vertex {
    double Latitude;
    double Longitude;
};

// North and Central America, clockwise from the Seward Peninsula: the Arctic
// coast, Hudson Bay's rim, Labrador, the Atlantic and Gulf coasts, Central
// America's Caribbean side to Panama, back up the Pacific coast. Rounded from
// the coastline of a school atlas; the Pacific side, where the Sun sets last,
// is the finer.
constexpr Vertex NorthAmerica[] = {
    {65.6, -168.1}, {68.9, -166.2}, {71.4, -156.5}, {70.1, -143.0}, {69.6, -133.0},
    {68.4, -115.0}, {68.0, -108.0}, {69.5, -96.0},  {66.5, -86.5},  {63.0, -91.0},
    {58.8, -94.2},  {57.0, -92.0},  {55.2, -82.3},  {51.3, -79.8},  {55.5, -77.3},
    {62.5, -78.0},  {62.0, -72.0},  {60.3, -64.6},  {55.0, -59.5},  {52.0, -55.7},
    {49.2, -64.5},  {45.0, -61.0},  {43.5, -65.7},  {42.0, -70.0},  {40.5, -74.0},
    {35.2, -75.5},  {32.0, -80.8},  {27.0, -80.0},  {25.1, -80.4},  {26.5, -82.0},
    {30.0, -84.0},  {30.3, -88.0},  {29.0, -89.3},  {29.6, -94.0},  {26.0, -97.2},
    {21.5, -97.5},  {18.5, -95.0},  {18.5, -91.5},  {21.5, -90.3},  {21.5, -87.0},
    {18.5, -87.7},  {16.0, -88.5},  {15.9, -84.0},  {11.0, -83.7},  {9.5, -79.0},
    {8.6, -77.4},   {7.2, -77.9},   {7.5, -80.4},   {8.3, -83.0},   {9.5, -85.7},
    {11.0, -85.9},  {13.2, -88.5},  {14.0, -91.5},  {15.8, -94.0},  {16.0, -97.8},
    {17.5, -101.5}, {19.3, -105.2}, {20.5, -105.6}, {23.0, -106.4}, {25.9, -109.4},
    {29.0, -112.2}, {31.6, -114.9}, {28.0, -112.8}, {24.2, -110.3}, {22.9, -109.9},
    {24.8, -112.3}, {27.0, -114.5}, {28.0, -115.2}, {30.4, -116.0}, {32.5, -117.1},
    {34.0, -118.5}, {34.5, -120.6}, {36.3, -121.9}, {37.8, -122.5}, {40.4, -124.4},
    {43.0, -124.5}, {46.2, -124.0}, {48.4, -124.7}, {50.5, -128.4}, {54.5, -130.5},
    {58.0, -136.5}, {59.5, -140.0}, {60.0, -146.0}, {59.5, -151.5}, {57.5, -157.0},
    {55.0, -163.5}, {56.5, -160.0}, {58.5, -158.0}, {59.0, -161.8}, {60.5, -165.2},
    {62.0, -165.7}, {63.5, -162.0}, {64.5, -166.4},
};

// South America, clockwise from the Isthmus of Panama: the Pacific coast south
// to Tierra del Fuego, the Atlantic coast north and the Caribbean west.
constexpr Vertex SouthAmerica[] = {
    {8.6, -77.4},   {7.2, -77.9},   {4.0, -77.4},   {1.2, -79.0},   {-1.0, -80.9},
    {-2.2, -80.9},  {-4.7, -81.3},  {-6.0, -81.0},  {-9.0, -78.6},  {-12.0, -77.2},
    {-15.3, -75.2}, {-18.3, -70.4}, {-23.6, -70.5}, {-30.0, -71.5}, {-33.0, -71.7},
    {-37.0, -73.6}, {-41.8, -73.9}, {-43.0, -74.3}, {-46.5, -75.6}, {-50.0, -75.5},
    {-52.5, -74.7}, {-54.0, -72.0}, {-55.9, -67.3}, {-54.9, -65.0}, {-52.3, -68.4},
    {-50.0, -68.5}, {-47.0, -67.5}, {-42.5, -63.5}, {-38.8, -62.3}, {-36.3, -56.7},
    {-34.9, -55.0}, {-33.0, -52.6}, {-28.5, -48.8}, {-23.0, -43.0}, {-22.0, -41.0},
    {-13.0, -38.5}, {-8.0, -34.8},  {-5.0, -35.5},  {-3.0, -40.0},  {-1.0, -48.5},
    {1.8, -50.0},   {5.0, -52.5},   {6.8, -58.0},   {8.5, -60.3},   {10.7, -61.7},
    {10.5, -66.0},  {11.7, -70.2},  {11.0, -74.8},  {9.4, -76.0},
};

// The outline's vertices that lie further west than the outline just north and
// south of them (a test holds the table to the outline).
constexpr AmericasCape WesternCapes[] = {
    {-46.5, -75.6},   // Taitao Peninsula
    {-4.7, -81.3},    // Punta Pariñas
    {43.0, -124.5},   // Cape Blanco
    {55.0, -163.5},   // the Alaska Peninsula's tip
    {62.0, -165.7},   // the Yukon delta
    {65.6, -168.1},   // Cape Prince of Wales
};

constexpr std::span<const Vertex> Polygons[] = {NorthAmerica, SouthAmerica};

// Calls visit with the longitude of every point where the outline crosses
// the parallel at latitude.
template <typename Visit>
void ForEachCrossing(std::span<const Vertex> polygon, double latitude, Visit visit)
{
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Vertex& a = polygon[i];
        const Vertex& b = polygon[j];
        if ((a.Latitude > latitude) == (b.Latitude > latitude))
            continue;
        visit(a.Longitude + (latitude - a.Latitude) / (b.Latitude - a.Latitude) * (b.Longitude - a.Longitude));
    }
}

// Even-odd rule: a ray eastward from the place crosses the outline an odd
// number of times when the place is inside.
bool Inside(std::span<const Vertex> polygon, double latitude, double longitude)
{
    bool inside = false;
    ForEachCrossing(polygon, latitude, [&](double crossing) {
        if (longitude < crossing)
            inside = !inside;
    });
    return inside;
}

} // namespace

std::span<const AmericasCape> WesternAmericasCapes()
{
    return WesternCapes;
}

bool OnAmericasLand(double latitude, double longitude)
{
    return std::any_of(std::begin(Polygons), std::end(Polygons),
                       [&](std::span<const Vertex> polygon) { return Inside(polygon, latitude, longitude); });
}

std::optional<double> WesternmostAmericasLand(double latitude)
{
    // The outline's westernmost crossing of the parallel: the land begins there.
    std::optional<double> west;
    for (const std::span<const Vertex> polygon : Polygons)
        ForEachCrossing(polygon, latitude,
                        [&](double crossing) { west = west ? std::min(*west, crossing) : crossing; });
    return west;
}
