#include "framework/WindowBinding.h"

#include "framework/Application.h"
#include "framework/Buttons.h"
#include "framework/DeviceContext.h"
#include "framework/StdCtrls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <map>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

// ---------------------------------------------------------------------------
// TWindowSurface

void TWindowSurface::Changed(const TRect& rect)
{
    if (!painting_ && !widget_.isNull())
        widget_->update(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()));
}

void TWindowSurface::Resize(int width, int height, QRgb fill)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (image_.width() == width && image_.height() == height && !image_.isNull())
        return;
    QImage resized(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    resized.fill(fill);
    if (!image_.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
}

void RaiseWindow(QWidget* widget)
{
    if (widget != nullptr && QGuiApplication::platformName() != QLatin1String("offscreen"))
        widget->raise();
}

void ShowSurface(QWidget* widget, const QImage& image, const QRect& area, QPoint offset)
{
    QPainter painter(widget);
    painter.drawImage(area, image, area.translated(offset));
}

// ---------------------------------------------------------------------------
// Event translation

namespace EventTranslation {

namespace {

struct KeyMapping {
    int qtKey;
    WORD virtualKey;
};

// Qt keys and their virtual keys; letters and digits map to themselves.
constexpr KeyMapping KeyTable[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},        {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Delete, VK_DELETE},
};

LPARAM KeyData(const QKeyEvent* event)
{
    return 1 | (event->modifiers().testFlag(Qt::AltModifier) ? KF_ALTDOWN_LPARAM : 0);
}

} // namespace

UINT MouseMessage(const QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    const bool middle = event->button() == Qt::MiddleButton;
    switch (event->type()) {
    case QEvent::MouseMove:
        return WM_MOUSEMOVE;
    case QEvent::MouseButtonPress:
        return left ? WM_LBUTTONDOWN : right ? WM_RBUTTONDOWN : middle ? WM_MBUTTONDOWN : 0;
    case QEvent::MouseButtonRelease:
        return left ? WM_LBUTTONUP : right ? WM_RBUTTONUP : middle ? WM_MBUTTONUP : 0;
    case QEvent::MouseButtonDblClick:
        return left ? WM_LBUTTONDBLCLK : right ? WM_RBUTTONDBLCLK : middle ? WM_MBUTTONDBLCLK : 0;
    default:
        return 0;
    }
}

WPARAM MouseKeys(const QMouseEvent* event)
{
    WPARAM keys = 0;
    const Qt::MouseButtons buttons = event->buttons();
    if (buttons.testFlag(Qt::LeftButton))
        keys |= MK_LBUTTON;
    if (buttons.testFlag(Qt::RightButton))
        keys |= MK_RBUTTON;
    if (buttons.testFlag(Qt::MiddleButton))
        keys |= MK_MBUTTON;
    if (event->modifiers().testFlag(Qt::ShiftModifier))
        keys |= MK_SHIFT;
    if (event->modifiers().testFlag(Qt::ControlModifier))
        keys |= MK_CONTROL;
    return keys;
}

LPARAM MousePoint(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    return MakeLParam(p.x(), p.y());
}

WORD VirtualKey(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<WORD>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return static_cast<WORD>(0x70 + (qtKey - Qt::Key_F1));
    for (const KeyMapping& mapping : KeyTable)
        if (mapping.qtKey == qtKey)
            return mapping.virtualKey;
    return 0;
}

bool SendKeyPress(HWND window, const QKeyEvent* event)
{
    const WORD key = VirtualKey(event->key());
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    const LPARAM data = KeyData(event);
    if (key != 0)
        SendMessage(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, data);
    // The character follows its key, as the message loop's translation makes it;
    // control characters other than backspace stay keys only.
    const QString text = event->text();
    if (IsWindow(window) && text.size() == 1) {
        const QChar ch = text.at(0);
        const bool printable = ch.unicode() >= 0x20 && ch.unicode() < 0x7F;
        if (printable || (ch.unicode() == 0x08 && !alt))
            SendMessage(window, alt ? WM_SYSCHAR : WM_CHAR, ch.unicode(), data);
    }
    return key != 0 || !text.isEmpty();
}

void SendKeyRelease(HWND window, const QKeyEvent* event)
{
    const WORD key = VirtualKey(event->key());
    if (key == 0)
        return;
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    SendMessage(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, KeyData(event) | (LPARAM{3} << 30));
}

} // namespace EventTranslation

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

// A popup window made by CreateWindowEx: its class procedure paints it from
// WM_ERASEBKGND (with a device context in WParam) and WM_PAINT.
class TPopupWidget : public QWidget {
public:
    TPopupWidget(QWidget* owner, TWindowSurface*& surface)
        : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), surface_(surface)
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
                const HDC dc = CreateSurfaceDC(surface_);
                struct Release {
                    HDC dc;
                    ~Release() { DeleteDC(dc); }
                } release{dc};
                SendMessage(self, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
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
        widget_->show(); // a popup never takes the activation
        RaiseWindow(widget_.data());
    }

