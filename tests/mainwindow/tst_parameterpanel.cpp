// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/parameteredit.h"
#include "mainwindow/parameterpanel.h"

#include <QtTest>

class TestParameterPanel : public QObject
{
    Q_OBJECT

private slots:
    void formulasEndAtTheirField_data();
    void formulasEndAtTheirField();
    void sphereIconRings_data();
    void sphereIconRings();
    void sphereIconShowsEveryGrey();
};

void TestParameterPanel::formulasEndAtTheirField_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("top");

    QTest::newRow("radius") << 0 << 40;
    QTest::newRow("mass") << 1 << 80;
    QTest::newRow("sphere density") << 5 << 120;
    QTest::newRow("height") << 2 << 160;
    QTest::newRow("viscosity") << 3 << 232;
    QTest::newRow("fluid density") << 4 << 276;
}

void TestParameterPanel::formulasEndAtTheirField()
{
    QFETCH(int, index);
    QFETCH(int, top);

    ParameterPanel panel;
    QCOMPARE(panel.Text5(index)->geometry(), QRect(128, top, 81, 21));
    panel.refresh();
    const QImage image = panel.surface().image();

    // The formula's last ink ("=") stops a blank's width short of the field,
    // and the unit starts right after it.
    int lastInk = -1;
    int firstUnitInk = -1;
    for (int y = top; y < top + 21; ++y) {
        for (int x = 0; x < 128; ++x) {
            if (qRed(image.pixel(x, y)) < 128)
                lastInk = std::max(lastInk, x);
        }
        for (int x = image.width() - 1; x >= 209; --x) {
            if (qRed(image.pixel(x, y)) < 128 && (firstUnitInk < 0 || x < firstUnitInk))
                firstUnitInk = x;
        }
    }
    QVERIFY2(lastInk >= 120 && lastInk <= 126, qPrintable(QString::number(lastInk)));
    QVERIFY2(firstUnitInk >= 211 && firstUnitInk <= 216, qPrintable(QString::number(firstUnitInk)));
}

void TestParameterPanel::sphereIconRings_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("grey");

    // Centre (20, 13), radius 10; across the centre, then to the lower right.
    QTest::newRow("left rim") << QPoint(11, 13) << 175;
    QTest::newRow("left, 8") << QPoint(12, 13) << 205;
    QTest::newRow("left, 7") << QPoint(13, 13) << 235;
    QTest::newRow("highlight") << QPoint(18, 11) << 255;
    QTest::newRow("right, 4") << QPoint(24, 13) << 235;
    QTest::newRow("right, 5") << QPoint(25, 13) << 225;
    QTest::newRow("right, 7") << QPoint(27, 13) << 195;
    QTest::newRow("right, 9") << QPoint(29, 13) << 165;
    QTest::newRow("outline") << QPoint(30, 13) << 0;
    QTest::newRow("diagonal, 2") << QPoint(22, 15) << 245;
    QTest::newRow("diagonal, 5") << QPoint(25, 18) << 185;
    QTest::newRow("lower rim") << QPoint(23, 22) << 155;
}

void TestParameterPanel::sphereIconRings()
{
    QFETCH(QPoint, at);
    QFETCH(int, grey);

    ParameterPanel panel;
    panel.refresh();
    QCOMPARE(QColor(panel.surface().image().pixel(at)), QColor(grey, grey, grey));
}

void TestParameterPanel::sphereIconShowsEveryGrey()
{
    ParameterPanel panel;
    panel.refresh();
    const QImage image = panel.surface().image();
    QHash<QRgb, int> count;
    for (int y = 0; y <= 26; ++y) {
        for (int x = 0; x <= 31; ++x)
            ++count[image.pixel(x, y)];
    }
    for (int a = 0; a <= 10; ++a) {
        const int level = 155 + 10 * a;
        QVERIFY2(count.value(qRgb(level, level, level)) > 0,
                 qPrintable(QStringLiteral("grey %1 is missing").arg(level)));
    }
}

QTEST_MAIN(TestParameterPanel)
#include "tst_parameterpanel.moc"
