// The caption styler: repaints its form's caption bar as a horizontal
// gradient from black to the caption colour, puts the window icon back on top
// and draws the caption text over it, after every non-client paint and every
// activation change.
#pragma once

#include "effects/FxCaption.h"
#include "effects/FxCaptionRects.h"

#include "services/FxWndProc.h"

#include "framework/controls/Controls.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Fonts.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

enum TFxPaintMode { pcNone, pcControl, pcOwnerDraw };

enum TFxFormStyleOption {
    fsAdjustRect,        // owner-drawn: the painted area starts after the icon
    fsUseDefaultFont,    // the system's bold caption font instead of Font and Font3D
    fsUseFontColor,      // the active caption keeps Font's colour
    fsInactiveGradient,  // the gradient also while the form is inactive
    fsDrawCaptionEvent,  // the caption text is left to OnCaptionPaint
    fsUseFormCaption,    // the text is the form's caption at every paint
};
using TFxFormStyleOptions = Set<TFxFormStyleOption>;

// Owner-drawn caption parts: the styler, the canvas on the window and the part's rectangle.
using TFxPaintEvent = std::function<void(TObject* sender, TCanvas* aCanvas, const TRect& dest)>;

// Gradient bands: 2..236.
using TFxCaptionColorCount = std::uint8_t;

class TFxFormStyler : public TFxWndProcComponent {
public:
    explicit TFxFormStyler(TComponent* owner);
    ~TFxFormStyler() override;

    using TFxWndProcComponent::Enabled;
    using TFxWndProcComponent::SetEnabled;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // Values outside 2..236 are brought into that range.
    TFxCaptionColorCount Colors() const { return colors_; }
    void SetColors(TFxCaptionColorCount colors);
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    TFx3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(const TFx3DCaption* effect) { font3D_->Assign(effect); }
    TFxPaintMode PaintMode() const { return paintMode_; }
    void SetPaintMode(TFxPaintMode mode);
    TFxFormStyleOptions Options() const { return options_; }
    void SetOptions(TFxFormStyleOptions options);

    TFxPaintEvent OnPaint;
    TFxPaintEvent OnCaptionPaint;

    // Paints the caption bar now; full also captures the icon strip anew.
    void PaintCaption(bool full);
    // Lets the form draw its standard active caption again (not painted over).
    void Refresh();
    // The caption geometry of window on the current screen, with the flags
    // this styler's settings and the form's border give.
    TFxCaptionLayout CaptionRects(HWND window) const;

    // The last activation the window reported (non-client activate).
    bool CaptionActive() const { return active_; }
    bool SmallCaption() const { return smallCaption_; }
    bool Painting() const { return painting_; }
    // The caption kept while the form's own caption is blanked.
    const std::string& CaptionText() const { return caption_; }
    const TBitmap& IconStrip() const { return *iconStrip_; }

    void SubObjectChanged(TObject* sender) override;

protected:
    void Activate() override;
    void Deactivate() override;
    void WndProc(TMessage& message) override;

private:
    bool Handles() const;
    void PaintBackground(const TFxCaptionLayout& layout, bool full);
    void SelectCaptionFont(const TFxCaptionLayout& layout);
    void SelectCaptionColor();
    void PaintText(const TFxCaptionLayout& layout);
    // Runs handler with the canvas clipped to rect; the clip goes on every exit.
    void RunClipped(const TFxPaintEvent& handler, const TRect& rect);

    TAlignment alignment_ = taLeftJustify;
    TFxCaptionColorCount colors_ = 32;
    TFxPaintMode paintMode_ = pcControl;
    TFxFormStyleOptions options_{fsAdjustRect, fsUseDefaultFont, fsUseFormCaption};
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TFx3DCaption> font3D_;
    std::unique_ptr<TBitmap> iconStrip_;
    std::unique_ptr<TCanvas> canvas_;
    std::string caption_;
    bool active_ = false;
    bool smallCaption_ = false;
    bool painting_ = false;
};
