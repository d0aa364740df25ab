// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessiblemenus.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QApplication>
#include <QMenu>
#include <QPointer>

#include <utility>

namespace {

// The menus given to expose, in that order; a destroyed one reads as null
// until the next expose drops it.
QList<QPointer<QMenu>> &exposedMenus()
{
    static QList<QPointer<QMenu>> menus;
    return menus;
}

// The application with its exposed pop-up menus that are shown after its
// windows.
class ApplicationWithMenus : public QAccessibleApplication
{
public:
    int childCount() const override
    {
        return QAccessibleApplication::childCount() + int(shownMenus().size());
    }

    QAccessibleInterface *child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
            return QAccessibleApplication::child(index);
        const QList<QMenu *> menus = shownMenus();
        const qsizetype at = index - windows;
        return at < menus.size() ? QAccessible::queryAccessibleInterface(menus.at(at)) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const int window = QAccessibleApplication::indexOfChild(child);
        if (window >= 0 || !child)
            return window;
        const qsizetype menu = shownMenus().indexOf(qobject_cast<QMenu *>(child->object()));
        return menu < 0 ? -1 : QAccessibleApplication::childCount() + int(menu);
    }

private:
    static QList<QMenu *> shownMenus()
    {
        QList<QMenu *> menus;
        for (const QPointer<QMenu> &menu : std::as_const(exposedMenus())) {
            if (menu && menu->isVisible())
                menus << menu.data();
        }
        return menus;
    }
};

QAccessibleInterface *applicationFactory(const QString &, QObject *object)
{
    if (object && object == qApp && qobject_cast<QApplication *>(object))
        return new ApplicationWithMenus;
    return nullptr;
}

// Installs the factory once. replaceCached: the application's plain object,
// if the bridge has asked for it already, is dropped so that the next
// request makes the one with menus; only safe before the event loop runs.
void install(bool replaceCached)
{
    static bool installed = false;
    if (installed || !qobject_cast<QApplication *>(qApp))
        return;
    installed = true;
    QAccessible::installFactory(applicationFactory);
    if (!replaceCached)
        return;
    QAccessibleInterface *current = QAccessible::queryAccessibleInterface(qApp);
    if (current && !dynamic_cast<ApplicationWithMenus *>(current))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(current));
}

void installAtStart()
{
    install(true);
}

} // namespace

// As the application is created, before any screen reader is served.
Q_COREAPP_STARTUP_FUNCTION(installAtStart)

void AccessibleMenus::expose(QMenu *menu)
{
    install(false);
    if (!menu)
        return;
    QList<QPointer<QMenu>> &menus = exposedMenus();
    menus.removeIf([](const QPointer<QMenu> &exposed) { return exposed.isNull(); });
    if (!menus.contains(menu))
        menus.append(menu);
}
