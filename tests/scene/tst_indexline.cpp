// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/drawingsurface.h"
#include "scene/indexline.h"
#include "support/fakefields.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

class TestIndexLine : public QObject
{
    Q_OBJECT

private slots:
    void drag_data();
    void drag();
    void onlyTheLeftButton();
    void dragsWhenHidden();
    void check4ShowsAndHidesBoth();
    void drawnOnAPicture();
};

void TestIndexLine::drag_data()
{
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("lineY");
    QTest::addColumn<QString>("text");

    QTest::newRow("above the release point")
        << QStringLiteral("1") << 3 << 25 << QStringLiteral("Index : y = 0 m");
    QTest::newRow("at the release point")
        << QStringLiteral("1") << 25 << 25 << QStringLiteral("Index : y = 0 m");
    QTest::newRow("half way") << QStringLiteral("1") << 250 << 250
                              << QStringLiteral("Index : y = 0,5 m");
    QTest::newRow("at the bottom")
        << QStringLiteral("1") << 475 << 475 << QStringLiteral("Index : y = 1 m");
    QTest::newRow("below the bottom")
        << QStringLiteral("1") << 490 << 475 << QStringLiteral("Index : y = 1 m");
    QTest::newRow("three significant digits")
        << QStringLiteral("2,5") << 100 << 100 << QStringLiteral("Index : y = 0,417 m");
    QTest::newRow("small height") << QStringLiteral("0,1") << 26 << 26
                                  << QStringLiteral("Index : y = 0,000222 m");
}

void TestIndexLine::drag()
{
    QFETCH(QString, height);
    QFETCH(int, y);
    QFETCH(int, lineY);
    QFETCH(QString, text);
    QWidget picture2;
    picture2.resize(109, 493);
    FakeFields fields;
    fields.texts[2] = height;
    IndexLine index(picture2, fields);
    QSignalSpy readouts(&index, &IndexLine::readoutChanged);

    index.Picture2_MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(50, y));
    QCOMPARE(index.y(), lineY);
    QCOMPARE(index.line7()->geometry(), QRect(0, lineY, 109, 1));
    QCOMPARE(readouts.size(), 1);
    QCOMPARE(readouts.last().first().toString(), text);
    QCOMPARE(index.readoutText(), text);

    index.Picture2_MouseMove(Qt::LeftButton, Qt::NoModifier, QPoint(10, y));
    QCOMPARE(index.y(), lineY);
    QCOMPARE(readouts.size(), 2);
}

void TestIndexLine::onlyTheLeftButton()
{
    QWidget picture2;
    picture2.resize(109, 493);
    FakeFields fields;
    IndexLine index(picture2, fields);
    index.Picture2_MouseDown(Qt::RightButton, Qt::NoModifier, QPoint(50, 300));
    QCOMPARE(index.y(), 25);
    index.Picture2_MouseMove(Qt::NoButton, Qt::NoModifier, QPoint(50, 300));
    QCOMPARE(index.y(), 25);
    index.Picture2_MouseMove(Qt::LeftButton | Qt::RightButton, Qt::NoModifier, QPoint(50, 300));
    QCOMPARE(index.y(), 300);
}

void TestIndexLine::dragsWhenHidden()
{
    QWidget picture2;
    picture2.resize(109, 493);
    FakeFields fields;
    IndexLine index(picture2, fields);
    index.Check4_Click(false);
    index.Picture2_MouseMove(Qt::LeftButton, Qt::NoModifier, QPoint(50, 250));
    QCOMPARE(index.y(), 250);
    QCOMPARE(index.readoutText(), QStringLiteral("Index : y = 0,5 m"));
}

void TestIndexLine::check4ShowsAndHidesBoth()
{
    QWidget picture2;
    picture2.resize(109, 493);
    FakeFields fields;
    IndexLine index(picture2, fields);
    picture2.show();
    QSignalSpy visibility(&index, &IndexLine::visibilityChanged);
    QVERIFY(index.line7()->isVisible());
    index.Check4_Click(false);
    QVERIFY(!index.line7()->isVisible());
    QVERIFY(!index.isVisible());
    index.Check4_Click(true);
    QVERIFY(index.line7()->isVisible());
    QCOMPARE(visibility.size(), 2);
    QCOMPARE(visibility.at(0).first().toBool(), false);
    QCOMPARE(visibility.at(1).first().toBool(), true);
    // The line follows the width of the scene.
    picture2.resize(120, 493);
    QCOMPARE(index.line7()->width(), 120);
}

void TestIndexLine::drawnOnAPicture()
{
    QWidget picture2;
    picture2.resize(109, 493);
    FakeFields fields;
    IndexLine index(picture2, fields);
    index.moveTo(300);
    DrawingSurface copy(109, 493);
    index.drawOn(copy);
    QCOMPARE(copy.image().pixelColor(0, 300), QColor(Qt::black));
    QCOMPARE(copy.image().pixelColor(107, 300), QColor(Qt::black));
    QCOMPARE(copy.image().pixelColor(50, 299), QColor(Qt::white));
    index.Check4_Click(false);
    DrawingSurface hidden(109, 493);
    index.drawOn(hidden);
    QCOMPARE(hidden.image().pixelColor(50, 300), QColor(Qt::white));
}

QTEST_MAIN(TestIndexLine)
#include "tst_indexline.moc"
