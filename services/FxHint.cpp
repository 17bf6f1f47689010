#include "services/FxHint.h"

#include "framework/controls/Application.h"

TFxCustomHint::TFxCustomHint(TComponent* owner) : TFxComponent(owner)
{
}

void TFxCustomHint::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (IsDesigning())
        return;
    AppHintWindowType = enabled_ ? windowType_ : DefaultHintWindowClass();
    if (Application == nullptr)
        return;
    // Off and back on: the application frees its hint window and, when hints
    // are on, makes one of the type just set.
    const bool showHint = Application->ShowHint();
    Application->SetShowHint(!showHint);
    Application->SetShowHint(showHint);
}

void TFxCustomHint::Loaded()
{
    TFxComponent::Loaded();
    if (enabled_)
        SetEnabled(true);
}
