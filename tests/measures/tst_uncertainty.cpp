// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/montecarlo.h"
#include "measures/uncertainty.h"
#include "stokescase.h"

#include <QTest>

#include <cmath>
#include <numeric>
#include <random>

using namespace StokesCase;

class TestUncertainty : public QObject
{
    Q_OBJECT

private slots:
    void sensitivities_data();
    void sensitivities();
    void combined();
    void failures_data();
    void failures();
    void coverage();
    void monteCarloIntervals_data();
    void monteCarloIntervals();
    void monteCarloDraws();
    void quantile();
};

void TestUncertainty::sensitivities_data()
{
    QTest::addColumn<int>("input");
    QTest::addColumn<double>("relative"); // (x/η)·∂η/∂x
    const double ratio = 7800.0 / (7800.0 - 1260.0);
    QTest::newRow("rayon : η ∝ r²") << int(Radius) << 2.0;
    QTest::newRow("bille") << int(SphereDensity) << ratio;
    QTest::newRow("fluide") << int(FluidDensity) << 1.0 - ratio;
    QTest::newRow("vitesse : η ∝ 1/v") << int(Velocity) << -1.0;
    QTest::newRow("g, exact mais dérivable") << int(Gravity) << 1.0;
}

void TestUncertainty::sensitivities()
{
    QFETCH(int, input);
    QFETCH(double, relative);
    const std::vector<UncertainInput> inputs = stokesInputs();
    const double c = Uncertainty::sensitivity(inputs, stokes, input);
    const double x = inputs[size_t(input)].value;
    std::vector<double> values;
    for (const UncertainInput &in : inputs)
        values.push_back(in.value);
    const double eta = stokes(values);
    QVERIFY(std::abs(c * x / eta - relative) < 1e-8);
    QVERIFY(std::abs(c / stokesDerivative(inputs, input) - 1.0) < 1e-8);

    // A difference of the test's own, a thousand times wider: it agrees to
    // its truncation error, h²·f'''/6 relative.
    const double h = 1e-6 * x;
    std::vector<double> above = values, below = values;
    above[size_t(input)] += h;
    below[size_t(input)] -= h;
    const double own = (stokes(above) - stokes(below)) / (2.0 * h);
    QVERIFY(std::abs(c / own - 1.0) < 1e-6);
}

void TestUncertainty::combined()
{
    std::vector<UncertainInput> inputs = stokesInputs();
    inputs.push_back({QStringLiteral("diamètre du tube"), 0.09, 0.0, QStringLiteral("mm"), 1e-3,
                      UncertainInput::Distribution::Normal, UncertainInput::Type::B, false});
    const auto f = [](const std::vector<double> &x) { return stokes(x); };
    const Propagation p = Uncertainty::propagate(inputs, f);
    QVERIFY(p.ok);

    double variance = 0.0, varianceA = 0.0;
    for (int i = 0; i < 5; ++i) {
        const double c = stokesDerivative(inputs, i) * inputs[size_t(i)].uncertainty;
        variance += c * c;
        if (i == Velocity)
            varianceA += c * c;
    }
    QVERIFY(std::abs(p.uncertainty / std::sqrt(variance) - 1.0) < 1e-7);
    QVERIFY(std::abs(p.typeA / std::sqrt(varianceA) - 1.0) < 1e-7);
    QVERIFY(std::abs(p.typeB / std::sqrt(variance - varianceA) - 1.0) < 1e-7);

    // Relative contributions: r 2·0,5 %, v 0,43 %, ρs 0,36 %, ρf 0,069 %.
    QCOMPARE(p.budget.size(), size_t(4));
    QCOMPARE(p.budget[0].input, int(Radius));
    QCOMPARE(p.budget[1].input, int(Velocity));
    QCOMPARE(p.budget[2].input, int(SphereDensity));
    QCOMPARE(p.budget[3].input, int(FluidDensity));
    double shares = 0.0;
    for (const BudgetLine &line : p.budget)
        shares += line.share;
    QVERIFY(std::abs(shares - 1.0) < 1e-12);
    QVERIFY(std::abs(p.budget[0].share - 1e-4 / (variance / (p.value * p.value))) < 1e-6);
    // g is exact by convention; the tube was given no uncertainty.
    QCOMPARE(p.withoutUncertainty, QStringList {QStringLiteral("diamètre du tube")});
}

