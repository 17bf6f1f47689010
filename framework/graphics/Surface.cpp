#include "framework/graphics/Surface.h"

#include <algorithm>

namespace {

constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Black = 0xFF000000u;

QImage BlankImage(int width, int height, QRgb fill)
{
    if (width <= 0 || height <= 0)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// White stays white, every other colour becomes black.
void MakeBlackAndWhite(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] = (row[x] & 0xFFFFFFu) == 0xFFFFFFu ? White : Black;
    }
}

}  // namespace

TImageSurface::TImageSurface(int width, int height, QRgb fill) : image_(BlankImage(width, height, fill | 0xFF000000u))
{
}

TGdiBitmap::TGdiBitmap(int width, int height, bool monochrome, bool stock)
    : TGdiObject(TGdiObjectKind::Bitmap, stock), image_(BlankImage(width, height, Black)), monochrome_(monochrome)
{
}

void TGdiBitmap::SetImage(QImage image)
{
    if (image.isNull()) {
        image_ = QImage();
        return;
    }
    image_ = image.format() == QImage::Format_RGB32 ? std::move(image) : image.convertToFormat(QImage::Format_RGB32);
    if (monochrome_)
        MakeBlackAndWhite(image_);
}

void TGdiBitmap::SetMonochrome(bool monochrome)
{
    if (monochrome == monochrome_)
        return;
    monochrome_ = monochrome;
    if (monochrome_ && !image_.isNull())
        MakeBlackAndWhite(image_);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    const bool monochrome = planes * bitsPerPixel == 1;
    auto* bitmap = new TGdiBitmap(std::max(width, 0), std::max(height, 0), monochrome);
    if (monochrome && bits != nullptr && width > 0 && height > 0) {
        const auto* bytes = static_cast<const std::uint8_t*>(bits);
        const int stride = ((width + 15) / 16) * 2;  // rows padded to 16 bits
        QImage& image = bitmap->Image();
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const bool set = (bytes[y * stride + x / 8] >> (7 - x % 8)) & 1u;
                row[x] = set ? White : Black;
            }
        }
    }
    return bitmap;
}

HBITMAP DefaultBitmap()
{
    static TGdiBitmap bitmap(1, 1, true, true);
    return &bitmap;
}

HBRUSH CreatePatternBrush(HBITMAP bitmap)
{
    if (bitmap == nullptr || bitmap->Image().isNull())
        return nullptr;
    LOGBRUSH brush;
    brush.lbStyle = BS_PATTERN;
    brush.lbPattern = bitmap->Image();  // shared until either side writes
    brush.lbPatternMonochrome = bitmap->Monochrome();
    return new TBrushObject(brush);
}
