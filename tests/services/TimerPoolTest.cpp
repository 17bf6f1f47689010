// The timer pool: firing schedules driven tick by tick through the pool's
// window, the guard and its mend, refusals, and one run on a real timer.
#include "services/FxTimerPool.h"

#include "framework/controls/Application.h"

#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// A pool whose system timer is simulated: the test sends each tick itself.
class TManualPool : public TFxTimerPool {
public:
    TManualPool() : TFxTimerPool(nullptr, 50) {}
    bool RefuseTimer = false;

protected:
    std::uintptr_t StartSystemTimer(HWND, UINT) override { return RefuseTimer ? 0 : 1; }
};

void Tick(TFxTimerPool& pool, int times = 1)
{
    for (int i = 0; i < times; ++i)
        SendMessage(pool.UtilityWindow(), WM_TIMER, 1, 0);
}

// Collects what the application's exception report receives.
class TErrorCatcher {
public:
    TErrorCatcher()
    {
        Application->OnException = [this](TObject* sender, const std::exception& error) {
            senders.push_back(sender);
            texts.push_back(error.what());
        };
    }
    ~TErrorCatcher() { Application->OnException = nullptr; }
    std::vector<TObject*> senders;
    std::vector<std::string> texts;
};

struct TScheduleCase {
    const char* Name;
    int Interval;
    int MaxCount;
    int Ticks;
    std::vector<int> FiredOn; // pool ticks
};

const TScheduleCase ScheduleCases[] = {
    {"every tick, three times", 1, 3, 6, {1, 2, 3}},
    {"every fourth tick", 4, 0, 13, {4, 8, 12}},
    {"every third tick, twice", 3, 2, 12, {3, 6}},
    {"no limit", 1, 0, 4, {1, 2, 3, 4}},
};

TEST(TimerPool, FiringSchedules)
{
    for (const TScheduleCase& row : ScheduleCases) {
        SCOPED_TRACE(row.Name);
        TManualPool pool;
        std::vector<int> firedOn;
        TimerPoolItem* item =
            pool.AddItem(7, row.Interval, row.MaxCount, [&](TObject* sender) {
                EXPECT_EQ(sender, &pool);
                firedOn.push_back(pool.PoolTick());
            });
        pool.UpdateTimer(true);
        ASSERT_TRUE(pool.Active());
        Tick(pool, row.Ticks);
        EXPECT_EQ(firedOn, row.FiredOn);
        EXPECT_EQ(item->Counter(), static_cast<int>(row.FiredOn.size()));
        EXPECT_EQ(item->Enabled(), row.MaxCount == 0);
        EXPECT_EQ(pool.PoolTick(), row.Ticks + 1);
    }
}

TEST(TimerPool, ItemsFireInListOrderThroughTheirOwnOrThePoolsHandler)
{
    TManualPool pool;
    std::vector<std::string> fired;
    pool.OnTimer = [&](TObject* sender, std::uint16_t ident, int counter) {
        EXPECT_EQ(sender, &pool);
        fired.push_back("pool " + std::to_string(ident) + "#" + std::to_string(counter));
    };
    pool.AddItem(1, 1, 0, [&](TObject*) { fired.push_back("own 1"); });
    pool.AddItem(2, 2);
    pool.AddItem(3, 1);
    pool.UpdateTimer(true);
    Tick(pool, 2);
    EXPECT_EQ(fired, (std::vector<std::string>{"own 1", "pool 3#1", "own 1", "pool 2#1", "pool 3#2"}));
}

TEST(TimerPool, PausedTicksDoNothing)
{
    TManualPool pool;
    int fired = 0;
    pool.AddItem(1, 1, 0, [&](TObject*) { ++fired; });
    pool.UpdateTimer(true);
    pool.SetPaused(true);
    Tick(pool, 3);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(pool.PoolTick(), 1);
    pool.SetPaused(false);
    Tick(pool);
    EXPECT_EQ(fired, 1);
}

TEST(TimerPool, StartsOnlyWithAnEnabledItemAndClearStops)
{
    TManualPool pool;
    TimerPoolItem* item = pool.AddItem(1, 1);
    item->SetEnabled(false);
    pool.UpdateTimer(true);
    EXPECT_FALSE(pool.Active());
    item->SetEnabled(true);
    pool.UpdateTimer(true);
    EXPECT_TRUE(pool.Active());
    pool.Clear();
    EXPECT_FALSE(pool.Active());
    EXPECT_EQ(pool.ItemCount(), 0);
}

