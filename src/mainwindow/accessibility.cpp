// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include "colourswatch.h"
#include "scalespinner.h"
#include "tabstrip.h"

#include "platform/accessibleleaf.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPointer>

#include <array>

namespace {

constexpr char roleProperty[] = "lorvaAccessibleRole";

// One painted tab of the strip: named by its caption, selected when its panel
// is shown; pressing it shows its panel.
class TabAccessible
    : public AccessibleLeaf
    , public QAccessibleActionInterface
{
public:
    TabAccessible(TabStrip *strip, int tab)
        : m_strip(strip)
        , m_tab(tab)
    { }

    bool isValid() const override { return !m_strip.isNull(); }
    QWindow *window() const override
    {
        QAccessibleInterface *p = parent();
        return p ? p->window() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_strip.data());
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return TabStrip::tabCaption(m_tab);
        if (t == QAccessible::Description)
            return QStringLiteral("Onglet %1 sur 4").arg(m_tab);
        return QString();
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        if (!m_strip)
            return QRect();
        const QRect r = m_strip->tabRect(m_tab);
        return QRect(m_strip->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!m_strip)
            return s;
        const bool current = m_strip->currentTab() == m_tab;
        s.selectable = true;
        s.focusable = true;
        s.selected = current;
        s.focused = current && m_strip->hasFocus();
        s.invisible = !m_strip->isVisible();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && m_strip)
            m_strip->selectTab(m_tab);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<TabStrip> m_strip;
    int m_tab;
};

// The strip: a page-tab list whose first four children are its tabs, then
// its panels.
class TabStripAccessible : public QAccessibleWidget
{
public:
    explicit TabStripAccessible(TabStrip *strip)
        : QAccessibleWidget(strip, QAccessible::PageTabList)
    {
        for (int i = 0; i < 4; ++i)
            m_tabs[i] = QAccessible::registerAccessibleInterface(new TabAccessible(strip, i + 1));
    }
    ~TabStripAccessible() override
    {
        for (QAccessible::Id id : m_tabs)
            QAccessible::deleteAccessibleInterface(id);
    }

    TabStrip *strip() const { return static_cast<TabStrip *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("Onglets");
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 4 + QAccessibleWidget::childCount(); }
    QAccessibleInterface *child(int index) const override
    {
        if (index >= 0 && index < 4)
            return QAccessible::accessibleInterface(m_tabs[index]);
        return QAccessibleWidget::child(index - 4);
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < 4; ++i) {
            if (QAccessible::accessibleInterface(m_tabs[i]) == child)
                return i;
        }
        const int index = QAccessibleWidget::indexOfChild(child);
        return index < 0 ? -1 : index + 4;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < 4; ++i) {
            QAccessibleInterface *tab = child(i);
            if (tab && tab->rect().contains(x, y))
                return tab;
        }
        return QAccessibleWidget::childAt(x, y);
    }
    QAccessibleInterface *focusChild() const override
    {
        if (strip()->hasFocus())
            return child(strip()->currentTab() - 1);
        return QAccessibleWidget::focusChild();
    }

private:
    std::array<QAccessible::Id, 4> m_tabs {};
};

// A scale spinner: a spin box from 0 to 90 by tens whose value text is what
// the bar stands for. A larger value is a shorter bar.
class SpinnerAccessible
    : public QAccessibleWidget
    , public QAccessibleValueInterface
{
public:
    explicit SpinnerAccessible(ScaleSpinner *spinner)
        : QAccessibleWidget(spinner, QAccessible::SpinBox)
    { }
    ScaleSpinner *spinner() const { return static_cast<ScaleSpinner *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) {
            // The bar is 100 - value pixels long.
            const int length = 100 - spinner()->value();
            return QStringLiteral("%1 pour une barre de %2 pixels")
                .arg(spinner()->scaleText())
                .arg(length);
        }
        return QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QStringList actionNames() const override
    {
        return QAccessibleWidget::actionNames() << increaseAction() << decreaseAction();
    }
    void doAction(const QString &name) override
    {
        if (name == increaseAction())
            spinner()->arrowDown();
        else if (name == decreaseAction())
            spinner()->arrowUp();
        else
            QAccessibleWidget::doAction(name);
    }

    QVariant currentValue() const override { return spinner()->value(); }
    void setCurrentValue(const QVariant &value) override { spinner()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return ScaleSpinner::maximum; }
    QVariant minimumValue() const override { return ScaleSpinner::minimum; }
    QVariant minimumStepSize() const override { return ScaleSpinner::step; }
};

// A colour swatch: a button that opens the colour picker.
class SwatchAccessible : public QAccessibleWidget
{
public:
    explicit SwatchAccessible(ColourSwatch *swatch)
        : QAccessibleWidget(swatch, QAccessible::Button)
    { }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return static_cast<ColourSwatch *>(widget())->colour().name();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return QStringList {pressAction()} << QAccessibleWidget::actionNames();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction())
            static_cast<ColourSwatch *>(widget())->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

// A plain widget given a role; a label is named by its text.
class RoleAccessible : public QAccessibleWidget
{
public:
    RoleAccessible(QWidget *widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    { }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            if (const auto *label = qobject_cast<const QLabel *>(widget()))
                return label->text();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    // Answered once, for the object's own class.
    if (!widget || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto *strip = qobject_cast<TabStrip *>(widget))
        return new TabStripAccessible(strip);
    if (auto *spinner = qobject_cast<ScaleSpinner *>(widget))
        return new SpinnerAccessible(spinner);
    if (auto *swatch = qobject_cast<ColourSwatch *>(widget))
        return new SwatchAccessible(swatch);
    const QVariant role = widget->property(roleProperty);
    if (role.isValid())
        return new RoleAccessible(widget, QAccessible::Role(role.toInt()));
    return nullptr;
}

} // namespace

void Accessibility::installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

void Accessibility::setRole(QWidget *widget, QAccessible::Role role)
{
    widget->setProperty(roleProperty, int(role));
}
