// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "core/motion.h"
#include "core/numberformat.h"
#include "scriptedservices.h"
#include "support/fakefields.h"

#include <QTest>

#include <cmath>

namespace {

// Records the hooks in the order they are called; errors go through the
// scripted platform services as the main window sends them.
class RecordingView : public AnimationView
{
public:
    void setTimerRunning(bool running) override
    {
        timerRunning = running;
        calls << (running ? QStringLiteral("timer on") : QStringLiteral("timer off"));
    }
    void majaff() override { calls << QStringLiteral("majaff"); }
    void repgraphe() override { calls << QStringLiteral("repgraphe"); }
    void recordingChanged() override { calls << QStringLiteral("maj12"); }
    void focusScene() override { calls << QStringLiteral("focus"); }
    bool slowMotion() const override { return slow; }
    void showError(const QString &title, const QString &text) override
    {
        services.message(MessageIcon::Error, title, text);
    }

    QStringList calls;
    bool timerRunning = false;
    bool slow = false;
    ScriptedServices services;
};

struct Bench
{
    Bench()
        : clock(fields, view)
    {
        clock.command18_Click();
        view.calls.clear();
    }
    FakeFields fields;
    RecordingView view;
    AnimationClock clock;
};

} // namespace

class TestAnimationClock : public QObject
{
    Q_OBJECT

private slots:
    void resetShowsInitialState();
    void firstTickRedrawsGraphThenAdvances();
    void slowMotionStep();
    void lastTickStopsAtEnd();
    void startAfterEndResets();
    void pause();
    void stopReturnsToStart();
    void recordingSequence();
    void recordingWithOneSecondInterval();
    void cameraDuringRecordingStopsOnlyRecording();
    void cameraAfterEndRestartsRecording();
    void markIntervalReadAtEachMark();
    void recordingAtShortestInterval();
    void markIntervalRange_data();
    void markIntervalRange();
    void thrustAboveWeight();
    void noMotion();
    void resetDrawsSceneAtRest();
    void zeroInitialAcceleration();
};

void TestAnimationClock::resetShowsInitialState()
{
    Bench b;
    QCOMPARE(b.clock.label3(), QStringLiteral("0,00"));
    QCOMPARE(b.clock.label1(), QStringLiteral("0"));
    QCOMPARE(b.clock.label6(), QStringLiteral("0"));
    QCOMPARE(b.clock.label7(), QStringLiteral("0,0895"));
    QVERIFY(b.clock.command5Enabled());
    QVERIFY(!b.clock.timerEnabled());
    QCOMPARE(b.clock.cameraCaption(), QStringLiteral("Activer la chronophotographie"));
    QCOMPARE(b.clock.cameraToolTip(), QStringLiteral("Chronophotographie"));
}

void TestAnimationClock::firstTickRedrawsGraphThenAdvances()
{
    Bench b;
    b.clock.command15_Click();
    QVERIFY(b.view.timerRunning);
    b.view.calls.clear();
    b.clock.Timer1_Timer();
    QCOMPARE(b.view.calls, QStringList({QStringLiteral("repgraphe"), QStringLiteral("majaff")}));
    QCOMPARE(b.clock.label3(), QStringLiteral("0,04"));
    QVERIFY(!b.clock.command5Enabled());
    b.view.calls.clear();
    b.clock.Timer1_Timer();
    QCOMPARE(b.view.calls, QStringList({QStringLiteral("majaff")}));
    QCOMPARE(b.clock.label3(), QStringLiteral("0,08"));
    const Motion::Point p = Motion::at(b.clock.state().vlim, b.clock.state().tau, 0.08);
    QCOMPARE(b.clock.label1(), NumberFormat::threeSignificant(p.y));
    QCOMPARE(b.clock.label6(), NumberFormat::threeSignificant(p.v));
}

void TestAnimationClock::slowMotionStep()
{
    Bench b;
    b.view.slow = true;
    b.clock.command15_Click();
    for (int i = 0; i < 8; ++i)
        b.clock.Timer1_Timer();
    // Eight slow ticks make one normal step.
    QCOMPARE(b.clock.label3(), QStringLiteral("0,04"));
    QCOMPARE(b.clock.step(), 0.005f);
}

