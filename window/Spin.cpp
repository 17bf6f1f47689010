#include "window/Spin.h"

#include "framework/graphics/Canvas.h"
#include "window/Resources.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TTimerSpeedButton

TTimerSpeedButton::TTimerSpeedButton(TComponent* owner) : TSpeedButton(owner)
{
}

TTimerSpeedButton::~TTimerSpeedButton()
{
    if (repeatTimer_ != nullptr)
        repeatTimer_->SetOnTimer(nullptr);
}

bool TTimerSpeedButton::Repeating() const
{
    return repeatTimer_ != nullptr && repeatTimer_->Enabled();
}

void TTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TSpeedButton::MouseDown(button, shift, x, y);
    if (!TimeBtnState.Contains(tbAllowTimer))
        return;
    if (repeatTimer_ == nullptr) {
        repeatTimer_ = MakeOwned<TTimer>(this);
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetOnTimer([this](TObject*) { TimerExpired(); });
    }
    // Disabling first restarts the count even if a lost release left it running.
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetInterval(InitRepeatPause);
    repeatTimer_->SetEnabled(true);
}

void TTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // Stopped even when the click on release raises an error.
    struct StopOnExit {
        TTimerSpeedButton* button;
        ~StopOnExit() { button->StopRepeat(); }
    } stop{this};
    TSpeedButton::MouseUp(button, shift, x, y);
}

void TTimerSpeedButton::StopRepeat()
{
    if (repeatTimer_ != nullptr)
        repeatTimer_->SetEnabled(false);
}

void TTimerSpeedButton::TimerExpired()
{
    repeatTimer_->SetInterval(RepeatPause);
    // Only a left press repeats. Without one (a right-button press, or a
    // release that went to another window) the timer has nothing left to do.
    if (!Dragging() || !MouseCapture()) {
        StopRepeat();
        return;
    }
    if (State() != bsDown)
        return; // the pointer is outside: repeats wait for it to come back
    try {
        Click();
    } catch (...) {
        StopRepeat();
        throw;
    }
}

// The focus rectangle sits 3 pixels inside the face and moves with a pushed glyph.
void TTimerSpeedButton::Paint()
{
    TSpeedButton::Paint();
    if (!TimeBtnState.Contains(tbFocusRect))
        return;
    TRect r = InflateRect(ClientRect(), -3, -3);
    if (State() == bsDown)
        r = OffsetRect(r, 1, 1);
    ControlCanvas()->DrawFocusRect(r);
}

std::string TTimerSpeedButton::AccessibleLabel() const
{
    const std::string own = TSpeedButton::AccessibleLabel();
    const std::string changes = Parent() != nullptr ? Parent()->AccessibleLabel() : std::string();
    return changes.empty() ? own : own + ", " + changes;
}

// ---------------------------------------------------------------------------
// TSpinButton

TSpinButton::TSpinButton(TComponent* owner) : TWinControl(owner)
{
    ControlStyle = ControlStyle - TControlStyle{csAcceptsControls, csSetCaption} + TControlStyle{csFramed, csOpaque};
    upButton_ = CreateButton("SpinUp", "Up");
    downButton_ = CreateButton("SpinDown", "Down");
    focusedButton_ = upButton_;
    SetBounds(0, 0, 20, 25);
}

TSpinButton::~TSpinButton()
{
    SetFocusControl(nullptr);
}

TTimerSpeedButton* TSpinButton::CreateButton(const char* glyphName, const char* accessibleName)
{
    auto* button = MakeOwned<TTimerSpeedButton>(this);
    button->SetAccessibleName(accessibleName);
    button->OnClick = [this](TObject* sender) { ButtonClick(sender); };
    button->OnMouseDown = [this](TObject* sender, TMouseButton mouseButton, TShiftState, int, int) {
        ButtonMouseDown(sender, mouseButton);
    };
    button->TimeBtnState = {tbAllowTimer};
    button->SetGlyph(LoadWindowBitmap(glyphName).get());
    button->SetNumGlyphs(1);
    button->SetParent(this);
    return button;
}

//   +-------------+  row 0
//   |     up      |  height div 2
//   +=============+  the last row of the up half is the first of the down half
//   |    down     |
//   +-------------+
void TSpinButton::LayoutButtons(int& width, int height)
{
    if (upButton_ == nullptr || downButton_ == nullptr || IsLoading())
        return;
    width = std::max(width, MinWidth);
    const int upHeight = height / 2;
    upButton_->SetBounds(0, 0, width, upHeight);
    downButton_->SetBounds(0, upHeight - 1, width, height - upHeight + 1);
}

void TSpinButton::SetBounds(int left, int top, int width, int height)
{
    LayoutButtons(width, height);
    TWinControl::SetBounds(left, top, width, height);
}

void TSpinButton::Loaded()
{
    TWinControl::Loaded();
    upButton_->Loaded();
    downButton_->Loaded();
    int width = Width();
    LayoutButtons(width, Height());
    if (width != Width())
        TWinControl::SetBounds(Left(), Top(), width, Height());
}

void TSpinButton::SetUpGlyph(const TBitmap* glyph)
{
    if (glyph != nullptr) {
        upButton_->SetGlyph(glyph);
        return;
    }
    upButton_->SetGlyph(LoadWindowBitmap("SpinUp").get());
    upButton_->SetNumGlyphs(1);
    upButton_->Invalidate();
}

void TSpinButton::SetDownGlyph(const TBitmap* glyph)
{
    if (glyph != nullptr) {
        downButton_->SetGlyph(glyph);
        return;
    }
    downButton_->SetGlyph(LoadWindowBitmap("SpinDown").get());
    downButton_->SetNumGlyphs(1);
    downButton_->Invalidate();
}

void TSpinButton::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    focusControl_.Notification(component, operation);
}

// Only a spin button that takes the focus moves its focused half.
void TSpinButton::SetFocusBtn(TTimerSpeedButton* button)
{
    if (!TabStop() || !CanFocus() || button == focusedButton_)
        return;
    focusedButton_->TimeBtnState.Exclude(tbFocusRect);
    focusedButton_->Invalidate();
    focusedButton_ = button;
    if (Focused()) {
        focusedButton_->TimeBtnState.Include(tbFocusRect);
        Invalidate();
    }
}

void TSpinButton::ButtonMouseDown(TObject* sender, TMouseButton button)
{
    if (button != mbLeft)
        return;
    SetFocusBtn(static_cast<TTimerSpeedButton*>(sender));
    TWinControl* focusControl = focusControl_.Get();
    if (focusControl != nullptr && focusControl->TabStop() && focusControl->CanFocus() && !focusControl->Focused())
        focusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TSpinButton::ButtonClick(TObject* sender)
{
    if (sender == upButton_) {
        if (OnUpClick)
            OnUpClick(this);
    } else if (sender == downButton_) {
        if (OnDownClick)
            OnDownClick(this);
    }
}

void TSpinButton::KeyDown(WORD& key, TShiftState shift)
{
    TWinControl::KeyDown(key, shift);
    switch (key) {
    case VK_UP:
        SetFocusBtn(upButton_);
        upButton_->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(downButton_);
        downButton_->Click();
        break;
    case VK_SPACE:
        focusedButton_->Click();
        break;
    default:
        break;
    }
}

void TSpinButton::DoEnter()
{
    focusedButton_->TimeBtnState.Include(tbFocusRect);
    focusedButton_->Invalidate();
}

void TSpinButton::DoExit()
{
    focusedButton_->TimeBtnState.Exclude(tbFocusRect);
    focusedButton_->Invalidate();
}
