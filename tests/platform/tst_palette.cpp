// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palette.h"

#include <QTest>

class TestPalette : public QObject
{
    Q_OBJECT

private slots:
    void systemColoursFollowThePalette_data();
    void systemColoursFollowThePalette();
};

void TestPalette::systemColoursFollowThePalette_data()
{
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<QColor>("shown");
    QTest::newRow("window") << qint32(0x80000005) << QColor(1, 2, 3);
    QTest::newRow("button face") << qint32(0x8000000F) << QColor(4, 5, 6);
    QTest::newRow("highlight") << qint32(0x8000000D) << QColor(7, 8, 9);
    QTest::newRow("window text") << qint32(0x80000008) << QColor(10, 11, 12);
    // No palette role: the classic scheme (desktop teal), then black.
    QTest::newRow("desktop") << qint32(0x80000001) << QColor(0, 128, 128);
    QTest::newRow("unknown") << qint32(0x800000FF) << QColor(Qt::black);
    QTest::newRow("plain red") << qint32(255) << QColor(255, 0, 0);
}

void TestPalette::systemColoursFollowThePalette()
{
    QFETCH(qint32, stored);
    QFETCH(QColor, shown);
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    palette.setColor(QPalette::Highlight, QColor(7, 8, 9));
    palette.setColor(QPalette::Text, QColor(10, 11, 12));
    QCOMPARE(colourFromStored(stored, palette), shown);
}

QTEST_APPLESS_MAIN(TestPalette)
#include "tst_palette.moc"
