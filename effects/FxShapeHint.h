// Balloon hints: while a TFxShapeHint is enabled, every hint of the program
// shows in a TFxShapeHintWindow, a rounded box (or rectangle, or ellipse) with
// a drop shadow and a nose pointing at the pointer, placed on the side of the
// pointer where it fits on the screen.
//
// The window stays rectangular: around the balloon it shows the screen pixels
// that lay under it, copied just before it appeared. Where the screen cannot
// be read (no screen context, or a platform whose grab comes back empty) those
// corners keep the button-face grey the copy starts from, the colour of the
// window the hints belong to.
#pragma once

#include "effects/FxCaption.h"
#include "effects/FxHintGeometry.h"

#include "framework/controls/Hints.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Fonts.h"
#include "services/FxHint.h"

#include <memory>
#include <string>

// What a balloon looks like.
class TFxCustomShapeHint : public TFxCustomHint {
public:
    explicit TFxCustomShapeHint(TComponent* owner);
    ~TFxCustomShapeHint() override;

    TColor Color() const { return color_; }
    void SetColor(TColor color) { color_ = color; }
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    TFx3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(const TFx3DCaption* font3D) { font3D_->Assign(font3D); }
    // Widest text line in pixels; a negative n is the screen width divided by -n.
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int maxWidth) { maxWidth_ = maxWidth; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color) { borderColor_ = color; }
    TFxHintPosition Position() const { return position_; }
    void SetPosition(TFxHintPosition position) { position_ = position; }
    TFxHintStyle Style() const { return style_; }
    void SetStyle(TFxHintStyle style) { style_ = style; }
    TFxShadow* Shadow() const { return shadow_.get(); }
    void SetShadow(const TFxShadow* shadow) { shadow_->Assign(shadow); }

private:
    TColor color_ = clInfoBk;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TFx3DCaption> font3D_;
    int maxWidth_ = -4;
    TColor borderColor_ = clBlack;
    TFxHintPosition position_ = hpAboveRight;
    TFxHintStyle style_ = hsNoseRoundRect;
    std::unique_ptr<TFxShadow> shadow_;
};

// The balloon hint component: while enabled it is the program's
// ActiveShapeHint and the application's hint windows are TFxShapeHintWindows.
class TFxShapeHint : public TFxCustomShapeHint {
public:
    explicit TFxShapeHint(TComponent* owner);
    // Stops being the active shape hint; the hint window type stays, so a hint
    // window still in use shows hints plainly.
    ~TFxShapeHint() override;

    void SetEnabled(bool enabled) override;
};

// The enabled shape hint whose settings the hint window uses, or none.
extern TFxShapeHint* ActiveShapeHint;

// The hint window that draws balloons for ActiveShapeHint, and plain hints
// without a border when there is none.
class TFxShapeHintWindow : public THintWindow {
public:
    explicit TFxShapeHintWindow(TComponent* owner);

    void ActivateHint(TRect rect, const std::string& hint) override;
    void ReleaseHint() override;
    void WndProc(TMessage& message) override;

    // Shows hint for the pointer: as a balloon when a shape hint is active,
    // otherwise plainly in rect.
    virtual void PresentHint(TRect rect, const std::string& hint);
    // Grows a measured text rectangle to the window's size for the style.
    virtual void GrowForShape(TRect& rect);
    // Paints shadow and balloon on the bitmap and moves textRect to where the text goes.
    virtual void PaintShape(TBitmap& bitmap, TFxHintPosition position, TRect& textRect);

    // The shape hint the last balloon was drawn for (while it shows), or none.
    TFxCustomShapeHint* HintComponent() const { return hint_; }
    // Presenting a hint records the active one; painting a shape by itself needs it set first.
    void SetHintComponent(TFxCustomShapeHint* hint) { hint_ = hint; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    void PaintPlainWithoutBorder();
    void DrawNoseRect(TCanvas& canvas, const THintShapePart& part, bool rounded);
    void DrawNoseEllipse(TCanvas& canvas, const THintShapePart& part);

    TFxCustomShapeHint* hint_ = nullptr;
};
