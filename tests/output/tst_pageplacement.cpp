// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/pageplacement.h"

#include <QTest>

class TestPagePlacement : public QObject
{
    Q_OBJECT

private slots:
    void topLeft_data();
    void topLeft();
};

void TestPagePlacement::topLeft_data()
{
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("centreH");
    QTest::addColumn<bool>("centreV");
    QTest::addColumn<QPointF>("corner");

    // An 11 x 8,5 inch landscape page and the small graph, 357 x 261 pixels
    // (5355 x 3915 twips at 15 twips per pixel).
    const QSizeF letter(15840, 12240);
    const QSize graph(357, 261);
    QTest::newRow("centred both ways")
        << letter << graph << true << true << QPointF(5242.5, 4162.5);
    QTest::newRow("neither: a tenth and a twentieth")
        << letter << graph << false << false << QPointF(1584, 612);
    QTest::newRow("centred across only")
        << letter << graph << true << false << QPointF(5242.5, 612);
    QTest::newRow("centred down only") << letter << graph << false << true << QPointF(1584, 4162.5);
    QTest::newRow("wider than the page")
        << QSizeF(3000, 3000) << QSize(300, 100) << true << true << QPointF(-750, 750);
}

void TestPagePlacement::topLeft()
{
    QFETCH(QSizeF, page);
    QFETCH(QSize, picture);
    QFETCH(bool, centreH);
    QFETCH(bool, centreV);
    QFETCH(QPointF, corner);
    QCOMPARE(PagePlacement::topLeft(page, picture, centreH, centreV), corner);
}

QTEST_APPLESS_MAIN(TestPagePlacement)
#include "tst_pageplacement.moc"
