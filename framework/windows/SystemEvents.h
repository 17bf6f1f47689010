// Changes of the desktop that every top-level window hears of: the colour
// scheme changed (the application's palette), or the system clock was set
// (a step of the wall clock, not its normal passing). The application object
// owns one watcher, wires its two events to a broadcast of WM_SYSCOLORCHANGE
// and WM_TIMECHANGE, and unwires them before it goes.
//
// The clock is watched through a timer armed for an absolute wall-clock time
// far ahead that the kernel cancels when the clock is set: the timer's file
// descriptor becomes readable and its read fails with ECANCELED. The watcher
// then re-arms it and reports the change once.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>

class QObject;
class QSocketNotifier;

// What the clock watcher reads. The program uses the timer descriptor of
// CreateClockSetSource; a test may hand in a stand-in with a descriptor of
// its own.
class TClockSetSource {
public:
    enum class TReading {
        ClockSet, // the clock was set: re-arm and report
        Expired,  // the far deadline passed (or a stand-in fired): re-arm only
        Nothing,  // nothing to read
    };
    virtual ~TClockSetSource() = default;
    // Readable when there is something to read.
    virtual int Fd() const = 0;
    // (Re)arms the deadline; false when the kernel refused.
    virtual bool Arm() = 0;
    virtual TReading Read() = 0;
};

// A timer on the wall clock armed `ahead` from now, cancelled when the clock is
// set; nullptr where the kernel has no such timer.
std::unique_ptr<TClockSetSource> CreateClockSetSource(std::chrono::milliseconds ahead = std::chrono::hours(24 * 365));

// What a read of the timer descriptor means: result is read()'s return value,
// error the errno after it.
TClockSetSource::TReading ClassifyClockRead(ssize_t result, int error);

class TSystemEvents {
public:
    // Watches the palette always, the clock through clock (nothing when nullptr).
    explicit TSystemEvents(std::unique_ptr<TClockSetSource> clock = CreateClockSetSource());
    ~TSystemEvents();
    TSystemEvents(const TSystemEvents&) = delete;
    TSystemEvents& operator=(const TSystemEvents&) = delete;

    // Once per change of the application's palette.
    std::function<void()> OnColorsChanged;
    // Once each time the system clock is set.
    std::function<void()> OnClockSet;

    // True while the clock is watched.
    bool WatchingClock() const { return notifier_ != nullptr; }

private:
    void ClockReadable();

    std::unique_ptr<QObject> paletteWatcher_;
    std::unique_ptr<TClockSetSource> clock_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
