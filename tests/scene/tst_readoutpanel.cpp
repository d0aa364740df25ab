// SPDX-License-Identifier: GPL-3.0-or-later
#include "scene/readoutpanel.h"

#include <QLabel>
#include <QtTest>

namespace {

QRgb grey(int level)
{
    return qRgb(level, level, level);
}

// Columns in [left, right] of rows [top, bottom) holding a pixel darker than
// the gradient's darkest grey: text.
QList<int> textColumns(const QImage &image, int top, int bottom, int left, int right)
{
    QList<int> columns;
    for (int x = left; x <= right; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (qRed(image.pixel(x, y)) < 110) {
                columns << x;
                break;
            }
        }
    }
    return columns;
}

} // namespace

class TestReadoutPanel : public QObject
{
    Q_OBJECT

private slots:
    void labels_data();
    void labels();
    void bevelAndGradient();
    void prefixesEndOnTheLabels();
    void unitsAndExponents();
    void decorationPersists();
};

void TestReadoutPanel::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("t") << "Label3" << QRect(40, 16, 69, 19);
    QTest::newRow("y") << "Label1" << QRect(40, 40, 69, 19);
    QTest::newRow("v") << "Label6" << QRect(168, 16, 69, 19);
    QTest::newRow("a") << "Label7" << QRect(168, 40, 69, 19);
}

void TestReadoutPanel::labels()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    ReadoutPanel picture4;
    QCOMPARE(picture4.size(), QSize(293, 85));
    const QLabel *label = picture4.findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->geometry(), geometry);
    QCOMPARE(label->font().family(), QStringLiteral("Arial"));
    QCOMPARE(label->font().pixelSize(), 11);
    QVERIFY(label->font().bold());
    QVERIFY(!label->autoFillBackground());
    // The index read-out waits, hidden, for the index line.
    QVERIFY(picture4.label8()->isHidden());
}

void TestReadoutPanel::bevelAndGradient()
{
    ReadoutPanel picture4;
    QCOMPARE(picture4.surface().image().pixel(100, 50), grey(192));
    picture4.appareil();
    const QImage &image = picture4.surface().image();
    // Light outer edges on top and left; the rest of the frame falls outside.
    QCOMPARE(image.pixel(0, 0), grey(255));
    QCOMPARE(image.pixel(0, 84), grey(255));
    QCOMPARE(image.pixel(292, 0), grey(255));
    QCOMPARE(image.pixel(1, 1), grey(230));
    QCOMPARE(image.pixel(1, 84), grey(230));
    QCOMPARE(image.pixel(292, 1), grey(230));
    // Gradient columns from 2 to 292, rows 2 to 84.
    QCOMPARE(image.pixel(147, 2), grey(255));
    QCOMPARE(image.pixel(147, 84), grey(255));
    QCOMPARE(image.pixel(2, 70), grey(127));
    QCOMPARE(image.pixel(292, 70), grey(127));
    QCOMPARE(image.pixel(100, 70), grey(213)); // 255 - 47 / 147 * 130 = 213,4
    QCOMPARE(image.pixel(194, 2), grey(213));
}

void TestReadoutPanel::prefixesEndOnTheLabels()
{
    ReadoutPanel picture4;
    picture4.appareil();
    const QImage &image = picture4.surface().image();
    for (const QLabel *label :
         {picture4.label3(), picture4.label1(), picture4.label6(), picture4.label7()}) {
        const QRect g = label->geometry();
        // Text from the label's top + 2, 11 pixels high; nothing painted under the label.
        const QList<int> prefix
            = textColumns(image, g.top() + 2, g.top() + 15, g.left() - 30, g.right());
        QVERIFY2(!prefix.isEmpty(), qPrintable(label->objectName()));
        QVERIFY2(prefix.first() >= g.left() - 25, qPrintable(label->objectName()));
        // The trailing space of "t = " is all there is between the "=" and the label.
        QVERIFY2(prefix.last() >= g.left() - 6 && prefix.last() < g.left() - 1,
                 qPrintable(label->objectName()));
        QVERIFY(textColumns(image, g.top(), g.top() + 2, g.left() - 30, g.left() - 1).isEmpty());
    }
}

void TestReadoutPanel::unitsAndExponents()
{
    ReadoutPanel picture4;
    picture4.appareil();
    const QImage &image = picture4.surface().image();
    // " s" and " m" start a space after the label's right edge.
    for (const QLabel *label : {picture4.label3(), picture4.label1()}) {
        const QRect g = label->geometry();
        const QList<int> unit = textColumns(image, g.top() + 2, g.top() + 15, g.left() + 69, 140);
        QVERIFY2(!unit.isEmpty(), qPrintable(label->objectName()));
        QVERIFY(unit.first() > g.left() + 69 && unit.first() < g.left() + 69 + 8);
        QVERIFY(unit.last() < g.left() + 69 + 16);
    }
    // The exponents "-1" and "-2" are raised by 4 pixels: they reach above
    // the unit's top row, right of " m · s".
    for (const QLabel *label : {picture4.label6(), picture4.label7()}) {
        const QRect g = label->geometry();
        const QList<int> unit = textColumns(image, g.top() + 2, g.top() + 15, g.left() + 69, 292);
        const QList<int> raised = textColumns(image, g.top() - 2, g.top() + 2, g.left() + 69, 292);
        QVERIFY2(!unit.isEmpty() && !raised.isEmpty(), qPrintable(label->objectName()));
        QVERIFY(raised.first() > unit.first() + 20);
        QVERIFY(raised.last() <= unit.last());
    }
}

void TestReadoutPanel::decorationPersists()
{
    ReadoutPanel picture4;
    picture4.appareil();
    const QImage decorated = picture4.surface().image();
    picture4.surface().clear();
    QCOMPARE(picture4.surface().image(), decorated);
    // Drawing it again gives the same picture.
    picture4.appareil();
    QCOMPARE(picture4.surface().image(), decorated);
}

QTEST_MAIN(TestReadoutPanel)
#include "tst_readoutpanel.moc"
