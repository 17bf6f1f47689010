#include "framework/windows/PointerTrack.h"

#include "framework/runtime/ScopeExit.h"
#include "framework/windows/PointerX11.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

TPoint PointerNow()
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

class TTrack : public QObject {
public:
    TTrack(QWidget* widget, const std::function<void(TPoint)>* onMove) : widget_(widget), onMove_(onMove) {}

    TTrackEnd Run()
    {
        if (widget_.isNull())
            return {true, PointerNow()};
        const QMetaObject::Connection gone =
            QObject::connect(widget_.data(), &QObject::destroyed, &loop_, [this] { Finish(true, PointerNow()); });
        TScopeExit disconnect([&gone] { QObject::disconnect(gone); });
        qApp->installEventFilter(this);
        if (onMove_ != nullptr)
            widget_->grabMouse();
        TScopeExit release([this] {
            qApp->removeEventFilter(this);
            if (onMove_ != nullptr && !widget_.isNull())
                widget_->releaseMouse();
        });
        // The release may never reach us (a window manager's grab, a lost
        // grab): the X server is asked for the button's state as well.
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, &loop_, [this] {
            const std::optional<bool> held = X11LeftButtonHeld();
            const bool released = held.has_value()
                                      ? !*held
                                      : onMove_ == nullptr && !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton);
            if (!released)
                return;
            if (onMove_ != nullptr)
                (*onMove_)(PointerNow()); // the last move may still be queued
            Finish(false, PointerNow());
        });
        poll.start();
        loop_.exec(QEventLoop::AllEvents);
        return end_;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (finished_)
            return QObject::eventFilter(object, event);
        if (onMove_ == nullptr)
            return Awaiting(object, event);
        switch (event->type()) {
        case QEvent::MouseMove:
            (*onMove_)(GlobalOf(event));
            return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                Finish(false, GlobalOf(event));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                Finish(true, PointerNow());
            return true;
        default:
            return QObject::eventFilter(object, event);
        }
    }

private:
    // While a window manager moves or sizes the window, every event goes
    // through; a button event means the manager has let the pointer go. A
    // new press then ends this loop and comes again once it is over, so it
    // can start a loop of its own.
    bool Awaiting(QObject* receiver, QEvent* event)
    {
        switch (event->type()) {
        case QEvent::MouseButtonRelease:
            Finish(false, GlobalOf(event));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            Finish(false, PointerNow());
            QCoreApplication::postEvent(receiver, static_cast<QMouseEvent*>(event)->clone());
            return true;
        default:
            return false;
        }
    }

    static TPoint GlobalOf(QEvent* event)
    {
        const QPoint p = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        return {p.x(), p.y()};
    }

    void Finish(bool cancelled, TPoint release)
    {
        if (finished_)
            return;
        finished_ = true;
        end_ = {cancelled, release};
        loop_.quit();
    }

    QPointer<QWidget> widget_;
    const std::function<void(TPoint)>* onMove_;
    QEventLoop loop_;
    TTrackEnd end_;
    bool finished_ = false;
};

} // namespace

TTrackEnd FollowPointer(QWidget* widget, const std::function<void(TPoint)>& onMove)
{
    TTrack track(widget, &onMove);
    return track.Run();
}

TTrackEnd AwaitRelease(QWidget* widget)
{
    TTrack track(widget, nullptr);
    return track.Run();
}
