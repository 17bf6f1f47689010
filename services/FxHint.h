// The base of hint components: a component that, while enabled, chooses the
// program-wide hint window type. Turning the application's show-hints switch
// off and back on makes the application drop its hint window and build a new
// one of the chosen type.
#pragma once

#include "services/FxObjects.h"

#include "framework/controls/Hints.h"

class TFxCustomHint : public TFxComponent {
public:
    explicit TFxCustomHint(TComponent* owner);

    bool Enabled() const { return enabled_; }
    // Stores the value; unless designing, installs WindowType (enabled) or the
    // plain hint window type (disabled) and has the application remake its window.
    virtual void SetEnabled(bool enabled);

    // The hint window type this component installs while enabled.
    const THintWindowClass& WindowType() const { return windowType_; }

    // A component loaded enabled takes over the program's hints here.
    void Loaded() override;

protected:
    void SetWindowType(THintWindowClass type) { windowType_ = std::move(type); }

private:
    bool enabled_ = true;
    THintWindowClass windowType_ = DefaultHintWindowClass();
};
