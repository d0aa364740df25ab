// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/scalespinner.h"
#include "mainwindow/vectorpanel.h"
#include "platform/drawingsurface.h"

#include <QtTest>

namespace {

bool isBlack(const QImage &image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

bool isInk(const QImage &image, int x, int y)
{
    return qRed(image.pixel(x, y)) < 128;
}

// Topmost row with ink in columns left..right (inclusive) among rows
// top..bottom, -1 when there is none.
int topInk(const QImage &image, int left, int right, int top, int bottom)
{
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (isInk(image, x, y))
                return y;
        }
    }
    return -1;
}

// Arial 8 as the panel paints its labels.
DrawingSurface arial8()
{
    DrawingSurface s(1, 1);
    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(8);
    return s;
}

} // namespace

class TestVectorPanel : public QObject
{
    Q_OBJECT

private slots:
    void scaleTexts_data();
    void scaleTexts();
    void barsAndTicks_data();
    void barsAndTicks();
    void spinnerRedrawsItsBar();
    void velocityExponentIsRaised();
    void exponentsRepaintWhenVisible();
};

void TestVectorPanel::scaleTexts_data()
{
    QTest::addColumn<int>("exponent");
    QTest::addColumn<QString>("force");
    QTest::addColumn<QString>("velocity");

    QTest::newRow("-2") << -2 << QStringLiteral("0,01 N") << QStringLiteral("0,01 m · s");
    QTest::newRow("0") << 0 << QStringLiteral("1 N") << QStringLiteral("1 m · s");
    QTest::newRow("1") << 1 << QStringLiteral("10 N") << QStringLiteral("10 m · s");
    QTest::newRow("-5") << -5 << QStringLiteral("1E-05 N") << QStringLiteral("1E-05 m · s");
}

void TestVectorPanel::scaleTexts()
{
    QFETCH(int, exponent);
    QFETCH(QString, force);
    QFETCH(QString, velocity);
    QCOMPARE(VectorPanel::forceScaleText(exponent), force);
    QCOMPARE(VectorPanel::velocityScaleText(exponent), velocity);
}

void TestVectorPanel::barsAndTicks_data()
{
    QTest::addColumn<int>("forceValue");
    QTest::addColumn<int>("velocityValue");

    QTest::newRow("at load") << 70 << 30;
    QTest::newRow("longest and shortest") << 0 << 90;
}

void TestVectorPanel::barsAndTicks()
{
    QFETCH(int, forceValue);
    QFETCH(int, velocityValue);

    VectorPanel panel;
    panel.VScroll3()->setValue(forceValue);
    panel.VScroll1()->setValue(velocityValue);
    QCOMPARE(panel.forceBarLength(), 100 - forceValue);
    QCOMPARE(panel.velocityBarLength(), 100 - velocityValue);
    panel.refresh();
    const QImage image = panel.surface().image();

    const struct
    {
        int y;
        int length;
    } bars[] = {{128, panel.forceBarLength()}, {272, panel.velocityBarLength()}};
    for (const auto &bar : bars) {
        const int left = 64;
        const int right = left + bar.length;
        for (int x = left; x <= right; ++x)
            QVERIFY2(isBlack(image, x, bar.y), qPrintable(QString::number(x)));
        QVERIFY(!isBlack(image, left - 1, bar.y));
        QVERIFY(!isBlack(image, right + 1, bar.y));
        // Ticks: 3 pixels above to 3 below the bar, at both ends.
        for (const int x : {left, right}) {
            for (int y = bar.y - 3; y <= bar.y + 3; ++y)
                QVERIFY2(isBlack(image, x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            QVERIFY(!isBlack(image, x, bar.y - 4));
            QVERIFY(!isBlack(image, x, bar.y + 4));
            QVERIFY(!isBlack(image, x + 1, bar.y + 2));
        }
    }
}

void TestVectorPanel::spinnerRedrawsItsBar()
{
    VectorPanel panel;
    panel.refresh();
    QVERIFY(!isBlack(panel.surface().image(), 104, 130));
    panel.VScroll3()->arrowUp();
    QCOMPARE(panel.forceBarLength(), 40);
    QVERIFY(isBlack(panel.surface().image(), 104, 130));
    panel.VScroll1()->arrowDown();
    QCOMPARE(panel.velocityBarLength(), 60);
    QVERIFY(isBlack(panel.surface().image(), 124, 274));
    QVERIFY(!isBlack(panel.surface().image(), 134, 274));
}

void TestVectorPanel::velocityExponentIsRaised()
{
    VectorPanel panel;
    panel.setExponents(-2, 0);
    panel.refresh();
    const QImage image = panel.surface().image();
    const DrawingSurface font = arial8();
    const int h8 = font.textHeight(QStringLiteral("W"));
    const int labelTop = 272 - int(1.2 * h8 + 0.5);

    // The "1" that starts the label and the "1" of the exponent after it.
    const int one = font.textWidth(QStringLiteral("1"));
    const int baseTop = topInk(image, 64, 64 + one - 1, labelTop - 8, 271);
    const int exponentLeft
        = 64 + font.textWidth(QStringLiteral("1 m · s")) + font.textWidth(QStringLiteral("-"));
    const int raisedTop = topInk(image, exponentLeft, exponentLeft + one - 1, labelTop - 8, 271);
    QVERIFY(baseTop > 0);
    QCOMPARE(raisedTop, baseTop - 4);
}

void TestVectorPanel::exponentsRepaintWhenVisible()
{
    VectorPanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    // "1 N" is narrower than "0,01 N": ink right of it shows the new label.
    const DrawingSurface font = arial8();
    const int beyond = 64 + font.textWidth(QStringLiteral("1 N")) + 2;
    const int right = 64 + font.textWidth(QStringLiteral("0,01 N")) - 1;
    QCOMPARE(topInk(panel.surface().image(), beyond, right, 100, 124), -1);
    panel.setExponents(-2, 0);
    QVERIFY(topInk(panel.surface().image(), beyond, right, 100, 124) > 0);
}

QTEST_MAIN(TestVectorPanel)
#include "tst_vectorpanel.moc"
