// TFxWndProcComponent: a component that takes over its owner form's window
// procedure, sees every message first, does its own work and passes the
// message on to the procedure it replaced.
//
// Several such components chain on one form: each hooks in its after-load
// step, in creation order, so the newest sees a message first. The owner frees
// its components newest first, so they unhook in the reverse order of hooking.
//
// Life of a hook: constructed with the form (not hooked) → the form's
// after-load step activates it → hooked. Enabled := false deactivates it but
// leaves it in the chain (it only stops acting); Enabled := true activates it
// again (hooking only if not hooked). WM_DESTROY on the window: later messages
// are dropped by this component. Destroyed: unhooked.
#pragma once

#include "services/FxObjects.h"

#include "framework/windows/Messages.h"
#include "framework/windows/Windows.h"

#include <cstdint>
#include <memory>

class TCustomForm;

// The kind of form a component sits on. The framework's forms are never MDI
// frames or children, so the constructor finds mkNone; an MDI child's hook
// would go with WM_DESTROY.
enum TFxOwnerMDIKind : std::uint8_t { mkNone = 0, mkMDIChild = 1, mkMDIForm = 2 };

class TFxWndProcComponent : public TFxComponent {
public:
    explicit TFxWndProcComponent(TComponent* owner);
    ~TFxWndProcComponent() override;

    // The master switch (published by descendants). Turning it on activates the
    // component, turning it off deactivates it; neither unhooks.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Installs the hook on HookTarget. False, changing nothing, without a
    // target window, when already hooked, or while designing; false after
    // undoing itself when installing fails.
    bool HookWindow();
    // Puts the replaced procedure back (when this hook is still on top of the
    // window's chain) and forgets it. Always true.
    bool UnhookWindow();
    // The window to hook: the owner's window, created when it does not exist
    // yet; 0 without a windowed owner or when the window cannot be made.
    HWND HookTarget();

    // The owner as a form, or nullptr.
    TCustomForm* OwnerForm() const;
    // The owner's window exists already (this test does not create it) and
    // the component is neither loading nor being destroyed: safe to paint.
    bool OwnerReady() const;

    bool Hooked() const { return savedWndProc_ != nullptr; }
    // The procedure that was current when the hook went in; null exactly while unhooked.
    const WNDPROC& SavedWndProc() const { return savedWndProc_; }
    // The procedure this component installed; null while unhooked.
    const WNDPROC& ProcThunk() const { return procThunk_; }
    // WM_DESTROY has passed: later messages are dropped.
    bool WindowDestroyed() const { return windowDestroyed_; }

    // Activates the component once the form has loaded.
    void Loaded() override;

protected:
    // For the application's main-window hooks; the base lets everything through.
    virtual bool AppWndProc(TMessage& message);
    // Hooks the window when enabled and not hooked yet.
    virtual void Activate();
    virtual void Deactivate() {}
    // The message handler. Descendants handle what they care about and end by
    // calling the inherited one, which passes the message on; a descendant
    // that is not Enabled calls the inherited one straight away.
    virtual void WndProc(TMessage& message);

    // Descendants set these in their constructors. HookFrameWindow would
    // choose an MDI frame over its client window. The framework's application
    // has no window of its own whose messages could be watched, so
    // HookApplication registers nothing and ApplicationHooked stays false;
    // no component sets it.
    bool HookApplication = false;
    bool HookFrameWindow = false;
    TFxOwnerMDIKind OwnerMDIKind = mkNone;
    bool ApplicationHooked = false;

private:
    struct THookCell;

    bool enabled_ = true;
    bool windowDestroyed_ = false;
    HWND hookedWindow_ = nullptr;
    WNDPROC savedWndProc_;
    WNDPROC procThunk_;
    std::shared_ptr<THookCell> cell_;
};
