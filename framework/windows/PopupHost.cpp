#include "framework/windows/PopupHost.h"

#include "framework/graphics/DcGuards.h"
#include "framework/windows/Display.h"
#include "framework/windows/DisplayX11.h"
#include "framework/windows/ErrorGuard.h"
#include "framework/windows/WindowSurface.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace {

// A popup window made by CreateWindowEx: its class procedure paints it from
// WM_ERASEBKGND (with a device context in WParam) and WM_PAINT.
class TPopupWidget : public QWidget {
public:
    TPopupWidget(QWidget* owner, TWindowSurface*& surface)
        // A window the window manager never manages (override-redirect on
        // X11): it is mapped and unmapped the moment the program asks, with no
        // frame, placement or taskbar entry of the manager's. A managed window
        // hidden and shown again while the manager still handles its previous
        // map is taken for withdrawn and stays unmapped, although Qt believes
        // it shown. The popup host stacks it above its owner itself; it never
        // takes the focus, and the pointer goes through it.
        : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                             Qt::WindowTransparentForInput),
          surface_(surface)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_X11DoNotAcceptFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    bool dirty = true;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Resize && surface_ != nullptr) {
            surface_->Resize(width(), height(), 0xFFFFFFFF);
            dirty = true;
        }
        return QWidget::event(event);
    }

    void paintEvent(QPaintEvent* event) override
    {
        if (surface_ == nullptr)
            return;
        surface_->Resize(width(), height(), 0xFFFFFFFF);
        if (dirty) {
            dirty = false;
            const HWND self = WindowFromWidget(this);
            surface_->SetPainting(true);
            RunGuarded(nullptr, [this, self] {
                TOwnedDC dc(CreateSurfaceDC(surface_));
                SendMessage(self, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
                SendMessage(self, WM_PAINT);
            });
            surface_->SetPainting(false);
        }
        ShowSurface(this, surface_->Image(), event->rect());
    }

private:
    TWindowSurface*& surface_;
};

// Tells whether a native window is on the screen each time that changes:
// Qt reports a window unexposed once it is unmapped, also by a window manager
// that takes it to another desktop or minimises it.
class TExposureWatch : public QObject {
public:
    explicit TExposureWatch(std::function<void(bool)> onChange) : onChange_(std::move(onChange)) {}
    ~TExposureWatch() override
    {
        if (!watched_.isNull())
            watched_->removeEventFilter(this);
    }
    void Watch(QWindow* window)
    {
        if (window == nullptr || window == watched_)
            return;
        if (!watched_.isNull())
            watched_->removeEventFilter(this);
        watched_ = window;
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && object == watched_) {
            const bool exposed = watched_->isExposed();
            RunGuarded(nullptr, [this, exposed] { onChange_(exposed); });
        }
        return QObject::eventFilter(object, event);
    }

private:
    std::function<void(bool)> onChange_;
    QPointer<QWindow> watched_;
};

class TPopupHost : public TWindowHost {
public:
    TPopupHost(QWidget* owner, const TRect& bounds)
        : ownerWatch_([this](bool exposed) { OwnerExposed(exposed); })
    {
        widget_ = new TPopupWidget(owner, surfacePointer_);
        surface_ = std::make_unique<TWindowSurface>(widget_);
        surfacePointer_ = surface_.get();
        widget_->setGeometry(bounds.Left, bounds.Top, std::max(bounds.Width(), 0), std::max(bounds.Height(), 0));
        WatchOwner();
        // Another window raised over the owner, or the owner raised by a
        // window manager: the popup goes back directly above it.
        display_ = owner != nullptr ? CurrentDisplay() : nullptr;
        if (display_ != nullptr)
            restackToken_ = display_->WatchRestacking([this] {
                if (!widget_.isNull() && widget_->isVisible())
                    StackWithOwner();
            });
    }
    ~TPopupHost() override
    {
        if (display_ != nullptr && CurrentDisplay() == display_)
            display_->UnwatchRestacking(restackToken_);
        surfacePointer_ = nullptr;
        if (!widget_.isNull())
            delete widget_.data();
    }

