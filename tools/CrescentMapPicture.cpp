#include "tools/CrescentMapPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr Rgb Paper{255, 255, 255};
constexpr Rgb Ink{26, 26, 26};
// Coastlines dark on light zones and light on dark ones.
constexpr Rgb CoastDark{20, 20, 20};
constexpr Rgb CoastLight{235, 235, 235};
constexpr double CoastOpacity = 0.85;
constexpr Rgb GraticuleColour{40, 40, 40};
constexpr double GraticuleOpacity = 0.3;
constexpr Rgb FrameColour{64, 64, 64};
constexpr int GraticuleDegrees = 30;

constexpr TextStyle TitleStyle{FontWeight::fwBold, 22, Ink};
constexpr TextStyle SubtitleStyle{FontWeight::fwRegular, 15, Ink};
constexpr TextStyle LabelStyle{FontWeight::fwRegular, 13, Ink};
constexpr TextStyle KeyStyle{FontWeight::fwBold, 13, Ink};
constexpr TextStyle PlaceStyle{FontWeight::fwBold, 11, Ink};

// A place's marker: a dark ring around a white dot.
constexpr int MarkerRadius = 4;
constexpr double MarkerDotRadius = 2.3;

// The zone's letter before its words, in a column as wide as the widest
// letter and a gap; nothing before the others' words.
constexpr int KeyGap = 8;

int KeyColumnWidth(const std::vector<LegendItem>& legend, const MapText& text)
{
    int widest = 0;
    for (const LegendItem& item : legend)
        widest = std::max(widest, text.Width(item.Key, KeyStyle));
    return widest + KeyGap;
}

void FillCells(RgbImage& image, const MapProjection& map, const astronomy::EveningGrid& grid,
               astronomy::CriterionId criterion, const std::vector<LegendItem>& legend)
{
    if (grid.Rows == 0 || grid.Columns == 0 || grid.Cells.size() != grid.Rows * grid.Columns)
        return;  // no world to show: the map stays blank
    std::vector<Rgb> cellColour(grid.Cells.size());
    for (std::size_t i = 0; i < grid.Cells.size(); ++i)
        cellColour[i] = legend[LegendIndexOf(grid.Cells[i], criterion)].Colour;
    const PixelRect& area = map.Area;
    // Which column and row each pixel column and row of the map falls in.
    std::vector<std::size_t> columnOf(static_cast<std::size_t>(area.Width));
    for (int x = 0; x < area.Width; ++x)
        columnOf[static_cast<std::size_t>(x)] =
            GridCellAt(map.LongitudeAt(area.Left + x), 0, grid.StepDegrees, grid.Rows, grid.Columns).Column;
    for (int y = 0; y < area.Height; ++y) {
        const std::size_t row =
            GridCellAt(0, map.LatitudeAt(area.Top + y), grid.StepDegrees, grid.Rows, grid.Columns).Row;
        for (int x = 0; x < area.Width; ++x)
            image.Set(area.Left + x, area.Top + y, cellColour[row * grid.Columns + columnOf[static_cast<std::size_t>(x)]]);
    }
}

void DrawGraticule(RgbImage& image, const MapProjection& map)
{
    // On pixel centres, so that each line is one sharp pixel wide.
    CoverageMask mask(image.Width(), image.Height());
    const PixelRect& area = map.Area;
    for (int longitude = -180 + GraticuleDegrees; longitude < 180; longitude += GraticuleDegrees) {
        const double x = std::floor(map.X(longitude)) + 0.5;
        DrawLine(mask, x, area.Top, x, area.Bottom());
    }
    for (int latitude = 90 - GraticuleDegrees; latitude > -90; latitude -= GraticuleDegrees) {
        const double y = std::floor(map.Y(latitude)) + 0.5;
        DrawLine(mask, area.Left, y, area.Right(), y);
    }
    image.Paint(mask, GraticuleColour, GraticuleOpacity, area);
}

void DrawCoastlines(RgbImage& image, const MapProjection& map, const Coastlines& coastlines)
{
    CoverageMask mask(image.Width(), image.Height());
    for (const GeoLine& line : coastlines.Lines)
        for (std::size_t i = 1; i < line.size(); ++i)
            DrawLine(mask, map.X(line[i - 1].Longitude), map.Y(line[i - 1].Latitude), map.X(line[i].Longitude),
                     map.Y(line[i].Latitude));
    image.PaintContrasting(mask, CoastDark, CoastLight, CoastOpacity, map.Area);
}

// Text with a one-pixel white halo, legible over any zone's colour.
void DrawHaloText(RgbImage& image, const MapText& text, int x, int baseline, const std::string& words,
                  const TextStyle& style)
{
    TextStyle halo = style;
    halo.Colour = Paper;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0)
                text.Draw(image, x + dx, baseline + dy, words, halo);
    text.Draw(image, x, baseline, words, style);
}

