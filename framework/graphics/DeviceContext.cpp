#include "framework/graphics/DcInternal.h"

#include <algorithm>

namespace {

template <typename T>
T Exchange(T& field, T value)
{
    T previous = field;
    field = value;
    return previous;
}

// A palette or bitmap held by a context refuses deletion until released.
void Hold(HGDIOBJ object)
{
    if (object != nullptr)
        object->AddSelection();
}
void Release(HGDIOBJ object)
{
    if (object != nullptr)
        object->RemoveSelection();
}

QRect ToQRect(int left, int top, int right, int bottom)
{
    return QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                 QPoint(std::max(left, right) - 1, std::max(top, bottom) - 1));
}

int ClipResult(const TDeviceContext& dc)
{
    return RegionType(dc.DeviceClip());
}

// The region the selected clip starts from when there is none: everything.
QRegion WholeLogicalArea(const TDeviceContext& dc)
{
    const QRect everything(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);
    (void)dc;
    return QRegion(everything);
}

}  // namespace

TDeviceContext::TDeviceContext(TSurface* surface, bool memory)
    : TGdiObject(TGdiObjectKind::DeviceContext), Surface(surface), Memory(memory)
{
    SelectObject(this, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    SelectObject(this, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(this, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    State.Palette = DefaultPalette();
    Hold(State.Palette);
}

TDeviceContext::~TDeviceContext()
{
    Release(State.Palette);
    for (const TDcState& saved : Saved)
        Release(saved.Palette);
    Release(SelectedBitmap);
}

const QRegion& TDeviceContext::DeviceClip() const
{
    const QSize size = Surface->Size();
    if (!clipValid_ || size != clipImageSize_) {
        clipImageSize_ = size;
        QRect area(0, 0, size.width(), size.height());
        if (BaseClip)
            area = area.intersected(QRect(BaseClip->Left, BaseClip->Top, BaseClip->Width(), BaseClip->Height()));
        clip_ = QRegion(area);
        if (State.Clip)
            clip_ = clip_.intersected(State.Clip->translated(State.Origin.X, State.Origin.Y));
        clipValid_ = true;
    }
    return clip_;
}

const TResolvedFont& TDeviceContext::Font()
{
    if (!State.ResolvedFont)
        State.ResolvedFont = std::make_shared<const TResolvedFont>(ResolveFont(State.Font));
    return *State.ResolvedFont;
}

std::uint32_t TDeviceContext::DevicePixel(TColor color) const
{
    const TColor rgb = ColorToRGB(color) & 0xFFFFFFu;
    if (!Monochrome())
        return PixelFromRGB(rgb);
    if (rgb == 0xFFFFFFu)
        return 0xFFFFFFFFu;
    if (rgb == 0)
        return 0xFF000000u;
    // Any other colour is white only when it is the background colour.
    return rgb == (ColorToRGB(State.BkColor) & 0xFFFFFFu) ? 0xFFFFFFFFu : 0xFF000000u;
}

void TDeviceContext::Touched(const QRect& deviceRect)
{
    const QRect r = deviceRect.intersected(DeviceClip().boundingRect());
    if (!r.isEmpty())
        Surface->Changed(ToTRect(r));
}

// ---- Creation ------------------------------------------------------------------

HDC CreateSurfaceDC(TSurface* surface, TPoint origin, const TRect* baseClip)
{
    if (surface == nullptr)
        return nullptr;
    auto* dc = new TDeviceContext(surface, false);
    dc->State.Origin = origin;
    if (baseClip != nullptr)
        dc->BaseClip = *baseClip;
    return dc;
}

HDC CreateCompatibleDC(HDC reference)
{
    (void)reference;
    auto* dc = new TDeviceContext(DefaultBitmap(), true);
    dc->SelectedBitmap = DefaultBitmap();
    return dc;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
    const bool monochrome = dc != nullptr && dc->Monochrome();
    return CreateBitmap(width, height, 1, monochrome ? 1 : 32);
}

BOOL DeleteDC(HDC dc)
{
    if (dc == nullptr)
        return false;
    delete dc;
    return true;
}

TSurface* GetDCSurface(HDC dc)
{
    return dc != nullptr ? dc->Surface : nullptr;
}

void SetDCBaseClip(HDC dc, const TRect* baseClip)
{
    if (dc == nullptr)
        return;
    if (baseClip != nullptr)
        dc->BaseClip = *baseClip;
    else
        dc->BaseClip.reset();
    dc->ClipChanged();
}

int SaveDC(HDC dc)
{
    if (dc == nullptr)
        return 0;
    dc->Saved.push_back(dc->State);
    Hold(dc->State.Palette);
    return static_cast<int>(dc->Saved.size());
}

BOOL RestoreDC(HDC dc, int level)
{
    if (dc == nullptr || dc->Saved.empty())
        return false;
    const int depth = static_cast<int>(dc->Saved.size());
    const int target = level < 0 ? depth + 1 + level : level;
    if (target < 1 || target > depth)
        return false;
    while (static_cast<int>(dc->Saved.size()) > target) {
        Release(dc->Saved.back().Palette);
        dc->Saved.pop_back();
    }
    Release(dc->State.Palette);
    dc->State = std::move(dc->Saved.back());  // the saved hold passes to the state
    dc->Saved.pop_back();
    dc->ClipChanged();
    return true;
}

int GetDeviceCaps(HDC dc, int index)
{
    if (dc == nullptr)
        return 0;
    const QSize size = dc->Surface->Size();
    const int pixelsPerInch = DisplayPixelsPerInch();
    switch (index) {
    case HORZRES: return size.width();
    case VERTRES: return size.height();
    case HORZSIZE: return size.width() * 254 / (pixelsPerInch * 10);
    case VERTSIZE: return size.height() * 254 / (pixelsPerInch * 10);
    case BITSPIXEL: return dc->Surface->BitsPerPixel();
    case PLANES: return 1;
    case NUMCOLORS: return dc->Surface->BitsPerPixel() <= 8 ? 1 << dc->Surface->BitsPerPixel() : -1;
    case RASTERCAPS: return dc->Surface->BitsPerPixel() <= 8 ? RC_PALETTE : 0;
    case LOGPIXELSX:
    case LOGPIXELSY: return pixelsPerInch;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;
    case COLORRES: return 24;
    default: return 0;
    }
}

// ---- Attributes -----------------------------------------------------------------------

COLORREF SetTextColor(HDC dc, TColor color) { return dc ? Exchange(dc->State.TextColor, color) : CLR_INVALID; }
COLORREF GetTextColor(HDC dc) { return dc ? dc->State.TextColor : CLR_INVALID; }
COLORREF SetBkColor(HDC dc, TColor color) { return dc ? Exchange(dc->State.BkColor, color) : CLR_INVALID; }
COLORREF GetBkColor(HDC dc) { return dc ? dc->State.BkColor : CLR_INVALID; }

int SetBkMode(HDC dc, int mode)
{
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE))
        return 0;
    return Exchange(dc->State.BkMode, mode);
}
int GetBkMode(HDC dc) { return dc ? dc->State.BkMode : 0; }

int SetROP2(HDC dc, int rop2)
{
    if (dc == nullptr || rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return Exchange(dc->State.Rop2, rop2);
}
int GetROP2(HDC dc) { return dc ? dc->State.Rop2 : 0; }

int SetStretchBltMode(HDC dc, int mode)
{
    if (dc == nullptr || mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return Exchange(dc->State.StretchMode, mode);
}
int GetStretchBltMode(HDC dc) { return dc ? dc->State.StretchMode : 0; }

int SetTextCharacterExtra(HDC dc, int extra)
{
    if (dc == nullptr)
        return static_cast<int>(0x80000000u);
    return Exchange(dc->State.CharExtra, extra);
}
int GetTextCharacterExtra(HDC dc) { return dc ? dc->State.CharExtra : 0; }

BOOL SetBrushOrgEx(HDC dc, int x, int y, TPoint* previous)
{
    if (dc == nullptr)
        return false;
    if (previous != nullptr)
        *previous = dc->State.BrushOrigin;
    dc->State.BrushOrigin = {x, y};
    return true;
}

BOOL GetBrushOrgEx(HDC dc, TPoint* origin)
{
    if (dc == nullptr || origin == nullptr)
        return false;
    *origin = dc->State.BrushOrigin;
    return true;
}

UINT SetTextAlign(HDC dc, UINT align) { return dc ? Exchange(dc->State.TextAlign, align) : 0xFFFFFFFFu; }
UINT GetTextAlign(HDC dc) { return dc ? dc->State.TextAlign : 0xFFFFFFFFu; }

BOOL SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous)
{
    if (dc == nullptr)
        return false;
    if (previous != nullptr)
        *previous = dc->State.Origin;
    dc->State.Origin = {x, y};
    dc->ClipChanged();
    return true;
}

BOOL GetViewportOrgEx(HDC dc, TPoint* origin)
{
    if (dc == nullptr || origin == nullptr)
        return false;
    *origin = dc->State.Origin;
    return true;
}

BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous)
{
    if (dc == nullptr)
        return false;
    return SetViewportOrgEx(dc, dc->State.Origin.X + dx, dc->State.Origin.Y + dy, previous);
}

// ---- Objects -----------------------------------------------------------------------------

HFONT SelectObject(HDC dc, HFONT font)
{
    if (dc == nullptr || font == nullptr)
        return nullptr;
    auto* previous = static_cast<HFONT>(dc->State.FontObject);
    dc->State.Font = font->Description();
    dc->State.ResolvedFont = font->ResolvedIfReady();
    dc->State.FontObject = font;
    return previous;
}

HBRUSH SelectObject(HDC dc, HBRUSH brush)
{
    if (dc == nullptr || brush == nullptr)
        return nullptr;
    auto* previous = static_cast<HBRUSH>(dc->State.BrushObject);
    dc->State.Brush = brush->Brush;
    dc->State.BrushObject = brush;
    return previous;
}

HPEN SelectObject(HDC dc, HPEN pen)
{
    if (dc == nullptr || pen == nullptr)
        return nullptr;
    auto* previous = static_cast<HPEN>(dc->State.PenObject);
    dc->State.Pen = pen->Pen;
    dc->State.PenObject = pen;
    return previous;
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap)
{
    if (dc == nullptr || bitmap == nullptr || !dc->Memory)
        return nullptr;
    // A bitmap lives in one memory context at a time.
    if (bitmap != dc->SelectedBitmap && bitmap->SelectionCount() > 0 && !bitmap->IsStock())
        return nullptr;
    HBITMAP previous = dc->SelectedBitmap;
    Hold(bitmap);
    Release(previous);
    dc->SelectedBitmap = bitmap;
    dc->Surface = bitmap;
    dc->ClipChanged();
    return previous;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    if (dc == nullptr || object == nullptr)
        return nullptr;
    switch (object->Kind()) {
    case TGdiObjectKind::Font: return SelectObject(dc, static_cast<HFONT>(object));
    case TGdiObjectKind::Brush: return SelectObject(dc, static_cast<HBRUSH>(object));
    case TGdiObjectKind::Pen: return SelectObject(dc, static_cast<HPEN>(object));
    case TGdiObjectKind::Bitmap: return SelectObject(dc, static_cast<HBITMAP>(object));
    default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC dc, TGdiObjectKind kind)
{
    if (dc == nullptr)
        return nullptr;
    switch (kind) {
    case TGdiObjectKind::Font: return dc->State.FontObject;
    case TGdiObjectKind::Brush: return dc->State.BrushObject;
    case TGdiObjectKind::Pen: return dc->State.PenObject;
    case TGdiObjectKind::Bitmap: return dc->SelectedBitmap;
    case TGdiObjectKind::Palette: return dc->State.Palette;
    default: return nullptr;
    }
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground)
{
    (void)forceBackground;
    if (dc == nullptr || palette == nullptr)
        return nullptr;
    HPALETTE previous = dc->State.Palette;
    Hold(palette);
    Release(previous);
    dc->State.Palette = palette;
    return previous;
}

UINT RealizePalette(HDC dc)
{
    (void)dc;
    return 0;
}

// ---- Clipping -----------------------------------------------------------------------

int SelectClipRgn(HDC dc, HRGN region)
{
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC dc, HRGN region, int mode)
{
    if (dc == nullptr)
        return ERROR_REGION;
    if (region == nullptr) {
        if (mode != RGN_COPY)
            return ERROR_REGION;
        dc->State.Clip.reset();
    } else {
        const QRegion current = dc->State.Clip ? *dc->State.Clip : WholeLogicalArea(*dc);
        switch (mode) {
        case RGN_COPY: dc->State.Clip = region->Region; break;
        case RGN_AND: dc->State.Clip = current.intersected(region->Region); break;
        case RGN_OR: dc->State.Clip = current.united(region->Region); break;
        case RGN_XOR: dc->State.Clip = current.xored(region->Region); break;
        case RGN_DIFF: dc->State.Clip = current.subtracted(region->Region); break;
        default: return ERROR_REGION;
        }
    }
    dc->ClipChanged();
    return ClipResult(*dc);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom)
{
    if (dc == nullptr)
        return ERROR_REGION;
    const QRegion current = dc->State.Clip ? *dc->State.Clip : WholeLogicalArea(*dc);
    dc->State.Clip = current.intersected(ToQRect(left, top, right, bottom));
    dc->ClipChanged();
    return ClipResult(*dc);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom)
{
    if (dc == nullptr)
        return ERROR_REGION;
    const QRegion current = dc->State.Clip ? *dc->State.Clip : WholeLogicalArea(*dc);
    dc->State.Clip = current.subtracted(ToQRect(left, top, right, bottom));
    dc->ClipChanged();
    return ClipResult(*dc);
}

int OffsetClipRgn(HDC dc, int dx, int dy)
{
    if (dc == nullptr)
        return ERROR_REGION;
    if (dc->State.Clip) {
        dc->State.Clip->translate(dx, dy);
        dc->ClipChanged();
    }
    return ClipResult(*dc);
}

int GetClipBox(HDC dc, TRect* box)
{
    if (dc == nullptr || box == nullptr)
        return ERROR_REGION;
    const QRegion& clip = dc->DeviceClip();
    if (clip.isEmpty()) {
        *box = TRect{};
        return NULLREGION;
    }
    const QRect r = clip.boundingRect();
    *box = ToTRect(r.translated(-dc->State.Origin.X, -dc->State.Origin.Y));
    return RegionType(clip);
}

int GetClipRgn(HDC dc, HRGN region)
{
    if (dc == nullptr || region == nullptr)
        return -1;
    if (!dc->State.Clip)
        return 0;
    region->Region = *dc->State.Clip;
    return 1;
}

BOOL PtVisible(HDC dc, int x, int y)
{
    return dc != nullptr && dc->DeviceClip().contains(dc->ToDevice(x, y));
}

int LiveDeviceContexts()
{
    return TGdiObject::LiveCount(TGdiObjectKind::DeviceContext);
}
