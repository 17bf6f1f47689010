// TFxTimerPool: one system timer that drives many clients at whole multiples
// of its period, so effects need not own timers of their own.
//
// Each WM_TIMER of the pool's hidden window is one pool tick. PoolTick counts
// them from 1 after a start; an item with Interval n fires on the ticks that n
// divides, in list order. An item that has fired MaxCount times disables
// itself. An item fires its own OnTimer (Sender = the pool) or, without one,
// the pool's OnTimer with its Ident and Counter.
//
// Clients register with AddItem and start the timer with UpdateTimer(true);
// the pool does not start by itself.
#pragma once

#include "services/FxObjects.h"

#include "framework/windows/Messages.h"
#include "framework/windows/Windows.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TFxTimerPool;

// Milliseconds between pool ticks, 50 to 10000.
using TFxTimerInterval = int;
inline constexpr TFxTimerInterval MinTimerInterval = 50;
inline constexpr TFxTimerInterval MaxTimerInterval = 10000;

using TFxTimerPoolEvent = std::function<void(TObject* sender, std::uint16_t ident, int counter)>;

// One client of the pool. The pool owns it.
class TimerPoolItem {
public:
    TimerPoolItem(const TimerPoolItem&) = delete;
    TimerPoolItem& operator=(const TimerPoolItem&) = delete;

    // Firings after which the item disables itself (the last one still
    // happens); 0 for no limit.
    int MaxCount() const { return maxCount_; }
    void SetMaxCount(int maxCount) { maxCount_ = maxCount; }
    // Firings so far; after the largest integer it starts again at 0.
    int Counter() const { return counter_; }
    void SetCounter(int counter) { counter_ = counter; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    std::uint16_t Ident() const { return ident_; }
    // Pool ticks between firings, at least 1 (ERangeError otherwise).
    int Interval() const { return interval_; }
    void SetInterval(int interval);
    TFxTimerPool* Pool() const { return pool_; }

    // The item's own handler; Sender is the pool.
    TNotifyEvent OnTimer;

private:
    friend class TFxTimerPool;
    TimerPoolItem(TFxTimerPool* pool, std::uint16_t ident, int interval, int maxCount);

    int maxCount_;
    int counter_ = 0;
    bool enabled_ = true;
    std::uint16_t ident_;
    int interval_ = 1;
    TFxTimerPool* pool_;
    bool removed_ = false; // removed during a dispatch; freed when it ends
};

class TFxTimerPool : public TFxComponent {
public:
    explicit TFxTimerPool(TComponent* owner);
    // Sets the period directly, at run time too.
    TFxTimerPool(TComponent* owner, TFxTimerInterval minInterval);
    ~TFxTimerPool() override;

    // The system timer's period (default 1000). The setter takes effect only
    // while loading or designing; at run time a new value is ignored. A value
    // outside 50..10000 raises ERangeError.
    TFxTimerInterval MinInterval() const { return minInterval_; }
    void SetMinInterval(TFxTimerInterval minInterval);

    // Fired for items without a handler of their own.
    TFxTimerPoolEvent OnTimer;

    // While paused, ticks do nothing (not even count).
    bool Paused() const { return paused_; }
    void SetPaused(bool paused) { paused_ = paused; }

    bool Active() const { return active_; }
    bool InTimer() const { return inTimer_; }
    int PoolTick() const { return poolTick_; }
    // The hidden window that receives WM_TIMER; made by the first UpdateTimer.
    HWND UtilityWindow() const { return window_; }

    // Registers a client (enabled, Counter 0) and returns it; the pool owns it.
    // An interval below 1 raises ERangeError.
    TimerPoolItem* AddItem(std::uint16_t ident, int interval, int maxCount = 0, TNotifyEvent onTimer = {});
    // Frees a client (at the end of the running dispatch when one runs).
    void RemoveItem(TimerPoolItem* item);
    int ItemCount() const { return static_cast<int>(items_.size()); }
    TimerPoolItem* Items(int index) const { return items_.at(static_cast<std::size_t>(index)).get(); }

    // Stops the system timer; with start and at least one enabled item starts
    // it again, PoolTick 1. EOutOfResources "Not enough timers available" when
    // the system refuses a timer (the pool stays inactive).
    void UpdateTimer(bool start);
    // The number of enabled items.
    int ActiveCount() const;
    // Stops, then frees every item, last first.
    void Clear();

protected:
    // Asks the window system for the pool's timer; 0 when refused.
    virtual std::uintptr_t StartSystemTimer(HWND window, UINT milliseconds);

private:
    LRESULT UtilityWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void Dispatch();
    void Fire(TimerPoolItem& item);
    void FreeRemovedItems();

    TFxTimerInterval minInterval_ = 1000;
    bool active_ = false;
    bool inTimer_ = false;
    bool dispatching_ = false;
    bool paused_ = false;
    HWND window_ = nullptr;
    int poolTick_ = 0;
    std::vector<std::unique_ptr<TimerPoolItem>> items_;
};
