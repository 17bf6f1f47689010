#include "tools/MapImage.h"

#include "framework/runtime/ScopeExit.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// Below this brightness a pixel takes the light ink.
constexpr double DarkPixel = 110;

// Farther out than this a coordinate is a fault upstream, not a line to clip.
constexpr double FarthestCoordinate = 1e6;

std::uint8_t Mix(std::uint8_t from, std::uint8_t to, double coverage)
{
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * coverage));
}

double Fraction(double v) { return v - std::floor(v); }

} // namespace

CoverageMask::CoverageMask(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      coverage_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0.0f)
{
}

float CoverageMask::At(int x, int y) const
{
    if (x < 0 || x >= width_ || y < 0 || y >= height_)
        return 0;
    return coverage_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void CoverageMask::Cover(int x, int y, double coverage)
{
    if (x < 0 || x >= width_ || y < 0 || y >= height_)
        return;
    float& cell = coverage_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
    cell = std::min(1.0f, cell + static_cast<float>(std::clamp(coverage, 0.0, 1.0)));
}

RgbImage::RgbImage(int width, int height, Rgb background)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3)
{
    Fill({0, 0, width_, height_}, background);
}

std::size_t RgbImage::Offset(int x, int y) const
{
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3;
}

Rgb RgbImage::At(int x, int y) const
{
    if (!Inside(x, y))
        return {};
    const std::size_t at = Offset(x, y);
    return {pixels_[at], pixels_[at + 1], pixels_[at + 2]};
}

void RgbImage::Set(int x, int y, Rgb colour)
{
    if (!Inside(x, y))
        return;
    const std::size_t at = Offset(x, y);
    pixels_[at] = colour.R;
    pixels_[at + 1] = colour.G;
    pixels_[at + 2] = colour.B;
}

void RgbImage::Blend(int x, int y, Rgb colour, double coverage)
{
    if (!Inside(x, y) || !(coverage > 0))
        return;
    coverage = std::min(coverage, 1.0);
    const std::size_t at = Offset(x, y);
    pixels_[at] = Mix(pixels_[at], colour.R, coverage);
    pixels_[at + 1] = Mix(pixels_[at + 1], colour.G, coverage);
    pixels_[at + 2] = Mix(pixels_[at + 2], colour.B, coverage);
}

void RgbImage::Fill(const PixelRect& rect, Rgb colour)
{
    const int left = std::max(rect.Left, 0), right = std::min(rect.Right(), width_);
    const int top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom(), height_);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            Set(x, y, colour);
}

void RgbImage::Frame(const PixelRect& rect, Rgb colour)
{
    if (rect.Width <= 0 || rect.Height <= 0)
        return;
    Fill({rect.Left, rect.Top, rect.Width, 1}, colour);                   // top
    Fill({rect.Left, rect.Bottom() - 1, rect.Width, 1}, colour);          // bottom
    Fill({rect.Left, rect.Top, 1, rect.Height}, colour);                  // left
    Fill({rect.Right() - 1, rect.Top, 1, rect.Height}, colour);           // right
}

void RgbImage::Paint(const CoverageMask& mask, Rgb colour, double opacity, const PixelRect& clip)
{
    const int left = std::max(clip.Left, 0), right = std::min({clip.Right(), width_, mask.Width()});
    const int top = std::max(clip.Top, 0), bottom = std::min({clip.Bottom(), height_, mask.Height()});
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            Blend(x, y, colour, mask.At(x, y) * opacity);
}

void RgbImage::PaintContrasting(const CoverageMask& mask, Rgb darkInk, Rgb lightInk, double opacity,
                                const PixelRect& clip)
{
    const int left = std::max(clip.Left, 0), right = std::min({clip.Right(), width_, mask.Width()});
    const int top = std::max(clip.Top, 0), bottom = std::min({clip.Bottom(), height_, mask.Height()});
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (const float coverage = mask.At(x, y); coverage > 0)
                Blend(x, y, Brightness(At(x, y)) < DarkPixel ? lightInk : darkInk, coverage * opacity);
}

double Brightness(Rgb colour) { return 0.2126 * colour.R + 0.7152 * colour.G + 0.0722 * colour.B; }

void DrawLine(CoverageMask& mask, double x0, double y0, double x1, double y1)
{
    for (const double v : {x0, y0, x1, y1})
        if (!(std::fabs(v) <= FarthestCoordinate))
            return;
    // Pixel centres at whole numbers from here on.
    x0 -= 0.5, y0 -= 0.5, x1 -= 0.5, y1 -= 0.5;
    const bool steep = std::fabs(y1 - y0) > std::fabs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const auto cover = [&](double major, double minor, double coverage) {
        const int a = static_cast<int>(major), b = static_cast<int>(minor);
        if (steep)
            mask.Cover(b, a, coverage);
        else
            mask.Cover(a, b, coverage);
    };
    const double dx = x1 - x0;
    const double gradient = dx == 0 ? 0 : (y1 - y0) / dx;

    // The two ends, each weighted by how much of its pixel column the line spans.
    const double firstX = std::round(x0), lastX = std::round(x1);
    if (firstX == lastX) {
        // Both ends in one column: one pixel pair for the line's whole length.
        const double y = (y0 + y1) / 2, span = x1 - x0;
        cover(firstX, std::floor(y), (1 - Fraction(y)) * std::max(span, 0.5));
        cover(firstX, std::floor(y) + 1, Fraction(y) * std::max(span, 0.5));
        return;
    }
    const double firstY = y0 + gradient * (firstX - x0);
    const double firstGap = 1 - Fraction(x0 + 0.5);
    cover(firstX, std::floor(firstY), (1 - Fraction(firstY)) * firstGap);
    cover(firstX, std::floor(firstY) + 1, Fraction(firstY) * firstGap);
    const double lastY = y1 + gradient * (lastX - x1);
    const double lastGap = Fraction(x1 + 0.5);
    cover(lastX, std::floor(lastY), (1 - Fraction(lastY)) * lastGap);
    cover(lastX, std::floor(lastY) + 1, Fraction(lastY) * lastGap);

    // The columns between, only those the mask holds.
    const double limit = steep ? mask.Height() : mask.Width();
    const double from = std::max(firstX + 1, -1.0), to = std::min(lastX - 1, limit);
    for (double x = from; x <= to; ++x) {
        const double y = firstY + gradient * (x - firstX);
        if (std::fabs(y) > FarthestCoordinate)
            continue;
        cover(x, std::floor(y), 1 - Fraction(y));
        cover(x, std::floor(y) + 1, Fraction(y));
    }
}

std::vector<std::uint8_t> EncodePng(const RgbImage& image)
{
    // libpng's simplified interface keeps its own error handling (no longjmp
    // through our frames) and reports a failure in the image record.
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    png.format = PNG_FORMAT_RGB;
    TScopeExit release([&png] { png_image_free(&png); });
    const auto fail = [&png] { throw std::runtime_error(std::string("cannot encode the PNG picture: ") + png.message); };
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(png, size, 0, image.Pixels().data(), 0, nullptr))
        fail();
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.Pixels().data(), 0, nullptr))
        fail();
    bytes.resize(size);
    return bytes;
}
