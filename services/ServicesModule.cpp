#include "services/ServicesModule.h"

#include "services/FxApplication.h"

#include <memory>

namespace {

struct TServicesModuleState {
    int References = 0;
    std::unique_ptr<TFxApplication> Services;
};

TServicesModuleState& ModuleState()
{
    static TServicesModuleState state;
    return state;
}

} // namespace

void StartServicesModule()
{
    TServicesModuleState& state = ModuleState();
    if (state.References > 0) {
        ++state.References;
        return;
    }
    state.Services = std::make_unique<TFxApplication>();
    ApplicationServices = state.Services.get();
    state.References = 1;
}

void FinishServicesModule()
{
    TServicesModuleState& state = ModuleState();
    if (state.References == 0 || --state.References > 0)
        return;
    ApplicationServices = nullptr;
    state.Services.reset();
}
