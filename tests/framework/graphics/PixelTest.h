// Helpers of the canvas tests: a bitmap filled with a sentinel colour, and
// readable pixel checks.
#pragma once

#include "framework/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <string>

// A colour no drawing in these tests produces by itself.
constexpr TColor Sentinel = RGB(0x12, 0x34, 0x56);

// A bitmap of the size, filled with the sentinel, its canvas ready.
inline std::unique_ptr<TBitmap> SentinelBitmap(int width, int height, TColor fill = Sentinel)
{
    auto bitmap = std::make_unique<TBitmap>(width, height);
    bitmap->Canvas()->Brush()->SetColor(fill);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// The pixels of a bitmap as rows of characters: one character per pixel,
// chosen from legend (colour -> char), '?' for any other colour.
inline std::string Picture(const TBitmap& bitmap, std::initializer_list<std::pair<TColor, char>> legend)
{
    std::string out;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor c = bitmap.Pixels(x, y);
            char ch = '?';
            for (const auto& [color, mark] : legend) {
                if (ColorToRGB(color) == c) {
                    ch = mark;
                    break;
                }
            }
            out += ch;
        }
        out += '\n';
    }
    return out;
}

// Counts the pixels of a colour inside a rectangle.
inline int CountPixels(const TBitmap& bitmap, TColor color, TRect r = {0, 0, 1 << 20, 1 << 20})
{
    int n = 0;
    for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, bitmap.Height()); ++y)
        for (int x = std::max(r.Left, 0); x < std::min(r.Right, bitmap.Width()); ++x)
            n += bitmap.Pixels(x, y) == ColorToRGB(color) ? 1 : 0;
    return n;
}

// The bounding box of the pixels that differ from background (empty when none).
inline TRect InkBounds(const TBitmap& bitmap, TColor background)
{
    TRect box{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixels(x, y) != ColorToRGB(background)) {
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return box.IsEmpty() ? TRect{} : box;
}
