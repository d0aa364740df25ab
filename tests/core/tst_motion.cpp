// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/motion.h"
#include "core/numberformat.h"
#include "support/fakefields.h"

#include <QTest>

#include <cmath>

namespace {

SimulationState recomputed(const FakeFields &fields)
{
    SimulationState state;
    Motion::computeExpoids(fields, state);
    Motion::computeModel(fields, state);
    Motion::dichotemps(fields, state);
    return state;
}

bool closeTo(double actual, double expected, double relative)
{
    return std::fabs(actual - expected) <= relative * std::fabs(expected);
}

// A float written so that it reads back exactly.
QString exactText(float value)
{
    return QString::number(double(value), 'g', 9).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

class TestMotion : public QObject
{
    Q_OBJECT

private slots:
    void defaults();
    void motionLaw();
    void regimeThreshold();
    void quadraticLimitVelocityBalancesForces();
    void negativeLimitVelocity();
    void firstProbeAtTenSeconds();
    void dichotempsEndsWithoutMotion();
    void weightExponent_data();
    void weightExponent();
    void forcesAtDefaults();
    void failedStepKeepsPreviousValue();
};

void TestMotion::defaults()
{
    FakeFields fields;
    const SimulationState s = recomputed(fields);
    const double k = 6 * 3.1415927 * 0.035 * double(0.2f);
    QVERIFY(closeTo(k, 0.13195, 1e-4));
    QVERIFY2(closeTo(s.vlim, 0.09837, 1e-3), qPrintable(QString::number(s.vlim)));
    QVERIFY(closeTo(s.reynolds, 27.5, 1e-2));
    QVERIFY(closeTo(s.tau, 1.0989, 1e-4));
    QVERIFY(closeTo(s.vlim / s.tau, 0.0895, 1e-3));
    QCOMPARE(NumberFormat::fixedTwo(s.tfin), QStringLiteral("11,27"));
    QCOMPARE(s.expoids, std::int16_t(0));
    QCOMPARE(s.expvit, std::int16_t(-1));

    // The end of the fall is within h/1000 of the height.
    const double y = Motion::at(s.vlim, s.tau, s.tfin).y;
    QVERIFY(std::fabs(y - 1.0) <= 0.001);
}

void TestMotion::motionLaw()
{
    const double vlim = 0.1, tau = 2.0;
    const Motion::Point start = Motion::at(vlim, tau, 0.0);
    QCOMPARE(start.y, 0.0);
    QCOMPARE(start.v, 0.0);
    QCOMPARE(start.a, vlim / tau);
    // Velocity is the derivative of the position, acceleration that of the velocity.
    const double t = 1.3, dt = 1e-6;
    const Motion::Point p = Motion::at(vlim, tau, t);
    const Motion::Point q = Motion::at(vlim, tau, t + dt);
    QVERIFY(std::fabs((q.y - p.y) / dt - p.v) < 1e-6);
    QVERIFY(std::fabs((q.v - p.v) / dt - p.a) < 1e-6);
    // Long after the release the sphere moves at the limit velocity.
    QVERIFY(std::fabs(Motion::at(vlim, tau, 100.0).v - vlim) < 1e-12);
}

void TestMotion::regimeThreshold()
{
    // Lower the viscosity until the Reynolds number passes 250: a fast,
    // light ball in water. Find the two neighbouring single-precision
    // viscosities on each side of the threshold.
    FakeFields fields({QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("2"),
                       QStringLiteral("0,01"), QStringLiteral("1000"), QStringLiteral("2390")});
    float lo = 0.0001f, hi = 0.5f; // Reynolds above 250 at lo, below at hi
    auto reynoldsAt = [&](float eta) {
        fields.texts[ParameterFields::Viscosity] = exactText(eta);
        SimulationState s;
        Motion::computeModel(fields, s);
        return s.reynolds;
    };
    QVERIFY(reynoldsAt(lo) > 250.0);
    QVERIFY(reynoldsAt(hi) <= 250.0);
    while (std::nextafter(lo, hi) != hi) {
        const float mid = lo + (hi - lo) / 2.0f;
        if (mid == lo || mid == hi)
            break;
        (reynoldsAt(mid) > 250.0 ? lo : hi) = mid;
    }

    fields.texts[ParameterFields::Viscosity] = exactText(lo);
    SimulationState fast;
    Motion::computeModel(fields, fast);
    fields.texts[ParameterFields::Viscosity] = exactText(hi);
    SimulationState slow;
    Motion::computeModel(fields, slow);
    QVERIFY(fast.reynolds > 250.0);
    QVERIFY(slow.reynolds <= 250.0);

    // Linear: vlim is the Stokes velocity, whose Reynolds number is the one
    // computed. Quadratic: vlim is much lower than the Stokes velocity.
    const double stokesFast = fast.reynolds * double(lo) / (2 * 1000 * 0.01);
    QVERIFY(fast.vlim < 0.9 * stokesFast);
    QVERIFY(closeTo(slow.reynolds * double(hi) / (2 * 1000 * 0.01), slow.vlim, 1e-9));
    // The initial acceleration does not depend on the regime: g(1 − ρV/m).
    const double volume = std::pow(0.01, 3) * 4.0 / 3.0 * 3.1415927;
    const double a0 = 9.8 * (0.010 - 1000 * volume) / 0.010;
    QVERIFY(closeTo(fast.vlim / fast.tau, a0, 1e-6));
    QVERIFY(closeTo(slow.vlim / slow.tau, a0, 1e-6));
}

void TestMotion::quadraticLimitVelocityBalancesForces()
{
    // A 3 cm steel ball in water: far above Reynolds 250.
    FakeFields fields({QStringLiteral("3"), QStringLiteral("880"), QStringLiteral("10"),
                       QStringLiteral("0,001"), QStringLiteral("1000"), QStringLiteral("7780")});
    const SimulationState s = recomputed(fields);
    QVERIFY(s.reynolds > 250.0);
    // At the limit velocity the quadratic friction equals the weight minus
    // the thrust (up to the short value of pi used by the friction).
    const Motion::Forces f = Motion::forcesAt(fields, s.reynolds, s.vlim);
    QVERIFY2(closeTo(f.friction, f.weight - f.thrust, 1e-3),
             qPrintable(QStringLiteral("%1 vs %2").arg(f.friction).arg(f.weight - f.thrust)));
    QVERIFY(s.tfin > 0.0);
    QVERIFY(std::fabs(Motion::at(s.vlim, s.tau, s.tfin).y - 10.0) <= 0.01);
}

void TestMotion::negativeLimitVelocity()
{
    FakeFields fields;
    fields.texts[ParameterFields::Mass]
        = QStringLiteral("100"); // less than the 144 g of fluid displaced
    SimulationState s;
    s.tfin = 42.0;
    Motion::computeModel(fields, s);
    QVERIFY(s.vlim < 0.0);
    QVERIFY(s.vlim / s.tau < 0.0);
    Motion::dichotemps(fields, s);
    QCOMPARE(s.tfin, 42.0);
}

void TestMotion::firstProbeAtTenSeconds()
{
    FakeFields fields;
    SimulationState s = recomputed(fields);
    const double y10 = Motion::at(s.vlim, s.tau, 10.0).y;
    fields.texts[ParameterFields::Height] = NumberFormat::threeSignificant(y10);
    Motion::dichotemps(fields, s);
    QCOMPARE(s.tfin, 10.0);
}

void TestMotion::dichotempsEndsWithoutMotion()
{
    FakeFields fields;
    SimulationState s;
    s.tau = 1.0;
    s.tfin = 5.0;
    s.vlim = 0.0;
    Motion::dichotemps(fields, s);
    QCOMPARE(s.tfin, 0.0);

    // Positive but so slow that 1 m is never reached within 10^9 s.
    s.vlim = 1e-12;
    s.tfin = 5.0;
    Motion::dichotemps(fields, s);
    QCOMPARE(s.tfin, 0.0);

    // An unreadable height: the bisection still ends, on a time too short to animate.
    fields.texts[ParameterFields::Height] = QStringLiteral("?");
    s.vlim = 0.1;
    Motion::dichotemps(fields, s);
    QVERIFY(s.tfin < 0.005);
}

void TestMotion::weightExponent_data()
{
    QTest::addColumn<QString>("mass");
    QTest::addColumn<int>("expoids");
    QTest::newRow("P = 0.0123 N") << "1,26" << -2;
    QTest::newRow("P = 1.5 N") << "153" << 0;
    QTest::newRow("P = 1.42 N") << "145" << 0;
    QTest::newRow("P = 0.0098 N") << "1" << -2;
    QTest::newRow("P = 490 N") << "50000" << 2;
}

void TestMotion::weightExponent()
{
    QFETCH(QString, mass);
    QFETCH(int, expoids);
    FakeFields fields;
    fields.texts[ParameterFields::Mass] = mass;
    SimulationState s;
    Motion::computeExpoids(fields, s);
    QCOMPARE(int(s.expoids), expoids);
}

void TestMotion::forcesAtDefaults()
{
    FakeFields fields;
    const SimulationState s = recomputed(fields);
    const Motion::Forces rest = Motion::forcesAt(fields, s.reynolds, 0.0);
    QVERIFY(closeTo(rest.weight, 1.421, 1e-3));
    QVERIFY(closeTo(rest.thrust, 1.408, 1e-3));
    QCOMPARE(rest.friction, 0.0);
    // Stokes below Reynolds 100: at the limit velocity friction = P − Π.
    const Motion::Forces terminal = Motion::forcesAt(fields, s.reynolds, s.vlim);
    QVERIFY(closeTo(terminal.friction, terminal.weight - terminal.thrust, 1e-6));
    // Above 100 the friction of the vectors is quadratic: ½·Cd·ρ·3.14·R²·v².
    const Motion::Forces quadratic = Motion::forcesAt(fields, 150.0, 2.0);
    QVERIFY(closeTo(quadratic.friction, 800 * 0.44 * 4 * 3.14 * 0.035 * 0.035 / 2, 1e-9));
}

void TestMotion::failedStepKeepsPreviousValue()
{
    // An unreadable radius counts as zero, so the friction coefficient is
    // zero: the limit velocity and the time constant cannot be computed and
    // keep their previous values; the Reynolds number is then simply 0.
    FakeFields fields;
    fields.texts[ParameterFields::Radius] = QStringLiteral("abc");
    SimulationState s;
    s.vlim = 1.5;
    s.reynolds = 3.0;
    s.tau = 0.25;
    Motion::computeModel(fields, s);
    QCOMPARE(s.vlim, 1.5);
    QCOMPARE(s.reynolds, 0.0);
    QCOMPARE(s.tau, 0.25);

    // An evaluation that overflows a single leaves the stored value alone.
    s.vlim = 1e300;
    s.tau = 1.0;
    s.temps = 1e10;
    s.ypos = 0.5f;
    Motion::evaluate(s);
    QCOMPARE(s.ypos, 0.5f);
}

QTEST_APPLESS_MAIN(TestMotion)
#include "tst_motion.moc"
