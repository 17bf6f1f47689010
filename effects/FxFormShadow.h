// TFxFormShadow: a drop shadow for its owner form, made of two borderless
// strip windows of the class "ShadowClass" that the form owns. They stand
// along the form's right and bottom edges, shifted down and right by the
// shadow's depth, and paint themselves when asked to erase their background.
// The component hooks the form's procedure to follow moves, resizes,
// activation, minimising and closing.
//
// Strips: none (before Activate, after Deactivate or the form's end) →
// created hidden → shown and hidden by the form's messages.
#pragma once

#include "effects/FxCaption.h"
#include "services/FxWndProc.h"

#include "framework/runtime/Types.h"

#include <memory>

// The strip windows' class and the layout of their extra data.
inline constexpr const char* ShadowClassName = "ShadowClass";
inline constexpr int ShadowWndExtra = 20;
inline constexpr int ShadowStyleOffset = 0; // the TFxShadowStyle ordinal
inline constexpr int ShadowColorOffset = 4; // the shadow colour

// The two strips of a shadow of depth d beside a window rectangle: the right
// one from the right edge, d down; the bottom one from the bottom edge, d to
// the right. Together they make an L whose outer corner is (Right + d, Bottom + d).
struct TShadowStrips {
    TRect Right;
    TRect Bottom;
    friend bool operator==(const TShadowStrips&, const TShadowStrips&) = default;
};
TShadowStrips ShadowStripRects(const TRect& window, int depth);

// The strip windows' procedure: set-focus is refused (0), erase paints the
// style and colour from the extra data, everything else is default processing.
LRESULT ShadowWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

class TFxFormShadow : public TFxWndProcComponent {
public:
    // Refused with FxEOneInstError unless the owner is a top-level form that
    // holds no other shadow.
    explicit TFxFormShadow(TComponent* owner);
    ~TFxFormShadow() override;

    // Look and width of the shadow (solid, clBtnShadow, 6 pixels).
    TFxShadow* Shadow() const { return shadow_.get(); }
    void SetShadow(const TFxShadow* shadow) { shadow_->Assign(shadow); }
    // Keep the shadow while the form is inactive.
    bool ShowInActive() const { return showInActive_; }
    void SetShowInActive(bool show) { showInActive_ = show; }

    // The strip windows; nullptr while there are none.
    HWND RightShadow() const { return rightShadow_; }
    HWND BottomShadow() const { return bottomShadow_; }
    // A caption or frame press is being followed (the look is hssNone meanwhile).
    bool Dragging() const { return dragging_; }

    void SubObjectChanged(TObject* sender) override;

protected:
    void Activate() override;
    void Deactivate() override;
    void WndProc(TMessage& message) override;

private:
    // The form is neither minimised nor maximised, visible and active.
    bool Showable() const;
    HWND FormWindow() const;
    void PlaceShadows();
    void ShowShadows();
    void HideShadows();
    void StoreShadowLook(HWND strip);
    void DestroyShadows();
    // Sets the shadow's style without a change notice (so nothing repaints).
    void SetStyleSilently(TFxShadowStyle style);
    void BeforeFormProcedure(const TMessage& message);
    void AfterFormProcedure(const TMessage& message);

    std::unique_ptr<TFxShadow> shadow_;
    bool showInActive_ = true;
    HWND rightShadow_ = nullptr;
    HWND bottomShadow_ = nullptr;
    bool dragging_ = false;
    TFxShadowStyle styleBeforeDrag_ = hssSolid;
    bool classRegistered_ = false;
};
