// Land in the Americas, for the Istanbul 2016 rule's exception: the mainland of
// North and Central America and of South America as two coarse polygons
// (AmericasLand.cpp), good to about a degree along the coasts. Islands are left
// out (the Caribbean, the Canadian Arctic, the Aleutians west of the Alaska
// Peninsula, Greenland), as are Hudson Bay's waters' finer shape and the lakes.
#pragma once

#include <optional>
#include <span>

// Whether a place (degrees, east positive) lies on that land.
bool OnAmericasLand(double latitude, double longitude);

// The westernmost longitude of that land along a parallel, if the parallel
// crosses it: where the Sun sets last on that latitude in the Americas.
std::optional<double> WesternmostAmericasLand(double latitude);

// The capes where the outline reaches further west than the coast north and
// south of them: the land's westernmost points that a look every few degrees of
// latitude would step over.
struct AmericasCape {
    double Latitude;
    double Longitude;
};
std::span<const AmericasCape> WesternAmericasCapes();

// The parallels the polygons span.
inline constexpr double SouthernmostAmericas = -56;
inline constexpr double NorthernmostAmericas = 72;
