// For the start-up benchmark's probes: reports the first frame a window paints.
// After the first paint event of the watched widget has been handled (and Qt
// has flushed it to the screen), prints "first-frame <monotonic ns>" on
// standard output and calls done.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <functional>

// Prints "<what> <monotonic ns>" on standard output.
inline void PrintStamp(const char* what)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%s %lld\n", what, static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
    std::fflush(stdout);
}

class TFirstFrameProbe : public QObject {
public:
    explicit TFirstFrameProbe(std::function<void()> done) : done_(std::move(done)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            watched->removeEventFilter(this);
            // Queued behind the paint: runs once the frame is flushed.
            QTimer::singleShot(0, [this] {
                PrintStamp("first-frame");
                done_();
            });
        }
        return false;
    }

private:
    std::function<void()> done_;
    bool seen_ = false;
};
