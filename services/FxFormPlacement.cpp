// The form side of the settings store: until a store exists every form has
// none, and placement is neither read nor written.
#include "services/FxForm.h"

TFxIniCtrl* TFxForm::Store() const { return nullptr; }
void TFxForm::SetIniLink(TFxIniCtrl* link) { iniLink_ = link; }
void TFxForm::Notification(TComponent* component, TOperation operation)
{
    TFxWndProcComponent::Notification(component, operation);
}
void TFxForm::RestorePlacement() {}
void TFxForm::SavePlacement() {}
void TFxForm::ApplyStoredPlacement(const std::string&) {}
