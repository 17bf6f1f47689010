// The canvas: a device context with its own font, brush and pen, drawn
// through in the classic way. A tool is selected into the context before an
// operation that uses it (and by Handle()), and only after it changed or the
// handle did, so colours set on the context directly (SetBkColor,
// SetTextColor) after Handle() stay until a tool changes. Selecting the font
// sets the text colour to the font colour; selecting a solid (or pattern)
// brush sets the background colour to the brush colour and the mode OPAQUE,
// a hatched or clear one its complement and TRANSPARENT; selecting the pen
// sets the ROP2 of its mode.
#pragma once

#include "framework/runtime/Classes.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/graphics/Fonts.h"
#include "framework/graphics/PenAndBrush.h"
#include "framework/runtime/sysutils.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

class TBitmap;

using TCopyMode = TRop3;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// Raised when a canvas without a device context is asked to draw.
class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The device context with the font, brush and pen selected, ready for
    // direct calls (DrawText, SetBkColor, ...). A canvas that has none asks
    // CreateHandle for one and raises EInvalidOperation "Canvas does not allow
    // drawing" when it still has none.
    HDC Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Binds the canvas to a context it does not own (a painter binds a window
    // context for the duration of a paint), or detaches it with null.
    void SetHandle(HDC dc);

    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(const TBrush* brush) { brush_->Assign(brush); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(const TPen* pen) { pen_->Assign(pen); }

    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
    TPoint PenPos();
    void SetPenPos(TPoint pos) { MoveTo(pos.X, pos.Y); }
    // The clip box in logical coordinates.
    TRect ClipRect();

    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    void TextOut(int x, int y, std::string_view text);
    // Text at (x, y) clipped to rect, on the brush colour unless the brush is clear.
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // The bitmap at (x, y); transparent when the bitmap is Transparent.
    void Draw(int x, int y, TBitmap& bitmap);
    void StretchDraw(const TRect& rect, TBitmap& bitmap);
    // Copies source's rectangle through CopyMode, scaled when the sizes differ.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);
    // Copies the bitmap's rectangle, painting the brush where it had color.
    void BrushCopy(const TRect& dest, TBitmap& bitmap, const TRect& source, TColor color);
    void DrawFocusRect(const TRect& rect);

    // Forgets which tools are selected, so the next operation selects them anew.
    void Refresh();

    void Assign(const TPersistent* source) override;

    // Raised around every drawing operation.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    // Supplies a context when the canvas has none (a control's canvas fetches its window's).
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();

    enum TCanvasTool { ctFont, ctBrush, ctPen };
    // Ensures a context and selects the tools that are not yet selected.
    HDC RequireState(Set<TCanvasTool> tools);

private:
    HDC EnsureHandle();
    void SelectFont();
    void SelectBrush();
    void SelectPen();

    HDC handle_ = nullptr;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    Set<TCanvasTool> selected_;
    TCopyMode copyMode_ = cmSrcCopy;
    HGDIOBJ savedFont_ = nullptr;
    HGDIOBJ savedBrush_ = nullptr;
    HGDIOBJ savedPen_ = nullptr;
};

// Bevel helper: width nested one-pixel frames, the top and left sides in
// topColor, the bottom and right ones (with the top-right and bottom-left
// corners) in bottomColor; rect shrinks by width on every side.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