void TestAnimationClock::lastTickStopsAtEnd()
{
    Bench b;
    b.clock.command12_Click(); // a recording that the end of the fall clears
    int ticks = 0;
    while (b.clock.timerEnabled() && ticks < 1000) {
        b.clock.Timer1_Timer();
        ++ticks;
    }
    QCOMPARE(b.clock.state().temps, b.clock.state().tfin);
    QCOMPARE(b.clock.label3(), QStringLiteral("11,27"));
    QVERIFY(b.clock.command5Enabled());
    QVERIFY(!b.view.timerRunning);
    QVERIFY(!b.clock.recording());
    QVERIFY(!b.clock.markDue());
    QCOMPARE(b.view.calls.last(), QStringLiteral("maj12"));
    // 11.27 s at 0.04 s per tick, a mark tick each second pulling back a little.
    QVERIFY(ticks > 280 && ticks < 300);
}

void TestAnimationClock::startAfterEndResets()
{
    Bench b;
    b.clock.state().temps = b.clock.state().tfin;
    b.clock.command15_Click();
    QCOMPARE(b.clock.state().temps, 0.0);
    QVERIFY(b.clock.timerEnabled());
    b.clock.Timer1_Timer();
    QCOMPARE(b.clock.label3(), QStringLiteral("0,04"));
}

void TestAnimationClock::pause()
{
    Bench b;
    b.clock.command15_Click();
    b.clock.Timer1_Timer();
    b.clock.Timer1_Timer();
    b.clock.command16_Click();
    QVERIFY(!b.clock.timerEnabled());
    QCOMPARE(b.clock.label3(), QStringLiteral("0,08"));
    b.view.calls.clear();
    b.clock.command16_Click(); // already paused: nothing at all
    QVERIFY(b.view.calls.isEmpty());
    QCOMPARE(b.clock.state().temps, 2 * double(0.04f));
    // Start again goes on from where it paused.
    b.clock.command15_Click();
    b.clock.Timer1_Timer();
    QCOMPARE(b.clock.label3(), QStringLiteral("0,12"));
}

void TestAnimationClock::stopReturnsToStart()
{
    Bench b;
    b.clock.command12_Click();
    b.clock.Timer1_Timer();
    b.clock.Timer1_Timer();
    b.clock.Image4_Click();
    QVERIFY(!b.clock.timerEnabled());
    QVERIFY(!b.clock.recording());
    QCOMPARE(b.clock.state().temps, 0.0);
    QCOMPARE(b.clock.label3(), QStringLiteral("0,00"));
}

void TestAnimationClock::recordingSequence()
{
    Bench b;
    b.fields.interval = QStringLiteral("50");
    b.clock.command12_Click();
    QVERIFY(b.clock.recording());
    QVERIFY(b.view.timerRunning);
    QCOMPARE(b.clock.cameraCaption(), QStringLiteral("Arrêter la chronophotographie"));
    QCOMPARE(b.clock.cameraToolTip(), QStringLiteral("Arrêter la chronophotographie"));

    const QStringList expected {
        QStringLiteral("0,00*"), QStringLiteral("0,04"),  QStringLiteral("0,05*"),
        QStringLiteral("0,09"),  QStringLiteral("0,10*"), QStringLiteral("0,14"),
        QStringLiteral("0,15*"), QStringLiteral("0,19"),  QStringLiteral("0,20*")};
    QStringList shown;
    int graphRedraws = 0;
    for (int i = 0; i < expected.size(); ++i) {
        b.view.calls.clear();
        b.clock.Timer1_Timer();
        graphRedraws += int(b.view.calls.count(QStringLiteral("repgraphe")));
        shown << b.clock.label3() + (b.clock.markDue() ? QStringLiteral("*") : QString());
    }
    QCOMPARE(shown, expected);
    // The first tick is pulled back to 0, so the second starts from 0 again
    // and redraws the small graph too.
    QCOMPARE(graphRedraws, 2);
}

