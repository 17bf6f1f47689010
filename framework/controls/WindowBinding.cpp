#include "framework/controls/WindowBinding.h"

#include "framework/controls/Application.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/windows/ErrorGuard.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>

// ---------------------------------------------------------------------------
// TControlWidget

TControlWidget::TControlWidget(TWinControl* control, TWindowSurface* surface, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), control_(control), surface_(surface)
{
    InstallAccessibleFactory();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus); // focus moves by the framework's own rules
}

HWND TControlWidget::Target() const
{
    return control_->HandleAllocated() ? control_->Handle() : nullptr;
}

void TControlWidget::Invalidate(const QRect& rect)
{
    const QRect area = rect.intersected(this->rect());
    if (area.isEmpty())
        return;
    // A pending full repaint stays full.
    if (!dirty_ || !dirtyRect_.isEmpty())
        dirtyRect_ = dirtyRect_.united(area);
    dirty_ = true;
    update(area);
}

bool TControlWidget::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Before Qt's own focus chain sees Tab: the dialog manager decides.
        // Typing ends a hint.
        if (Application != nullptr)
            Application->CancelHint();
        auto* key = static_cast<QKeyEvent*>(event);
        const HWND target = Target();
        RunGuarded(control_, [target, key] { EventTranslation::SendKeyPress(target, key); });
        return true;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        const HWND target = Target();
        RunGuarded(control_, [target, key] { EventTranslation::SendKeyRelease(target, key); });
        return true;
    }
    case QEvent::ShortcutOverride:
        event->accept(); // keys are the window's, not shortcuts
        return true;
    case QEvent::Resize:
        if (surface_ != nullptr) {
            surface_->Resize(width(), height(), ColorToQRgb(control_->Color()));
            dirty_ = true;
            dirtyRect_ = QRect();
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TControlWidget::paintEvent(QPaintEvent* event)
{
    if (surface_ == nullptr)
        return;
    if (surface_->Image().width() != width() || surface_->Image().height() != height()) {
        surface_->Resize(width(), height(), ColorToQRgb(control_->Color()));
        dirty_ = true;
        dirtyRect_ = QRect();
    }
    if (dirty_) {
        dirty_ = false;
        paintRect_ = dirtyRect_.isEmpty() ? rect() : dirtyRect_;
        dirtyRect_ = QRect();
        surface_->SetPainting(true);
        const HWND target = Target();
        RunGuarded(control_, [target] { SendMessage(target, WM_PAINT); });
        surface_->SetPainting(false);
    }
    ShowSurface(this, surface_->Image(), event->rect());
}

void TControlWidget::SendMouse(QMouseEvent* event)
{
    const UINT msg = EventTranslation::MouseMessage(event);
    if (msg == 0)
        return;
    const HWND target = Target();
    const WPARAM keys = EventTranslation::MouseKeys(event);
    const LPARAM point = EventTranslation::MousePoint(event);
    RunGuarded(control_, [=] { SendMessage(target, msg, keys, point); });
}

void TControlWidget::mousePressEvent(QMouseEvent* event) { SendMouse(event); }
void TControlWidget::mouseReleaseEvent(QMouseEvent* event) { SendMouse(event); }
void TControlWidget::mouseDoubleClickEvent(QMouseEvent* event) { SendMouse(event); }
void TControlWidget::mouseMoveEvent(QMouseEvent* event) { SendMouse(event); }

void TControlWidget::enterEvent(QEnterEvent*)
{
    RunGuarded(control_, [this] { control_->Perform(CM_MOUSEENTER); });
}

void TControlWidget::leaveEvent(QEvent*)
{
    RunGuarded(control_, [this] { control_->Perform(CM_MOUSELEAVE); });
}

void TControlWidget::focusInEvent(QFocusEvent*)
{
    const HWND target = Target();
    RunGuarded(control_, [target] { SendMessage(target, WM_SETFOCUS); });
}

void TControlWidget::focusOutEvent(QFocusEvent*)
{
    const HWND target = Target();
    RunGuarded(control_, [target] { SendMessage(target, WM_KILLFOCUS); });
}
// ---------------------------------------------------------------------------
// The binding of a windowed control: a child window, or a popup when the
// control has no parent and asks for WS_POPUP.

namespace {

class TControlBinding : public TWindowBinding {
public:
    TControlBinding(TWinControl* control, const TCreateParams& params) : control_(control)
    {
        popup_ = control->Parent() == nullptr;
        QWidget* parentWidget = popup_ ? nullptr : control->Parent()->ClientWidget();
        Qt::WindowFlags flags;
        if (popup_)
            flags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
        widget_ = new TControlWidget(control, nullptr, parentWidget, flags);
        surface_ = std::make_unique<TWindowSurface>(widget_);
        widget_->SetSurface(surface_.get());
        if (popup_) {
            widget_->setAttribute(Qt::WA_ShowWithoutActivating);
            widget_->setAttribute(Qt::WA_X11DoNotAcceptFocus);
        }
        (void)params;
    }

    ~TControlBinding() override
    {
        if (!widget_.isNull()) {
            widget_->SetSurface(nullptr);
            delete widget_.data();
        }
    }

    QWidget* Widget() override { return widget_.data(); }
    TSurface* Surface() override { return surface_.get(); }
    TSurface* WindowSurface() override { return surface_.get(); }

    void SetBoundsFromControl() override
    {
        if (!widget_.isNull())
            widget_->setGeometry(control_->Left(), control_->Top(), std::max(control_->Width(), 0),
                                 std::max(control_->Height(), 0));
    }

    void SyncVisibility() override
    {
        if (widget_.isNull())
            return;
        widget_->setVisible(control_->Visible() && (!popup_ || control_->HandleAllocated()));
    }

    void SetWindowRect(const TRect& rect) override
    {
        control_->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    }

    TSize ClientSize() const override
    {
        const TRect r = control_->ClientRect();
        return {r.Width(), r.Height()};
    }

    void ShowCommand(int command) override
    {
        control_->SetVisible(command != SW_HIDE);
        if (command != SW_HIDE && popup_)
            RaiseWindow(widget_.data());
    }

    void InvalidateClient(const TRect* rect) override
    {
        if (!widget_.isNull())
            widget_->Invalidate(rect != nullptr ? QRect(rect->Left, rect->Top, rect->Width(), rect->Height())
                                                : widget_->rect());
    }

    TRect PaintRect() const override
    {
        return widget_.isNull() ? TRect{} : widget_->PaintRect();
    }

private:
    TWinControl* control_;
    bool popup_ = false;
    std::unique_ptr<TWindowSurface> surface_;
    QPointer<TControlWidget> widget_;
};

} // namespace

std::unique_ptr<TWindowBinding> MakeControlBinding(TWinControl* control, const TCreateParams& params)
{
    return std::make_unique<TControlBinding>(control, params);
}
