// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/fallseries.h"

#include "core/csvtext.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <random>

namespace {

constexpr double g = 9.81;

// A steel ball in glycerine whose v∞ follows Stokes's law for the given η,
// with a relative u of its own: v∞ = 2r²(ρs − ρf)g/(9η).
SeriesTrial stokesTrial(double radius, double eta, double relativeU, double trueEta = 1.2)
{
    SeriesTrial t;
    t.label = QStringLiteral("chute.csv");
    t.radius = radius;
    t.radiusU = 1e-5;
    t.density = 7800.0;
    t.densityU = 0.0;
    t.eta = eta;
    t.etaU = relativeU * eta;
    t.velocity = 2.0 * radius * radius * (7800.0 - 1260.0) * g / (9.0 * trueEta);
    t.velocityU = relativeU * t.velocity;
    t.reynolds = 1260.0 * t.velocity * 2.0 * radius / trueEta;
    return t;
}

SeriesSetup glycerine()
{
    SeriesSetup setup;
    setup.fluidDensity = 1260.0;
    setup.gravity = g;
    return setup;
}

SeriesTrial plain(double eta, double u, double shared = 0.0)
{
    SeriesTrial t = stokesTrial(1e-3, eta, u / eta);
    t.etaU = u;
    t.etaUShared = shared;
    return t;
}

} // namespace

class TestFallSeries : public QObject
{
    Q_OBJECT

private slots:
    void weightedMean_data();
    void weightedMean();
    void fourRadii();
    void badTrialNamed();
    void lineThroughOrigin();
    void refused();
    void csv();
};

void TestFallSeries::weightedMean_data()
{
    QTest::addColumn<QList<double>>("etas");
    QTest::addColumn<QList<double>>("us");
    QTest::addColumn<QList<double>>("shared");
    QTest::addColumn<double>("mean");
    QTest::addColumn<double>("u");
    QTest::addColumn<double>("birge");

    // Weights 100 and 25: (100·1 + 25·1,2)/125; χ² = 100·0,04² + 25·0,16² = 0,8.
    QTest::newRow("agreeing") << QList<double> {1.0, 1.2} << QList<double> {0.1, 0.2}
                              << QList<double> {0.0, 0.0} << 1.04 << 1.0 / std::sqrt(125.0)
                              << std::sqrt(0.8);
    // χ² = 2·10² = 200: u_int = 0,01/√2 scaled by R_B = √200 gives 0,1.
    QTest::newRow("scattered") << QList<double> {1.0, 1.2} << QList<double> {0.01, 0.01}
                               << QList<double> {0.0, 0.0} << 1.1 << 0.1 << std::sqrt(200.0);
    // Each trial's own u is 0,04 (0,05² − 0,03²): u_int = 0,04/√2, the shared 0,03 added once.
    QTest::newRow("shared part") << QList<double> {1.0, 1.0} << QList<double> {0.05, 0.05}
                                 << QList<double> {0.03, 0.03} << 1.0 << std::sqrt(0.0008 + 0.0009)
                                 << 0.0;
    QTest::newRow("one trial") << QList<double> {1.3} << QList<double> {0.02} << QList<double> {0.0}
                               << 1.3 << 0.02 << qQNaN();
}

void TestFallSeries::weightedMean()
{
    QFETCH(QList<double>, etas);
    QFETCH(QList<double>, us);
    QFETCH(QList<double>, shared);
    QFETCH(double, mean);
    QFETCH(double, u);
    QFETCH(double, birge);
    std::vector<SeriesTrial> trials;
    for (qsizetype i = 0; i < etas.size(); ++i)
        trials.push_back(plain(etas[i], us[i], shared[i]));
    // A left-out trial changes nothing.
    trials.push_back(plain(5.0, 0.001));
    trials.back().used = false;
    const SeriesResult r = FallSeries::estimate(trials, glycerine());
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(r.used, int(etas.size()));
    QVERIFY(std::abs(r.eta - mean) < 1e-12);
    QVERIFY2(std::abs(r.etaU - u) < 1e-12 * u, qPrintable(QString::number(r.etaU, 'g', 17)));
    if (std::isnan(birge))
        QVERIFY(std::isnan(r.birge));
    else
        QVERIFY(std::abs(r.birge - birge) < 1e-12 * std::max(1.0, birge));
    QCOMPARE(r.scaled, birge > 1.0);
}

