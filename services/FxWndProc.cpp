#include "services/FxWndProc.h"

#include "framework/controls/Forms.h"

// What the installed procedure reaches. When the component unhooks while a
// newer hook still holds this procedure as the one it replaced, the
// component is gone from the cell and the procedure passes every message
// straight on to the procedure below, so no hook ever calls a freed component.
struct TFxWndProcComponent::THookCell {
    TFxWndProcComponent* Component = nullptr;
    WNDPROC Saved;
};

TFxWndProcComponent::TFxWndProcComponent(TComponent* owner) : TFxComponent(owner)
{
}

TFxWndProcComponent::~TFxWndProcComponent()
{
    SetComponentState(ComponentState() + TComponentState{csDestroying});
    UnhookWindow();
}

void TFxWndProcComponent::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (IsDesigning())
        return;
    if (enabled_)
        Activate();
    else
        Deactivate();
}

void TFxWndProcComponent::Loaded()
{
    TFxComponent::Loaded();
    if (!IsDesigning())
        Activate();
}

void TFxWndProcComponent::Activate()
{
    if (enabled_ && !procThunk_)
        HookWindow();
}

bool TFxWndProcComponent::AppWndProc(TMessage&)
{
    return true;
}

HWND TFxWndProcComponent::HookTarget()
{
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    if (owner == nullptr)
        return nullptr;
    try {
        return owner->Handle();
    } catch (const std::exception&) {
        return nullptr;
    }
}

TCustomForm* TFxWndProcComponent::OwnerForm() const
{
    return dynamic_cast<TCustomForm*>(Owner());
}

bool TFxWndProcComponent::OwnerReady() const
{
    const auto* owner = dynamic_cast<const TWinControl*>(Owner());
    return owner != nullptr && owner->HandleAllocated() && !IsLoading() && !IsDestroying();
}

bool TFxWndProcComponent::HookWindow()
{
    const HWND target = HookTarget();
    if (target == nullptr || savedWndProc_ || IsDesigning())
        return false;
    try {
        windowDestroyed_ = false;
        cell_ = std::make_shared<THookCell>();
        cell_->Component = this;
        procThunk_ = MakeWindowProc([cell = cell_](HWND window, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (cell->Component == nullptr)
                return CallWindowProc(cell->Saved, window, msg, wParam, lParam);
            TMessage message{msg, wParam, lParam, 0};
            cell->Component->WndProc(message);
            return message.Result;
        });
        WNDPROC previous = GetWindowProc(target);
        if (!previous) {
            // The window went between finding and hooking it.
            UnhookWindow();
            return false;
        }
        cell_->Saved = previous;
        savedWndProc_ = std::move(previous);
        hookedWindow_ = target;
        SetWindowProc(target, procThunk_);
        return true;
    } catch (const Exception&) {
        UnhookWindow();
        return false;
    }
}

bool TFxWndProcComponent::UnhookWindow()
{
    // Restore on the window that was hooked: asking HookTarget now could make
    // a new window for an owner that is going.
    if (savedWndProc_ && hookedWindow_ != nullptr && GetWindowProc(hookedWindow_) == procThunk_)
        SetWindowProc(hookedWindow_, savedWndProc_);
    if (cell_)
        cell_->Component = nullptr;
    cell_.reset();
    savedWndProc_.reset();
    procThunk_.reset();
    hookedWindow_ = nullptr;
    if (HookApplication && ApplicationHooked)
        ApplicationHooked = false;
    windowDestroyed_ = false;
    return true;
}

void TFxWndProcComponent::WndProc(TMessage& message)
{
    if (windowDestroyed_)
        return;
    // Held for the call: the procedures below may unhook this component.
    const WNDPROC saved = savedWndProc_;
    const HWND window = hookedWindow_;
    if (message.Msg == WM_DESTROY) {
        windowDestroyed_ = true;
        if (OwnerMDIKind == mkMDIChild) {
            // The child's own procedure still hears of its end; then the hook goes.
            message.Result = CallWindowProc(saved, window, message.Msg, message.WParam, message.LParam);
            UnhookWindow();
            return;
        }
    }
    message.Result = CallWindowProc(saved, window, message.Msg, message.WParam, message.LParam);
}
