#include "services/FxObjects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A description that caches a derived value, as gradients and bevels do.
class CachingObject : public TFxObject {
public:
    int Value = 0;
    int Cached = -1;
    int CachedWhenNotified = -2;

    void SetValue(int v) { SetAndChange(Value, v); }
    void Change() override
    {
        Cached = Value * 2;
        TFxObject::Change();
    }
};

class Owner : public TFxObject {
public:
    CachingObject Sub;
    Owner() { WireSubObject(*this, Sub); }
    ~Owner() override { UnwireSubObject(Sub); }
};

}  // namespace

TEST(FxObject, SetterNotifiesOnlyOnRealChangeAfterRecomputing)
{
    CachingObject object;
    std::vector<int> seen;
    object.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &object);
        seen.push_back(object.Cached);
    };
    object.SetValue(3);
    object.SetValue(3);
    object.SetValue(4);
    EXPECT_EQ(seen, (std::vector<int>{6, 8}));
}

TEST(FxObject, UpdateLockIsAFlagNotACounter)
{
    CachingObject object;
    int notices = 0;
    object.OnChange = [&](TObject*) { ++notices; };
    object.BeginUpdate();
    object.BeginUpdate();
    object.SetValue(1);
    object.SetValue(2);
    EXPECT_EQ(notices, 0);
    object.EndUpdate(false);
    EXPECT_FALSE(object.Updating());
    EXPECT_EQ(notices, 0);
    object.BeginUpdate();
    object.EndUpdate(true);
    EXPECT_EQ(notices, 1);
}

TEST(FxObject, SubObjectChangeBubblesToTheOwnersListenerOnce)
{
    Owner owner;
    std::vector<TObject*> senders;
    owner.OnChange = [&](TObject* sender) { senders.push_back(sender); };
    owner.Sub.SetValue(5);
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], &owner);
}

TEST(FxComponent, AboutKeepsTenCharactersAndChangeRespectsTheLock)
{
    TFxComponent component(nullptr);
    component.SetAbout("0123456789abc");
    EXPECT_EQ(component.About(), "0123456789");
    int notices = 0;
    component.OnChange = [&](TObject*) { ++notices; };
    component.BeginUpdate();
    component.Change();
    component.EndUpdate(true);
    EXPECT_EQ(notices, 1);
}