// Four radii of one steel: the η of each trial scatters as its u says, from
// the truth written here; the mean and the line both give it within 1 %.
void TestFallSeries::fourRadii()
{
    const double truth = 1.2;
    std::mt19937 engine(29);
    std::normal_distribution<double> scatter(0.0, 1.0);
    std::vector<SeriesTrial> trials;
    for (double diameter : {6.31e-3, 4.72e-3, 3.12e-3, 2.0e-3}) {
        const double relative = 0.006;
        SeriesTrial t = stokesTrial(diameter / 2.0, truth * (1.0 + relative * scatter(engine)),
                                    relative, truth);
        t.velocity *= 1.0 + relative * scatter(engine);
        trials.push_back(t);
    }
    const SeriesResult r = FallSeries::estimate(trials, glycerine());
    QVERIFY2(r.ok, qPrintable(r.error));
    QVERIFY2(std::abs(r.eta / truth - 1.0) < 0.01, qPrintable(QString::number(r.eta)));
    QVERIFY(std::abs(r.eta - truth) < 3.0 * r.etaU);
    QVERIFY(r.sameDensity);
    const double slope = 2.0 * (7800.0 - 1260.0) * g / (9.0 * truth);
    QVERIFY2(std::abs(r.slope / slope - 1.0) < 0.01, qPrintable(QString::number(r.slope)));
    QVERIFY2(std::abs(r.lineEta / truth - 1.0) < 0.01, qPrintable(QString::number(r.lineEta)));
    QVERIFY(r.outliers.empty());
    const QStringList text = FallSeries::lines(trials, r);
    QVERIFY(text.first().startsWith(QStringLiteral("η (série) = 1,")));
    QVERIFY(text.contains(QStringLiteral("Aucun essai ne s'écarte des autres de plus de 3 u.")));
}

// Three trials at 1,20 ± 0,01 and one at 1,30 ± 0,01: the others' mean is
// 1,20 ± 0,01/√3, so the fourth lies 0,1/√(0,01² + 0,01²/3) = 8,66 u away.
void TestFallSeries::badTrialNamed()
{
    std::vector<SeriesTrial> trials
        = {plain(1.20, 0.01), plain(1.20, 0.01), plain(1.20, 0.01), plain(1.30, 0.01)};
    trials[3].radius = 2.36e-3;
    const SeriesResult r = FallSeries::estimate(trials, glycerine());
    QVERIFY(r.ok);
    QCOMPARE(r.outliers, std::vector<int> {3});
    QVERIFY(std::abs(r.agreement[3].gap - 0.1 / std::sqrt(1e-4 + 1e-4 / 3.0)) < 1e-9);
    QVERIFY(r.agreement[0].gap < 3.0);
    QVERIFY(r.scaled); // χ² = 3·0,025²/0,01² + 0,075²/0,01² = 75, R_B = 5
    QVERIFY(std::abs(r.birge - 5.0) < 1e-9);
    const QStringList text = FallSeries::lines(trials, r);
    QVERIFY2(text.contains(QStringLiteral(
                 "L'essai 4 (bille de 4,72 mm) s'écarte de 8,7 u de la moyenne des autres "
                 "(1,2000 ± 0,0058 Pa·s) : vérifier son rayon, sa masse et ses points, ou le "
                 "laisser de côté.")),
             qPrintable(text.join(QLatin1Char('\n'))));

    // Two bad trials among six: the farther one does not hide the other, nor
    // make the good ones look bad through the others' mean.
    std::vector<SeriesTrial> six = {plain(1.20, 0.01), plain(1.50, 0.01), plain(1.20, 0.01),
                                    plain(1.20, 0.01), plain(1.30, 0.01), plain(1.20, 0.01)};
    const SeriesResult two = FallSeries::estimate(six, glycerine());
    QCOMPARE(two.outliers, (std::vector<int> {1, 4}));
    // Against the four good ones: 0,1/√(0,01² + 0,01²/4) and 0,3/… for the worse.
    QVERIFY(std::abs(two.agreement[4].gap - 0.1 / std::sqrt(1e-4 + 1e-4 / 4.0)) < 1e-9);
    QVERIFY(std::abs(two.agreement[4].othersEta - 1.2) < 1e-12);
    QVERIFY(two.agreement[0].gap < 1e-9);

    // Left out, it no longer weighs: the three others agree exactly.
    trials[3].used = false;
    const SeriesResult without = FallSeries::estimate(trials, glycerine());
    QVERIFY(without.outliers.empty());
    QVERIFY(std::abs(without.eta - 1.2) < 1e-12);
}

