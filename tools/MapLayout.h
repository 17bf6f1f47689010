// Where everything sits on a crescent map picture, as pure geometry: the
// world in an equirectangular projection (longitude -180..180 left to right,
// latitude 90..-90 top to bottom, four pixels a degree), the title lines above
// it, the legend below it, and labels of places placed so that they do not
// cover each other.
//
//   +---------------------------------------------------------------+
//   | title                                                         |
//   | subtitle                                                      |
//   |      +---------------------------------------------------+    |
//   |  60N |                 map, 1440 x 720                   |    |
//   |      +---------------------------------------------------+    |
//   |      180   120W   60W    0    60E   120E   180                |
//   |      [A] zone words          [ ] no judgement words           |
//   |      [B] ...                 [ ] ...                          |
//   | footnote                                                      |
//   +---------------------------------------------------------------+
#pragma once

#include "tools/MapImage.h"

#include <cstddef>
#include <span>
#include <vector>

inline constexpr int MapPixelsPerDegree = 4;

struct MapProjection {
    PixelRect Area;  // the whole world

    // Pixel coordinates (edges of pixels at whole numbers) of a longitude
    // and a latitude in degrees.
    double X(double longitude) const { return Area.Left + (longitude + 180) * MapPixelsPerDegree; }
    double Y(double latitude) const { return Area.Top + (90 - latitude) * MapPixelsPerDegree; }
    // The longitude and latitude at the centre of a pixel.
    double LongitudeAt(int x) const { return -180 + (x - Area.Left + 0.5) / MapPixelsPerDegree; }
    double LatitudeAt(int y) const { return 90 - (y - Area.Top + 0.5) / MapPixelsPerDegree; }
};

struct GridPosition {
    std::size_t Row = 0;
    std::size_t Column = 0;
    bool operator==(const GridPosition&) const = default;
};

// The cell of a grid (rows from the north, columns from 180°W, `step` degrees
// square) that holds a point; a point on a cell's edge belongs to the cell
// south or east of it, and the poles and 180°E to the last row and column.
GridPosition GridCellAt(double longitude, double latitude, double step, std::size_t rows, std::size_t columns);

// The text sizes the layout needs, measured by whoever draws.
struct TextMetrics {
    int TitleAscent = 0;
    int SubtitleAscent = 0;
    int LabelAscent = 0;     // graticule and legend text
    int WidestLatitudeLabel = 0;
};

// A legend entry as the layout sees it: which column, how wide its text.
struct LegendEntrySize {
    int Column = 0;  // 0: the zones, 1: the rest
    int TextWidth = 0;
};

struct LegendSlot {
    PixelRect Swatch;
    int TextX = 0;
    int TextBaseline = 0;
};

struct MapLayout {
    int Width = 0;
    int Height = 0;
    int TextLeft = 0;
    int TitleBaseline = 0;
    int SubtitleBaseline = 0;
    MapProjection Map;
    int LatitudeLabelRight = 0;      // where the latitude labels end, left of the map
    int LongitudeLabelBaseline = 0;
    std::vector<LegendSlot> Legend;  // in the order of the entries
    int FootnoteBaseline = 0;
};

MapLayout LayOutMap(const TextMetrics& metrics, std::span<const LegendEntrySize> legend);

// A label beside a marker at (x, y): the first of right, left, above and
// below where its box stays inside `within` and clear of the boxes already
// taken (which it joins); to the right when none is.
struct LabelBox {
    PixelRect Box;     // the text's box, ascent high
    int Baseline = 0;
};
LabelBox PlaceLabel(int x, int y, int textWidth, int ascent, const PixelRect& within, std::vector<PixelRect>& taken);
