#include "framework/runtime/Classes.h"

#include "framework/runtime/sysutils.h"

#include <algorithm>
#include <cxxabi.h>
#include <typeinfo>

std::string TObject::ClassName() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

void TPersistent::Assign(const TPersistent* source)
{
    if (source != nullptr) {
        source->AssignTo(this);
        return;
    }
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const
{
    const std::string sourceName = source != nullptr ? source->ClassName() : std::string("nil");
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_ != nullptr) {
        owner_->components_.emplace_back(this);
        // Made while its owner loads: it loads too, until the owner's Loaded step.
        if (owner_->IsLoading())
            state_.Include(csLoading);
        // Placed on a form that is being designed: designed too.
        if (owner_->IsDesigning())
            state_.Include(csDesigning);
    }
}

TComponent::~TComponent()
{
    state_.Include(csDestroying);
    // Tell everyone who asked; copy first, since handlers may unregister.
    const std::vector<TComponent*> notifies = freeNotifies_;
    for (TComponent* other : notifies) {
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, opRemove);
    }
    freeNotifies_.clear();
    DestroyComponents();
    RemoveFromOwner();
}

void TComponent::RemoveFromOwner()
{
    if (owner_ == nullptr)
        return;
    auto& list = owner_->components_;
    const auto it = std::find_if(list.begin(), list.end(),
                                 [this](const std::unique_ptr<TComponent>& c) { return c.get() == this; });
    if (it != list.end()) {
        // This object is being destroyed already (its constructor threw, or
        // someone deleted it directly): give up ownership without deleting.
        (void)it->release();
        list.erase(it);
    }
    // The owner learns of the removal like any other interested component.
    owner_->Notification(this, opRemove);
    owner_ = nullptr;
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        std::unique_ptr<TComponent> newest = std::move(components_.back());
        components_.pop_back();
        newest->owner_ = nullptr;
        // Destroying from its own destructor's first line on, as a freed
        // component is, not only once the base destructor runs.
        newest->state_.Include(csDestroying);
        Notification(newest.get(), opRemove);
        newest.reset();
    }
}

void TComponent::SetDesigning(bool designing)
{
    if (designing)
        state_.Include(csDesigning);
    else
        state_.Exclude(csDesigning);
    for (auto& c : components_)
        c->SetDesigning(designing);
}

void TComponent::BeginLoading()
{
    state_.Include(csLoading);
}

void TComponent::Loaded()
{
    state_.Exclude(csLoading);
}

void TComponent::FreeNotification(TComponent* other)
{
    if (other == nullptr || other == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) ==
        other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other)
{
    if (other == nullptr)
        return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::NotifyInserted()
{
    if (insertNoticeSent_ || owner_ == nullptr)
        return;
    insertNoticeSent_ = true;
    owner_->Notification(this, opInsert);
    // Every component of the owner hears it, the newcomer too (it learns
    // that it has been placed). Copied first, since a handler may free a
    // component: one that left the owner's list hears nothing more.
    std::vector<TComponent*> listeners;
    for (const auto& c : owner_->components_)
        listeners.push_back(c.get());
    for (TComponent* listener : listeners) {
        const auto& current = owner_->components_;
        const bool stillThere = std::any_of(current.begin(), current.end(),
                                            [listener](const std::unique_ptr<TComponent>& c) { return c.get() == listener; });
        if (stillThere)
            listener->Notification(this, opInsert);
        if (owner_ == nullptr)
            return;
    }
}

void TComponent::Notification(TComponent*, TOperation)
{
}