void TestAnimationClock::recordingWithOneSecondInterval()
{
    Bench b;
    b.clock.command12_Click();
    QList<double> markTimes;
    QList<float> markHeights;
    while (b.clock.timerEnabled()) {
        b.clock.Timer1_Timer();
        if (b.clock.markDue()) {
            markTimes << b.clock.state().temps;
            markHeights << b.clock.state().ypos;
        }
    }
    QCOMPARE(markTimes.size(), 12); // 0, 1, … 11 s of an 11.27 s fall
    for (int i = 0; i < markTimes.size(); ++i) {
        QVERIFY(std::fabs(markTimes[i] - i) < 1e-5);
        // The height is that of the tick that reached the mark, at most one
        // step after it.
        const double y = Motion::at(b.clock.state().vlim, b.clock.state().tau, i).y;
        QVERIFY(double(markHeights[i]) >= y - 1e-6);
        QVERIFY(double(markHeights[i]) <= y + 0.04 * b.clock.state().vlim + 1e-6);
    }
}

void TestAnimationClock::cameraDuringRecordingStopsOnlyRecording()
{
    Bench b;
    b.clock.command12_Click();
    b.clock.Timer1_Timer();
    b.clock.Timer1_Timer();
    b.clock.command12_Click();
    QVERIFY(!b.clock.recording());
    QVERIFY(b.clock.timerEnabled());
    QCOMPARE(b.clock.cameraCaption(), QStringLiteral("Activer la chronophotographie"));
    const double t = b.clock.state().temps;
    b.clock.Timer1_Timer();
    QCOMPARE(b.clock.state().temps, t + double(0.04f));
}

void TestAnimationClock::cameraAfterEndRestartsRecording()
{
    Bench b;
    b.clock.state().temps = b.clock.state().tfin;
    b.clock.command12_Click();
    QCOMPARE(b.clock.state().temps, 0.0);
    QVERIFY(b.clock.recording());
    QVERIFY(b.clock.timerEnabled());
    QCOMPARE(b.clock.nextMarkTime(), 0.0f);
}

void TestAnimationClock::markIntervalReadAtEachMark()
{
    Bench b;
    b.fields.interval = QStringLiteral("100");
    b.clock.command12_Click();
    b.clock.Timer1_Timer(); // mark at 0, next at 0.1
    QCOMPARE(b.clock.nextMarkTime(), 0.1f);
    // The interval being retyped: an empty text must not freeze the clock.
    b.fields.interval.clear();
    for (int i = 0; i < 3; ++i)
        b.clock.Timer1_Timer();
    QVERIFY(b.clock.nextMarkTime() > 0.1f);
    const double t = b.clock.state().temps;
    b.clock.Timer1_Timer();
    QVERIFY(b.clock.state().temps > t);
}

void TestAnimationClock::recordingAtShortestInterval()
{
    Bench b;
    b.fields.interval = QStringLiteral("10");
    b.clock.command12_Click();
    // Every 0,04 s step passes the next mark, 0,01 s later, and is pulled
    // back to it: the time advances by the interval at each tick.
    QList<double> markTimes;
    for (int i = 0; i < 5; ++i) {
        b.clock.Timer1_Timer();
        QVERIFY(b.clock.markDue());
        markTimes << b.clock.state().temps;
    }
    QCOMPARE(b.clock.label3(), QStringLiteral("0,04"));
    for (int i = 0; i < markTimes.size(); ++i)
        QVERIFY(std::fabs(markTimes[i] - 0.01 * i) < 1e-6);
    QVERIFY(std::fabs(double(b.clock.nextMarkTime()) - 0.05) < 1e-6);
}

void TestAnimationClock::markIntervalRange_data()
{
    QTest::addColumn<QString>("interval");
    QTest::addColumn<double>("nextMark");
    // Read as the field's validation reads it, in the same range.
    QTest::newRow("below the range") << "5" << 0.01;
    QTest::newRow("above the range") << "9000" << 5.0;
    QTest::newRow("only the leading number") << "20,9" << 0.02;
    QTest::newRow("no number") << "abc" << 0.01;
}

