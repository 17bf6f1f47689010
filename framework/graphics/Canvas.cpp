#include "framework/graphics/Canvas.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/DcInternal.h"

#include <vector>

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>())
{
    font_->OnChange = [this](TObject*) { selected_.Exclude(ctFont); };
    brush_->OnChange = [this](TObject*) { selected_.Exclude(ctBrush); };
    pen_->OnChange = [this](TObject*) { selected_.Exclude(ctPen); };
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
    font_->OnChange = nullptr;
    brush_->OnChange = nullptr;
    pen_->OnChange = nullptr;
}

HDC TCanvas::Handle()
{
    return RequireState({ctFont, ctBrush, ctPen});
}

HDC TCanvas::EnsureHandle()
{
    if (handle_ == nullptr)
        CreateHandle();
    if (handle_ == nullptr)
        throw EInvalidOperation("Canvas does not allow drawing");
    return handle_;
}

void TCanvas::SetHandle(HDC dc)
{
    if (dc == handle_)
        return;
    Refresh();
    handle_ = dc;
}

void TCanvas::Refresh()
{
    // Give the context back the objects it had before this canvas selected its own.
    if (handle_ != nullptr) {
        if (savedFont_ != nullptr)
            SelectObject(handle_, savedFont_);
        if (savedBrush_ != nullptr)
            SelectObject(handle_, savedBrush_);
        if (savedPen_ != nullptr)
            SelectObject(handle_, savedPen_);
    }
    savedFont_ = savedBrush_ = savedPen_ = nullptr;
    selected_ = {};
}

HDC TCanvas::RequireState(Set<TCanvasTool> tools)
{
    EnsureHandle();
    if (tools.Contains(ctFont) && !selected_.Contains(ctFont))
        SelectFont();
    if (tools.Contains(ctBrush) && !selected_.Contains(ctBrush))
        SelectBrush();
    if (tools.Contains(ctPen) && !selected_.Contains(ctPen))
        SelectPen();
    return handle_;
}

void TCanvas::SelectFont()
{
    HGDIOBJ previous = SelectObject(handle_, font_->Handle());
    if (savedFont_ == nullptr)
        savedFont_ = previous;
    SetTextColor(handle_, ColorToRGB(font_->Color()));
    selected_.Include(ctFont);
}

void TCanvas::SelectBrush()
{
    HGDIOBJ previous = SelectObject(handle_, brush_->Handle());
    if (savedBrush_ == nullptr)
        savedBrush_ = previous;
    if (brush_->Style() == bsSolid) {
        SetBkColor(handle_, ColorToRGB(brush_->Color()));
        SetBkMode(handle_, OPAQUE);
    } else {
        // Hatched and clear brushes paint no background; the complement keeps
        // a hatch visible even where something does use the background colour.
        SetBkColor(handle_, ~ColorToRGB(brush_->Color()) & 0xFFFFFFu);
        SetBkMode(handle_, TRANSPARENT);
    }
    selected_.Include(ctBrush);
}

