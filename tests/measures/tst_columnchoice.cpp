// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/columnchoice.h"
#include "measures/measurementreader.h"

#include <QTest>

#include <cmath>

namespace {

MeasurementTable tableOf(const char *text)
{
    MeasurementReader reader;
    if (!reader.read(QByteArray(text)))
        qWarning("%s", qPrintable(reader.errorString()));
    return reader.takeTable();
}

} // namespace

class TestColumnChoice : public QObject
{
    Q_OBJECT

private slots:
    void lostBall_data();
    void lostBall();
    void refused_data();
    void refused();
    void userChoices();
    void frameIndex_data();
    void frameIndex();
};

void TestColumnChoice::lostBall_data()
{
    QTest::addColumn<QByteArray>("positions"); // one per line, t = 0, 1, 2, ...
    QTest::addColumn<QString>("lost");         // 'x' for a point marked lost, '.' for a kept one

    QTest::newRow("NaN") << QByteArray("0 1 NaN 3 4") << "..x..";
    QTest::newRow("empty cell") << QByteArray("0 1 _ 3 4") << "..x..";
    QTest::newRow("zeros after the ball moved") << QByteArray("1 2 3 0 0 0") << "...xxx";
    QTest::newRow("zeros in the middle") << QByteArray("1 2 0 0 5 6") << "..xx..";
    QTest::newRow("one zero between values of a sign") << QByteArray("1 2 0 4 5") << "..x..";
    QTest::newRow("leading zeros: the release point") << QByteArray("0 0 1 2 3") << ".....";
    QTest::newRow("one zero crossed") << QByteArray("-2 -1 0 1 2") << ".....";
    QTest::newRow("one zero at the end: the bottom") << QByteArray("3 2 1 0") << "....";
    QTest::newRow("two zeros at the end") << QByteArray("3 2 1 0 0") << "...xx";
}

void TestColumnChoice::lostBall()
{
    QFETCH(QByteArray, positions);
    QFETCH(QString, lost);
    QByteArray file = "t;y;x\n";
    int t = 0;
    for (const QByteArray &y : positions.split(' '))
        file += QByteArray::number(t++) + ';' + (y == "_" ? QByteArray() : y) + ";1\n";
    const MeasurementTable table = tableOf(file.constData());
    ColumnChoice choice = withPosition(table, defaultChoice(table), 1);
    choice.flip = false;
    QString error;
    const auto set = toMeasurementSet(table, choice, &error);
    QVERIFY2(set, qPrintable(error));
    QString marks;
    for (const MeasuredPoint &p : set->points)
        marks += p.exclusion == MeasuredPoint::Exclusion::LostBall ? u'x' : u'.';
    QCOMPARE(marks, lost);
}

void TestColumnChoice::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    QTest::newRow("times going back")
        << QByteArray("t\ty\n0\t0\n0.04\t0.01\n0.03\t0.02\n0.12\t0.05\n")
        << "Les temps doivent croître : ligne 4, le temps n'est pas après celui de la ligne 3.";
    QTest::newRow("a time repeated")
        << QByteArray("t\ty\n0\t0\n0.04\t0.01\n0.04\t0.02\n0.12\t0.05\n")
        << "Les temps doivent croître : ligne 4, le temps n'est pas après celui de la ligne 3.";
    QTest::newRow("a time repeated at the start")
        << QByteArray("t\ty\n0\t0\n0\t0.01\n0.08\t0.02\n0.12\t0.05\n")
        << "Les temps doivent croître : ligne 3, le temps n'est pas après celui de la ligne 2.";
    QTest::newRow("all times equal")
        << QByteArray("t\ty\n2\t0\n2\t0.01\n2\t0.02\n2\t0.05\n")
        << "Tous les temps sont égaux (lignes 2 à 5) : choisissez la colonne des temps.";
    QTest::newRow("too few usable points")
        << QByteArray("t\ty\n0\t0.01\n0.04\t0.02\n0.08\t0\n0.12\tNaN\n")
        << "Il faut au moins 3 points utilisables ; le tableau n'en a que 2 (lu jusqu'à la ligne "
           "5).";
    QTest::newRow("rows without a time do not count")
        << QByteArray("t\ty\n0\t0.01\nNaN\t0.02\n\t0.02\n0.12\t0.03\n")
        << "Il faut au moins 3 points utilisables ; le tableau n'en a que 2 (lu jusqu'à la ligne "
           "5).";
}

