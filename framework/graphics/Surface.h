// Pixel stores that device contexts draw on: the abstract surface (a window's
// retained surface, the screen, a bitmap) and the bitmap object behind HBITMAP.
#pragma once

#include "framework/graphics/GdiObjects.h"
#include "framework/runtime/Types.h"

#include <QImage>
#include <QRegion>

// What a device context draws on. The image is Format_RGB32 and owned by the
// surface; a device context writes its pixels directly and reports every
// rectangle it touched through Changed.
class TSurface {
public:
    TSurface() = default;
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;
    virtual ~TSurface() = default;

    virtual QImage& Image() = 0;
    // The surface's size in pixels. A surface whose image is costly to read
    // (the real screen) answers without reading it.
    virtual QSize Size() { return Image().size(); }
    // The pixels of area (surface coordinates, inside the surface) for
    // reading, and where that image's origin lies on the surface. The base
    // gives the whole image; the real screen reads only the area asked for.
    struct TReadView {
        const QImage* Image = nullptr;
        QPoint Origin;
    };
    virtual TReadView Read(const QRect& area)
    {
        (void)area;
        return {&Image(), QPoint()};
    }
    // A rectangle of the image (surface coordinates) was just drawn; a window
    // surface schedules a repaint of it.
    virtual void Changed(const TRect& rect) { (void)rect; }
    // A monochrome surface holds only black and white; blits map colours to it.
    virtual bool Monochrome() const { return false; }
    // What GetDeviceCaps reports for BITSPIXEL.
    virtual int BitsPerPixel() const { return Monochrome() ? 1 : 24; }
    // A surface that can draw focus rectangles natively (the X11 screen on its
    // root window) does so and returns true; clip is in surface coordinates.
    virtual bool DrawFocusRectNative(const TRect& rect, const QRegion& clip)
    {
        (void)rect;
        (void)clip;
        return false;
    }
};

// A surface that owns its image; for tests and off-screen work.
class TImageSurface : public TSurface {
public:
    explicit TImageSurface(int width = 0, int height = 0, QRgb fill = 0xFFFFFFFF);
    QImage& Image() override { return image_; }

private:
    QImage image_;
};

// A bitmap object: an RGB32 image, or a monochrome one holding only black
// and white. It is selected into a memory device context to be drawn on.
class TGdiBitmap : public TGdiObject, public TSurface {
public:
    TGdiBitmap(int width, int height, bool monochrome, bool stock = false);
    QImage& Image() override { return image_; }
    const QImage& Image() const { return image_; }
    bool Monochrome() const override { return monochrome_; }
    int BitsPerPixel() const override { return monochrome_ ? 1 : 32; }

    // Replaces the pixels (converted to RGB32; to black and white when monochrome).
    void SetImage(QImage image);
    // Switches the format; a colour image becomes white where it was white
    // and black elsewhere, as a copy to a monochrome bitmap does.
    void SetMonochrome(bool monochrome);

private:
    QImage image_;
    bool monochrome_;
};
using HBITMAP = TGdiBitmap*;

// A bitmap of the given size: monochrome when planes * bitsPerPixel is 1
// (bits, when given, are rows of bits, 1 = white, each row padded to 16 bits),
// colour otherwise (initially black).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits = nullptr);
// The stock 1 x 1 monochrome bitmap a fresh memory device context holds.
HBITMAP DefaultBitmap();

// A pattern brush from a snapshot of the bitmap's pixels, tiled from the
// device origin. The bitmap may be deleted afterwards.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
