// Effect labels: a caption drawn with a lettering effect inside an optional
// bevel, sized to its text on request.
#pragma once

#include "effects/FxBevel.h"
#include "effects/FxCaption.h"
#include "effects/FxControls.h"
#include "effects/FxPicture.h"

#include <memory>

// The DrawText alignment bits of a placement (left/centre/right, top/vertical centre/bottom).
UINT AlignmentTextFormat(TFxAlignment alignment);

// The text properties every effect label has.
class TFxBaseLabel : public TFxBaseGraphicControl {
public:
    explicit TFxBaseLabel(TComponent* owner);

    TFxAlignment Alignment() const { return alignment_; }
    void SetAlignment(TFxAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);
    // The control the caption's accelerator focuses.
    TWinControl* FocusControl() const { return focusControl_.Get(); }
    void SetFocusControl(TWinControl* control) { focusControl_.Set(control); }

    void Loaded() override;
    void WndProc(TMessage& message) override;

protected:
    bool IsEmptyContent() const override;
    void ContentChanged(TObject* source) override;
    // The font (source Font()) or the lettering effect changed.
    virtual void FontChanged(TObject* source);
    // Takes the size the caption needs, when the label sizes itself.
    virtual void AdjustBounds() {}

    void FontChanged() override { FontChanged(Font()); }
    void TextChanged() override;
    void EnabledChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TFxAlignment alignment_ = agTopLeft;
    bool autoSize_ = true;
    bool showAccelChar_ = true;
    bool multiLine_ = false;
    TComponentLink<TWinControl> focusControl_{*this};
};

// A label drawn with a lettering effect (FontFx) inside a bevel.
class TFxCustomLabel : public TFxBaseLabel {
public:
    explicit TFxCustomLabel(TComponent* owner);
    ~TFxCustomLabel() override;

    TFxCaption* FontFx() const { return fontFx_.get(); }
    void SetFontFx(const TFxCaption* fontFx) { fontFx_->Assign(fontFx); }
    // The frame; no frame by default.
    TFxBevel* Bevel() const { return bevel_.get(); }

protected:
    using TFxBaseLabel::FontChanged;

    bool IsEmptyContent() const override;
    void FontChanged(TObject* source) override;
    void AdjustBounds() override;
    void Paint() override;

    // Fills rect with Color unless the label is transparent; a transparent
    // label over a background provider gets the parent's background when
    // withParentBackground is set.
    void PaintBackground(TCanvas* canvas, const TRect& rect, bool withParentBackground);
    // The bevel's border bands are left to the background when they would
    // paint the background colour anyway.
    bool SkipBevelBorder() const;
    // The DrawText format and the text rectangle for an inner rectangle.
    TRect TextLayout(const TRect& inner, UINT& format);

private:
    void PaintDesignOutline();

    std::unique_ptr<TFxBevel> bevel_;
    std::unique_ptr<TFxCaption> fontFx_;
};
