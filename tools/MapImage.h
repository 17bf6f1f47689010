// The picture a map is drawn on: 8-bit RGB pixels in rows, with the few
// drawing steps a map needs (filled rectangles, antialiased lines through a
// coverage mask, blending a coverage value as text does), and its PNG
// encoding through libpng.
#pragma once

#include <cstdint>
#include <vector>

struct Rgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    bool operator==(const Rgb&) const = default;
};

// Pixels from Left to Left + Width - 1 and Top to Top + Height - 1.
struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Right() const { return Left + Width; }    // exclusive
    int Bottom() const { return Top + Height; }   // exclusive
    bool Contains(int x, int y) const { return x >= Left && x < Right() && y >= Top && y < Bottom(); }
    bool operator==(const PixelRect&) const = default;
};

// How much of each pixel a set of lines covers, 0..1. Lines are gathered here
// first and painted once: the half-covered ends of two segments that meet
// add up to one whole pixel, and where lines cross or run over each other a
// pixel is covered once at most, never darkened twice.
class CoverageMask {
public:
    CoverageMask(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    float At(int x, int y) const;
    // Adds coverage up to a whole pixel; outside the mask nothing happens.
    void Cover(int x, int y, double coverage);

private:
    int width_;
    int height_;
    std::vector<float> coverage_;
};

class RgbImage {
public:
    RgbImage(int width, int height, Rgb background);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const;
    // Outside the picture nothing happens, so callers need not clip.
    void Set(int x, int y, Rgb colour);
    // Mixes colour into the pixel by coverage (0: unchanged, 1: colour).
    void Blend(int x, int y, Rgb colour, double coverage);
    void Fill(const PixelRect& rect, Rgb colour);
    // A one-pixel frame just inside rect.
    void Frame(const PixelRect& rect, Rgb colour);
    // Blends colour into every pixel by the mask's coverage times opacity,
    // within clip only. The mask has the picture's size.
    void Paint(const CoverageMask& mask, Rgb colour, double opacity, const PixelRect& clip);
    // The same with whichever of two inks stands out from each pixel: the
    // dark one on light pixels, the light one on dark pixels.
    void PaintContrasting(const CoverageMask& mask, Rgb darkInk, Rgb lightInk, double opacity, const PixelRect& clip);
    // The rows, three bytes a pixel, top row first.
    const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

private:
    bool Inside(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < height_; }
    std::size_t Offset(int x, int y) const;

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// The brightness of a colour as the eye weighs its channels (Rec. 709
// weights on the stored values), 0..255.
double Brightness(Rgb colour);

// A line one pixel wide between two points in pixel coordinates (the centre of
// pixel (x, y) lies at x + 0.5, y + 0.5), antialiased by Wu's method: each step
// along the major axis shares the coverage between the two pixels the line
// passes between. A line with a coordinate that is not finite or lies farther
// than a million pixels out is left out.
void DrawLine(CoverageMask& mask, double x0, double y0, double x1, double y1);

// The picture as a PNG file's bytes. std::runtime_error naming libpng's reason
// when it cannot encode.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);
