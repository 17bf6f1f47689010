#include "services/OneInstance.h"

#include "framework/controls/Forms.h"
#include "framework/runtime/StringResources.h"

namespace {
// "Invalid owner (<>TForm) or second instance on a form"
constexpr int SFxOneInstError = 16508;
} // namespace

bool OneInstanceCheck(const TComponent* owner, TFxClassTest isOfClass, bool allowDataModule)
{
    const bool ownerIsForm = dynamic_cast<const TCustomForm*>(owner) != nullptr;
    const bool ownerIsDataModule = false;
    if (!ownerIsForm && (!allowDataModule || !ownerIsDataModule))
        return true;
    if (isOfClass == nullptr)
        return false;
    int count = 0;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (isOfClass(owner->Components(i)) && ++count > 1)
            return true;
    return false;
}

std::string OneInstErrorMessage(const std::string& className)
{
    return className + ":\r" + LoadStr(SFxOneInstError);
}

void RaiseOneInstError(const TComponent* component)
{
    throw FxEOneInstError(OneInstErrorMessage(component->ClassName()));
}