    QWidget* Widget() override { return widget_.data(); }
    TSurface* WindowSurface() override { return surface_.get(); }
    // A shown popup moved or sized (a shadow that grows): its new area starts
    // out holding the screen there too, not the fill of a grown surface.
    void SetWindowRect(const TRect& rect) override
    {
        if (widget_.isNull())
            return;
        const QRect area(rect.Left, rect.Top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
        const bool retake = widget_->isVisible() && area != widget_->geometry();
        // Read before the popup moves: afterwards its own pixels lie there.
        TScreenPixels under = retake ? ScreenUnderAgain(area) : TScreenPixels{};
        widget_->setGeometry(area);
        if (retake) {
            under_ = std::move(under);
            PutUnder();
        }
    }
    void InvalidateClient(const TRect*) override
    {
        if (!widget_.isNull()) {
            widget_->dirty = true;
            widget_->update();
        }
    }
    void ShowCommand(int command) override
    {
        if (widget_.isNull())
            return;
        shown_ = command != SW_HIDE;
        WatchOwner();
        Apply();
    }

private:
    // On the screen when the program shows it and its owner is there too. No
    // window manager hides an unmanaged popup with its owner, so the popup
    // follows the owner itself.
    void Apply()
    {
        if (!shown_ || ownerAway_) {
            widget_->hide();
            return;
        }
        if (!widget_->isVisible())
            TakeScreenUnder();
        widget_->show(); // a popup never takes the activation
        StackWithOwner();
    }

    void WatchOwner()
    {
        if (QWidget* owner = widget_->parentWidget())
            ownerWatch_.Watch(owner->window()->windowHandle());
    }

    // The owner left the screen while the program still shows it (a window
    // manager took it to another desktop or minimised it), or came back.
    void OwnerExposed(bool exposed)
    {
        if (widget_.isNull())
            return;
        const QWidget* owner = widget_->parentWidget();
        const bool away = !exposed && owner != nullptr && owner->isVisible();
        if (away == ownerAway_)
            return;
        ownerAway_ = away;
        Apply();
    }

    // Owned popups stand directly above their owner: another program's window
    // that covers the owner covers them too. No window manager stacks them, so
    // every show puts them there again (the owner may have been raised since).
    // Without an owner, on top.
    void StackWithOwner()
    {
        QWidget* owner = widget_->parentWidget();
        // The native windows as they are now: Qt may have made the popup's
        // window anew since the widget first had one.
        const QWindow* popup = widget_->windowHandle();
        const QWindow* below = owner != nullptr ? owner->window()->windowHandle() : nullptr;
        if (QGuiApplication::platformName() == QLatin1String("xcb") && popup != nullptr && below != nullptr)
            X11StackAbove(popup->winId(), below->winId());
        else
            RaiseWindow(widget_.data());
    }

    struct TScreenPixels {
        QRect Area;
        QImage Pixels; // null when nothing could be read
    };

    // A window without a background of its own starts out holding what the
    // screen showed where it appears; its erase works on those pixels.
    void TakeScreenUnder()
    {
        under_ = ScreenPixels(widget_->geometry());
        PutUnder();
    }

    // The screen under area while the popup is shown: where the popup stands,
    // the screen shows its own pixels, so there the last copy is kept.
    TScreenPixels ScreenUnderAgain(const QRect& area) const
    {
        TScreenPixels under = ScreenPixels(area);
        if (!under.Pixels.isNull() && !under_.Pixels.isNull()) {
            QPainter painter(&under.Pixels);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(under_.Area.topLeft() - area.topLeft(), under_.Pixels);
        }
        return under;
    }

    static TScreenPixels ScreenPixels(const QRect& area)
    {
        if (area.isEmpty())
            return {area, {}};
        QImage pixels;
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            if (TDisplay* display = CurrentDisplay())
                pixels = display->ScreenSurface()->Image().copy(area);
        } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
            pixels = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
        }
        return {area, pixels.isNull() ? QImage() : pixels.convertToFormat(QImage::Format_RGB32)};
    }

    // The copy of the screen becomes the popup's pixels, erased at the next paint.
    void PutUnder()
    {
        if (under_.Pixels.isNull())
            return;
        surface_->Resize(under_.Area.width(), under_.Area.height(), 0xFFFFFFFF);
        QPainter painter(&surface_->Image());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, under_.Pixels);
        widget_->dirty = true;
    }

    bool shown_ = false;     // the program's last show command showed the popup
    bool ownerAway_ = false; // a window manager took the owner off the screen
    TExposureWatch ownerWatch_;
    TDisplay* display_ = nullptr; // the display told of restacking, while it is installed
    int restackToken_ = 0;
    TScreenPixels under_; // the screen under the popup, as last copied
    TWindowSurface* surfacePointer_ = nullptr;
    std::unique_ptr<TWindowSurface> surface_;
    QPointer<TPopupWidget> widget_;
};

} // namespace

std::unique_ptr<TWindowHost> CreatePopupHost(HWND owner, const std::string&, const TRect& bounds)
{
    QWidget* ownerWidget = nullptr;
    if (TWindowHost* host = WindowHost(owner))
        if (QWidget* widget = host->Widget())
            ownerWidget = widget->window();
    return std::make_unique<TPopupHost>(ownerWidget, bounds);
}
