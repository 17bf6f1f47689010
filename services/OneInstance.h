// The one-instance rule of effect components: some may sit only on a form,
// and only once per form.
#pragma once

#include "framework/runtime/Classes.h"
#include "framework/runtime/sysutils.h"

#include <string>

// A component refused by the one-instance rule; carries only its message.
class FxEOneInstError : public Exception {
public:
    using Exception::Exception;
};

// Tells whether a component is of a class or derives from it.
using TFxClassTest = bool (*)(const TComponent* component);

template <typename T>
bool IsOfClass(const TComponent* component)
{
    return dynamic_cast<const T*>(component) != nullptr;
}

// True when the rule is broken: the owner is missing or is not a form, or it
// holds more than one component of the class (the component under
// construction counts, being among the owner's components already). With no
// class test only the owner is checked. allowDataModule would let a data
// module own the component; the framework has no data modules, so only a
// form passes.
bool OneInstanceCheck(const TComponent* owner, TFxClassTest isOfClass, bool allowDataModule);

// The refusal's text: the class name, ":", a carriage return, then the rule.
std::string OneInstErrorMessage(const std::string& className);

// Raises FxEOneInstError for component (its dynamic class name leads the message).
[[noreturn]] void RaiseOneInstError(const TComponent* component);