void TCanvas::SelectPen()
{
    HGDIOBJ previous = SelectObject(handle_, pen_->Handle());
    if (savedPen_ == nullptr)
        savedPen_ = previous;
    SetROP2(handle_, PenModeToRop2(pen_->Mode()));
    selected_.Include(ctPen);
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

TPoint TCanvas::PenPos()
{
    return GetCurrentPosition(EnsureHandle());
}

TRect TCanvas::ClipRect()
{
    TRect box;
    GetClipBox(EnsureHandle(), &box);
    return box;
}

TColor TCanvas::Pixels(int x, int y)
{
    return GetPixel(EnsureHandle(), x, y);
}

void TCanvas::SetPixels(int x, int y, TColor color)
{
    Changing();
    SetPixel(RequireState({ctPen}), x, y, ColorToRGB(color));
    Changed();
}

void TCanvas::FillRect(const TRect& rect)
{
    Changing();
    ::FillRect(RequireState({ctBrush}), rect, brush_->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect)
{
    Changing();
    ::FrameRect(RequireState({ctBrush}), rect, brush_->Handle());
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    Changing();
    ::Rectangle(RequireState({ctPen, ctBrush}), left, top, right, bottom);
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    Changing();
    ::Ellipse(RequireState({ctPen, ctBrush}), left, top, right, bottom);
    Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    Changing();
    ::RoundRect(RequireState({ctPen, ctBrush}), left, top, right, bottom, ellipseWidth, ellipseHeight);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    Changing();
    ::Polygon(RequireState({ctPen, ctBrush}), points);
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    Changing();
    ::Polyline(RequireState({ctPen, ctBrush}), points);
    Changed();
}

void TCanvas::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd)
{
    Changing();
    ::Arc(RequireState({ctPen, ctBrush}), left, top, right, bottom, xStart, yStart, xEnd, yEnd);
    Changed();
}

void TCanvas::MoveTo(int x, int y)
{
    MoveToEx(EnsureHandle(), x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    Changing();
    ::LineTo(RequireState({ctPen, ctBrush}), x, y);
    Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text)
{
    Changing();
    HDC dc = RequireState({ctFont, ctBrush});
    ::ExtTextOut(dc, x, y, 0, nullptr, text);
    TSize extent;
    GetTextExtentPoint32(dc, text, &extent);
    MoveToEx(dc, x + extent.cx, y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text)
{
    Changing();
    HDC dc = RequireState({ctFont, ctBrush});
    const UINT options = ETO_CLIPPED | (brush_->Style() != bsClear ? ETO_OPAQUE : 0u);
    ::ExtTextOut(dc, x, y, options, &rect, text);
    Changed();
}

TSize TCanvas::TextExtent(std::string_view text)
{
    TSize extent;
    GetTextExtentPoint32(RequireState({ctFont}), text, &extent);
    return extent;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap)
{
    if (bitmap.Empty())
        return;
    bitmap.Draw(this, Bounds(x, y, bitmap.Width(), bitmap.Height()));
}

void TCanvas::StretchDraw(const TRect& rect, TBitmap& bitmap)
{
    if (bitmap.Empty())
        return;
    bitmap.Draw(this, rect);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect)
{
    Changing();
    HDC dc = RequireState({ctFont, ctBrush});
    HDC sourceDc = source.RequireState({ctBrush});
    StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), sourceDc, sourceRect.Left, sourceRect.Top,
               sourceRect.Width(), sourceRect.Height(), copyMode_);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color)
{
    if (bitmap.Empty() || dest.IsEmpty() || source.IsEmpty())
        return;
    Changing();
    HDC dc = RequireState({ctBrush});
    const TPatternTile brush = BrushTile(*dc, dc->State.Brush);
    const std::uint32_t key = PixelFromRGB(ColorToRGB(color) & 0xFFFFFFu);
    KeyedTransfer(*dc, dc->ToDevice(dest), bitmap.Image(), bitmap.Monochrome(),
                  QRect(source.Left, source.Top, source.Width(), source.Height()), key, &brush);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect)
{
    Changing();
    ::DrawFocusRect(EnsureHandle(), rect);
    Changed();
}

void TCanvas::Assign(const TPersistent* source)
{
    TPersistent::Assign(source);
}

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    --rect.Bottom;
    --rect.Right;
    for (; width > 0; --width) {
        // top-left: up the left side, then along the top
        const std::vector<TPoint> topLeft = {{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
        canvas->Pen()->SetColor(topColor);
        canvas->Polyline(topLeft);
        // bottom-right: down the right side, then back along the bottom
        const std::vector<TPoint> bottomRight = {
            {rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
        canvas->Pen()->SetColor(bottomColor);
        canvas->Polyline(bottomRight);
        rect = InflateRect(rect, -1, -1);
    }
    ++rect.Bottom;
    ++rect.Right;
}
