#include "framework/graphics/Bitmap.h"

#include "framework/graphics/DcInternal.h"

#include <QFile>

#include <algorithm>

void TBitmap::BitmapDeleter::operator()(TGdiBitmap* bitmap) const
{
    delete bitmap;
}

void TBitmap::DcDeleter::operator()(TDeviceContext* dc) const
{
    DeleteDC(dc);
}

TBitmap::TBitmap() : bitmap_(new TGdiBitmap(0, 0, false))
{
}

TBitmap::TBitmap(int width, int height) : TBitmap()
{
    SetSize(width, height);
}

TBitmap::~TBitmap()
{
    if (canvas_)
        canvas_->OnChange = nullptr;
    canvas_.reset();
    dc_.reset();
    DeleteObject(palette_);
}

int TBitmap::Width() const
{
    return bitmap_->Image().width();
}

int TBitmap::Height() const
{
    return bitmap_->Image().height();
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height())
        return;
    QImage resized;
    if (width > 0 && height > 0) {
        resized = QImage(width, height, QImage::Format_RGB32);
        resized.fill(0xFFFFFFFFu);
        const QImage& old = bitmap_->Image();
        const int w = std::min(width, old.width());
        const int h = std::min(height, old.height());
        for (int y = 0; y < h; ++y)
            std::copy_n(ConstScanLine(old, y), w, ScanLine(resized, y));
    }
    bitmap_->SetImage(std::move(resized));
    if (dc_)
        dc_->ClipChanged();
    Changed();
}

void TBitmap::EnsureCanvas()
{
    if (canvas_)
        return;
    dc_.reset(CreateCompatibleDC(nullptr));
    SelectObject(dc_.get(), bitmap_.get());
    canvas_ = std::make_unique<TCanvas>();
    canvas_->SetHandle(dc_.get());
    canvas_->OnChange = [this](TObject*) { Changed(); };
}

TCanvas* TBitmap::Canvas()
{
    EnsureCanvas();
    return canvas_.get();
}

bool TBitmap::Monochrome() const
{
    return bitmap_->Monochrome();
}

void TBitmap::SetMonochrome(bool monochrome)
{
    if (monochrome == Monochrome())
        return;
    bitmap_->SetMonochrome(monochrome);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == PixelFormat())
        return;
    pixelFormat_ = format == pf1bit ? pfDevice : format;
    bitmap_->SetMonochrome(format == pf1bit);
    Changed();
}

void TBitmap::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    Changed();
}

TColor TBitmap::TransparentColor() const
{
    if (transparentMode_ == tmFixed)
        return transparentColor_;
    if (Empty())
        return clDefault;
    if (Monochrome())
        return clWhite;
    return RGBFromPixel(ConstScanLine(bitmap_->Image(), Height() - 1)[0]);
}

void TBitmap::SetTransparentColor(TColor color)
{
    const TTransparentMode mode = color == clDefault ? tmAuto : tmFixed;
    if (color == transparentColor_ && mode == transparentMode_)
        return;
    transparentColor_ = color;
    transparentMode_ = mode;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode)
{
    if (mode == transparentMode_)
        return;
    if (mode == tmFixed)
        transparentColor_ = TransparentColor();
    else
        transparentColor_ = clDefault;
    transparentMode_ = mode;
    Changed();
}

void TBitmap::Mask(TColor transparentColor)
{
    QImage image = bitmap_->Image();
    if (!image.isNull()) {
        const std::uint32_t key = ColorToRGB(transparentColor) & 0xFFFFFFu;
        for (int y = 0; y < image.height(); ++y) {
            std::uint32_t* row = ScanLine(image, y);
            for (int x = 0; x < image.width(); ++x)
                row[x] = (RGBFromPixel(row[x]) == key) ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    bitmap_->SetMonochrome(true);
    bitmap_->SetImage(std::move(image));
    Changed();
}

void TBitmap::SetPalette(HPALETTE palette)
{
    if (palette == palette_)
        return;
    DeleteObject(palette_);
    palette_ = palette;
    Changed();
}

HPALETTE TBitmap::ReleasePalette()
{
    HPALETTE palette = palette_;
    palette_ = nullptr;
    return palette;
}

void TBitmap::LoadFromResourceName(const std::string& name)
{
    const QString base = QStringLiteral(":/") + QString::fromStdString(name);
    for (const QString& path : {base, base + QStringLiteral(".bmp"), base + QStringLiteral(".png")}) {
        if (!QFile::exists(path))
            continue;
        QImage image(path);
        if (image.isNull())
            throw EInvalidGraphic("Bitmap image is not valid");
        LoadFromImage(image);
        return;
    }
    throw EResNotFound("Resource " + name + " not found");
}

void TBitmap::LoadFromFile(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    if (!QFile::exists(file))
        throw EInvalidGraphic("Cannot open file \"" + path + "\"");
    QImage image(file);
    if (image.isNull())
        throw EInvalidGraphic("Bitmap image is not valid");
    LoadFromImage(image);
}

void TBitmap::LoadFromImage(const QImage& image)
{
    const bool monochrome = image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
    bitmap_->SetMonochrome(monochrome);
    bitmap_->SetImage(image);
    if (dc_)
        dc_->ClipChanged();
    Changed();
}

void TBitmap::SaveToFile(const std::string& path) const
{
    if (!bitmap_->Image().save(QString::fromStdString(path)))
        throw EInvalidGraphic("Cannot write file \"" + path + "\"");
}

void TBitmap::Draw(TCanvas* target, const TRect& rect)
{
    if (target == nullptr || Empty() || rect.IsEmpty())
        return;
    HDC dc = target->Handle();
    // A monochrome bitmap draws black and white whatever the target's colours.
    COLORREF oldText = 0;
    COLORREF oldBk = 0;
    if (Monochrome()) {
        oldText = SetTextColor(dc, clBlack);
        oldBk = SetBkColor(dc, clWhite);
    }
    if (transparent_) {
        const std::uint32_t key = PixelFromRGB(ColorToRGB(TransparentColor()) & 0xFFFFFFu);
        KeyedTransfer(*dc, dc->ToDevice(rect), Image(), Monochrome(), QRect(0, 0, Width(), Height()), key, nullptr);
    } else {
        EnsureCanvas();
        // A colour picture shrinks by dropping pixels, never by ANDing colours.
        const int oldMode = Monochrome() ? 0 : SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), dc_.get(), 0, 0, Width(), Height(),
                   target->CopyMode());
        if (oldMode != 0)
            SetStretchBltMode(dc, oldMode);
    }
    if (Monochrome()) {
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBk);
    }
}

TColor TBitmap::Pixels(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return CLR_INVALID;
    return RGBFromPixel(ConstScanLine(Image(), y)[x]);
}

void TBitmap::Assign(const TPersistent* source)
{
    if (source == nullptr) {
        SetSize(0, 0);
        return;
    }
    const auto* other = dynamic_cast<const TBitmap*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    bitmap_->SetMonochrome(other->Monochrome());
    bitmap_->SetImage(other->Image().copy());
    if (dc_)
        dc_->ClipChanged();
    pixelFormat_ = other->pixelFormat_;
    transparent_ = other->transparent_;
    transparentColor_ = other->transparentColor_;
    transparentMode_ = other->transparentMode_;
    DeleteObject(palette_);
    palette_ = nullptr;
    if (other->palette_ != nullptr) {
        LOGPALETTE copy;
        copy.palPalEntry = other->palette_->Entries;
        palette_ = CreatePalette(&copy);
    }
    Changed();
}

void TBitmap::Changed()
{
    if (OnChange)
        OnChange(this);
}