// Two points by hand: x = 1 and 2 m², v = 1 and 3 m/s, u(v) = 1: the slope is
// Σxv/Σx² = 7/5, its u 1/√5, and v₂ lies (3 − 2,8)/2,8 above the line.
void TestFallSeries::lineThroughOrigin()
{
    std::vector<SeriesTrial> trials = {plain(1.0, 0.1), plain(1.0, 0.1)};
    trials[0].radius = 1.0;
    trials[1].radius = std::sqrt(2.0);
    trials[0].radiusU = trials[1].radiusU = 0.0;
    trials[0].velocity = 1.0;
    trials[1].velocity = 3.0;
    trials[0].velocityU = trials[1].velocityU = 1.0;
    const SeriesResult r = FallSeries::estimate(trials, glycerine());
    QVERIFY(r.ok);
    QVERIFY(std::abs(r.slope - 1.4) < 1e-12);
    QVERIFY(std::abs(r.slopeU - 1.0 / std::sqrt(5.0)) < 1e-12); // R_B = √0,2 < 1: not scaled
    QVERIFY(std::abs(r.lineEta - 2.0 * 6540.0 * g / (9.0 * 1.4)) < 1e-9);
    QVERIFY(std::abs(r.agreement[1].lineDeparture - 0.2 / 2.8) < 1e-12);
    QVERIFY(std::abs(r.agreement[0].lineGap + 0.4) < 1e-12);

    // Two densities: x is r² reduced to the mean density (ρ̄s = 7000).
    trials[1].density = 6200.0;
    const SeriesResult mixed = FallSeries::estimate(trials, glycerine());
    QVERIFY(!mixed.sameDensity);
    QCOMPARE(mixed.meanDensity, 7000.0);
    // x₁ = 1·6540/5740, x₂ = 2·4940/5740.
    const double x1 = 6540.0 / 5740.0, x2 = 2.0 * 4940.0 / 5740.0;
    QVERIFY(std::abs(mixed.slope - (x1 + 3.0 * x2) / (x1 * x1 + x2 * x2)) < 1e-12);
}

void TestFallSeries::refused()
{
    std::vector<SeriesTrial> trials = {plain(1.0, 0.1)};
    trials[0].used = false;
    SeriesResult r = FallSeries::estimate(trials, glycerine());
    QVERIFY(!r.ok);
    QCOMPARE(r.error, QStringLiteral("Aucun essai n'est retenu dans la série."));
    QCOMPARE(FallSeries::lines(trials, r),
             QStringList {QStringLiteral("Série impossible : Aucun essai n'est retenu dans la "
                                         "série.")});
    trials = {plain(1.0, 0.1), plain(1.0, 0.0)};
    r = FallSeries::estimate(trials, glycerine());
    QCOMPARE(r.error,
             QStringLiteral("L'essai 2 n'a pas de résultat utilisable : il faut η, v∞, "
                            "le rayon et la masse volumique de la bille, avec leurs "
                            "incertitudes."));
    trials = {plain(1.0, 0.1, 0.1)};
    r = FallSeries::estimate(trials, glycerine());
    QCOMPARE(r.error,
             QStringLiteral("L'incertitude de l'essai 1 est toute commune à la série : "
                            "les essais ne peuvent pas être pondérés."));
}

void TestFallSeries::csv()
{
    std::vector<SeriesTrial> trials = {plain(1.0, 0.1), plain(1.2, 0.2)};
    trials[1].used = true;
    trials[1].label = QStringLiteral("bille; 2.csv");
    const SeriesResult r = FallSeries::estimate(trials, glycerine());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("série.csv"));
    QString error;
    QVERIFY(FallSeries::writeCsv(path, trials, r, &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QVERIFY(lines.at(0).startsWith(QStringLiteral("Essai;Fichier;Rayon (mm);u(rayon) (mm);")));
    QVERIFY2(lines.at(2).startsWith(QStringLiteral("2;\"bille; 2.csv\";1;0,01;7800;0;")),
             qPrintable(lines.at(2)));
    QVERIFY(lines.at(2).endsWith(QStringLiteral(";oui")));
    QCOMPARE(lines.at(3), QString());
    QVERIFY(lines.contains(QStringLiteral("η (série, moyenne pondérée);1,04;0,0894427190999916;"
                                          "Pa·s")));
    // A folder cannot be replaced by the table.
    QVERIFY(!FallSeries::writeCsv(dir.path(), trials, r, &error));
    QVERIFY(error.startsWith(QStringLiteral("Le tableau de la série")));
}

QTEST_MAIN(TestFallSeries)
#include "tst_fallseries.moc"
