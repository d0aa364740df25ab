// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "core/validation.h"
#include "support/fakefields.h"

#include <QTest>

namespace {

// Counts what the validation asks of the rest of the window.
class CountingView : public AnimationView
{
public:
    void majaff() override { ++redraws; }
    void setTimerRunning(bool running) override { timerRunning = running; }
    int redraws = 0;
    bool timerRunning = false;
};

struct Bench
{
    Bench()
        : clock(fields, view)
        , validator(fields, clock)
    {
        validator.setEraseChronophotographs([this] { ++erasures; });
    }
    FakeFields fields;
    CountingView view;
    AnimationClock clock;
    ParameterValidator validator;
    int erasures = 0;

    void type(int index, const QString &text)
    {
        fields.texts[index] = text;
        validator.Text5_LostFocus(index);
    }
};

} // namespace

class TestValidation : public QObject
{
    Q_OBJECT

private slots:
    void keyFilter();
    void intervalKeyFilter();
    void enterValidates();
    void clampsAndRounds_data();
    void clampsAndRounds();
    void clampedMassThenCoupled();
    void startupMakesDensityConsistent();
    void newRadiusKeepsDensity();
    void newMassKeepsRadius();
    void densityClampRecomputesMass();
    void massClampFromDensity();
    void typedDensityBeyondMassCeiling();
    void heightErasesChronophotographs();
    void everyValidationResets();
    void focusPausesRunningClock();
    void interval_data();
    void interval();
    void pumpedEventsDoNotReenter();
};

void TestValidation::keyFilter()
{
    QCOMPARE(parameterKey(u'7').key, u'7');
    QCOMPARE(parameterKey(u'.').key, u','); // a typed point enters a comma
    QCOMPARE(parameterKey(u',').key, u',');
    QCOMPARE(parameterKey(u'-').key, u'-');
    QCOMPARE(parameterKey(8).key, char16_t(8));
    QCOMPARE(parameterKey(u'E').key, char16_t(0)); // no exponent can be typed
    QCOMPARE(parameterKey(u'a').key, char16_t(0));
    QCOMPARE(parameterKey(u' ').key, char16_t(0));
    QCOMPARE(parameterKey(u'é').key, char16_t(0));
    const KeyFilter enter = parameterKey(13);
    QCOMPARE(enter.key, char16_t(0));
    QVERIFY(enter.validate);
}

void TestValidation::intervalKeyFilter()
{
    QCOMPARE(intervalKey(u'5').key, u'5');
    QCOMPARE(intervalKey(8).key, char16_t(8));
    QCOMPARE(intervalKey(u'.').key, char16_t(0));
    QCOMPARE(intervalKey(u',').key, char16_t(0));
    QCOMPARE(intervalKey(u'-').key, char16_t(0));
    const KeyFilter enter = intervalKey(13);
    QCOMPARE(enter.key, char16_t(13)); // the key is kept
    QVERIFY(enter.validate);
}

void TestValidation::enterValidates()
{
    Bench b;
    // Typing "2.5" key by key into an empty radius field shows 2,5.
    b.fields.texts[0].clear();
    for (char16_t key : {u'2', u'.', u'5'}) {
        const char16_t kept = b.validator.Text5_KeyPress(0, key);
        if (kept)
            b.fields.texts[0].append(QChar(kept));
    }
    QCOMPARE(b.fields.texts[0], QStringLiteral("2,5"));
    b.fields.texts[0] = QStringLiteral("2,54");
    QCOMPARE(b.validator.Text5_KeyPress(0, 13), char16_t(0));
    QCOMPARE(b.fields.texts[0], QStringLiteral("2,54"));
    b.fields.texts[0] = QStringLiteral("2,546");
    b.validator.Text5_KeyPress(0, 13);
    QCOMPARE(b.fields.texts[0], QStringLiteral("2,55"));
}