void TestUncertainty::failures_data()
{
    QTest::addColumn<int>("input");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("uncertainty");
    QTest::addColumn<QString>("error");
    QTest::newRow("incertitude négative")
        << int(Radius) << 2e-3 << -1e-5
        << QStringLiteral("L'incertitude de « rayon de la bille » doit être un nombre positif.");
    QTest::newRow("incertitude infinie")
        << int(Velocity) << 0.047 << qInf()
        << QStringLiteral("L'incertitude de « vitesse limite » doit être un nombre positif.");
    QTest::newRow("bille plus légère que le fluide")
        << int(SphereDensity) << 1000.0 << 20.0
        << QStringLiteral("La grandeur ne peut pas être calculée avec ces valeurs.");
    // A fluid a hair lighter than the ball: η is finite at the values, but
    // the step on the ball's density makes the ball lighter than the fluid.
    QTest::newRow("au bord du domaine")
        << int(FluidDensity) << 7800.0 - 1e-9 << 3.0
        << QStringLiteral("La grandeur ne peut pas être calculée autour de la valeur de « masse "
                          "volumique de la bille ».");
}

void TestUncertainty::failures()
{
    QFETCH(int, input);
    QFETCH(double, value);
    QFETCH(double, uncertainty);
    QFETCH(QString, error);
    std::vector<UncertainInput> inputs = stokesInputs();
    inputs[size_t(input)].value = value;
    inputs[size_t(input)].uncertainty = uncertainty;
    const Propagation p = Uncertainty::propagate(inputs, stokes);
    QVERIFY(!p.ok);
    QCOMPARE(p.error, error);
}

// 400 classes measure the same ball: every input scatters as its stated
// uncertainty says (normal, or rectangular for the fluid's density). The
// truth must lie within 2u of the measured η about 95 % of the time.
void TestUncertainty::coverage()
{
    const std::vector<UncertainInput> truth = stokesInputs();
    std::vector<double> trueValues;
    for (const UncertainInput &in : truth)
        trueValues.push_back(in.value);
    const double trueEta = stokes(trueValues);
    std::mt19937_64 engine(2025);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::uniform_real_distribution<double> uniform(-std::sqrt(3.0), std::sqrt(3.0));
    const int classes = 400;
    int covered = 0;
    for (int n = 0; n < classes; ++n) {
        std::vector<UncertainInput> measured = truth;
        for (UncertainInput &in : measured) {
            const bool flat = in.distribution == UncertainInput::Distribution::Uniform;
            in.value += in.uncertainty * (flat ? uniform(engine) : normal(engine));
        }
        const Propagation p = Uncertainty::propagate(measured, stokes);
        QVERIFY(p.ok);
        if (std::abs(p.value - trueEta) <= 2.0 * p.uncertainty)
            ++covered;
    }
    const double rate = double(covered) / classes;
    QVERIFY2(rate >= 0.90 && rate <= 0.99, qPrintable(QString::number(rate)));
}

void TestUncertainty::monteCarloIntervals_data()
{
    QTest::addColumn<int>("law");          // 0: 3x − 2y normal; 1: x rectangular
    QTest::addColumn<double>("halfWidth"); // of the 95 % interval, in units of u
    QTest::newRow("linéaire, lois normales") << 0 << 1.959964;
    // A rectangular law of half-width a = √3·u holds 95 % within 0,95·a.
    QTest::newRow("résolution, loi rectangulaire") << 1 << 0.95 * std::sqrt(3.0);
}

