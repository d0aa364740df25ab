// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/accessiblemenus.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <memory>

class TestAccessibleMenus : public QObject
{
    Q_OBJECT

private slots:
    void listing_data();
    void listing();
    void destroyedMenu();
};

namespace {

// How many of the application's accessible children stand for menu, as a
// screen reader walking the application meets them.
int timesListed(QMenu *menu)
{
    QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
    if (!application)
        return -1;
    int times = 0;
    for (int i = 0; i < application->childCount(); ++i) {
        QAccessibleInterface *child = application->child(i);
        if (child && child->object() == menu) {
            ++times;
            if (application->indexOfChild(child) != i)
                return -1;
        }
    }
    return times;
}

std::unique_ptr<QMenu> menuWithItems()
{
    auto menu = std::make_unique<QMenu>();
    menu->setAccessibleName(QStringLiteral("Menu Copier"));
    menu->addAction(QStringLiteral("&Copier la scène"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("Copier le &graphe"));
    return menu;
}

} // namespace

void TestAccessibleMenus::listing_data()
{
    QTest::addColumn<int>("exposures");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("listed");
    QTest::newRow("exposed and shown") << 1 << true << 1;
    QTest::newRow("exposed twice, listed once") << 2 << true << 1;
    QTest::newRow("exposed, hidden") << 1 << false << 0;
    QTest::newRow("shown, never exposed") << 0 << true << 0;
}

void TestAccessibleMenus::listing()
{
    QFETCH(int, exposures);
    QFETCH(bool, shown);
    QFETCH(int, listed);
    const std::unique_ptr<QMenu> menu = menuWithItems();
    // Another menu exposed and shown, so that the listing is installed and
    // not empty whatever the row.
    const std::unique_ptr<QMenu> other = menuWithItems();
    AccessibleMenus::expose(other.get());
    other->popup(QPoint(200, 10));
    QVERIFY(QTest::qWaitForWindowExposed(other.get()));
    for (int i = 0; i < exposures; ++i)
        AccessibleMenus::expose(menu.get());
    if (shown) {
        menu->popup(QPoint(10, 10));
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    }
    QCOMPARE(timesListed(other.get()), 1);
    QCOMPARE(timesListed(menu.get()), listed);
    if (listed == 0)
        return;
    // Its items by their captions, the mnemonic marks dropped, the separator apart.
    QAccessibleInterface *found = QAccessible::queryAccessibleInterface(menu.get());
    QVERIFY(found);
    QCOMPARE(found->text(QAccessible::Name), QStringLiteral("Menu Copier"));
    QStringList items;
    for (int i = 0; i < found->childCount(); ++i) {
        if (found->child(i)->role() == QAccessible::MenuItem)
            items << found->child(i)->text(QAccessible::Name);
    }
    QCOMPARE(items,
             QStringList({QStringLiteral("Copier la scène"), QStringLiteral("Copier le graphe")}));
}

void TestAccessibleMenus::destroyedMenu()
{
    auto menu = menuWithItems();
    QMenu *const gone = menu.get();
    AccessibleMenus::expose(gone);
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(gone));
    QCOMPARE(timesListed(gone), 1);
    menu.reset();
    QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
    QVERIFY(application);
    // No child stands for a destroyed menu, and the walk meets no null child.
    for (int i = 0; i < application->childCount(); ++i)
        QVERIFY(application->child(i));
    // A later menu is listed as usual once the forgotten one is dropped.
    const std::unique_ptr<QMenu> next = menuWithItems();
    AccessibleMenus::expose(next.get());
    next->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(next.get()));
    QCOMPARE(timesListed(next.get()), 1);
}

QTEST_MAIN(TestAccessibleMenus)
#include "tst_accessiblemenus.moc"
