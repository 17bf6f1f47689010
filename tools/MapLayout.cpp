#include "tools/MapLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 20;
constexpr int TitleGap = 10;             // between the title's baseline and the subtitle's top
constexpr int MapGap = 18;               // between the subtitle's baseline and the map
constexpr int LatitudeLabelGap = 8;      // between a latitude label and the map
constexpr int LongitudeLabelGap = 6;     // between the map and the longitude labels
constexpr int LegendGap = 18;            // between the longitude labels and the legend
constexpr int SwatchWidth = 28;
constexpr int SwatchHeight = 16;
constexpr int SwatchTextGap = 10;
constexpr int MinRowHeight = 22;
constexpr int ColumnGap = 48;
constexpr int FootnoteGap = 12;
constexpr int MarkerClearance = 6;       // between a place's marker and its label
constexpr int MapWidth = 360 * MapPixelsPerDegree;
constexpr int MapHeight = 180 * MapPixelsPerDegree;

std::size_t Index(double value, double step, std::size_t count)
{
    const double index = std::floor(value / step);
    if (!(index >= 0))  // NaN too
        return 0;
    return index >= static_cast<double>(count - 1) ? count - 1 : static_cast<std::size_t>(index);
}

bool Overlaps(const PixelRect& a, const PixelRect& b)
{
    return a.Left < b.Right() && b.Left < a.Right() && a.Top < b.Bottom() && b.Top < a.Bottom();
}

bool Within(const PixelRect& inner, const PixelRect& outer)
{
    return inner.Left >= outer.Left && inner.Right() <= outer.Right() && inner.Top >= outer.Top &&
           inner.Bottom() <= outer.Bottom();
}

} // namespace

GridPosition GridCellAt(double longitude, double latitude, double step, std::size_t rows, std::size_t columns)
{
    if (rows == 0 || columns == 0 || !(step > 0))
        return {};
    return {Index(90 - latitude, step, rows), Index(longitude + 180, step, columns)};
}

MapLayout LayOutMap(const TextMetrics& metrics, std::span<const LegendEntrySize> legend)
{
    MapLayout layout;
    layout.TextLeft = Margin;
    layout.TitleBaseline = Margin + metrics.TitleAscent;
    layout.SubtitleBaseline = layout.TitleBaseline + TitleGap + metrics.SubtitleAscent;
    layout.Map.Area = {Margin + metrics.WidestLatitudeLabel + LatitudeLabelGap, layout.SubtitleBaseline + MapGap,
                       MapWidth, MapHeight};
    const PixelRect& map = layout.Map.Area;
    layout.LatitudeLabelRight = map.Left - LatitudeLabelGap;
    layout.LongitudeLabelBaseline = map.Bottom() + LongitudeLabelGap + metrics.LabelAscent;

    // Two columns of swatches and words: the zones under the map's left half,
    // the rest beside them, no nearer than the middle of the map.
    const int rowHeight = std::max(MinRowHeight, metrics.LabelAscent + 10);
    const int legendTop = layout.LongitudeLabelBaseline + LegendGap;
    int widestZoneText = 0, widestOtherText = 0;
    for (const LegendEntrySize& entry : legend) {
        int& widest = entry.Column == 0 ? widestZoneText : widestOtherText;
        widest = std::max(widest, entry.TextWidth);
    }
    const int columnX[2] = {map.Left, std::max(map.Left + SwatchWidth + SwatchTextGap + widestZoneText + ColumnGap,
                                               map.Left + map.Width / 2)};
    int rowsUsed[2] = {0, 0};
    for (const LegendEntrySize& entry : legend) {
        const int column = entry.Column == 0 ? 0 : 1;
        const int rowTop = legendTop + rowsUsed[column]++ * rowHeight;
        LegendSlot slot;
        slot.Swatch = {columnX[column], rowTop + (rowHeight - SwatchHeight) / 2, SwatchWidth, SwatchHeight};
        slot.TextX = columnX[column] + SwatchWidth + SwatchTextGap;
        slot.TextBaseline = rowTop + (rowHeight + metrics.LabelAscent) / 2 - 1;
        layout.Legend.push_back(slot);
    }
    const int legendBottom = legendTop + std::max(rowsUsed[0], rowsUsed[1]) * rowHeight;
    layout.FootnoteBaseline = legendBottom + FootnoteGap + metrics.LabelAscent;
    layout.Width = std::max(map.Right() + Margin,
                            columnX[1] + SwatchWidth + SwatchTextGap + widestOtherText + Margin);
    layout.Height = layout.FootnoteBaseline + Margin;
    return layout;
}

LabelBox PlaceLabel(int x, int y, int textWidth, int ascent, const PixelRect& within, std::vector<PixelRect>& taken)
{
    const int baselineMiddle = y + ascent / 2;
    const LabelBox candidates[] = {
        {{x + MarkerClearance, baselineMiddle - ascent, textWidth, ascent}, baselineMiddle},                // right
        {{x - MarkerClearance - textWidth, baselineMiddle - ascent, textWidth, ascent}, baselineMiddle},    // left
        {{x - textWidth / 2, y - MarkerClearance - ascent, textWidth, ascent}, y - MarkerClearance},        // above
        {{x - textWidth / 2, y + MarkerClearance, textWidth, ascent}, y + MarkerClearance + ascent},        // below
    };
    LabelBox chosen = candidates[0];
    for (const LabelBox& candidate : candidates) {
        const bool clear = std::none_of(taken.begin(), taken.end(),
                                        [&](const PixelRect& box) { return Overlaps(box, candidate.Box); });
        if (clear && Within(candidate.Box, within)) {
            chosen = candidate;
            break;
        }
    }
    taken.push_back(chosen.Box);
    return chosen;
}
