#include "framework/controls/Buttons.h"

#include "framework/graphics/DcGuards.h"

#include <QImage>

// ---------------------------------------------------------------------------
// Layout of glyph and caption

TButtonLayoutResult CalcButtonLayout(const TRect& client, TSize glyphSize, TSize textSize, TButtonLayout layout,
                                     int margin, int spacing)
{
    const int width = client.Width();
    const int height = client.Height();
    // The space between only counts when there are both a glyph and a text.
    const bool both = glyphSize.cx > 0 && textSize.cx > 0;
    const int gap = both ? spacing : 0;
    TPoint glyph;
    TPoint text;
    if (layout == blGlyphLeft || layout == blGlyphRight) {
        const int total = glyphSize.cx + gap + textSize.cx;
        const int edge = margin < 0 ? (width - total) / 2 : margin;
        glyph.Y = (height - glyphSize.cy + 1) / 2;
        text.Y = (height - textSize.cy + 1) / 2;
        if (layout == blGlyphLeft) {
            glyph.X = edge;
            text.X = glyph.X + glyphSize.cx + gap;
        } else {
            glyph.X = width - edge - glyphSize.cx;
            text.X = glyph.X - gap - textSize.cx;
        }
    } else {
        const int total = glyphSize.cy + gap + textSize.cy;
        const int edge = margin < 0 ? (height - total) / 2 : margin;
        glyph.X = (width - glyphSize.cx + 1) / 2;
        text.X = (width - textSize.cx + 1) / 2;
        if (layout == blGlyphTop) {
            glyph.Y = edge;
            text.Y = glyph.Y + glyphSize.cy + gap;
        } else {
            glyph.Y = height - edge - glyphSize.cy;
            text.Y = glyph.Y - gap - textSize.cy;
        }
    }
    return {{glyph.X + client.Left, glyph.Y + client.Top},
            Bounds(text.X + client.Left, text.Y + client.Top, textSize.cx, textSize.cy)};
}

// ---------------------------------------------------------------------------
// TButtonGlyph

TButtonGlyph::TButtonGlyph() : glyph_(std::make_unique<TBitmap>())
{
}

void TButtonGlyph::SetGlyph(const TBitmap* glyph)
{
    if (glyph == nullptr) {
        glyph_ = std::make_unique<TBitmap>();
        return;
    }
    glyph_->Assign(glyph);
    // A glyph that holds several square images says how many.
    if (glyph_->Height() > 0 && glyph_->Width() % glyph_->Height() == 0) {
        const int count = glyph_->Width() / glyph_->Height();
        if (count >= 1 && count <= 4)
            numGlyphs_ = count;
    }
}

void TButtonGlyph::SetNumGlyphs(int count)
{
    numGlyphs_ = std::clamp(count, 1, 4);
}

TSize TButtonGlyph::ImageSize() const
{
    if (glyph_->Empty())
        return {};
    return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

void TButtonGlyph::DrawImage(TCanvas* canvas, TPoint at, TButtonState state) const
{
    const TSize size = ImageSize();
    if (size.cx == 0 || size.cy == 0)
        return;
    const QImage& source = glyph_->Image();
    const QRgb transparent = ColorToQRgb(glyph_->TransparentColor()) | 0xFF000000u;
    int index = static_cast<int>(state);
    QImage image;
    if (index < numGlyphs_) {
        image = source.copy(index * size.cx, 0, size.cx, size.cy);
    } else if (state == bsDisabled) {
        // Engrave the only image: highlight one pixel down-right, shadow on the shape.
        const QImage up = source.copy(0, 0, size.cx, size.cy);
        image = QImage(size.cx, size.cy, QImage::Format_RGB32);
        image.fill(transparent);
        const QRgb highlight = ColorToQRgb(clBtnHighlight) | 0xFF000000u;
        const QRgb shadow = ColorToQRgb(clBtnShadow) | 0xFF000000u;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                if ((up.pixel(x, y) | 0xFF000000u) != transparent && x + 1 < size.cx && y + 1 < size.cy)
                    image.setPixel(x + 1, y + 1, highlight);
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                if ((up.pixel(x, y) | 0xFF000000u) != transparent)
                    image.setPixel(x, y, shadow);
    } else {
        image = source.copy(0, 0, size.cx, size.cy);
    }
    TBitmap part;
    part.LoadFromImage(image);
    part.SetTransparentColor(glyph_->TransparentColor());
    part.SetTransparent(true);
    canvas->Draw(at.X, at.Y, part);
}

void TButtonGlyph::Draw(TCanvas* canvas, const TRect& client, TPoint offset, const std::string& caption,
                        TButtonState state, const TFont* font) const
{
    const HDC dc = canvas->Handle();
    TSize textSize;
    if (!caption.empty()) {
        TRect measured = Rect(0, 0, client.Width(), 0);
        TSavedDCState saved(dc);
        SelectObject(dc, font->Handle());
        DrawText(dc, caption, measured, DT_CALCRECT | DT_SINGLELINE);
        textSize = {measured.Width(), measured.Height()};
    }
    const TButtonLayoutResult result =
        CalcButtonLayout(OffsetRect(client, offset.X, offset.Y), ImageSize(), textSize, layout_, margin_, spacing_);
    DrawImage(canvas, result.GlyphPos, state);
    if (!caption.empty())
        DrawCaption(dc, caption, result.TextBounds, DT_CENTER | DT_VCENTER | DT_SINGLELINE, font, state != bsDisabled);
}

std::unique_ptr<TBitmap> StockGlyph(TBitBtnKind kind)
{
    const char* name = nullptr;
    switch (kind) {
    case bkOK:
        name = "BBOK";
        break;
    case bkHelp:
        name = "BBHELP";
        break;
    default:
        return nullptr;
    }
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(name);
    return bitmap;
}

// ---------------------------------------------------------------------------
// TBitBtn

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner)
{
}

