#include "services/FxTimerPool.h"

#include "framework/controls/Application.h"

#include <algorithm>
#include <climits>

namespace {

constexpr std::uintptr_t PoolTimerId = 1;

// Counters run on past the largest integer by starting again at 0.
int NextCount(int value)
{
    return value == INT_MAX ? 0 : value + 1;
}

void CheckInterval(TFxTimerInterval milliseconds)
{
    if (milliseconds < MinTimerInterval || milliseconds > MaxTimerInterval)
        throw ERangeError("Timer pool interval " + IntToStr(milliseconds) + " ms is outside " +
                          IntToStr(MinTimerInterval) + ".." + IntToStr(MaxTimerInterval));
}

void CheckItemInterval(int ticks)
{
    if (ticks < 1)
        throw ERangeError("Timer pool item interval " + IntToStr(ticks) + " is not a positive number of ticks");
}

// Holds a flag set for a scope and clears it on every way out.
class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

// ---------------------------------------------------------------------------
// TimerPoolItem

TimerPoolItem::TimerPoolItem(TFxTimerPool* pool, std::uint16_t ident, int interval, int maxCount)
    : maxCount_(maxCount), ident_(ident), pool_(pool)
{
    SetInterval(interval);
}

void TimerPoolItem::SetInterval(int interval)
{
    CheckItemInterval(interval);
    interval_ = interval;
}

// ---------------------------------------------------------------------------
// TFxTimerPool

TFxTimerPool::TFxTimerPool(TComponent* owner) : TFxComponent(owner)
{
}

TFxTimerPool::TFxTimerPool(TComponent* owner, TFxTimerInterval minInterval) : TFxComponent(owner)
{
    CheckInterval(minInterval);
    minInterval_ = minInterval;
}

TFxTimerPool::~TFxTimerPool()
{
    Clear();
    if (window_ != nullptr)
        DeallocateHWnd(window_);
}

void TFxTimerPool::SetMinInterval(TFxTimerInterval minInterval)
{
    CheckInterval(minInterval);
    if (IsLoading() || IsDesigning())
        minInterval_ = minInterval;
}

TimerPoolItem* TFxTimerPool::AddItem(std::uint16_t ident, int interval, int maxCount, TNotifyEvent onTimer)
{
    std::unique_ptr<TimerPoolItem> item(new TimerPoolItem(this, ident, interval, maxCount));
    item->OnTimer = std::move(onTimer);
    items_.push_back(std::move(item));
    return items_.back().get();
}

void TFxTimerPool::RemoveItem(TimerPoolItem* item)
{
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [item](const std::unique_ptr<TimerPoolItem>& own) { return own.get() == item; });
    if (it == items_.end())
        return;
    if (dispatching_) {
        // A client's handler may be running (its own removal included): free it later.
        item->removed_ = true;
        item->enabled_ = false;
        return;
    }
    items_.erase(it);
}

void TFxTimerPool::FreeRemovedItems()
{
    std::erase_if(items_, [](const std::unique_ptr<TimerPoolItem>& item) { return item->removed_; });
}

int TFxTimerPool::ActiveCount() const
{
    return static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](const auto& item) { return item->enabled_; }));
}

void TFxTimerPool::Clear()
{
    // Without its window the pool never ran; none is made just to stop it.
    if (window_ != nullptr)
        UpdateTimer(false);
    if (dispatching_) {
        for (auto& item : items_)
            RemoveItem(item.get());
        return;
    }
    while (!items_.empty())
        items_.pop_back();
}

std::uintptr_t TFxTimerPool::StartSystemTimer(HWND window, UINT milliseconds)
{
    return SetTimer(window, PoolTimerId, milliseconds);
}

void TFxTimerPool::UpdateTimer(bool start)
{
    if (IsDesigning())
        return;
    if (window_ == nullptr)
        window_ = AllocateHWnd(MakeWindowProc([this](HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
            return UtilityWindowProc(window, msg, wParam, lParam);
        }));
    active_ = false;
    KillTimer(window_, PoolTimerId);
    if (start && ActiveCount() > 0) {
        if (StartSystemTimer(window_, static_cast<UINT>(minInterval_)) == 0)
            throw EOutOfResources("Not enough timers available");
        poolTick_ = 1;
        active_ = true;
    }
}

LRESULT TFxTimerPool::UtilityWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_TIMER)
        return DefWindowProc(window, msg, wParam, lParam);
    // A client that pumps messages must not start a second dispatch inside its own.
    if (inTimer_)
        return 0;
    // The guard is cleared before a client's error goes on to the application's
    // report, so one failing client does not stop the pool for good.
    RunGuarded(this, [this] {
        const TFlagScope inTimer(inTimer_);
        Dispatch();
    });
    return 0;
}

void TFxTimerPool::Dispatch()
{
    if (paused_)
        return;
    // The tick counts even when a client fails, so the next tick is the next
    // number and no item fires twice on one.
    struct TTickEnd {
        TFxTimerPool& pool;
        ~TTickEnd()
        {
            pool.dispatching_ = false;
            pool.FreeRemovedItems();
            pool.poolTick_ = NextCount(pool.poolTick_);
        }
    } tickEnd{*this};
    dispatching_ = true;
    // By index: a handler may add items (they join this tick when it is theirs).
    for (std::size_t i = 0; i < items_.size(); ++i) {
        TimerPoolItem* item = items_[i].get();
        if (item->enabled_ && poolTick_ % item->interval_ == 0)
            Fire(*item);
    }
}

void TFxTimerPool::Fire(TimerPoolItem& item)
{
    if (!item.enabled_)
        return;
    item.counter_ = NextCount(item.counter_);
    if (item.maxCount_ != 0 && item.counter_ == item.maxCount_)
        item.enabled_ = false;
    if (item.OnTimer) {
        // A copy: the handler may replace itself.
        const TNotifyEvent handler = item.OnTimer;
        handler(this);
    } else if (OnTimer) {
        const TFxTimerPoolEvent handler = OnTimer;
        handler(this, item.ident_, item.counter_);
    }
}
