#include "framework/controls/WindowBinding.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <map>
#include <vector>

// ---------------------------------------------------------------------------
// Accessibility

namespace {

// Qt's role for each of ours, indexed by TAccessibleRole.
constexpr QAccessible::Role QtRoles[] = {QAccessible::StaticText, QAccessible::Pane, QAccessible::Button,
                                         QAccessible::Grouping};

QAccessible::Role RoleOf(const TControl* control)
{
    return QtRoles[control->AccessibleRole()];
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
