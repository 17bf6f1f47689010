#include "tools/MapLegend.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

using astronomy::CriterionId;

constexpr Rgb Hex(unsigned rgb)
{
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)};
}

// Viridis sampled evenly from about a quarter of the way up (its darkest
// quarter would hide the coastlines) to its yellow end, best zone first.
constexpr std::array<Rgb, 6> YallopColours{
    Hex(0xfde725),  // A
    Hex(0x9fda3a),  // B
    Hex(0x35b779),  // C
    Hex(0x1f9a8a),  // D
    Hex(0x2c728e),  // E
    Hex(0x3b528b),  // F
};
constexpr std::array<Rgb, 4> OdehColours{
    Hex(0xfde725),  // A
    Hex(0x4ac16d),  // B
    Hex(0x21908d),  // C
    Hex(0x3b528b),  // D
};

struct Unjudged {
    LegendKind Kind;
    const char* Words;
    Rgb Colour;
};

// Greys: light where the Moon has set at sunset, near white where the Sun is
// up all day, dark where it stays down.
constexpr std::array<Unjudged, 3> UnjudgedItems{{
    {LegendKind::lkMoonSetsFirst, "Moon sets before the Sun", Hex(0xc8c8c8)},
    {LegendKind::lkPolarDay, "Sun does not set (polar day)", Hex(0xf2f2f2)},
    {LegendKind::lkPolarNight, "Sun does not rise (polar night)", Hex(0x5c5c5c)},
}};

std::span<const Rgb> ZoneColours(CriterionId id)
{
    return id == CriterionId::ciYallop ? std::span<const Rgb>(YallopColours) : std::span<const Rgb>(OdehColours);
}

std::string Capitalised(std::string_view words)
{
    std::string text(words);
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

char ZoneOf(const astronomy::GridCell& cell, CriterionId id)
{
    return id == CriterionId::ciYallop ? cell.YallopZone : cell.OdehZone;
}

} // namespace

bool MapShowsCriterion(CriterionId id) { return id == CriterionId::ciYallop || id == CriterionId::ciOdeh; }

std::vector<LegendItem> MapLegend(CriterionId id)
{
    const std::span<const astronomy::CrescentCategory> zones = astronomy::CriterionOf(id).Categories;
    const std::span<const Rgb> colours = ZoneColours(id);
    std::vector<LegendItem> legend;
    for (std::size_t i = 0; i < zones.size() && i < colours.size(); ++i)
        legend.push_back({LegendKind::lkZone, std::string(zones[i].Name), Capitalised(zones[i].Meaning), colours[i]});
    for (const Unjudged& item : UnjudgedItems)
        legend.push_back({item.Kind, "", item.Words, item.Colour});
    return legend;
}

std::size_t LegendIndexOf(const astronomy::GridCell& cell, CriterionId id)
{
    const std::size_t zoneCount = std::min(astronomy::CriterionOf(id).Categories.size(), ZoneColours(id).size());
    const auto unjudged = [zoneCount](LegendKind kind) {
        std::size_t i = 0;
        while (i + 1 < UnjudgedItems.size() && UnjudgedItems[i].Kind != kind)
            ++i;
        return zoneCount + i;
    };
    if (cell.Sun == astronomy::CellSun::csPolarDay)
        return unjudged(LegendKind::lkPolarDay);
    if (cell.Sun == astronomy::CellSun::csPolarNight)
        return unjudged(LegendKind::lkPolarNight);
    if (cell.MoonSetsFirst)
        return unjudged(LegendKind::lkMoonSetsFirst);
    const std::span<const astronomy::CrescentCategory> zones = astronomy::CriterionOf(id).Categories;
    for (std::size_t i = 0; i < zoneCount; ++i)
        if (zones[i].Name.front() == ZoneOf(cell, id))
            return i;
    return zoneCount - 1;  // no zone recorded: the worst
}
