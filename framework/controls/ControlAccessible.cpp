#include "framework/controls/WindowBinding.h"

#include "framework/runtime/sysutils.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <algorithm>
#include <map>
#include <vector>

// ---------------------------------------------------------------------------
// What a control tells assistive technology

std::string TControl::AccessibleLabel() const
{
    return accessibleName_.empty() ? StripAccelerators(Caption()) : accessibleName_;
}

std::optional<double> TControl::AccessibleValue() const
{
    if (!accessibleNumeric_)
        return std::nullopt;
    const std::optional<std::string> text = AccessibleText();
    if (!text)
        return std::nullopt;
    try {
        return StrToInt(*text);
    } catch (const EConvertError&) {
        return std::nullopt; // not a number (yet): no value
    }
}

// ---------------------------------------------------------------------------
// Accessibility

namespace {

// Qt's role for each of ours, indexed by TAccessibleRole.
constexpr QAccessible::Role QtRoles[] = {QAccessible::StaticText, QAccessible::Pane, QAccessible::Button,
                                         QAccessible::Grouping, QAccessible::ToolTip};

QAccessible::Role RoleOf(const TControl* control)
{
    return QtRoles[control->AccessibleRole()];
}

QString NameOf(const TControl* control)
{
    return QString::fromStdString(control->AccessibleLabel());
}

QString TextOf(const TControl* control)
{
    return QString::fromStdString(control->AccessibleText().value_or(std::string()));
}

// The text and value a control shows, read-only, as assistive technology
// reads them: one line, no caret, no selection. Control() is null once the
// control is gone.
class TShownTextAndValue : public QAccessibleTextInterface, public QAccessibleValueInterface {
public:
    // QAccessibleTextInterface
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = Shown();
        startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
        endOffset = endOffset < 0 ? static_cast<int>(all.size()) : std::clamp(endOffset, startOffset, static_cast<int>(all.size()));
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // QAccessibleValueInterface: the number shown, read-only.
    QVariant currentValue() const override
    {
        const std::optional<double> value = Control() != nullptr ? Control()->AccessibleValue() : std::nullopt;
        return value ? QVariant(*value) : QVariant();
    }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return QVariant(); }
    QVariant minimumValue() const override { return QVariant(); }
    QVariant minimumStepSize() const override { return QVariant(); }

protected:
    virtual const TControl* Control() const = 0;
    // The text and value interfaces the control has: text when it shows
    // text, value when that text is a number.
    void* ShownInterface(QAccessible::InterfaceType type)
    {
        const TControl* control = Control();
        if (control == nullptr)
            return nullptr;
        if (type == QAccessible::TextInterface && control->AccessibleText())
            return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::ValueInterface && control->AccessibleNumeric())
            return static_cast<QAccessibleValueInterface*>(this);
        return nullptr;
    }

private:
    QString Shown() const { return Control() != nullptr ? TextOf(Control()) : QString(); }
};

class TWindowlessAccessible : public QAccessibleInterface, public TShownTextAndValue {
public:
    explicit TWindowlessAccessible(TControl* control) : control_(control) {}
    void* interface_cast(QAccessible::InterfaceType type) override { return ShownInterface(type); }
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
            return TextOf(control_);
        default:
            return {};
        }
    }
    using TShownTextAndValue::text;
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

protected:
    const TControl* Control() const override { return isValid() ? control_ : nullptr; }

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
class TControlWidgetAccessible : public QAccessibleWidget, public TShownTextAndValue {
public:
    explicit TControlWidgetAccessible(TControlWidget* widget)
        : QAccessibleWidget(widget, RoleOf(widget->Control())), control_(widget->Control())
    {
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (void* shown = ShownInterface(type))
            return shown;
        return QAccessibleWidget::interface_cast(type);
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
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return NameOf(control_);
        if (t == QAccessible::Value)
            return TextOf(control_);
        return QAccessibleWidget::text(t);
    }
    using TShownTextAndValue::text;
    // The framework moves the keyboard focus itself (the widgets take none
    // from Qt): a control the Tab key reaches is focusable.
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (isValid()) {
            state.focusable = control_->TabStop() && control_->CanFocus();
            state.focused = control_->Focused();
        }
        return state;
    }

protected:
    const TControl* Control() const override { return isValid() ? control_ : nullptr; }

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

void TControl::NotifyAccessibleTextChanged(const std::optional<std::string>& oldText)
{
    // Nobody listens most of the time: then this costs one test per change.
    if (!QAccessible::isActive())
        return;
    const std::optional<std::string> text = AccessibleText();
    if (text == oldText)
        return;
    QAccessibleInterface* iface = nullptr;
    if (auto* windowed = dynamic_cast<TWinControl*>(this)) {
        if (windowed->HandleAllocated())
            iface = QAccessible::queryAccessibleInterface(windowed->Widget());
    } else if (parent_ != nullptr) {
        iface = WindowlessInterface(this);
    }
    if (iface == nullptr || !iface->isValid())
        return;
    if (text) {
        QAccessibleTextUpdateEvent changed(iface, 0, QString::fromStdString(oldText.value_or(std::string())),
                                           QString::fromStdString(*text));
        QAccessible::updateAccessibility(&changed);
    }
    if (accessibleNumeric_) {
        const std::optional<double> value = AccessibleValue();
        QAccessibleValueChangeEvent changed(iface, value ? QVariant(*value) : QVariant());
        QAccessible::updateAccessibility(&changed);
    }
}

void TWinControl::NotifyAccessibleFocus()
{
    if (!QAccessible::isActive() || !HandleAllocated())
        return;
    if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(Widget())) {
        QAccessibleEvent focus(iface, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
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