void TBitBtn::SetGlyph(const TBitmap* glyph)
{
    glyph_.SetGlyph(glyph);
    kind_ = bkCustom;
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int count)
{
    glyph_.SetNumGlyphs(count);
    Invalidate();
}

void TBitBtn::SetKind(TBitBtnKind kind)
{
    kind_ = kind;
    if (std::unique_ptr<TBitmap> stock = StockGlyph(kind)) {
        glyph_.SetGlyph(stock.get());
        glyph_.SetNumGlyphs(2);
    }
    if (kind == bkOK)
        SetDefault(true);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout layout)
{
    glyph_.SetLayout(layout);
    Invalidate();
}

void TBitBtn::SetMargin(int margin)
{
    glyph_.SetMargin(margin);
    Invalidate();
}

void TBitBtn::SetSpacing(int spacing)
{
    glyph_.SetSpacing(spacing);
    Invalidate();
}

void TBitBtn::PaintContent(TCanvas* canvas, const TRect& rect, bool down)
{
    const TButtonState state = !Enabled() ? bsDisabled : down ? bsDown : bsUp;
    glyph_.Draw(canvas, rect, {0, 0}, Caption(), state, Font());
}

// ---------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
    ControlStyle = {csCaptureMouse, csDoubleClicks};
    SetBounds(0, 0, 23, 22);
    SetParentFont(true);
}

void TSpeedButton::SetGlyph(const TBitmap* glyph)
{
    glyph_.SetGlyph(glyph);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int count)
{
    glyph_.SetNumGlyphs(count);
    Invalidate();
}

void TSpeedButton::SetFlat(bool flat)
{
    flat_ = flat;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout layout)
{
    glyph_.SetLayout(layout);
    Invalidate();
}

void TSpeedButton::SetMargin(int margin)
{
    glyph_.SetMargin(margin);
    Invalidate();
}

void TSpeedButton::SetSpacing(int spacing)
{
    glyph_.SetSpacing(spacing);
    Invalidate();
}

void TSpeedButton::SetState(TButtonState state)
{
    if (state == state_)
        return;
    state_ = state;
    Invalidate();
}

void TSpeedButton::Click()
{
    TGraphicControl::Click();
}

void TSpeedButton::EnabledChanged()
{
    if (!Enabled()) {
        dragging_ = false;
        state_ = bsUp;
    }
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button == mbLeft && Enabled()) {
        SetState(bsDown);
        dragging_ = true;
    }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y)
{
    TGraphicControl::MouseMove(shift, x, y);
    if (dragging_)
        SetState(ClientRect().Contains({x, y}) ? bsDown : bsUp);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!dragging_ || button != mbLeft)
        return;
    dragging_ = false;
    const bool inside = ClientRect().Contains({x, y});
    SetState(bsUp);
    if (inside)
        Click();
}

//  up:   outer highlight / dark shadow, inner light / shadow, face
//  down: outer dark shadow / highlight, inner shadow / light, glyph one pixel right and down
void TSpeedButton::Paint()
{
    TCanvas* canvas = ControlCanvas();
    const bool down = state_ == bsDown || state_ == bsExclusive;
    TRect face = ClientRect();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(face);
    if (!flat_ || down) {
        if (down) {
            Frame3D(canvas, face, cl3DDkShadow, clBtnHighlight, 1); // outer
            Frame3D(canvas, face, clBtnShadow, cl3DLight, 1);       // inner
        } else {
            Frame3D(canvas, face, clBtnHighlight, cl3DDkShadow, 1); // outer
            Frame3D(canvas, face, cl3DLight, clBtnShadow, 1);       // inner
        }
    } else {
        face = InflateRect(face, -2, -2);
    }
    const TButtonState drawState = Enabled() ? state_ : bsDisabled;
    const TPoint offset = down ? TPoint{1, 1} : TPoint{0, 0};
    glyph_.Draw(canvas, face, offset, Caption(), drawState, Font());
}
