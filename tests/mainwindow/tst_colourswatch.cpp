// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/colourswatch.h"

#include <QtTest>

class TestColourSwatch : public QObject
{
    Q_OBJECT

private slots:
    void showsItsColour();
    void clicks();
};

void TestColourSwatch::showsItsColour()
{
    ColourSwatch swatch(QColor(0, 192, 0));
    swatch.resize(17, 17);
    QCOMPARE(swatch.grab().toImage().pixel(8, 8), qRgb(0, 192, 0));
    swatch.setColour(QColor(12, 34, 56));
    QCOMPARE(swatch.colour(), QColor(12, 34, 56));
    QCOMPARE(swatch.grab().toImage().pixel(8, 8), qRgb(12, 34, 56));
}

void TestColourSwatch::clicks()
{
    ColourSwatch swatch(Qt::red);
    swatch.resize(17, 17);
    swatch.show();
    QVERIFY(QTest::qWaitForWindowExposed(&swatch));
    QSignalSpy clicked(&swatch, &ColourSwatch::clicked);

    QTest::mouseClick(&swatch, Qt::LeftButton, {}, QPoint(8, 8));
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(&swatch, Qt::RightButton, {}, QPoint(8, 8));
    QCOMPARE(clicked.count(), 1);
    // Pressed on the swatch, released off it: no click.
    QTest::mousePress(&swatch, Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseRelease(&swatch, Qt::LeftButton, {}, QPoint(30, 8));
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(TestColourSwatch)
#include "tst_colourswatch.moc"
