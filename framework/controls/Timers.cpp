#include "framework/controls/Timers.h"

#include "framework/controls/Application.h"
#include "framework/windows/Windows.h"

namespace {
constexpr std::uintptr_t TimerId = 1;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner)
{
    window_ = AllocateHWnd(MakeWindowProc(
        [this](HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
            return WindowProcedure(window, msg, wParam, lParam);
        }));
}

TTimer::~TTimer()
{
    enabled_ = false;
    DeallocateHWnd(window_);
}

void TTimer::SetInterval(unsigned milliseconds)
{
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    UpdateTimer();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    KillTimer(window_, TimerId);
    if (enabled_ && interval_ != 0 && onTimer_ && !IsDestroying()) {
        if (SetTimer(window_, TimerId, interval_) == 0)
            throw EOutOfResources("Not enough timers available");
    }
}

void TTimer::Timer()
{
    if (enabled_ && onTimer_)
        onTimer_(this);
}

LRESULT TTimer::WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER) {
        RunGuarded(this, [this] { Timer(); });
        return 0;
    }
    return DefWindowProc(window, msg, wParam, lParam);
}