TEST(TimerPool, ARefusedSystemTimerRaisesAndLeavesThePoolInactive)
{
    TManualPool pool;
    pool.AddItem(1, 1);
    pool.RefuseTimer = true;
    try {
        pool.UpdateTimer(true);
        FAIL() << "no error";
    } catch (const EOutOfResources& error) {
        EXPECT_STREQ(error.what(), "Not enough timers available");
    }
    EXPECT_FALSE(pool.Active());
}

TEST(TimerPool, AFailingClientIsReportedAndThePoolKeepsFiring)
{
    TErrorCatcher errors;
    TManualPool pool;
    int failing = 0;
    std::vector<int> everySecondTick;
    pool.AddItem(1, 1, 0, [&](TObject*) {
        if (++failing == 1)
            throw EConvertError("client failed");
    });
    pool.AddItem(2, 2, 0, [&](TObject*) { everySecondTick.push_back(pool.PoolTick()); });
    pool.UpdateTimer(true);
    Tick(pool, 4);
    EXPECT_EQ(errors.texts, (std::vector<std::string>{"client failed"}));
    EXPECT_EQ(errors.senders, (std::vector<TObject*>{&pool}));
    EXPECT_FALSE(pool.InTimer());
    EXPECT_EQ(failing, 4);
    // The failed tick still counted: the next one is tick 2, not tick 1 again.
    EXPECT_EQ(everySecondTick, (std::vector<int>{2, 4}));
}

TEST(TimerPool, ATickArrivingDuringADispatchIsDropped)
{
    TManualPool pool;
    int fired = 0;
    pool.AddItem(1, 1, 0, [&](TObject*) {
        ++fired;
        EXPECT_TRUE(pool.InTimer());
        Tick(pool); // as if the client pumped messages
    });
    pool.UpdateTimer(true);
    Tick(pool);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(pool.PoolTick(), 2);
}

TEST(TimerPool, AClientMayRemoveItselfOrAnotherWhileFiring)
{
    TManualPool pool;
    std::vector<int> fired;
    TimerPoolItem* second = nullptr;
    TimerPoolItem* first = pool.AddItem(1, 1, 0, [&](TObject*) {
        fired.push_back(1);
        pool.RemoveItem(first);
        pool.RemoveItem(second);
    });
    second = pool.AddItem(2, 1, 0, [&](TObject*) { fired.push_back(2); });
    pool.AddItem(3, 1, 0, [&](TObject*) { fired.push_back(3); });
    pool.UpdateTimer(true);
    Tick(pool, 2);
    EXPECT_EQ(fired, (std::vector<int>{1, 3, 3}));
    EXPECT_EQ(pool.ItemCount(), 1);
}

TEST(TimerPool, CountersStartAgainAtZeroPastTheLargestInteger)
{
    TManualPool pool;
    TimerPoolItem* item = pool.AddItem(1, 1);
    item->SetCounter(INT_MAX);
    pool.UpdateTimer(true);
    Tick(pool);
    EXPECT_EQ(item->Counter(), 0);
    EXPECT_TRUE(item->Enabled());
}

TEST(TimerPool, RefusedIntervals)
{
    TManualPool pool;
    EXPECT_THROW(pool.AddItem(1, 0), ERangeError);
    EXPECT_THROW(pool.AddItem(1, -3), ERangeError);
    EXPECT_EQ(pool.ItemCount(), 0);
    TimerPoolItem* item = pool.AddItem(1, 2);
    EXPECT_THROW(item->SetInterval(0), ERangeError);
    EXPECT_EQ(item->Interval(), 2);
    EXPECT_THROW(TFxTimerPool(nullptr, 49), ERangeError);
    EXPECT_THROW(TFxTimerPool(nullptr, 10001), ERangeError);
}

TEST(TimerPool, MinIntervalChangesOnlyWhileLoading)
{
    TFxTimerPool pool(nullptr);
    EXPECT_EQ(pool.MinInterval(), 1000);
    pool.SetMinInterval(200);
    EXPECT_EQ(pool.MinInterval(), 1000);
    pool.BeginLoading();
    pool.SetMinInterval(200);
    pool.Loaded();
    EXPECT_EQ(pool.MinInterval(), 200);
}

TEST(TimerPool, RunsOnARealTimer)
{
    TFxTimerPool pool(nullptr, 50);
    int fired = 0;
    pool.AddItem(1, 1, 3, [&](TObject*) { ++fired; });
    pool.UpdateTimer(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fired == 3; }, 5000));
    QTest::qWait(150);
    EXPECT_EQ(fired, 3) << "a disabled item stays quiet";
    EXPECT_TRUE(pool.Active());
}

} // namespace
