// The picture of one evening's crescent over the world: every cell of an
// evening grid coloured by what the criterion says of it (MapLegend), a
// graticule every 30° with its labels, the coastlines, the named places, the
// caption above and the legend below (MapLayout).
#pragma once

#include "astronomy/Criteria.h"
#include "astronomy/EveningGrid.h"
#include "tools/Coastlines.h"
#include "tools/MapImage.h"
#include "tools/MapLayout.h"
#include "tools/MapLegend.h"
#include "tools/MapText.h"

#include <span>
#include <string>
#include <vector>

struct MapCaption {
    std::string Title;
    std::string Subtitle;
    std::string Footnote;
};

struct MapPlace {
    std::string Name;
    double Latitude = 0;
    double Longitude = 0;
};

struct CrescentMapPicture {
    RgbImage Image;
    MapLayout Layout;
    std::vector<LegendItem> Legend;  // Layout.Legend[i] shows Legend[i]
};

// The graticule's labels: "30°N", "0°", "60°S"; "30°E", "0°", "150°W", "180°".
std::string LatitudeLabel(int latitude);
std::string LongitudeLabel(int longitude);

// The grid covers the world (its rows times its step make 180°); the
// criterion is one that MapShowsCriterion accepts. Coastlines that were not
// read are left out.
CrescentMapPicture DrawCrescentMap(const astronomy::EveningGrid& grid, astronomy::CriterionId criterion,
                                   const Coastlines& coastlines, std::span<const MapPlace> places,
                                   const MapCaption& caption, const MapText& text);
