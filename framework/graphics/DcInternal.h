// Inside the canvas layer: the device context object and the helpers its
// drawing modules share. Not for use outside framework_graphics.
#pragma once

#include "framework/graphics/DeviceContext.h"

#include <QRect>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Everything SaveDC saves.
struct TDcState {
    LOGFONT Font;
    std::shared_ptr<const TResolvedFont> ResolvedFont;
    HGDIOBJ FontObject = nullptr;
    LOGBRUSH Brush;
    HGDIOBJ BrushObject = nullptr;
    LOGPEN Pen;
    HGDIOBJ PenObject = nullptr;
    TColor TextColor = clBlack;
    TColor BkColor = clWhite;
    int BkMode = OPAQUE;
    int Rop2 = R2_COPYPEN;
    int StretchMode = BLACKONWHITE;
    int CharExtra = 0;
    UINT TextAlign = TA_LEFT | TA_TOP;
    TPoint BrushOrigin;
    TPoint CurrentPosition;
    TPoint Origin;                 // viewport origin: device = logical + Origin
    std::optional<QRegion> Clip;   // selected clip, logical coordinates
    HPALETTE Palette = nullptr;
};

class TDeviceContext : public TGdiObject {
public:
    TDeviceContext(TSurface* surface, bool memory);
    ~TDeviceContext() override;

    TSurface* Surface = nullptr;
    bool Memory = false;
    HBITMAP SelectedBitmap = nullptr;  // memory contexts
    std::optional<TRect> BaseClip;     // surface coordinates
    TDcState State;
    std::vector<TDcState> Saved;

    QImage& Image() { return Surface->Image(); }
    bool Monochrome() const { return Surface->Monochrome(); }

    // Everything drawable, in surface coordinates.
    const QRegion& DeviceClip() const;
    void ClipChanged() { clipValid_ = false; }

    // Logical to device coordinates. Coordinates are first bounded far
    // beyond any surface, so no sum or size can overflow.
    static int Bounded(int v) { return v < -(1 << 28) ? -(1 << 28) : v > (1 << 28) ? (1 << 28) : v; }
    QPoint ToDevice(int x, int y) const
    {
        return QPoint(Bounded(x) + State.Origin.X, Bounded(y) + State.Origin.Y);
    }
    QRect ToDevice(const TRect& r) const
    {
        const QPoint topLeft = ToDevice(r.Left, r.Top);
        return QRect(topLeft.x(), topLeft.y(), Bounded(r.Right) - Bounded(r.Left), Bounded(r.Bottom) - Bounded(r.Top));
    }

    // The selected font, resolved on first use.
    const TResolvedFont& Font();

    // The pixel a colour paints on this surface (black or white on a monochrome one).
    std::uint32_t DevicePixel(TColor color) const;
    // Reports drawn pixels (device rectangle) to the surface, cut to the clip.
    void Touched(const QRect& deviceRect);

private:
    mutable QRegion clip_;
    mutable bool clipValid_ = false;
    mutable QSize clipImageSize_;  // a surface that changed size invalidates the clip
};

// RGB32 pixel of a plain RGB colour, and back.
inline std::uint32_t PixelFromRGB(TColor rgb)
{
    return 0xFF000000u | (std::uint32_t{GetRValue(rgb)} << 16) | (std::uint32_t{GetGValue(rgb)} << 8) |
           std::uint32_t{GetBValue(rgb)};
}
inline TColor RGBFromPixel(std::uint32_t pixel)
{
    return RGB(static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
               static_cast<std::uint8_t>(pixel));
}

inline std::uint32_t* ScanLine(QImage& image, int y)
{
    return reinterpret_cast<std::uint32_t*>(image.scanLine(y));
}
inline const std::uint32_t* ConstScanLine(const QImage& image, int y)
{
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
}

// A brush (or pen colour) resolved against a context's colours: a tile
// repeated from the brush origin, with an ink mask where parts of it leave
// the destination alone (hatch gaps in TRANSPARENT mode).
struct TPatternTile {
    int Width = 1;
    int Height = 1;
    std::vector<std::uint32_t> Pixels{0xFF000000u};
    std::vector<std::uint8_t> Ink;  // empty: every pixel paints
    TPoint Origin;                  // device pixel where the tile's (0, 0) lies
    bool Null = false;              // a clear brush: paints nothing

    bool Solid() const { return Width == 1 && Height == 1 && Ink.empty(); }
    // count pixels of the row at device (x, y); ink (when not null) receives the mask.
    void Row(int x, int y, int count, std::uint32_t* out, std::uint8_t* ink) const;
};
TPatternTile BrushTile(const TDeviceContext& dc, const LOGBRUSH& brush);
TPatternTile SolidTile(std::uint32_t pixel);

// Applies a ROP3 with the pattern (no source) to a device rectangle, clipped.
void PatternFill(TDeviceContext& dc, const QRect& deviceRect, std::uint8_t rop, const TPatternTile& pattern);
// The same for one row span [x0, x1) of row y, already known to lie in the clip.
void PatternSpan(TDeviceContext& dc, int y, int x0, int x1, std::uint8_t rop, const TPatternTile& pattern);

// Calls fn for each clip rectangle that meets bounds (device coordinates), cut to bounds.
template <typename Fn>
void ForEachClipRect(const TDeviceContext& dc, const QRect& bounds, Fn fn)
{
    for (const QRect& r : dc.DeviceClip()) {
        const QRect part = r.intersected(bounds);
        if (!part.isEmpty())
            fn(part);
    }
}

// Copies srcRect of an image onto destRect (device coordinates), scaled by
// dropping or repeating pixels. Source pixels equal to key (compared before
// any mapping) leave the destination alone, or paint replacement there when
// one is given. A monochrome source paints in dest's text and background colours.
void KeyedTransfer(TDeviceContext& dest, const QRect& destRect, const QImage& source, bool sourceMonochrome,
                   const QRect& srcRect, std::uint32_t key, const TPatternTile* replacement);

// The selected font ready for drawing: the character extra applied as letter spacing.
struct TTextFont {
    QFont Font;
    TEXTMETRIC Metrics;
    int Escapement = 0;  // tenths of a degree; 0 for faces that do not rotate
    int Extra = 0;
};
TTextFont CurrentTextFont(TDeviceContext& dc);
// Advance width of a run, the character extra included after every character.
int TextRunWidth(const TTextFont& font, const QString& text);
// Draws a run whose cell's top-left corner lies at offset (in the run's own,
// rotated frame) from the device point anchor, rotated counter-clockwise by
// the font's escapement about anchor; clip is in device coordinates. With
// fillCell the cell is painted in the background colour first. dx, when
// given, holds each character's advance.
void PaintTextRun(TDeviceContext& dc, QPoint anchor, QPoint offset, const QString& text, const TTextFont& font,
                  const QRegion& clip, bool fillCell, const int* dx = nullptr);
