// The change-notification protocol every painting description and effect
// component rests on: a change notice that bubbles up the ownership chain,
// and an update lock that holds notices back while several values change.
#pragma once

#include "framework/runtime/Classes.h"

#include <string>

// Points sub's OnChange at owner's SubObjectChanged, so a change below bubbles
// up. Works for any object with an OnChange event (descriptions, fonts,
// brushes, bitmaps). The owner unwires before it frees the sub-object.
template <typename Owner, typename Sub>
void WireSubObject(Owner& owner, Sub& sub)
{
    sub.OnChange = [&owner](TObject* sender) { owner.SubObjectChanged(sender); };
}

template <typename Sub>
void UnwireSubObject(Sub& sub)
{
    sub.OnChange = nullptr;
}

// A persistent painting description (gradient, fill, bevel, caption effect, shadow).
class TFxObject : public TPersistent {
public:
    TFxObject() = default;

    TNotifyEvent OnChange;

    // A single flag, not a counter: EndUpdate always releases the lock.
    bool Updating() const { return updating_; }
    void BeginUpdate() { updating_ = true; }
    void EndUpdate(bool notify);

    // Raises OnChange(this) unless updating. Descendants that cache derived
    // values override it, recompute first, then call the inherited one.
    virtual void Change();
    // The handler wired to the OnChange of nested objects.
    virtual void SubObjectChanged(TObject* sender);

protected:
    // Stores value and raises Change only when it differs: the setter rule of
    // every description property.
    template <typename T>
    void SetAndChange(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Change();
    }

private:
    bool updating_ = false;
};

// Short design-time label that every effect component publishes; it has no
// effect at run time. At most ten characters are kept.
using TFxAboutVar = std::string;

// A component with the same protocol (effect components, the timer pool).
class TFxComponent : public TComponent {
public:
    explicit TFxComponent(TComponent* owner) : TComponent(owner) {}

    TNotifyEvent OnChange;

    const TFxAboutVar& About() const { return about_; }
    void SetAbout(const TFxAboutVar& about) { about_ = about.substr(0, 10); }

    bool Updating() const { return updating_; }
    void BeginUpdate() { updating_ = true; }
    void EndUpdate(bool notify);

    virtual void Change();
    virtual void SubObjectChanged(TObject* sender);

private:
    TFxAboutVar about_;
    bool updating_ = false;
};
