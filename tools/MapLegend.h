// What the colours of a crescent map mean: the criterion's zones, best first,
// and the places where there is nothing to judge (the Moon sets before the
// Sun; the Sun does not set or does not rise). One table of colours, one
// function that says which entry a grid cell shows.
//
// The zones take their colours from the viridis scale (van der Walt and
// Smith), bright yellow for the best zone down to dark blue for the worst, so
// that their order reads as lightness for every kind of colour vision,
// red-green blindness included; the three entries without a zone are greys,
// told apart from the zones by having no hue and from each other by
// lightness.
#pragma once

#include "astronomy/Criteria.h"
#include "astronomy/EveningGrid.h"
#include "tools/MapImage.h"

#include <span>
#include <string>
#include <vector>

enum class LegendKind { lkZone, lkMoonSetsFirst, lkPolarDay, lkPolarNight };

struct LegendItem {
    LegendKind Kind = LegendKind::lkZone;
    std::string Key;    // the zone's letter; empty for the others
    std::string Words;  // what it means
    Rgb Colour;
};

// The criteria a map can show: the two whose zones grade the crescent.
bool MapShowsCriterion(astronomy::CriterionId id);

// The zones of the criterion in its table's order (best first), then the
// Moon setting first, polar day and polar night. The criterion is one that
// MapShowsCriterion accepts.
std::vector<LegendItem> MapLegend(astronomy::CriterionId id);

// The index in MapLegend(id) of what the cell shows: polar day or night where
// the Sun does not set, the Moon setting first where it does so, else the
// cell's zone for the criterion.
std::size_t LegendIndexOf(const astronomy::GridCell& cell, astronomy::CriterionId id);
