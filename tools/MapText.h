// Text on a map picture: a font family found through fontconfig (DejaVu Sans,
// or what fontconfig substitutes for it), rendered by FreeType as antialiased
// grey levels and blended into the picture. One line at a time, left to
// right, with the font's kerning; UTF-8 in.
#pragma once

#include "tools/MapImage.h"

#include <memory>
#include <string>
#include <string_view>

enum class FontWeight { fwRegular, fwBold };

struct TextStyle {
    FontWeight Weight = FontWeight::fwRegular;
    int PixelSize = 14;  // the em in pixels
    Rgb Colour;
};

class MapText {
public:
    // Finds the regular and bold faces of the family. std::runtime_error when
    // fontconfig finds no font at all or FreeType cannot open it.
    explicit MapText(std::string_view family = "DejaVu Sans");
    ~MapText();
    MapText(const MapText&) = delete;
    MapText& operator=(const MapText&) = delete;

    // The files the faces came from, for messages.
    const std::string& RegularFile() const;

    // How far the pen moves over the text, in pixels.
    int Width(std::string_view text, const TextStyle& style) const;
    // The height above the baseline of the font's tallest letters, in pixels.
    int Ascent(const TextStyle& style) const;
    // Draws the text with its baseline's left end at (x, baseline). Returns
    // the pen's position after it.
    int Draw(RgbImage& image, int x, int baseline, std::string_view text, const TextStyle& style) const;

private:
    struct Faces;
    std::unique_ptr<Faces> faces_;
};