void TestUncertainty::monteCarloIntervals()
{
    QFETCH(int, law);
    QFETCH(double, halfWidth);
    using D = UncertainInput::Distribution;
    std::vector<UncertainInput> inputs;
    Measurand f;
    double u = 0.0;
    if (law == 0) {
        inputs = {{QStringLiteral("x"), 1.0, 0.01, QString(), 1.0, D::Normal},
                  {QStringLiteral("y"), 2.0, 0.02, QString(), 1.0, D::Normal}};
        f = [](const std::vector<double> &x) { return 3.0 * x[0] - 2.0 * x[1]; };
        u = std::sqrt(0.03 * 0.03 + 0.04 * 0.04);
    } else {
        inputs = {{QStringLiteral("x"), 5.0, 0.1, QString(), 1.0, D::Uniform}};
        f = [](const std::vector<double> &x) { return x[0]; };
        u = 0.1;
    }
    const double value = law == 0 ? -1.0 : 5.0;
    const int draws = 40000;
    const MonteCarloResult r = MonteCarlo::run(inputs, f, draws, 7);
    QVERIFY(r.ok);
    QCOMPARE(r.rejected, 0);
    // Tolerances about four standard errors of each estimate at 40 000 draws.
    QVERIFY(std::abs(r.mean - value) < 4.0 * u / std::sqrt(double(draws)));
    QVERIFY(std::abs(r.standardDeviation / u - 1.0) < 0.015);
    QVERIFY2(std::abs((value - r.low) / u - halfWidth) < 0.04, qPrintable(QString::number(r.low)));
    QVERIFY2(std::abs((r.high - value) / u - halfWidth) < 0.04,
             qPrintable(QString::number(r.high)));
}

void TestUncertainty::monteCarloDraws()
{
    const std::vector<UncertainInput> inputs = stokesInputs();
    const MonteCarloResult a = MonteCarlo::run(inputs, stokes, 5000, 11, 25);
    const MonteCarloResult b = MonteCarlo::run(inputs, stokes, 5000, 11, 25);
    const MonteCarloResult c = MonteCarlo::run(inputs, stokes, 5000, 12, 25);
    QVERIFY(a.ok && c.ok);
    QCOMPARE(a.mean, b.mean);
    QCOMPARE(a.low, b.low);
    QCOMPARE(a.counts, b.counts);
    QVERIFY(a.mean != c.mean);

    // The histogram spans the draws, its counts all of them.
    QCOMPARE(a.counts.size(), size_t(25));
    QCOMPARE(a.edges.size(), size_t(26));
    QCOMPARE(std::accumulate(a.counts.begin(), a.counts.end(), 0), 5000);
    for (size_t i = 1; i < a.edges.size(); ++i)
        QVERIFY(a.edges[i] > a.edges[i - 1]);
    QVERIFY(a.edges.front() <= a.low && a.edges.back() >= a.high);

    // Nearly linear here: the deviation is the propagated u within a few %.
    const Propagation p = Uncertainty::propagate(inputs, stokes);
    QVERIFY(std::abs(a.standardDeviation / p.uncertainty - 1.0) < 0.05);

    // Draws where η is not defined are left out, and counted.
    using D = UncertainInput::Distribution;
    const Measurand positive
        = [](const std::vector<double> &x) { return x[0] > 0.0 ? x[0] : std::nan(""); };
    const MonteCarloResult some = MonteCarlo::run(
        {{QStringLiteral("x"), 1.0, 1.0, QString(), 1.0, D::Normal}}, positive, 10000);
    QVERIFY(some.ok);
    // P(x ≤ 0) = Φ(−1) = 0,1587 for x normal of mean 1 and deviation 1.
    QVERIFY(std::abs(some.rejected / 10000.0 - 0.1587) < 0.015);
    QCOMPARE(std::accumulate(some.counts.begin(), some.counts.end(), 0), 10000 - some.rejected);

    const MonteCarloResult most = MonteCarlo::run(
        {{QStringLiteral("x"), -1.0, 1.0, QString(), 1.0, D::Normal}}, positive, 1000);
    QVERIFY(!most.ok);
    QVERIFY(most.error.startsWith(QStringLiteral("La grandeur n'a pas pu être calculée pour ")));

    const MonteCarloResult one = MonteCarlo::run(inputs, stokes, 1);
    QVERIFY(!one.ok);
    QCOMPARE(one.error,
             QStringLiteral("Le nombre de tirages doit être compris entre 2 et 10000000."));
}

void TestUncertainty::quantile()
{
    const std::vector<double> sorted {1.0, 2.0, 3.0, 4.0, 5.0};
    QCOMPARE(MonteCarlo::quantile(sorted, 0.0), 1.0);
    QCOMPARE(MonteCarlo::quantile(sorted, 0.25), 2.0);
    QCOMPARE(MonteCarlo::quantile(sorted, 0.1), 1.4);
    QCOMPARE(MonteCarlo::quantile(sorted, 1.0), 5.0);
    QCOMPARE(MonteCarlo::quantile({7.0}, 0.975), 7.0);
}

QTEST_MAIN(TestUncertainty)
#include "tst_uncertainty.moc"
