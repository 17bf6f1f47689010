// The spin button: two stacked speed buttons, an up arrow above a down arrow,
// that click once per press and repeat while held (first after 400 ms, then
// every 100 ms). Each half is a TTimerSpeedButton.
#pragma once

#include "framework/controls/Buttons.h"
#include "framework/controls/Controls.h"
#include "framework/controls/Timers.h"

enum TTimeBtnStateFlag { tbFocusRect, tbAllowTimer };
using TTimeBtnState = Set<TTimeBtnStateFlag>;

// A speed button with auto-repeat: a press starts a message timer whose ticks
// click while the button is held down with the pointer inside it.
class TTimerSpeedButton : public TSpeedButton {
public:
    static constexpr unsigned InitRepeatPause = 400;
    static constexpr unsigned RepeatPause = 100;

    explicit TTimerSpeedButton(TComponent* owner);
    ~TTimerSpeedButton() override;

    // tbAllowTimer: presses repeat; tbFocusRect: the button draws the focus rectangle.
    TTimeBtnState TimeBtnState;

    // The repeat timer is running (between a press and its release).
    bool Repeating() const;
    // "Up, Change Gregorian day": the half's own name, then what its spin button changes.
    std::string AccessibleLabel() const override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    void TimerExpired();
    void StopRepeat();

    TTimer* repeatTimer_ = nullptr; // owned by this button (as a component), made on the first press
};

// The up-and-down control. It takes the keyboard only when TabStop is set;
// then Up and Down click their half and Space clicks the focused half.
class TSpinButton : public TWinControl {
public:
    // The narrowest a spin button gets: the arrows need the room.
    static constexpr int MinWidth = 15;

    explicit TSpinButton(TComponent* owner);
    ~TSpinButton() override;

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;

    // The glyph bitmaps of the halves. Setting null loads the default arrow
    // ("SpinUp", "SpinDown") with one image.
    TBitmap* UpGlyph() const { return upButton_->Glyph(); }
    void SetUpGlyph(const TBitmap* glyph);
    TBitmap* DownGlyph() const { return downButton_->Glyph(); }
    void SetDownGlyph(const TBitmap* glyph);
    int UpNumGlyphs() const { return upButton_->NumGlyphs(); }
    void SetUpNumGlyphs(int count) { upButton_->SetNumGlyphs(count); }
    int DownNumGlyphs() const { return downButton_->NumGlyphs(); }
    void SetDownNumGlyphs(int count) { downButton_->SetNumGlyphs(count); }

    // The control a click hands the keyboard focus to; cleared when it is destroyed.
    TWinControl* FocusControl() const { return focusControl_.Get(); }
    void SetFocusControl(TWinControl* control) { focusControl_.Set(control); }

    TTimerSpeedButton* UpButton() const { return upButton_; }
    TTimerSpeedButton* DownButton() const { return downButton_; }
    // The half that Space clicks and that shows the focus rectangle.
    TTimerSpeedButton* FocusedButton() const { return focusedButton_; }

    // Raised with the spin button as the sender, once per click of a half
    // (mouse, repeat or keyboard).
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    LRESULT DialogCode() override { return DLGC_WANTARROWS; }
    void KeyDown(WORD& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TTimerSpeedButton* CreateButton(const char* glyphName, const char* accessibleName);
    void LayoutButtons(int& width, int height);
    void SetFocusBtn(TTimerSpeedButton* button);
    void ButtonMouseDown(TObject* sender, TMouseButton button);
    void ButtonClick(TObject* sender);

    TTimerSpeedButton* upButton_ = nullptr;   // owned through the component list
    TTimerSpeedButton* downButton_ = nullptr;
    TTimerSpeedButton* focusedButton_ = nullptr;
    TComponentLink<TWinControl> focusControl_{*this};
};
