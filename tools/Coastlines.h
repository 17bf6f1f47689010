// The world's shorelines for a map, read from the GSHHG shoreline database in
// the binned netCDF form that Debian's gmt-gshhg packages ship, through the
// netCDF library.
//
// The file cuts the shorelines at the edges of square bins (10° in the low
// resolution); each piece ("segment") lies within one bin, its points stored
// as 16-bit fractions of the bin's side from its south-west corner. Segments
// carry the level of the polygon they belong to: 1 the sea's shore, 2 a
// lake's, 3 an island in a lake, 4 a pond on such an island, 6 Antarctica's
// grounding line. A map of the world draws levels 1 and 2.
#pragma once

#include <string>
#include <vector>

// Where Debian's gmt-gshhg-low puts the low-resolution shorelines.
inline constexpr const char* DebianCoastlineFile = "/usr/share/gmt-gshhg/binned_GSHHS_l.nc";

struct GeoPoint {
    double Longitude = 0;  // -180..180, east positive
    double Latitude = 0;
};

using GeoLine = std::vector<GeoPoint>;

struct Coastlines {
    std::vector<GeoLine> Lines;
    // Why there are none, in a phrase ("... is missing"); empty when read.
    std::string Problem;
    bool Read() const { return Problem.empty(); }
};

// The shorelines of the sea and of lakes in the file. A missing, unreadable or
// inconsistent file is not an error: the result says why it has no lines.
Coastlines ReadCoastlines(const std::string& path);
