// Buttons with glyphs: the bitmap push button TBitBtn and the flat speed button
// TSpeedButton, which a subclass extends through its virtual MouseDown,
// MouseMove, MouseUp, Click and Paint (an auto-repeat button adds a TTimer).
#pragma once

#include "framework/graphics/Bitmap.h"
#include "framework/controls/StdCtrls.h"

#include <memory>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// A button's look: up, disabled, held down, latched down (the glyph images in that order).
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

// Where a glyph and a caption go on a button face (client: the face's rectangle).
struct TButtonLayoutResult {
    TPoint GlyphPos;
    TRect TextBounds;
};
TButtonLayoutResult CalcButtonLayout(const TRect& client, TSize glyphSize, TSize textSize, TButtonLayout layout,
                                     int margin, int spacing);

// A glyph bitmap holding NumGlyphs images side by side (up, disabled, down,
// exclusive), drawn transparently (its bottom-left pixel's colour). With one
// image, the disabled look is made from it (engraved in shadow and highlight).
class TButtonGlyph {
public:
    TButtonGlyph();
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(const TBitmap* glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    // How glyph and caption share the face: the glyph's side, its distance
    // from the edge (-1 centres both together), the pixels between them.
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout) { layout_ = layout; }
    int Margin() const { return margin_; }
    void SetMargin(int margin) { margin_ = margin; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing) { spacing_ = spacing; }
    TSize ImageSize() const;
    void DrawImage(TCanvas* canvas, TPoint at, TButtonState state) const;
    // Glyph and caption on a face; offset moves both (a pushed button).
    void Draw(TCanvas* canvas, const TRect& client, TPoint offset, const std::string& caption, TButtonState state,
              const TFont* font) const;

private:
    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

// The stock glyph of a kind ("BBOK" for bkOK, "BBHELP" for bkHelp), 18 x 18
// with a second, greyed image; empty for kinds without one.
std::unique_ptr<TBitmap> StockGlyph(TBitBtnKind kind);

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);

    TBitmap* Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap* glyph);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int count);
    // A stock kind loads its glyph (two images).
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind kind);
    TButtonLayout Layout() const { return glyph_.Layout(); }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return glyph_.Margin(); }
    void SetMargin(int margin);
    int Spacing() const { return glyph_.Spacing(); }
    void SetSpacing(int spacing);

protected:
    void PaintContent(TCanvas* canvas, const TRect& rect, bool down) override;

private:
    TButtonGlyph glyph_;
    TBitBtnKind kind_ = bkCustom;
};

// A windowless push button: pressed, it holds the mouse capture and draws
// itself down while the pointer is inside; released inside, it clicks.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    TAccessibleRole AccessibleRole() const override { return arButton; }

    TBitmap* Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const TBitmap* glyph);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int count);
    // Flat: no frame until pressed.
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    TButtonLayout Layout() const { return glyph_.Layout(); }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return glyph_.Margin(); }
    void SetMargin(int margin);
    int Spacing() const { return glyph_.Spacing(); }
    void SetSpacing(int spacing);

    // The look now: bsDown while pressed with the pointer inside.
    TButtonState State() const { return state_; }
    // A press is in progress (between the left press and its release).
    bool Dragging() const { return dragging_; }

    void Click() override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    void EnabledChanged() override;
    // Sets the look and repaints when it changes.
    void SetState(TButtonState state);

private:
    TButtonGlyph glyph_;
    bool flat_ = false;
    TButtonState state_ = bsUp;
    bool dragging_ = false;
};
