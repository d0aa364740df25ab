// SPDX-License-Identifier: GPL-3.0-or-later
#include "video/frametimes.h"

#include <QTest>

#include <cmath>

namespace {

// Times from stretches of (count, gap in ms).
QList<double> timesOf(const QList<double> &stretches)
{
    QList<double> times {0.0};
    for (qsizetype i = 0; i + 1 < stretches.size(); i += 2) {
        for (int n = 0; n < int(stretches[i]); ++n)
            times.append(times.last() + stretches[i + 1] / 1000.0);
    }
    return times;
}

} // namespace

class TestFrameTimes : public QObject
{
    Q_OBJECT

private slots:
    void speedRamps_data();
    void speedRamps();
    void realTimeFactor_data();
    void realTimeFactor();
    void medianInterval();
};

void TestFrameTimes::speedRamps_data()
{
    QTest::addColumn<QList<double>>("times");
    QTest::addColumn<bool>("ramps");

    QTest::newRow("steady 30") << timesOf({100, 33.3}) << false;
    QTest::newRow("too short to judge") << timesOf({10, 33.3, 10, 4.2}) << false;
    QList<double> jitter {0.0};
    for (int i = 1; i < 200; ++i)
        jitter.append(jitter.last() + (33.3 + 8.0 * std::sin(i * 2.3)) / 1000.0);
    QTest::newRow("phone jitter of a quarter") << jitter << false;
    QTest::newRow("dim light: 30 then 24") << timesOf({60, 33.3, 60, 41.7}) << false;
    QTest::newRow("dropped frames")
        << timesOf({20, 33.3, 1, 66.7, 20, 33.3, 1, 100, 20, 33.3}) << false;
    QTest::newRow("ramp down and up") << timesOf({40, 4.2, 40, 33.3, 40, 4.2}) << true;
    QTest::newRow("ramp at the very end") << timesOf({80, 4.2, 16, 33.3}) << true;
    QTest::newRow("ramp of two") << timesOf({40, 16.7, 40, 33.3}) << true;
    QTest::newRow("frames of one instant") << timesOf({40, 0, 40, 33.3}) << true;
}

void TestFrameTimes::speedRamps()
{
    QFETCH(QList<double>, times);
    QFETCH(bool, ramps);
    QCOMPARE(FrameTimes::hasSpeedRamps(times), ramps);
}

void TestFrameTimes::realTimeFactor_data()
{
    QTest::addColumn<double>("playback");
    QTest::addColumn<double>("capture");
    QTest::addColumn<double>("factor");

    QTest::newRow("no capture rate") << 30.0 << 0.0 << 1.0;
    QTest::newRow("negative capture rate") << 30.0 << -240.0 << 1.0;
    QTest::newRow("infinite capture rate") << 30.0 << qInf() << 1.0;
    QTest::newRow("unknown playback rate") << 0.0 << 240.0 << 1.0;
    QTest::newRow("slow motion") << 30.0 << 240.0 << 0.125;
    QTest::newRow("stored in real time") << 240.0 << 240.0 << 1.0;
    QTest::newRow("rounded stated rate") << 29.97 << 30.0 << 1.0;
    QTest::newRow("just beyond rounding") << 30.0 << 32.0 << 30.0 / 32.0;
    QTest::newRow("fast motion") << 30.0 << 1.0 << 30.0;
}

void TestFrameTimes::realTimeFactor()
{
    QFETCH(double, playback);
    QFETCH(double, capture);
    QFETCH(double, factor);
    QCOMPARE(FrameTimes::realTimeFactor(playback, capture), factor);
}

void TestFrameTimes::medianInterval()
{
    QCOMPARE(FrameTimes::medianInterval({}), 0.0);
    QCOMPARE(FrameTimes::medianInterval({1.5}), 0.0);
    QCOMPARE(FrameTimes::medianInterval({0.0, 0.1, 0.2, 0.5, 0.6}), 0.1);
    // One short gap among longer ones: the median, neither the shortest gap
    // nor the mean.
    QCOMPARE(FrameTimes::medianInterval({0.0, 0.25, 0.75, 1.25, 1.75}), 0.5);
    QCOMPARE(FrameTimes::medianInterval({0.0, 0.5, 1.0, 1.5, 3.5}), 0.5);
}

QTEST_MAIN(TestFrameTimes)
#include "tst_frametimes.moc"