private:
    TWindowSurface* surfacePointer_ = nullptr;
    std::unique_ptr<TWindowSurface> surface_;
    QPointer<TPopupWidget> widget_;
};

} // namespace

// ---------------------------------------------------------------------------
// Accessibility

namespace {

QAccessible::Role RoleOf(const TControl* control)
{
    if (dynamic_cast<const TButton*>(control) != nullptr || dynamic_cast<const TSpeedButton*>(control) != nullptr)
        return QAccessible::Button;
    if (dynamic_cast<const TGroupBox*>(control) != nullptr)
        return QAccessible::Grouping;
    if (dynamic_cast<const TWinControl*>(control) == nullptr)
        return QAccessible::StaticText;
    return QAccessible::Pane;
}

QString NameOf(const TControl* control)
{
    return QString::fromStdString(control->AccessibleName().empty() ? control->Caption() : control->AccessibleName());
}

class TWindowlessAccessible : public QAccessibleInterface {
public:
    explicit TWindowlessAccessible(TControl* control) : control_(control) {}
    bool isValid() const override { return control_ != nullptr && control_->Parent() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        QWidget* widget = isValid() ? control_->Parent()->ClientWidget() : nullptr;
        return widget != nullptr ? widget->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return isValid() ? QAccessible::queryAccessibleInterface(control_->Parent()->ClientWidget()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name:
            return NameOf(control_);
        case QAccessible::Description:
            return QString::fromStdString(control_->Hint());
        case QAccessible::Value:
            return QString::fromStdString(control_->Caption());
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const TPoint origin = control_->ClientOrigin();
        return QRect(origin.X, origin.Y, control_->Width(), control_->Height());
    }
    QAccessible::Role role() const override { return RoleOf(control_); }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !isValid() || !control_->Showing();
        state.disabled = isValid() && !control_->Enabled();
        return state;
    }
    void Forget() { control_ = nullptr; }

private:
    TControl* control_;
};

std::map<const TControl*, QAccessible::Id>& WindowlessIds()
{
    static std::map<const TControl*, QAccessible::Id> ids;
    return ids;
}

QAccessibleInterface* WindowlessInterface(TControl* control)
{
    auto& ids = WindowlessIds();
    if (const auto it = ids.find(control); it != ids.end())
        return QAccessible::accessibleInterface(it->second);
    auto* iface = new TWindowlessAccessible(control);
    ids[control] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

// A windowed control's widget: its child widgets, then its windowless children.
class TControlWidgetAccessible : public QAccessibleWidget {
public:
    explicit TControlWidgetAccessible(TControlWidget* widget)
        : QAccessibleWidget(widget, RoleOf(widget->Control())), control_(widget->Control())
    {
    }
    int childCount() const override { return QAccessibleWidget::childCount() + static_cast<int>(Windowless().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const int widgets = QAccessibleWidget::childCount();
        if (index < widgets)
            return QAccessibleWidget::child(index);
        const std::vector<TControl*> windowless = Windowless();
        const auto i = static_cast<std::size_t>(index - widgets);
        return i < windowless.size() ? WindowlessInterface(windowless[i]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child)
                return i;
        return -1;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QString::fromStdString(control_->Caption());
        return QAccessibleWidget::text(t);
    }

private:
    std::vector<TControl*> Windowless() const
    {
        std::vector<TControl*> result;
        for (int i = 0; i < control_->ControlCount(); ++i)
            if (dynamic_cast<TWinControl*>(control_->Controls(i)) == nullptr)
                result.push_back(control_->Controls(i));
        return result;
    }
    TWinControl* control_;
};

QAccessibleInterface* ControlWidgetFactory(const QString&, QObject* object)
{
    if (auto* widget = dynamic_cast<TControlWidget*>(object))
        return new TControlWidgetAccessible(widget);
    return nullptr;
}

} // namespace

void InstallAccessibleFactory()
{
    static bool installed = false;
    if (!installed) {
        installed = true;
        QAccessible::installFactory(ControlWidgetFactory);
    }
}

void ForgetAccessibleControl(TControl* control)
{
    auto& ids = WindowlessIds();
    const auto it = ids.find(control);
    if (it == ids.end())
        return;
    if (auto* iface = static_cast<TWindowlessAccessible*>(QAccessible::accessibleInterface(it->second)))
        iface->Forget();
    QAccessible::deleteAccessibleInterface(it->second);
    ids.erase(it);
}

std::unique_ptr<TWindowBinding> MakeControlBinding(TWinControl* control, const TCreateParams& params)
{
    return std::make_unique<TControlBinding>(control, params);
}

std::unique_ptr<TWindowHost> CreatePopupHost(HWND owner, const std::string&, const TRect& bounds)
{
    QWidget* ownerWidget = nullptr;
    if (TWindowHost* host = WindowHost(owner))
        if (QWidget* widget = host->Widget())
            ownerWidget = widget->window();
    return std::make_unique<TPopupHost>(ownerWidget, bounds);
}
