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

#include <algorithm>

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

class TPopupHost : public TWindowHost {
public:
    TPopupHost(QWidget* owner, const TRect& bounds)
    {
        widget_ = new TPopupWidget(owner, surfacePointer_);
        surface_ = std::make_unique<TWindowSurface>(widget_);
        surfacePointer_ = surface_.get();
        widget_->setGeometry(bounds.Left, bounds.Top, std::max(bounds.Width(), 0), std::max(bounds.Height(), 0));
    }
    ~TPopupHost() override
    {
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
        if (command == SW_HIDE) {
            widget_->hide();
            return;
        }
        if (!widget_->isVisible())
            TakeScreenUnder();
        widget_->show(); // a popup never takes the activation
        StackWithOwner();
    }

private:
    // Owned popups stand directly above their owner: another program's window
    // that covers the owner covers them too. No window manager stacks them, so
    // every show puts them there again (the owner may have been raised since).
    // Without an owner, on top.
    void StackWithOwner()
    {
        QWidget* owner = widget_->parentWidget();
        if (QGuiApplication::platformName() == QLatin1String("xcb") && owner != nullptr)
            X11StackAbove(widget_->winId(), owner->window()->winId());
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
