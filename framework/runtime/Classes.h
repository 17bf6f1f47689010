// The object model every component rests on: objects with a class name,
// persistent objects that can be assigned, and components that own components.
#pragma once

#include "framework/runtime/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The dynamic class name, as written in the source ("TForm1", "TFxGradient").
    std::string ClassName() const;
};

// An event handler: a method reference that receives the object that raised it.
using TNotifyEvent = std::function<void(TObject* sender)>;

// An object whose state can be copied from another object with Assign.
class TPersistent : public TObject {
public:
    // Copies source into this object. Classes that know a source's class
    // override Assign or the source's AssignTo; anything else raises
    // EConvertError "Cannot assign a <source class> to a <this class>".
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent* dest) const;
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

enum TComponentStateFlag { csLoading, csReading, csWriting, csDestroying, csDesigning, csUpdating };
using TComponentState = Set<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

// A component with an owner. The owner owns it: constructing a component with
// an owner hands it to the owner's component list, and the owner frees its
// components newest first. A component without an owner is owned by whoever
// holds it (normally a std::unique_ptr).
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index).get(); }

    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    std::intptr_t Tag = 0;

    TComponentState ComponentState() const { return state_; }
    bool IsLoading() const { return state_.Contains(csLoading); }
    bool IsDesigning() const { return state_.Contains(csDesigning); }
    bool IsDestroying() const { return state_.Contains(csDestroying); }

    // Switches design mode on for this component and everything it owns
    // (used by tests of design-time rules; the program itself never designs).
    void SetDesigning(bool designing);

    // Loading: a form marks itself and its components as loading while it
    // builds them from its layout, then calls Loaded on each in creation order.
    void BeginLoading();
    virtual void Loaded();

    // Asks other to report its destruction to this component (and this
    // component's to other) through Notification(…, opRemove).
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Tells the owner and every component of the owner (this one included)
    // that this component has arrived, through Notification(this, opInsert); once, later calls do
    // nothing. It cannot go out from TComponent's constructor, where the
    // newcomer is not yet of its own class: a class whose arrival others look
    // for calls it at the end of its constructor, and MakeOwned calls it for
    // every component it makes.
    void NotifyInserted();

protected:
    virtual void Notification(TComponent* component, TOperation operation);

    // Frees the owned components, newest first. A class whose members its
    // components use calls this at the start of its own destructor.
    void DestroyComponents();

    void SetComponentState(TComponentState state) { state_ = state; }

private:
    void RemoveFromOwner();

    TComponent* owner_ = nullptr;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    TComponentState state_;
    bool insertNoticeSent_ = false;
};

// A holder's reference to another component that empties itself when that
// component is freed (a label's or a spin button's FocusControl). The holder
// passes its Notification on to the link.
template <typename T>
class TComponentLink {
public:
    explicit TComponentLink(TComponent& holder) : holder_(holder) {}
    TComponentLink(const TComponentLink&) = delete;
    TComponentLink& operator=(const TComponentLink&) = delete;

    T* Get() const { return target_; }
    void Set(T* target)
    {
        if (target == target_)
            return;
        if (target_ != nullptr)
            holder_.RemoveFreeNotification(target_);
        target_ = target;
        if (target_ != nullptr)
            holder_.FreeNotification(target_);
    }
    void Notification(TComponent* component, TOperation operation)
    {
        if (operation == opRemove && component == target_)
            target_ = nullptr;
    }

private:
    TComponent& holder_;
    T* target_ = nullptr;
};

// Creates a component that owner owns and returns it; the returned pointer is
// an observer, valid until the owner frees its components.
template <typename T, typename... Args>
T* MakeOwned(TComponent* owner, Args&&... args)
{
    T* component = new T(owner, std::forward<Args>(args)...);
    component->NotifyInserted();
    return component;
}
