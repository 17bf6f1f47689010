// The persistent bitmap: an off-screen image with its own canvas.
#pragma once

#include "framework/graphics/Canvas.h"
#include "framework/runtime/Classes.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GdiObjects.h"
#include "framework/graphics/Surface.h"

#include <QImage>

#include <memory>
#include <string>

enum TPixelFormat { pfDevice, pf1bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

// A resource or file that holds no usable picture.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};
// A named resource that does not exist ("Resource SpinUp not found").
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

class TBitmap : public TPersistent {
public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const;
    int Height() const;
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // Keeps the pixels that still fit; new pixels are white.
    void SetSize(int width, int height);
    bool Empty() const { return Width() == 0 || Height() == 0; }

    // Drawing through this canvas changes the bitmap (and raises OnChange).
    TCanvas* Canvas();

    // A monochrome bitmap holds only black and white; turning a colour one
    // monochrome keeps white where it was white and makes the rest black.
    bool Monochrome() const;
    void SetMonochrome(bool monochrome);
    TPixelFormat PixelFormat() const { return Monochrome() ? pf1bit : pixelFormat_; }
    void SetPixelFormat(TPixelFormat format);

    // Drawn transparently: pixels of TransparentColor leave the target alone.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // tmAuto: the bottom-left pixel's colour; tmFixed: the colour that was set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);  // switches to tmFixed
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // Turns the bitmap into a monochrome mask: white exactly where the pixel
    // had that colour, black elsewhere.
    void Mask(TColor transparentColor);

    // A palette the bitmap owns (null on true colour); setting one frees the old.
    HPALETTE Palette() const { return palette_; }
    void SetPalette(HPALETTE palette);
    // Hands the palette to the caller.
    HPALETTE ReleasePalette();

    HBITMAP Handle() const { return bitmap_.get(); }

    // Qt resources ":/<name>", ":/<name>.bmp" or ":/<name>.png".
    void LoadFromResourceName(const std::string& name);
    void LoadFromFile(const std::string& path);
    void LoadFromImage(const QImage& image);
    void SaveToFile(const std::string& path) const;  // format from the extension

    // Draws onto a canvas over rect (scaled when sizes differ), transparently
    // when Transparent. A monochrome bitmap draws black and white.
    void Draw(TCanvas* target, const TRect& rect);

    // The pixels (RGB32), for tests and transfers.
    const QImage& Image() const { return bitmap_->Image(); }
    TColor Pixels(int x, int y) const;

    // Deep copy of another bitmap.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    void EnsureCanvas();

    struct BitmapDeleter {
        void operator()(TGdiBitmap* bitmap) const;
    };
    struct DcDeleter {
        void operator()(TDeviceContext* dc) const;
    };
    std::unique_ptr<TGdiBitmap, BitmapDeleter> bitmap_;
    std::unique_ptr<TDeviceContext, DcDeleter> dc_;
    std::unique_ptr<TCanvas> canvas_;
    TPixelFormat pixelFormat_ = pfDevice;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    HPALETTE palette_ = nullptr;
};
