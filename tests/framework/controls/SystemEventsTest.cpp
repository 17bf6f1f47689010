// Desktop changes reaching the forms: a palette change as WM_SYSCOLORCHANGE
// once per change, the clock being set as WM_TIMECHANGE. The machine's clock
// and colours are never touched: the palette is the application's own, and a
// clock step is played by a stand-in descriptor (setting the real clock would
// need privileges and would change the machine).
#include "FrameworkTestSupport.h"

#include "framework/windows/SystemEvents.h"

#include <QApplication>
#include <QPalette>

#include <gtest/gtest.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>

namespace {

int Count(const TMessageRecorder& recorder, UINT msg)
{
    return static_cast<int>(std::count(recorder.messages.begin(), recorder.messages.end(), msg));
}

// A clock source whose descriptor is an eventfd: writing to it plays the
// kernel cancelling the timer (the clock was set) or the deadline passing.
class TStandInClock : public TClockSetSource {
public:
    struct TLog {
        int Arms = 0;
        int Reads = 0;
    };
    TStandInClock(TLog& log, TReading reading) : log_(log), reading_(reading) {}
    ~TStandInClock() override { close(fd_); }
    int Fd() const override { return fd_; }
    bool Arm() override
    {
        ++log_.Arms;
        return true;
    }
    TReading Read() override
    {
        ++log_.Reads;
        std::uint64_t value = 0;
        return read(fd_, &value, sizeof value) == sizeof value ? reading_ : TReading::Nothing;
    }
    // What the test holds on to after the watcher took the source.
    int WriteEnd() const { return fd_; }

private:
    TLog& log_;
    TReading reading_;
    int fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
};

void Signal(int fd)
{
    const std::uint64_t one = 1;
    ASSERT_EQ(write(fd, &one, sizeof one), static_cast<ssize_t>(sizeof one));
}

// Passes everything to the real timer and counts the arms.
class TCountingClock : public TClockSetSource {
public:
    TCountingClock(std::unique_ptr<TClockSetSource> real, int& arms, int& reads)
        : real_(std::move(real)), arms_(arms), reads_(reads)
    {
    }
    int Fd() const override { return real_->Fd(); }
    bool Arm() override
    {
        ++arms_;
        return real_->Arm();
    }
    TReading Read() override
    {
        ++reads_;
        return real_->Read();
    }

private:
    std::unique_ptr<TClockSetSource> real_;
    int& arms_;
    int& reads_;
};

} // namespace

TEST(ClockReads, TheReadsResultSaysWhatHappened)
{
    struct TCase {
        ssize_t result;
        int error;
        TClockSetSource::TReading expected;
    } const cases[] = {
        {-1, ECANCELED, TClockSetSource::TReading::ClockSet}, // the clock was set
        {8, 0, TClockSetSource::TReading::Expired},           // the far deadline came
        {-1, EAGAIN, TClockSetSource::TReading::Nothing},     // woken with nothing to read
        {-1, EINTR, TClockSetSource::TReading::Nothing},
        {-1, EBADF, TClockSetSource::TReading::Nothing},
        {4, 0, TClockSetSource::TReading::Nothing},           // a short read is not an expiry
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ClassifyClockRead(c.result, c.error), c.expected) << c.result << " errno " << c.error;
}

TEST(ClockReads, TheRealTimerIsArmedFarAheadAndHasNothingToReadYet)
{
    std::unique_ptr<TClockSetSource> clock = CreateClockSetSource();
    ASSERT_NE(clock, nullptr);
    ASSERT_TRUE(clock->Arm());
    EXPECT_EQ(clock->Read(), TClockSetSource::TReading::Nothing);
}

TEST(SystemEvents, TheRealTimerFiringIsReArmedAndIsNoClockChange)
{
    // A deadline 20 ms ahead stands for the far one: each time it passes the
    // watcher reads the real descriptor through its notifier and arms it again.
    int arms = 0;
    int reads = 0;
    TSystemEvents events(
        std::make_unique<TCountingClock>(CreateClockSetSource(std::chrono::milliseconds(20)), arms, reads));
    ASSERT_TRUE(events.WatchingClock());
    int clockSets = 0;
    events.OnClockSet = [&] { ++clockSets; };
    EXPECT_TRUE(WaitUntil([&] { return arms >= 4; }, 5000)) << "arms " << arms;
    EXPECT_GE(reads, 3);
    EXPECT_EQ(clockSets, 0);
    events.OnClockSet = nullptr;
}

