// SPDX-License-Identifier: GPL-3.0-or-later
#include "scene/scene.h"
#include "scene/sceneinputs.h"
#include "scene/vectors.h"

#include "core/animationclock.h"
#include "core/motion.h"
#include "support/scenerig.h"

#include <QtTest>

namespace {

const QRgb magenta = qRgb(255, 0, 255);
const QRgb black = qRgb(0, 0, 0);
const QRgb orange = qRgb(255, 128, 0);
const QRgb darkRed = qRgb(192, 0, 0);

// The main window as the clock, the scene and the vectors see it: the default
// parameters, the start-up options without ruler and axis, crosses for marks
// (easier to find than whole spheres), and the scene redrawn at every tick.
struct Window : SceneRig
{
    Window()
    {
        options.showAxis = false;
        options.showRuler = false;
        options.crossMarks = true;
        scene.fond();
        clock.command18_Click();
    }

    // Ticks while the clock runs, at most count of them; the rows of the
    // sphere's centre at the ticks that took a mark.
    QList<int> tick(int count = 1000)
    {
        QList<int> rows;
        for (int i = 0; i < count && clock.timerEnabled(); ++i) {
            clock.Timer1_Timer();
            if (clock.markDue())
                rows << scene.sphereY();
        }
        return rows;
    }

    const QImage &background() const { return picture2.backgroundPicture(); }

    // Rows of the crosses in the persistent layer: the top row of each run
    // of mark colour in column 52, the left end of the 2-pixel-high arm.
    QList<int> crossRows() const
    {
        QList<int> rows;
        for (int y = 0; y < background().height(); ++y) {
            if (background().pixel(52, y) == magenta
                && (y == 0 || background().pixel(52, y - 1) != magenta))
                rows << y;
        }
        return rows;
    }

    int count(QRgb colour) const
    {
        int n = 0;
        for (int y = 0; y < background().height(); ++y) {
            for (int x = 0; x < background().width(); ++x)
                n += background().pixel(x, y) == colour;
        }
        return n;
    }
};

} // namespace

class TestChronophotography : public QObject
{
    Q_OBJECT

private slots:
    void oneMarkPerSecond();
    void markLookAndKeptVectors();
    void effacerLeavesBareGradient();
    void stopKeepsMarks();
    void cameraDuringRecordingStopsOnlyRecording();
    void endOfFallReturnsCameraToIdle();
};

void TestChronophotography::oneMarkPerSecond()
{
    Window w;
    w.clock.command12_Click(); // at rest: starts the animation too
    QVERIFY(w.timerRunning);
    QVERIFY(w.clock.recording());

    // The first tick is pulled back to t = 0 and takes a mark there.
    QList<int> rows = w.tick(1);
    QCOMPARE(w.clock.label3(), QStringLiteral("0,00"));
    QCOMPARE(rows, QList<int>({25}));
    rows += w.tick();

    // 0, 1, … 11 s of an 11,27 s fall, each cross where the tick that
    // reached its second drew the sphere, within 2 pixels of the law.
    QCOMPARE(rows.size(), 12);
    QCOMPARE(w.crossRows(), rows);
    const SimulationState &s = w.clock.state();
    for (int k = 0; k < rows.size(); ++k) {
        const double y = Motion::at(s.vlim, s.tau, k).y * 450.0 + 25.0;
        QVERIFY2(std::fabs(rows[k] - y) <= 2.0,
                 qPrintable(QStringLiteral("mark %1 at %2, law %3").arg(k).arg(rows[k]).arg(y)));
    }
    // The vertical arm, 3 pixels each way of the centre.
    QCOMPARE(w.background().pixel(55, rows[5] - 3), magenta);
    QCOMPARE(w.background().pixel(56, rows[5] + 2), magenta);
    QVERIFY(w.errors.isEmpty());
}

