// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "core/motion.h"
#include "core/numberformat.h"
#include "core/validation.h"
#include "graphs/graphscale.h"
#include "support/fakefields.h"

#include <QTest>

#include <cmath>

class TestGraphScale : public QObject
{
    Q_OBJECT

private slots:
    void timeScale_data();
    void timeScale();
    void amplitudeFloor_data();
    void amplitudeFloor();
    void negativeValues();
    void beyondTheSeries();
    void parameterExtremes();
};

void TestGraphScale::timeScale_data()
{
    QTest::addColumn<double>("range");
    QTest::addColumn<int>("mantt");
    QTest::addColumn<int>("expt");
    QTest::addColumn<int>("d");

    QTest::newRow("0,45 s: five divisions of 0,1 s") << 0.45 << 5 << -1 << 1;
    QTest::newRow("1,25 s: 13 rounded to 14, seven of 0,2 s") << 1.25 << 14 << -1 << 2;
    QTest::newRow("default fall 11,27 s") << 11.27 << 12 << 0 << 2;
    QTest::newRow("exactly 3") << 3.0 << 3 << 0 << 1;
    QTest::newRow("exactly 30") << 30.0 << 3 << 1 << 1;
    QTest::newRow("exactly 0,3") << 0.3 << 3 << -1 << 1;
    // 5 x 10^-6 computes just below the literal 5e-6: the next value is chosen.
    QTest::newRow("exactly 5e-6 takes the next value") << 5e-6 << 6 << -6 << 1;
    QTest::newRow("29 rounds to 30") << 2.85 << 30 << -1 << 5;
    QTest::newRow("19 rounds to 20") << 1.85 << 20 << -1 << 2;
    QTest::newRow("just above 29 goes to the next decade") << 2.95 << 3 << 0 << 1;
    // The ends of the division rule: 9 keeps steps of 1, 10 takes steps of 2.
    QTest::newRow("just under 0,9: nine divisions of 0,1") << 0.89 << 9 << -1 << 1;
    QTest::newRow("exactly 10: five divisions of 2") << 10.0 << 10 << 0 << 2;
}

void TestGraphScale::timeScale()
{
    QFETCH(double, range);
    QFETCH(int, mantt);
    QFETCH(int, expt);
    QFETCH(int, d);
    const GraphScale s = chooseScale(range, 1.0, smallGraphRules);
    QCOMPARE(int(s.mantt), mantt);
    QCOMPARE(int(s.expt), expt);
    QCOMPARE(s.d, d);
    // The value axis follows the same rule.
    const GraphScale v = chooseScale(1.0, range, smallGraphRules);
    QCOMPARE(int(v.mantv), mantt);
    QCOMPARE(int(v.expv), expt);
    QCOMPARE(v.dv, d);
}

void TestGraphScale::amplitudeFloor_data()
{
    QTest::addColumn<bool>("window");
    QTest::addColumn<double>("extreme");
    QTest::addColumn<double>("fv");

    // Small graph: below 1e-6 the amplitude becomes 1e-5, reached by 11e-6 -> 12e-6.
    QTest::newRow("small, zero") << false << 0.0 << 12e-6;
    QTest::newRow("small, 9e-7") << false << 9e-7 << 12e-6;
    QTest::newRow("small, 1e-6 kept") << false << 1e-6 << 1e-6;
    // Graph window: below 1e-6 the amplitude becomes 1e-6.
    QTest::newRow("window, zero") << true << 0.0 << 1e-6;
    QTest::newRow("window, 9e-7") << true << 9e-7 << 1e-6;
}

void TestGraphScale::amplitudeFloor()
{
    QFETCH(bool, window);
    QFETCH(double, extreme);
    QFETCH(double, fv);
    const GraphScale s = chooseScale(1.0, extreme, window ? graphWindowRules : smallGraphRules);
    QVERIFY(s.isValid());
    QCOMPARE(s.fv(), fv);
}

void TestGraphScale::negativeValues()
{
    const GraphScale small = chooseScale(1.0, -0.45, smallGraphRules);
    QVERIFY(small.negatif);
    QCOMPARE(int(small.mantv), 10); // 5 doubled after rounding
    QCOMPARE(small.dv, 1);
    const GraphScale window = chooseScale(1.0, -0.45, graphWindowRules);
    QVERIFY(window.negatif);
    QCOMPARE(int(window.mantv), 5);
    QVERIFY(!chooseScale(1.0, 0.45, smallGraphRules).negatif);
}

void TestGraphScale::beyondTheSeries()
{
    QVERIFY(!chooseScale(3e11, 1.0, smallGraphRules).isValid());
    QVERIFY(!chooseScale(std::nan(""), 1.0, smallGraphRules).isValid());
    QVERIFY(!chooseScale(1.0, 1e12, graphWindowRules).isValid());
}

// Whatever the parameters at the ends of their ranges, each graph's scales
// reach the ranges with 3 to 10 divisions on each axis.
void TestGraphScale::parameterExtremes()
{
    QStringList values[6];
    for (int index = 0; index < 6; ++index) {
        const ParameterValidator::Range r = ParameterValidator::range(index);
        values[index] = {NumberFormat::threeSignificant(r.minimum), FakeFields().texts[index],
                         NumberFormat::threeSignificant(r.maximum)};
    }
    int checked = 0;
    for (int i = 0; i < 729; ++i) {
        FakeFields fields;
        for (int index = 0, code = i; index < 6; ++index, code /= 3)
            fields.texts[index] = values[index][code % 3];
        AnimationView view;
        AnimationClock clock(fields, view);
        clock.command18_Click();
        const SimulationState &st = clock.state();
        if (st.vlim < 0.0 || st.tfin <= 0.0)
            continue;
        const Motion::Point end = Motion::at(st.vlim, st.tau, st.tfin);
        for (double extreme : {end.y, end.v, st.vlim / st.tau}) {
            for (const ScaleRules &rules : {smallGraphRules, graphWindowRules}) {
                const GraphScale s = chooseScale(st.tfin, extreme, rules);
                const QByteArray label = fields.texts.join(QLatin1Char(' ')).toUtf8();
                QVERIFY2(s.isValid(), label.constData());
                QVERIFY2(s.ft() >= st.tfin * (1 - 1e-12), label.constData());
                QVERIFY2(s.fv() >= std::fabs(extreme) * (1 - 1e-12), label.constData());
                QVERIFY2(s.mantt % s.d == 0 && s.mantv % s.dv == 0, label.constData());
                QVERIFY2(s.mantt / s.d >= 3 && s.mantt / s.d <= 10, label.constData());
                QVERIFY2(s.mantv / s.dv >= 3 && s.mantv / s.dv <= 10, label.constData());
                ++checked;
            }
        }
    }
    QVERIFY(checked > 1000);
}

QTEST_APPLESS_MAIN(TestGraphScale)
#include "tst_graphscale.moc"
