// Hint windows: the plain THintWindow the application shows hints in, and the
// program-wide hint window type from which the application makes it. A
// component replaces the type (AppHintWindowType = HintWindowClassOf<TMyHint>())
// and toggles Application->SetShowHint off and on to have a new window made.
#pragma once

#include "framework/controls/Controls.h"

#include <functional>
#include <memory>
#include <string>

// A popup window (no owner, never activated) that shows its caption as a hint:
// a one-pixel black border around the text on HintColor.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* owner);

    // The size the text needs when lines wrap at maxWidth: (0, 0, width, height).
    virtual TRect CalcHintRect(int maxWidth, const std::string& hint);
    // Shows hint in rect (screen coordinates) without activating the window.
    // The application passes a rect of CalcHintRect's size placed below the cursor.
    virtual void ActivateHint(TRect rect, const std::string& hint);
    // Hides the window (the application calls this when the hint ends).
    virtual void ReleaseHint();
    bool Active() const { return active_; }

    // To assistive technology a tooltip that reads its hint.
    TAccessibleRole AccessibleRole() const override { return arToolTip; }
    std::optional<std::string> AccessibleText() const override { return Caption(); }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    // A kind that shows its hint in its own way records that it shows one, so
    // the application hides it when the hint ends.
    void SetActive(bool active) { active_ = active; }
    // Text inset from the window's edges: the border, then the margins.
    static constexpr int HintTextInsetX = 3;
    static constexpr int HintTextInsetY = 3;

private:
    bool active_ = false;
};

// A hint window type: its name and how to make one.
struct THintWindowClass {
    std::string ClassName;
    std::function<std::unique_ptr<THintWindow>()> Create;
    friend bool operator==(const THintWindowClass& a, const THintWindowClass& b) { return a.ClassName == b.ClassName; }
};

template <typename T>
THintWindowClass HintWindowClassOf(std::string className)
{
    return {std::move(className), [] { return std::unique_ptr<THintWindow>(std::make_unique<T>(nullptr)); }};
}

// The type of the application's hint window, for the whole program; THintWindow by default.
extern THintWindowClass AppHintWindowType;
THintWindowClass DefaultHintWindowClass();
