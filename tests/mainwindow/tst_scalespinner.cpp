// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/scalespinner.h"

#include "mainwindow/accessibility.h"

#include <QAccessible>
#include <QtTest>

namespace {

// Runs a spinner's accessible action; fails the case when there is none.
void doAccessibleAction(ScaleSpinner &spinner, const QString &name)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&spinner);
    QVERIFY(iface);
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(name));
    actions->doAction(name);
}

} // namespace

class TestScaleSpinner : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void arrows_data();
    void arrows();
    void setValueClamps();
};

void TestScaleSpinner::initTestCase()
{
    Accessibility::installFactory();
}

void TestScaleSpinner::arrows_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("expected");

    // The up arrow lowers the value (the bar grows), the down arrow raises it.
    QTest::newRow("up") << 70 << "up" << 60;
    QTest::newRow("down") << 30 << "down" << 40;
    QTest::newRow("up at 0 stays") << 0 << "up" << 0;
    QTest::newRow("down at 90 stays") << 90 << "down" << 90;
    QTest::newRow("up from 5 stops at 0") << 5 << "up" << 0;
    QTest::newRow("down from 85 stops at 90") << 85 << "down" << 90;
    QTest::newRow("click on the upper half") << 70 << "click up" << 60;
    QTest::newRow("click on the lower half") << 70 << "click down" << 80;
    QTest::newRow("Up key") << 20 << "key up" << 10;
    QTest::newRow("Down key") << 20 << "key down" << 30;
    // A screen reader's actions move the value itself: "increase" raises it.
    QTest::newRow("accessible increase") << 70 << "increase" << 80;
    QTest::newRow("accessible decrease") << 70 << "decrease" << 60;
    QTest::newRow("accessible increase at 90 stays") << 90 << "increase" << 90;
}

void TestScaleSpinner::arrows()
{
    QFETCH(int, start);
    QFETCH(QString, action);
    QFETCH(int, expected);

    ScaleSpinner spinner(start);
    spinner.resize(17, 17);
    QSignalSpy changed(&spinner, &ScaleSpinner::valueChanged);
    if (action == QLatin1String("up"))
        spinner.arrowUp();
    else if (action == QLatin1String("down"))
        spinner.arrowDown();
    else if (action == QLatin1String("click up"))
        QTest::mouseClick(&spinner, Qt::LeftButton, {}, QPoint(8, 3));
    else if (action == QLatin1String("click down"))
        QTest::mouseClick(&spinner, Qt::LeftButton, {}, QPoint(8, 13));
    else if (action == QLatin1String("key up"))
        QTest::keyClick(&spinner, Qt::Key_Up);
    else if (action == QLatin1String("key down"))
        QTest::keyClick(&spinner, Qt::Key_Down);
    else
        doAccessibleAction(spinner,
                           action == QLatin1String("increase")
                               ? QAccessibleActionInterface::increaseAction()
                               : QAccessibleActionInterface::decreaseAction());

    QCOMPARE(spinner.value(), expected);
    // A signal only when the value moved, carrying the new value.
    QCOMPARE(changed.count(), expected != start ? 1 : 0);
    if (!changed.isEmpty())
        QCOMPARE(changed.first().at(0).toInt(), expected);
}

void TestScaleSpinner::setValueClamps()
{
    ScaleSpinner spinner(200);
    QCOMPARE(spinner.value(), 90);
    spinner.setValue(-5);
    QCOMPARE(spinner.value(), 0);
    spinner.setValue(35);
    spinner.arrowUp();
    QCOMPARE(spinner.value(), 25);
}

QTEST_MAIN(TestScaleSpinner)
#include "tst_scalespinner.moc"