void TestValidation::clampsAndRounds_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("radius below") << 0 << "0,1"
                                  << "0,5";
    QTest::newRow("radius above") << 0 << "51"
                                  << "50";
    QTest::newRow("radius typed with a point") << 0 << "2.5"
                                               << "2,5";
    QTest::newRow("mass empty") << 1 << ""
                                << "1";
    QTest::newRow("height three digits") << 2 << "1,2345"
                                         << "1,23";
    QTest::newRow("height negative") << 2 << "-5"
                                     << "0,1";
    QTest::newRow("height above") << 2 << "2500"
                                  << "2000";
    QTest::newRow("viscosity zero") << 3 << "0"
                                    << "1E-06";
    QTest::newRow("viscosity small") << 3 << "0,0000123456"
                                     << "1,23E-05";
    QTest::newRow("viscosity validated twice") << 3 << "1E-06"
                                               << "1E-06";
    QTest::newRow("fluid above") << 4 << "1600"
                                 << "1500";
    QTest::newRow("fluid unparsable") << 4 << "1,2,3"
                                      << "0,1";
    QTest::newRow("density above") << 5 << "25000"
                                   << "20000";
    QTest::newRow("viscosity above") << 3 << "5,01"
                                     << "5";
    // The text is rounded to a single before its three digits are kept: the
    // single nearest 81,95 lies just below it, those of the others just above.
    QTest::newRow("mass rounded as a single") << 1 << "81,95"
                                              << "81,9";
    QTest::newRow("height rounded as a single") << 2 << "3,085"
                                                << "3,09";
    QTest::newRow("fluid rounded as a single") << 4 << "1,355"
                                               << "1,36";
    QTest::newRow("viscosity rounded as a single") << 3 << "0,000003285"
                                                   << "3,29E-06";
    QTest::newRow("beyond a single") << 2 << QString(41, u'9') << "0,1";
}

void TestValidation::clampsAndRounds()
{
    QFETCH(int, index);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Bench b;
    b.type(index, typed);
    QCOMPARE(b.fields.texts[index], shown);
}

