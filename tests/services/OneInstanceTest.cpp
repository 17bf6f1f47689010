// The one-instance rule: who may own a component, a second instance on one
// form, and the refusal's exact text.
#include "services/OneInstance.h"

#include "services/FxObjects.h"

#include "framework/controls/Forms.h"

#include <gtest/gtest.h>

#include <memory>

// Outside any namespace, so its class name is plain.
class TSingleEffect : public TFxComponent {
public:
    explicit TSingleEffect(TComponent* owner) : TFxComponent(owner)
    {
        if (OneInstanceCheck(owner, IsOfClass<TSingleEffect>, false))
            RaiseOneInstError(this);
    }
};

namespace {

class TLooseEffect : public TComponent {
public:
    using TComponent::TComponent;
};
class TDerivedLooseEffect : public TLooseEffect {
public:
    using TLooseEffect::TLooseEffect;
};

enum TOwnerKind { okNone, okPlainComponent, okForm };

struct TRuleCase {
    const char* Name;
    TOwnerKind Owner;
    int Loose;        // TLooseEffect instances on the owner
    int DerivedLoose; // TDerivedLooseEffect instances on the owner
    TFxClassTest Class;
    bool AllowDataModule;
    bool Broken;
};

const TRuleCase RuleCases[] = {
    {"no owner", okNone, 0, 0, IsOfClass<TLooseEffect>, false, true},
    {"owner is not a form", okPlainComponent, 1, 0, IsOfClass<TLooseEffect>, false, true},
    {"not a form, data modules allowed", okPlainComponent, 1, 0, IsOfClass<TLooseEffect>, true, true},
    {"one on a form", okForm, 1, 0, IsOfClass<TLooseEffect>, false, false},
    {"two on a form", okForm, 2, 0, IsOfClass<TLooseEffect>, false, true},
    {"a derived one counts", okForm, 1, 1, IsOfClass<TLooseEffect>, false, true},
    {"only the derived class is counted", okForm, 1, 1, IsOfClass<TDerivedLooseEffect>, false, false},
    {"no class: only the owner matters", okForm, 2, 0, nullptr, false, false},
};

TEST(OneInstanceRule, Cases)
{
    for (const TRuleCase& rule : RuleCases) {
        SCOPED_TRACE(rule.Name);
        std::unique_ptr<TComponent> owner;
        if (rule.Owner == okForm)
            owner = std::make_unique<TForm>(nullptr);
        else if (rule.Owner == okPlainComponent)
            owner = std::make_unique<TComponent>(nullptr);
        for (int i = 0; i < rule.Loose; ++i)
            new TLooseEffect(owner.get());
        for (int i = 0; i < rule.DerivedLoose; ++i)
            new TDerivedLooseEffect(owner.get());
        EXPECT_EQ(OneInstanceCheck(owner.get(), rule.Class, rule.AllowDataModule), rule.Broken);
    }
}

TEST(OneInstanceRule, ASecondInstanceIsRefusedWithTheClassNameAndTheRule)
{
    TForm form(nullptr);
    auto* first = new TSingleEffect(&form);
    try {
        new TSingleEffect(&form);
        FAIL() << "a second instance was accepted";
    } catch (const FxEOneInstError& error) {
        EXPECT_STREQ(error.what(), "TSingleEffect:\rInvalid owner (<>TForm) or second instance on a form");
    }
    // The refused one is gone from the form; the first stays.
    ASSERT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(form.Components(0), first);
}

TEST(OneInstanceRule, AComponentWithoutAFormIsRefused)
{
    TComponent owner(nullptr);
    EXPECT_THROW(new TSingleEffect(&owner), FxEOneInstError);
    EXPECT_EQ(owner.ComponentCount(), 0);
}

} // namespace
