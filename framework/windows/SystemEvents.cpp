#include "framework/windows/SystemEvents.h"

#include "framework/windows/ErrorGuard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace {

// The application object hears of a palette change once (widgets and
// windows get their own copies of the event); only that one counts.
class TPaletteWatcher : public QObject {
public:
    explicit TPaletteWatcher(std::function<void()> changed) : changed_(std::move(changed))
    {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->installEventFilter(this);
    }
    ~TPaletteWatcher() override
    {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance())
            changed_();
        return false;
    }

private:
    std::function<void()> changed_;
};

class TTimerFdClockSource : public TClockSetSource {
public:
    TTimerFdClockSource(int fd, std::chrono::milliseconds ahead) : fd_(fd), ahead_(ahead) {}
    ~TTimerFdClockSource() override { close(fd_); }
    TTimerFdClockSource(const TTimerFdClockSource&) = delete;
    TTimerFdClockSource& operator=(const TTimerFdClockSource&) = delete;

    int Fd() const override { return fd_; }

    bool Arm() override
    {
        timespec now{};
        if (clock_gettime(CLOCK_REALTIME, &now) != 0)
            return false;
        constexpr long NsPerSecond = 1'000'000'000L;
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(ahead_);
        const long nanoseconds = now.tv_nsec + static_cast<long>((ahead_ - seconds).count()) * 1'000'000L;
        itimerspec deadline{};
        deadline.it_value.tv_sec = now.tv_sec + static_cast<time_t>(seconds.count()) + nanoseconds / NsPerSecond;
        deadline.it_value.tv_nsec = nanoseconds % NsPerSecond;
        return timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &deadline, nullptr) == 0;
    }

    TReading Read() override
    {
        std::uint64_t expirations = 0;
        const ssize_t result = read(fd_, &expirations, sizeof expirations);
        return ClassifyClockRead(result, result < 0 ? errno : 0);
    }

private:
    int fd_;
    std::chrono::milliseconds ahead_;
};

} // namespace

TClockSetSource::TReading ClassifyClockRead(ssize_t result, int error)
{
    if (result < 0)
        return error == ECANCELED ? TClockSetSource::TReading::ClockSet : TClockSetSource::TReading::Nothing;
    // A timer descriptor hands out its 8-byte expiry count whole or not at all.
    return result == static_cast<ssize_t>(sizeof(std::uint64_t)) ? TClockSetSource::TReading::Expired
                                                                  : TClockSetSource::TReading::Nothing;
}

std::unique_ptr<TClockSetSource> CreateClockSetSource(std::chrono::milliseconds ahead)
{
    const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_unique<TTimerFdClockSource>(fd, ahead);
}

TSystemEvents::TSystemEvents(std::unique_ptr<TClockSetSource> clock) : clock_(std::move(clock))
{
    paletteWatcher_ = std::make_unique<TPaletteWatcher>([this] {
        if (OnColorsChanged)
            RunGuarded(nullptr, OnColorsChanged);
    });
    if (clock_ == nullptr || QCoreApplication::instance() == nullptr || !clock_->Arm())
        return;
    notifier_ = std::make_unique<QSocketNotifier>(clock_->Fd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { ClockReadable(); });
}

TSystemEvents::~TSystemEvents()
{
    notifier_.reset();
    paletteWatcher_.reset();
}

void TSystemEvents::ClockReadable()
{
    switch (clock_->Read()) {
    case TClockSetSource::TReading::ClockSet:
        // A cancelled timer stays cancelled until it is armed again.
        clock_->Arm();
        if (OnClockSet)
            RunGuarded(nullptr, OnClockSet);
        break;
    case TClockSetSource::TReading::Expired:
        clock_->Arm();
        break;
    case TClockSetSource::TReading::Nothing:
        break;
    }
}