void TestValidation::clampedMassThenCoupled()
{
    Bench b;
    QString shownAtPump;
    b.validator.setPumpEvents([&] {
        if (shownAtPump.isEmpty())
            shownAtPump = b.fields.texts[1];
    });
    b.type(1, QStringLiteral("60000"));
    // The field first shows the clamped mass; 50 kg in a 3,5 cm ball is then
    // denser than 20 000 kg/m³, so the density is clamped and gives the mass back.
    QCOMPARE(shownAtPump, QStringLiteral("50000"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("20000"));
    QCOMPARE(b.fields.texts[1], QStringLiteral("3590"));
}

void TestValidation::startupMakesDensityConsistent()
{
    Bench b;
    b.fields.texts[5] = QStringLiteral("0");
    // The load validates the height and the radius: with a density of 0 the
    // coupling is skipped and the mass stays.
    b.validator.Text5_LostFocus(2);
    b.validator.Text5_LostFocus(0);
    QCOMPARE(b.fields.texts[1], QStringLiteral("145"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("0"));
    // The first activation validates the mass, which derives the density.
    b.validator.Text5_LostFocus(1);
    QCOMPARE(b.fields.texts[5], QStringLiteral("807"));
    QCOMPARE(b.fields.texts[1], QStringLiteral("145"));
}

void TestValidation::newRadiusKeepsDensity()
{
    Bench b;
    b.type(0, QStringLiteral("7"));
    QCOMPARE(b.fields.texts[0], QStringLiteral("7"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("807"));
    QCOMPARE(b.fields.texts[1], QStringLiteral("1160"));
}

void TestValidation::newMassKeepsRadius()
{
    Bench b;
    b.type(1, QStringLiteral("145"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("807"));
    b.type(1, QStringLiteral("290"));
    QCOMPARE(b.fields.texts[0], QStringLiteral("3,5"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("1610"));
    // The three-digit density gives the mass back, rounded through it.
    QCOMPARE(b.fields.texts[1], QStringLiteral("289"));
}

void TestValidation::densityClampRecomputesMass()
{
    Bench b;
    b.fields.texts[0] = QStringLiteral("0,5");
    // 50 kg in a 1 cm ball would be far denser than 20 000 kg/m³.
    b.type(1, QStringLiteral("50000"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("20000"));
    QCOMPARE(b.fields.texts[1], QStringLiteral("10,5"));
}

void TestValidation::massClampFromDensity()
{
    Bench b;
    // A 50 cm ball of density 807 would weigh 423 kg: the mass stops at
    // 50 000 g and the density follows it down.
    b.type(0, QStringLiteral("50"));
    QCOMPARE(b.fields.texts[1], QStringLiteral("50000"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("95,5"));
}

void TestValidation::typedDensityBeyondMassCeiling()
{
    Bench b;
    b.type(0, QStringLiteral("50"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("95,5"));
    // 1000 kg/m³ in a 50 cm ball asks for 524 kg: the mass text stays at its
    // ceiling, so only its own validation gives the density back.
    b.type(5, QStringLiteral("1000"));
    QCOMPARE(b.fields.texts[1], QStringLiteral("50000"));
    QCOMPARE(b.fields.texts[5], QStringLiteral("95,5"));
}

void TestValidation::heightErasesChronophotographs()
{
    Bench b;
    b.type(2, QStringLiteral("2"));
    QCOMPARE(b.erasures, 1);
    for (int index : {0, 1, 3, 4, 5})
        b.validator.Text5_LostFocus(index);
    QCOMPARE(b.erasures, 1);
}

void TestValidation::everyValidationResets()
{
    Bench b;
    b.clock.command18_Click();
    b.clock.command15_Click();
    for (int i = 0; i < 10; ++i)
        b.clock.Timer1_Timer();
    QVERIFY(b.clock.state().temps > 0.0);
    QVERIFY(b.view.timerRunning);
    b.type(3, QStringLiteral("0,3"));
    QCOMPARE(b.clock.state().temps, 0.0);
    QVERIFY(!b.view.timerRunning);
    QCOMPARE(b.clock.label3(), QStringLiteral("0,00"));
    QVERIFY(b.clock.state().tau > 0.0);
}

void TestValidation::focusPausesRunningClock()
{
    Bench b;
    b.clock.command18_Click();
    b.clock.command12_Click(); // recording, clock running
    QVERIFY(b.clock.recording());
    b.clock.Timer1_Timer();
    const double t = b.clock.state().temps;
    b.validator.Text5_GotFocus(0);
    QVERIFY(!b.clock.timerEnabled());
    QVERIFY(!b.clock.recording());
    QCOMPARE(b.clock.state().temps, t);
    // Entering a field while stopped changes nothing.
    b.validator.Text5_GotFocus(0);
    QVERIFY(!b.clock.timerEnabled());
}

void TestValidation::interval_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("below") << "5"
                           << "10";
    QTest::newRow("above") << "9000"
                           << "5000";
    QTest::newRow("empty") << ""
                           << "10";
    QTest::newRow("kept") << "250"
                          << "250";
    QTest::newRow("leading zeros") << "0050"
                                   << "50";
    QTest::newRow("edges") << "5000"
                           << "5000";
}

void TestValidation::interval()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Bench b;
    b.fields.interval = typed;
    b.validator.chrono_LostFocus();
    QCOMPARE(b.fields.interval, shown);
    b.fields.interval = typed;
    QCOMPARE(b.validator.chrono_KeyPress(13), char16_t(13));
    QCOMPARE(b.fields.interval, shown);
}

void TestValidation::pumpedEventsDoNotReenter()
{
    Bench b;
    int pumps = 0;
    // While the radius is being validated, a queued event makes the field
    // lose the focus again (a click elsewhere): that validation waits for
    // the first to end instead of running inside it.
    int redrawsAtPump = -1;
    b.fields.texts[0] = QStringLiteral("4");
    bool ranInside = false;
    b.validator.setPumpEvents([&] {
        if (++pumps != 1)
            return;
        redrawsAtPump = b.view.redraws;
        b.fields.texts[0] = QStringLiteral("7");
        b.validator.Text5_LostFocus(0); // must not run now
        ranInside = b.view.redraws != redrawsAtPump;
    });
    b.validator.Text5_LostFocus(0);
    // The deferred validation ran afterwards: its value wins, as it would
    // if it had run inside.
    QCOMPARE(b.fields.texts[0], QStringLiteral("7"));
    QCOMPARE(b.fields.texts[1], QStringLiteral("1160"));
    QCOMPARE(b.clock.state().temps, 0.0);
    QVERIFY(!ranInside);
    QVERIFY(pumps >= 2);
}

QTEST_APPLESS_MAIN(TestValidation)
#include "tst_validation.moc"