TEST(SystemEvents, EachClockStepIsReportedOnceAndTheTimerArmedAgain)
{
    TStandInClock::TLog log;
    auto clock = std::make_unique<TStandInClock>(log, TClockSetSource::TReading::ClockSet);
    const int fd = clock->WriteEnd();
    TSystemEvents events(std::move(clock));
    ASSERT_TRUE(events.WatchingClock());
    EXPECT_EQ(log.Arms, 1);
    int clockSets = 0;
    events.OnClockSet = [&] { ++clockSets; };

    Signal(fd);
    ASSERT_TRUE(WaitUntil([&] { return clockSets == 1; }));
    EXPECT_EQ(log.Arms, 2);
    Signal(fd);
    ASSERT_TRUE(WaitUntil([&] { return clockSets == 2; }));
    EXPECT_EQ(log.Arms, 3);
    Pump(50);
    EXPECT_EQ(clockSets, 2) << "nothing more without another step";
    events.OnClockSet = nullptr;
}

TEST(SystemEvents, AClockStepReachesEveryFormAsTimeChange)
{
    TForm first(nullptr);
    TForm second(nullptr);
    first.Show();
    second.Show();
    TMessageRecorder firstSeen(first.Handle());
    TMessageRecorder secondSeen(second.Handle());

    TStandInClock::TLog log;
    auto clock = std::make_unique<TStandInClock>(log, TClockSetSource::TReading::ClockSet);
    const int fd = clock->WriteEnd();
    TSystemEvents events(std::move(clock));
    // Wired as the application wires its own watcher.
    events.OnClockSet = [] { Application->BroadcastToForms(WM_TIMECHANGE); };
    Signal(fd);
    ASSERT_TRUE(WaitUntil([&] { return Count(secondSeen, WM_TIMECHANGE) == 1; }));
    EXPECT_EQ(Count(firstSeen, WM_TIMECHANGE), 1);
    events.OnClockSet = nullptr;
}

TEST(SystemEvents, APaletteChangeReachesEveryFormOnceAsSysColorChange)
{
    TForm first(nullptr);
    TForm second(nullptr);
    first.Show();
    second.Show();
    TMessageRecorder firstSeen(first.Handle());
    TMessageRecorder secondSeen(second.Handle());
    const QPalette original = QApplication::palette();

    QPalette changed = original;
    changed.setColor(QPalette::Window, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(changed);
    Pump(50);
    EXPECT_EQ(Count(firstSeen, WM_SYSCOLORCHANGE), 1);
    EXPECT_EQ(Count(secondSeen, WM_SYSCOLORCHANGE), 1);

    // The same palette again is no change; going back is one.
    QApplication::setPalette(changed);
    Pump(50);
    EXPECT_EQ(Count(firstSeen, WM_SYSCOLORCHANGE), 1);
    QApplication::setPalette(original);
    Pump(50);
    EXPECT_EQ(Count(firstSeen, WM_SYSCOLORCHANGE), 2);
    EXPECT_EQ(Count(secondSeen, WM_SYSCOLORCHANGE), 2);
}

TEST(SystemEvents, AFormGoingDuringTheBroadcastIsSkipped)
{
    auto first = std::make_unique<TForm>(nullptr);
    TForm second(nullptr);
    first->Show();
    second.Show();
    TMessageRecorder secondSeen(second.Handle());
    // The first form to hear of it frees the other one's neighbour: the
    // broadcast must not reach a form that is gone.
    auto doomed = std::make_unique<TForm>(nullptr);
    doomed->Show();
    const HWND firstWindow = first->Handle();
    WNDPROC below = GetWindowProc(firstWindow);
    SetWindowProc(firstWindow, MakeWindowProc([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_TIMECHANGE)
            doomed.reset();
        return CallWindowProc(below, w, msg, wp, lp);
    }));
    Application->BroadcastToForms(WM_TIMECHANGE);
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(Count(secondSeen, WM_TIMECHANGE), 1);
    SetWindowProc(firstWindow, below);
}