void TestAnimationClock::markIntervalRange()
{
    QFETCH(QString, interval);
    QFETCH(double, nextMark);
    Bench b;
    b.fields.interval = interval;
    b.clock.command12_Click();
    b.clock.Timer1_Timer(); // the mark at 0
    QVERIFY(std::fabs(double(b.clock.nextMarkTime()) - nextMark) < 1e-6);
}

void TestAnimationClock::thrustAboveWeight()
{
    Bench b;
    b.fields.texts[ParameterFields::Mass] = QStringLiteral("100");
    b.clock.command18_Click();
    QCOMPARE(b.clock.label7(), QStringLiteral("-- --"));
    b.clock.command15_Click();
    b.clock.Timer1_Timer();
    QCOMPARE(b.view.services.messages.size(), 1);
    const ScriptedServices::Message m = b.view.services.messages.first();
    QCOMPARE(m.icon, MessageIcon::Error);
    QCOMPARE(m.title, QStringLiteral("Paramètres incorrects"));
    QCOMPARE(m.text, QStringLiteral("La poussée d'Archimède est supérieure au poids."));
    QVERIFY(!b.clock.timerEnabled());
    QCOMPARE(b.clock.state().temps, 0.0);
}

void TestAnimationClock::noMotion()
{
    Bench b;
    // A limit velocity of zero: the end of the fall is never reached.
    b.clock.state().vlim = 0.0;
    b.clock.command15_Click();
    b.clock.Timer1_Timer();
    QCOMPARE(b.clock.state().tfin, 0.0);
    QCOMPARE(b.view.services.messages.size(), 1);
    QCOMPARE(b.view.services.messages.first().title, QStringLiteral("Absence de mouvement"));
    QCOMPARE(b.view.services.messages.first().text, QStringLiteral("Modifier les paramètres."));
    QCOMPARE(b.view.services.messages.first().icon, MessageIcon::Error);
    QVERIFY(!b.clock.timerEnabled());
}

void TestAnimationClock::resetDrawsSceneAtRest()
{
    // The scene drawn by a reset sees the sphere at rest, not the velocity
    // of the paused fall.
    FakeFields fields;
    struct View : AnimationView
    {
        const AnimationClock *clock = nullptr;
        float vitAtRedraw = -1.0f;
        float accAtRedraw = -1.0f;
        void majaff() override
        {
            vitAtRedraw = clock->state().vit;
            accAtRedraw = clock->state().acc;
        }
    } view;
    AnimationClock clock(fields, view);
    view.clock = &clock;
    clock.command18_Click();
    clock.command15_Click();
    for (int i = 0; i < 50; ++i)
        clock.Timer1_Timer();
    QVERIFY(clock.state().vit > 0.05f);
    clock.command18_Click();
    QCOMPARE(view.vitAtRedraw, 0.0f);
    QCOMPARE(view.accAtRedraw, float(clock.state().vlim / clock.state().tau));
}

void TestAnimationClock::zeroInitialAcceleration()
{
    // These texts, read as singles, make the weight and the thrust exactly
    // equal: the sphere floats, and an acceleration of exactly 0 is shown as
    // a number, not as the "-- --" of a sphere that would rise.
    Bench b;
    b.fields.texts[ParameterFields::Radius] = QStringLiteral("3,53882766");
    b.fields.texts[ParameterFields::Mass] = QStringLiteral("154,822083");
    b.fields.texts[ParameterFields::FluidDensity] = QStringLiteral("834");
    b.clock.command18_Click();
    QCOMPARE(b.clock.state().vlim, 0.0);
    QCOMPARE(b.clock.state().acc, 0.0f);
    QCOMPARE(b.clock.label7(), QStringLiteral("0"));
}

QTEST_APPLESS_MAIN(TestAnimationClock)
#include "tst_animationclock.moc"
