// Standard controls: the label, the group box and the push button.
#pragma once

#include "framework/controls/Controls.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };

// A windowless text. A line wider than a fixed-size label is aligned as usual
// and cut at the label's edges (a centred one at both ends).
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // On by default: the label takes the size of its text (a space when empty).
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // Off by default: the label fills its background with Color.
    bool Transparent() const { return !ControlStyle.Contains(csOpaque); }
    void SetTransparent(bool transparent);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    // The control the label's accelerator focuses.
    TWinControl* FocusControl() const { return focusControl_.Get(); }
    void SetFocusControl(TWinControl* control) { focusControl_.Set(control); }

    void Loaded() override;
    void WndProc(TMessage& message) override;
    // The caption as it reads, the accelerator marks gone when they underline.
    std::optional<std::string> AccessibleText() const override
    {
        return showAccelChar_ ? StripAccelerators(Caption()) : Caption();
    }

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Draws (or with DT_CALCRECT measures) the caption in rect.
    void DoDrawText(HDC dc, TRect& rect, UINT flags);
    void AdjustBounds();
    UINT TextFlags() const;

private:
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TComponentLink<TWinControl> focusControl_{*this};
};

// A windowed frame with an etched line and a caption at its top left.
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* owner);
    TAccessibleRole AccessibleRole() const override { return arGrouping; }

protected:
    void Paint() override;
};

// A push button drawn by the framework: classic 3D face, a black frame while
// it is the button Enter presses (focused, or the default button while no
// other button has the focus), a dotted focus rectangle, `&` accelerators.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    TAccessibleRole AccessibleRole() const override { return arButton; }

    // Enter presses the default button when the focus is on no other button.
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    // Escape presses the cancel button.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    // The button Enter presses now.
    bool IsActive() const { return active_; }
    // Drawn pushed in (mouse held on it, or Space held).
    bool IsDown() const { return down_; }

    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    LRESULT DialogCode() override { return DLGC_BUTTON; }
    void PaintWindow(HDC dc) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    // The face's content (caption, and a glyph in TBitBtn) inside rect.
    virtual void PaintContent(TCanvas* canvas, const TRect& rect, bool down);
    void SetDown(bool down);

private:
    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
    bool down_ = false;
    bool mouseHeld_ = false;
    bool spaceHeld_ = false;
};

// Draws a caption with the control's font: '&' underlines, grey and engraved when disabled.
void DrawCaption(HDC dc, const std::string& caption, TRect rect, UINT format, const TFont* font, bool enabled);