void DrawPlaces(RgbImage& image, const MapProjection& map, std::span<const MapPlace> places, const MapText& text)
{
    std::vector<PixelRect> taken;
    std::vector<std::array<int, 2>> centres;
    for (const MapPlace& place : places) {
        const int x = static_cast<int>(std::floor(map.X(place.Longitude)));
        const int y = static_cast<int>(std::floor(map.Y(place.Latitude)));
        centres.push_back({x, y});
        taken.push_back({x - MarkerRadius, y - MarkerRadius, 2 * MarkerRadius + 1, 2 * MarkerRadius + 1});
    }
    for (std::size_t i = 0; i < places.size(); ++i) {
        const auto [x, y] = centres[i];
        for (int dy = -MarkerRadius; dy <= MarkerRadius; ++dy)
            for (int dx = -MarkerRadius; dx <= MarkerRadius; ++dx) {
                const double distance = std::hypot(dx, dy);
                if (distance <= MarkerDotRadius)
                    image.Set(x + dx, y + dy, Paper);
                else if (distance <= MarkerRadius + 0.3)
                    image.Set(x + dx, y + dy, Ink);
            }
    }
    const int ascent = text.Ascent(PlaceStyle);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const int width = text.Width(places[i].Name, PlaceStyle);
        const LabelBox label = PlaceLabel(centres[i][0], centres[i][1], width, ascent, map.Area, taken);
        DrawHaloText(image, text, label.Box.Left, label.Baseline, places[i].Name, PlaceStyle);
    }
}

void DrawAxisLabels(RgbImage& image, const MapLayout& layout, const MapText& text)
{
    const MapProjection& map = layout.Map;
    const int ascent = text.Ascent(LabelStyle);
    for (int latitude = 90 - GraticuleDegrees; latitude > -90; latitude -= GraticuleDegrees) {
        const std::string label = LatitudeLabel(latitude);
        const int x = layout.LatitudeLabelRight - text.Width(label, LabelStyle);
        text.Draw(image, x, static_cast<int>(map.Y(latitude)) + ascent / 2, label, LabelStyle);
    }
    for (int longitude = -180; longitude <= 180; longitude += GraticuleDegrees) {
        const std::string label = LongitudeLabel(longitude);
        const int x = static_cast<int>(map.X(longitude)) - text.Width(label, LabelStyle) / 2;
        text.Draw(image, x, layout.LongitudeLabelBaseline, label, LabelStyle);
    }
}

} // namespace

std::string LatitudeLabel(int latitude)
{
    if (latitude == 0)
        return "0\u00b0";
    return std::to_string(std::abs(latitude)) + "\u00b0" + (latitude > 0 ? "N" : "S");
}

std::string LongitudeLabel(int longitude)
{
    if (longitude == 0 || std::abs(longitude) == 180)
        return std::to_string(std::abs(longitude)) + "\u00b0";
    return std::to_string(std::abs(longitude)) + "\u00b0" + (longitude > 0 ? "E" : "W");
}

CrescentMapPicture DrawCrescentMap(const astronomy::EveningGrid& grid, astronomy::CriterionId criterion,
                                   const Coastlines& coastlines, std::span<const MapPlace> places,
                                   const MapCaption& caption, const MapText& text)
{
    std::vector<LegendItem> legend = MapLegend(criterion);
    TextMetrics metrics;
    metrics.TitleAscent = text.Ascent(TitleStyle);
    metrics.SubtitleAscent = text.Ascent(SubtitleStyle);
    metrics.LabelAscent = text.Ascent(LabelStyle);
    for (int latitude = 90 - GraticuleDegrees; latitude > -90; latitude -= GraticuleDegrees)
        metrics.WidestLatitudeLabel = std::max(metrics.WidestLatitudeLabel, text.Width(LatitudeLabel(latitude), LabelStyle));
    const int keyColumn = KeyColumnWidth(legend, text);
    const auto keyWidth = [keyColumn](const LegendItem& item) { return item.Key.empty() ? 0 : keyColumn; };
    std::vector<LegendEntrySize> sizes;
    for (const LegendItem& item : legend)
        sizes.push_back({item.Kind == LegendKind::lkZone ? 0 : 1, keyWidth(item) + text.Width(item.Words, LabelStyle)});
    MapLayout layout = LayOutMap(metrics, sizes);

    RgbImage image(layout.Width, layout.Height, Paper);
    FillCells(image, layout.Map, grid, criterion, legend);
    DrawGraticule(image, layout.Map);
    if (coastlines.Read())
        DrawCoastlines(image, layout.Map, coastlines);
    const PixelRect& area = layout.Map.Area;
    image.Frame({area.Left - 1, area.Top - 1, area.Width + 2, area.Height + 2}, FrameColour);
    DrawPlaces(image, layout.Map, places, text);
    DrawAxisLabels(image, layout, text);

    text.Draw(image, layout.TextLeft, layout.TitleBaseline, caption.Title, TitleStyle);
    text.Draw(image, layout.TextLeft, layout.SubtitleBaseline, caption.Subtitle, SubtitleStyle);
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const LegendSlot& slot = layout.Legend[i];
        image.Fill(slot.Swatch, legend[i].Colour);
        image.Frame(slot.Swatch, FrameColour);
        text.Draw(image, slot.TextX, slot.TextBaseline, legend[i].Key, KeyStyle);
        text.Draw(image, slot.TextX + keyWidth(legend[i]), slot.TextBaseline, legend[i].Words, LabelStyle);
    }
    text.Draw(image, layout.TextLeft, layout.FootnoteBaseline, caption.Footnote, LabelStyle);
    return {std::move(image), std::move(layout), std::move(legend)};
}