void TestColumnChoice::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    const MeasurementTable table = tableOf(file.constData());
    QVERIFY(table.rowCount() > 0);
    QString error;
    QVERIFY(!toMeasurementSet(table, defaultChoice(table), &error));
    QCOMPARE(error, message);
}

void TestColumnChoice::userChoices()
{
    // Without a unit in the header, lengths are in the unit the user gives.
    const MeasurementTable table = tableOf("t\tx\ty\n0\t0\t10\n1\t1\t8\n2\t2\t5\n");
    ColumnChoice choice = defaultChoice(table, MeasureUnit::Centimetre);
    QCOMPARE(choice.time, 0);
    QCOMPARE(choice.position, 2); // moves most
    QVERIFY(choice.flip);         // the values decrease as the ball falls
    QString error;
    auto set = toMeasurementSet(table, choice, &error);
    QVERIFY(set);
    QCOMPARE(set->points[2].y, -0.05);

    // The other column, and a sign turned back by the user.
    choice = withPosition(table, choice, 1, MeasureUnit::Millimetre);
    QVERIFY(!choice.flip);
    choice.flip = true;
    set = toMeasurementSet(table, choice, &error);
    QVERIFY(set);
    QCOMPARE(set->points[2].y, -0.002);

    choice.position = choice.time;
    QVERIFY(!toMeasurementSet(table, choice, &error));
    QCOMPARE(error,
             QStringLiteral("Choisissez deux colonnes différentes pour le temps et la position."));
}

void TestColumnChoice::frameIndex_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("position"); // the column chosen, from 0

    // lorva-mesures --tableau: the frame number moves by 3 "metres", y by 3 cm.
    QTest::newRow("our own tracked table")
        << QByteArray("t (s);y (m);image\n0;0;0\n0,04;0,01;1\n0,08;0,02;2\n0,12;0,03;3\n") << 1;
    QTest::newRow("frame first") << QByteArray(
        "frame;t;y\n10;0;0\n11;0,04;0,01\n12;0,08;0,02\n13;0,12;0,03\n")
                                 << 2;
    QTest::newRow("n") << QByteArray("n\tt\ty\n1\t0\t0\n2\t0.04\t0.01\n3\t0.08\t0.02\n") << 2;
    QTest::newRow("i") << QByteArray("i;t;y\n0;0;0\n1;0,04;0,01\n2;0,08;0,02\n") << 2;
    QTest::newRow("#") << QByteArray("#;t;x\n0;0;0\n1;0,04;0,01\n2;0,08;0,02\n") << 2;
    // Frames skipped by the tracker: not a step of one, but named so.
    QTest::newRow("Frame Number") << QByteArray(
        "Frame Number;Time;Y\n0;0;0\n2;0,08;0,02\n4;0,16;0,05\n")
                                  << 2;
    QTest::newRow("integers stepping by one")
        << QByteArray("t;x;y\n0;0;0,1\n1;1;0,2\n2;2;0,35\n") << 2;
    QTest::newRow("marks in cm stepping by one, with their unit")
        << QByteArray("t;y (cm);k\n0;1;10\n1,2;2;11\n2,4;3;12\n3,6;4;13\n") << 1;
    QTest::newRow("marks stepping by one, nothing else")
        << QByteArray("t;y\n0;1\n1,2;2\n2,4;3\n3,6;4\n") << 1;
    QTest::newRow("integers stepping by two are positions")
        << QByteArray("t;a;b\n0;0;0,1\n1;2;0,2\n2;4;0,3\n") << 1;
}

void TestColumnChoice::frameIndex()
{
    QFETCH(QByteArray, file);
    QFETCH(int, position);
    const MeasurementTable table = tableOf(file.constData());
    QVERIFY(table.rowCount() > 0);
    QCOMPARE(defaultChoice(table).position, position);
}

QTEST_APPLESS_MAIN(TestColumnChoice)
#include "tst_columnchoice.moc"
