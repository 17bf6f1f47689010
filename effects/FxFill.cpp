#include "effects/FxFill.h"

#include "effects/FxDisplay.h"

#include <optional>

// ---------------------------------------------------------------------------
// TFxShapeFill

TFxShapeFill::TFxShapeFill()
    : bitmap_(std::make_unique<TBitmap>()), listBitmap_(std::make_unique<TBitmap>()),
      gradient_(std::make_unique<TFxGradient>())
{
    WireSubObject(*this, *bitmap_);
    WireSubObject(*this, *gradient_);
}

TFxShapeFill::~TFxShapeFill()
{
    UnwireSubObject(*bitmap_);
    UnwireSubObject(*gradient_);
}

bool TFxShapeFill::IsEmptyFill() const
{
    switch (style_) {
    case sfNone: return true;
    case sfBitmap: return bitmap_->Empty();
    case sfBitmapList: return listBitmap_->Empty();
    default: return false;
    }
}

void TFxShapeFill::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TFxShapeFill*>(source);
    if (other == nullptr) {
        TFxObject::Assign(source);
        return;
    }
    BeginUpdate();
    bitmap_->Assign(other->bitmap_.get());
    listBitmap_->Assign(other->listBitmap_.get());
    gradient_->Assign(other->gradient_.get());
    SetStyle(other->style_);
    SetTileMode(other->tileMode_);
    EndUpdate(true);
}

// ---------------------------------------------------------------------------
// TFxFillObject

TFxFillObject::TFxFillObject() : brush_(std::make_unique<TBrush>())
{
    WireSubObject(*this, *brush_);
    BeginUpdate();
    SetStyle(sfNone);
    EndUpdate(false);
}

TFxFillObject::~TFxFillObject()
{
    UnwireSubObject(*brush_);
}

bool TFxFillObject::PlacementShows() const
{
    return (Style() == sfBitmap || Style() == sfBitmapList) && TileMode() == tmNone;
}

void TFxFillObject::SetAlignment(TFxAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    if (PlacementShows())
        Change();
}

void TFxFillObject::SetPlacement(int& field, int value)
{
    if (value == field)
        return;
    field = value;
    if (PlacementShows())
        Change();
}

void TFxFillObject::SetOffsetX(int offset)
{
    SetPlacement(offsetX_, offset);
}

void TFxFillObject::SetOffsetY(int offset)
{
    SetPlacement(offsetY_, offset);
}

void TFxFillObject::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TFxFillObject*>(source);
    if (other == nullptr) {
        TFxShapeFill::Assign(source);
        return;
    }
    BeginUpdate();
    brush_->Assign(other->brush_.get());
    SetOptions(other->options_);
    TFxShapeFill::Assign(other);  // ends the update with one notice
}

void TFxFillObject::FillBackground(TCanvas* canvas, const TRect& rect, TColor background) const
{
    if (!options_.Contains(foFillInner))
        return;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(background);
    canvas->FillRect(rect);
}

bool TFxFillObject::PaintPicture(TCanvas* canvas, const TRect& rect, TColor background, TBitmap& picture)
{
    if (picture.Empty()) {
        FillBackground(canvas, rect, background);
        return false;
    }
    const WORD palette = options_.Contains(foQuickDraw) ? 0 : gfPalette;
    std::optional<TFxPaletteSelection> pictureColours;
    if (palette != 0 && PaletteUseAllowed())
        pictureColours.emplace(canvas->Handle(), picture.Palette());

    const TRect whole = Rect(0, 0, picture.Width(), picture.Height());
    switch (TileMode()) {
    case tmNone: {
        FillBackground(canvas, rect, background);
        const TRect placed = OffsetRect(AlignRectIn(alignment_, whole, rect), offsetX_, offsetY_);
        // Only the part inside the rectangle is drawn.
        const TRect shown = IntersectRect(placed, rect);
        if (!shown.IsEmpty())
            DrawPicture(canvas, shown, picture, nullptr, clNone, palette,
                        OffsetRect(shown, -placed.Left, -placed.Top));
        break;
    }
    case tmCenter:
        FillBackground(canvas, rect, background);
        DrawPicture(canvas, rect, picture, nullptr, clNone, palette | dpCenter, whole);
        break;
    case tmStretch:
        DrawPicture(canvas, rect, picture, nullptr, clNone, palette | dpStretch, whole);
        break;
    case tmTile:
        DrawPicture(canvas, rect, picture, nullptr, clNone, palette | dpTile, whole);
        break;
    }
    return true;
}

bool TFxFillObject::PaintFill(TCanvas* canvas, const TRect& rect, TColor background)
{
    if (canvas == nullptr)
        return false;
    switch (Style()) {
    case sfNone:
        return false;
    case sfBrushBitmap:
        canvas->Brush()->SetBitmap(Bitmap());
        canvas->FillRect(rect);
        canvas->Brush()->SetBitmap(nullptr);
        return true;
    case sfBrush: {
        canvas->SetBrush(brush_.get());
        canvas->Pen()->SetColor(background);
        if (brush_->Style() != bsSolid) {
            // Hatch gaps show the background colour.
            const HDC dc = canvas->Handle();
            SetBkColor(dc, ColorToRGB(background));
            SetBkMode(dc, OPAQUE);
        }
        canvas->FillRect(rect);
        return true;
    }
    case sfGradient: {
        const WORD flags = (options_.Contains(foGrUseBitmap) ? gfUseBitmap : 0) |
                           (Gradient()->PaletteRealize() ? gfPalette : 0);
        FillGradientRect(canvas, rect, Gradient()->Style(), &Gradient()->BandColors(), Gradient()->PaletteHandle(),
                         flags, 0);
        return true;
    }
    case sfBitmap:
        return PaintPicture(canvas, rect, background, *Bitmap());
    case sfBitmapList:
        return PaintPicture(canvas, rect, background, *ListBitmap());
    }
    return false;
}