void TestChronophotography::markLookAndKeptVectors()
{
    for (bool check2 : {true, false}) {
        for (bool check9 : {true, false}) {
            Window w;
            w.options.crossMarks = check2;
            w.options.keepVectorsOnMarks = check9;
            w.options.showForces = true;
            w.options.showVelocity = true;
            w.clock.command12_Click();
            const QList<int> rows = w.tick();
            // Whole spheres keep their black outline at the right and the left.
            for (int ys : check2 ? QList<int>() : rows) {
                QCOMPARE(w.background().pixel(71, ys), black);
                QCOMPARE(w.background().pixel(39, ys), black);
            }
            QCOMPARE(w.count(magenta) > 0, check2);
            // The thrust and the velocity: each whole-sphere mark hides the
            // previous weight under its sphere, thrust and velocity.
            QCOMPARE(w.count(darkRed) > 0, check9);
            QCOMPARE(w.count(orange) > 0, check9);
        }
    }
}

void TestChronophotography::effacerLeavesBareGradient()
{
    Window w;
    w.clock.command12_Click();
    w.tick(60);
    QCOMPARE(w.crossRows().size(), 3);
    w.command13Click();
    QCOMPARE(w.background(), w.scene.image3());
    QVERIFY(!w.clock.recording());
    QCOMPARE(w.clock.state().temps, 0.0);
}

void TestChronophotography::stopKeepsMarks()
{
    Window w;
    w.clock.command12_Click();
    const QList<int> rows = w.tick(60);
    const QImage marks = w.background();
    w.clock.Image4_Click();
    QVERIFY(!w.clock.recording());
    QVERIFY(!w.timerRunning);
    QCOMPARE(w.clock.state().temps, 0.0);
    QCOMPARE(w.background(), marks);
    QCOMPARE(w.crossRows(), rows);
    // Shown, not only kept: the live sphere is back at the top.
    QCOMPARE(w.picture2.image().pixel(52, rows.last()), magenta);
}

void TestChronophotography::cameraDuringRecordingStopsOnlyRecording()
{
    Window w;
    w.clock.command12_Click();
    const QList<int> rows = w.tick(30); // marks at 0 and 1 s
    QCOMPARE(rows.size(), 2);
    w.clock.command12_Click();
    QVERIFY(!w.clock.recording());
    QVERIFY(w.timerRunning);
    QCOMPARE(w.clock.cameraCaption(), QStringLiteral("Activer la chronophotographie"));
    QVERIFY(w.tick().isEmpty());
    QCOMPARE(w.clock.state().temps, w.clock.state().tfin);
    QCOMPARE(w.crossRows(), rows);
}

void TestChronophotography::endOfFallReturnsCameraToIdle()
{
    Window w;
    w.clock.command12_Click();
    QCOMPARE(w.clock.cameraCaption(), QStringLiteral("Arrêter la chronophotographie"));
    const QList<int> first = w.tick();
    const int maj12Calls = w.maj12Calls;
    QVERIFY(!w.timerRunning);
    QVERIFY(!w.clock.recording());
    QVERIFY(!w.clock.markDue());
    QVERIFY(maj12Calls > 0);
    QCOMPARE(w.clock.cameraCaption(), QStringLiteral("Activer la chronophotographie"));
    QCOMPARE(w.clock.cameraToolTip(), QStringLiteral("Chronophotographie"));

    // A refresh after the end freezes nothing more.
    const QImage marks = w.background();
    w.scene.majaff();
    QCOMPARE(w.background(), marks);

    // The camera at the end restarts from t = 0, recording, over the old
    // marks; a new cross colour applies to the new crosses only.
    w.options.colours[DisplayOptions::MarkColour] = 0;
    w.clock.command12_Click();
    QVERIFY(w.clock.recording());
    QVERIFY(w.timerRunning);
    QCOMPARE(w.tick(1), QList<int>({25}));
    QCOMPARE(w.background().pixel(52, 25), black);
    QCOMPARE(w.crossRows(), first.mid(1));
}

QTEST_MAIN(TestChronophotography)
#include "tst_chronophotography.moc"
