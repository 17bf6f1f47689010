// TTimer: a message timer as a component. It owns a hidden utility window whose
// procedure receives WM_TIMER, so each tick is an ordinary window message run
// inside the application's guard (an exception in OnTimer is reported and the
// timer keeps running).
#pragma once

#include "framework/runtime/Classes.h"
#include "framework/windows/Messages.h"

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    // Milliseconds between ticks (default 1000). 0 stops the timer.
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned milliseconds);
    // Default true: a timer with an interval and a handler runs from creation.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The handler; assigning one starts an enabled timer (a timer without a
    // handler does not run).
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);

protected:
    // Runs OnTimer; a subclass may do its own work instead.
    virtual void Timer();

private:
    void UpdateTimer();
    LRESULT WindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    unsigned interval_ = 1000;
    bool enabled_ = true;
    TNotifyEvent onTimer_;
    HWND window_ = nullptr;
};
