#include "mainwindow/parameteredit.h"
#include "mainwindow/parameterpanel.h"

#include <QtTest>

class TestParameterPanel : public QObject
{
    Q_OBJECT

private slots:
    void formulasEndAtTheirField_data();
    void formulasEndAtTheirField();
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
    QCOMPARE(panel.Text5[index]->geometry(), QRect(128, top, 81, 21));
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

QTEST_MAIN(TestParameterPanel)
#include "tst_parameterpanel.moc"
