// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/fallfit.h"
#include "measures/fitchecks.h"
#include "measures/fitreport.h"
#include "simulatedfall.h"

#include "core/motion.h"

#include "support/diskfull.h"
#include <QRegularExpression>
#include <QTemporaryDir>

#include <QDir>
#include <QTest>

#include <cmath>

namespace {

// The simulator's law, which SimulatedFall's points follow.
FitOptions stokesOptions()
{
    FitOptions options;
    options.model = FitOptions::Model::Stokes;
    return options;
}

// Steel in a light oil filmed at 100 images per second: the transient
// (τ ≈ 35 ms) spans a few images, so the release instant can be fitted.
SimulatedFall steelInOil()
{
    SimulatedFall fall;
    fall.setup.radius = 1e-3;
    fall.setup.mass = FallSetup::massFromDensity(1e-3, 7800.0);
    fall.setup.fluidDensity = 900.0;
    fall.eta = 0.05;
    fall.step = 0.01;
    fall.count = 60;
    fall.firstTime = 0.0;
    fall.t0 = 0.013;
    fall.sigma = 3e-4;
    return fall;
}

// A steel ball filmed at fps images per second, falling by the drag curve.
SimulatedFall filmedSteel(double radius, double fluidDensity, double eta, double fps, int count)
{
    SimulatedFall fall;
    fall.setup.radius = radius;
    fall.setup.mass = FallSetup::massFromDensity(radius, 7800.0);
    fall.setup.fluidDensity = fluidDensity;
    fall.eta = eta;
    fall.step = 1.0 / fps;
    fall.count = count;
    fall.sigma = 3e-4;
    fall.dragCurve = true;
    return fall;
}

// Haberman and Sayre's factor and Di Felice's, written from the papers.
double habermanSayre(double l)
{
    return (1.0 - 2.105 * l + 2.0865 * std::pow(l, 3) - 1.7068 * std::pow(l, 5)
            + 0.72603 * std::pow(l, 6))
        / (1.0 - 0.75857 * std::pow(l, 5));
}

double diFelice(double l, double re)
{
    return std::pow((1.0 - l) / (1.0 - 0.33 * l), (3.3 + 0.085 * re) / (1.0 + 0.1 * re));
}

} // namespace

class TestFit : public QObject
{
    Q_OBJECT

private slots:
    void coverage_data();
    void coverage();
    void convergence_data();
    void convergence();
    void releaseTime();
    void wallCorrection_data();
    void wallCorrection();
    void quadraticRegime();
    void poorFits();
    void report();
    void dragCurveAccuracy_data();
    void dragCurveAccuracy();
    void dragCurveCoverage_data();
    void dragCurveCoverage();
    void usefulPart();
    void dragCurveReport();
};

void TestFit::coverage_data()
{
    QTest::addColumn<SimulatedFall>("fall");
    QTest::addColumn<bool>("fitT0");
    SimulatedFall glycerol;
    glycerol.setup = glassInGlycerol();
    QTest::newRow("glycerol, scatter from the residuals") << glycerol << false;
    glycerol.giveSigma = true;
    QTest::newRow("glycerol, given uncertainties") << glycerol << false;
    QTest::newRow("oil, release fitted") << steelInOil() << true;
}

// Over many noisy data sets, |η̂ − η| ≤ u(η̂) should hold in 68,3 % of them and
// ≤ 3u in 99,73 %. With 200 sets the count within 1u is binomial (sd 6,6):
// 117…156 is ± 3 sd. Within 3u, 5 misses or more have a probability 2·10⁻⁴.
void TestFit::coverage()
{
    QFETCH(SimulatedFall, fall);
    QFETCH(bool, fitT0);
    FitOptions options = stokesOptions();
    options.fitReleaseTime = fitT0;
    const int sets = 200;
    int within1 = 0, within3 = 0, t0Within3 = 0;
    for (int seed = 1; seed <= sets; ++seed) {
        const FitResult result = FallFit::fit(fall.points(seed), fall.setup, options);
        QVERIFY2(result.hasEta(), qPrintable(result.message));
        QVERIFY(result.converged);
        QCOMPARE(result.t0Fitted, fitT0);
        const double error = std::fabs(result.eta - fall.eta);
        within1 += error <= result.etaU ? 1 : 0;
        within3 += error <= 3.0 * result.etaU ? 1 : 0;
        if (fitT0)
            t0Within3 += std::fabs(result.t0 - fall.t0) <= 3.0 * result.t0U ? 1 : 0;
    }
    QVERIFY2(within1 >= 117 && within1 <= 156, qPrintable(QString::number(within1)));
    QVERIFY2(within3 >= 196, qPrintable(QString::number(within3)));
    if (fitT0)
        QVERIFY2(t0Within3 >= 196, qPrintable(QString::number(t0Within3)));
}

void TestFit::convergence_data()
{
    QTest::addColumn<double>("eta");
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("density");
    QTest::addColumn<double>("step"); // as a fraction of τ
    // A 1 mm bead barely denser than water stays in the linear regime down to water's η.
    for (double eta : {1e-3, 1e-2, 0.1, 1.0, 5.0})
        QTest::addRow("bead, eta %g", eta) << eta << 1e-3 << 1005.0 << 10.0;
    // Larger spheres, sampled through the transient.
    QTest::newRow("bead in water, filmed") << 1e-3 << 1e-3 << 1005.0 << 0.2;
    QTest::newRow("glass in glycerol, filmed") << 1.0 << 5e-3 << 2500.0 << 0.5;
    QTest::newRow("lead in syrup") << 5.0 << 1e-2 << 11300.0 << 0.5;
}

// The start values need no guess: the fit finds η from a straight line of
// the points whatever the decade, with noise of 1 % of the distance fallen.
void TestFit::convergence()
{
    QFETCH(double, eta);
    QFETCH(double, radius);
    QFETCH(double, density);
    QFETCH(double, step);
    SimulatedFall fall;
    fall.setup.radius = radius;
    fall.setup.mass = FallSetup::massFromDensity(radius, density);
    fall.setup.fluidDensity = 1000.0;
    fall.eta = eta;
    const Motion::FrictionModel model = Motion::frictionModel(
        radius, fall.setup.mass, fall.setup.fluidDensity, eta, Motion::FrictionModel());
    QVERIFY(!model.quadratic);
    fall.step = step * model.tau;
    fall.count = 50;
    fall.sigma = 0.01 * model.vlim * fall.step * fall.count;
    fall.y0 = 0.0;
    const FitResult result = FallFit::fit(fall.points(7), fall.setup, stokesOptions());
    QVERIFY2(result.hasEta(), qPrintable(result.message));
    QVERIFY(result.converged);
    QVERIFY2(std::fabs(result.eta - eta) <= 4.0 * result.etaU,
             qPrintable(QStringLiteral("%1 ± %2").arg(result.eta).arg(result.etaU)));
    QVERIFY(result.etaU < 0.2 * eta);
}

// When the transient ends well within one sampling step, a release instant
// asked for cannot be told from the offset: it is fixed and said so, and η
// keeps an honest uncertainty. Through the transient it is fitted.
void TestFit::releaseTime()
{
    SimulatedFall glycerol;
    glycerol.setup = glassInGlycerol();
    glycerol.t0 = -0.2; // released between two marks, before the first one
    FitOptions options = stokesOptions();
    options.fitReleaseTime = true;
    for (unsigned seed : {3u, 4u, 5u}) {
        const FitResult result = FallFit::fit(glycerol.points(seed), glycerol.setup, options);
        QVERIFY2(result.hasEta(), qPrintable(result.message));
        QVERIFY(result.t0Unidentifiable);
        QVERIFY(!result.t0Fitted);
        QCOMPARE(result.t0, 0.0);
        QVERIFY(std::isnan(result.t0U));
        QVERIFY(std::fabs(result.eta - glycerol.eta) <= 3.0 * result.etaU);
        QVERIFY(result.notes.join(QLatin1Char('\n'))
                    .contains(QStringLiteral("t₀ n'est pas identifiable")));
    }
    const SimulatedFall oil = steelInOil();
    const FitResult result = FallFit::fit(oil.points(3), oil.setup, options);
    QVERIFY(result.t0Fitted);
    QVERIFY(!result.t0Unidentifiable);
    QVERIFY(result.t0U < 0.005);
}

void TestFit::wallCorrection_data()
{
    QTest::addColumn<SimulatedFall>("fall");
    QTest::addColumn<double>("tube");
    QTest::addColumn<double>("factor"); // NaN: refused
    QTest::addColumn<QString>("refusal");
    SimulatedFall glycerol;
    glycerol.setup = glassInGlycerol();
    // 1 − 2,104·0,1 + 2,09·0,001 − 0,95·0,00001
    QTest::newRow("lambda 0.1") << glycerol << 0.03 << 0.7916805 << QString();
    // 1 − 2,104·0,5 + 2,09·0,125 − 0,95·0,03125
    QTest::newRow("lambda 0.5") << glycerol << 0.006 << 0.1795625 << QString();
    QTest::newRow("lambda 0.6") << glycerol << 0.005 << FitResult::nan
                                << QStringLiteral("Correction de paroi refusée : d/D = 0,6 "
                                                  "dépasse 0,5, la formule de Faxén n'est plus "
                                                  "valable.");
    QTest::newRow("Re above 1") << steelInOil() << 0.02 << FitResult::nan
                                << QStringLiteral("hors du régime de Stokes");
}

void TestFit::wallCorrection()
{
    QFETCH(SimulatedFall, fall);
    QFETCH(double, tube);
    QFETCH(double, factor);
    QFETCH(QString, refusal);
    QCOMPARE(FallFit::faxenFactor(0.1), 1.0 - 0.2104 + 0.00209 - 0.0000095);
    fall.setup.tubeDiameter = tube;
    const FitResult result = FallFit::fit(fall.points(11), fall.setup, stokesOptions());
    QVERIFY(result.hasEta());
    if (std::isnan(factor)) {
        QVERIFY(std::isnan(result.etaWall));
        QVERIFY2(result.wallMessage.contains(refusal), qPrintable(result.wallMessage));
        return;
    }
    QVERIFY(result.wallMessage.isEmpty());
    QVERIFY(qFuzzyCompare(result.wallFactor, factor));
    QVERIFY(qFuzzyCompare(result.etaWall, factor * result.eta));
    QVERIFY(qFuzzyCompare(result.etaWallU, factor * result.etaU));
}

// Above Re = 250 the limit velocity does not depend on η: a steel ball in
// water gives the same fall for every small viscosity, and the fit says so.
void TestFit::quadraticRegime()
{
    SimulatedFall water;
    water.setup.radius = 2e-3;
    water.setup.mass = FallSetup::massFromDensity(2e-3, 7800.0);
    water.setup.fluidDensity = 1000.0;
    water.eta = 1e-3;
    water.step = 0.01;
    water.count = 50;
    water.sigma = 1e-4;
    // Whole fall, or the terminal part alone, where the fall is also the
    // linear one at the η that makes Re = 24/Cd.
    FitOptions terminal = stokesOptions();
    terminal.tMin = 0.25;
    for (const FitOptions &options : {stokesOptions(), terminal}) {
        const FitResult result = FallFit::fit(water.points(2), water.setup, options);
        QCOMPARE(result.status, FitResult::Status::NotDetermined);
        QVERIFY(std::isnan(result.eta));
        QVERIFY2(result.message.contains(QStringLiteral("régime quadratique équivalent"))
                     && result.message.contains(QStringLiteral("Re > 250")),
                 qPrintable(result.message));
    }

    // The one linear fall that is also the quadratic one: Re = 24/Cd, where
    // Stokes's drag equals the quadratic drag. The fit may converge there.
    const FallSetup &steel = water.setup;
    const double volume = steel.mass / 7800.0;
    const double excess = steel.mass - steel.fluidDensity * volume;
    const double vquad = std::sqrt(8.0 * steel.radius * excess / volume * Motion::g
                                   / (steel.fluidDensity * 3.0 * Motion::dragCoefficient));
    const double coincident = excess * Motion::g / (6.0 * Motion::pi * steel.radius * vquad);
    FitResult fitted;
    fitted.weighted = true;
    const Eigen::MatrixXd sharp = Eigen::MatrixXd::Identity(2, 2) * 1e6; // u(log η) = 0,001
    for (double factor : {1.0, 1.001, 1.1}) {
        const Motion::FrictionModel linear
            = Motion::frictionModel(steel.radius, steel.mass, steel.fluidDensity,
                                    coincident * factor, Motion::FrictionModel());
        QVERIFY(!linear.quadratic);
        QCOMPARE(FitChecks::quadraticMotion(linear, fitted, sharp, 0.0, 10), factor < 1.01);
    }
}

// The fit reports what is wrong with the points instead of a number.
void TestFit::poorFits()
{
    SimulatedFall glycerol;
    glycerol.setup = glassInGlycerol();
    glycerol.sigma = 1e-5;
    MeasurementSet bent = glycerol.points(5);
    // A ball slowing down at the bottom of the tube: the last third bends.
    for (size_t i = 26; i < bent.points.size(); ++i)
        bent.points[i].y -= 2e-3 * (double(i) - 26.0) * (double(i) - 26.0) / 100.0;
    FitResult result = FallFit::fit(bent, glycerol.setup, stokesOptions());
    QVERIFY(result.hasEta());
    QVERIFY(result.warnings.join(QLatin1Char(' ')).contains(QStringLiteral("tendance")));
    // Leaving the bottom out of the range mends it.
    FitOptions range = stokesOptions();
    range.tMax = 12.5;
    result = FallFit::fit(bent, glycerol.setup, range);
    QCOMPARE(result.used, 26);
    QCOMPARE(result.excluded, 14);
    QVERIFY(result.warnings.isEmpty());
    QVERIFY(std::fabs(result.eta - glycerol.eta) <= 3.0 * result.etaU);
    QVERIFY(!result.points.back().used);
    QVERIFY(std::fabs(result.points.back().residual) > 1e-3);

    // Uncertainties ten times too small.
    glycerol.giveSigma = true;
    MeasurementSet understated = glycerol.points(6);
    for (MeasuredPoint &p : understated.points)
        p.sigma /= 10.0;
    result = FallFit::fit(understated, glycerol.setup, stokesOptions());
    QVERIFY(result.chi2Reduced > 50.0);
    QVERIFY(result.warnings.join(QLatin1Char(' ')).contains(QStringLiteral("sous-estimées")));

    // Excluded points do not count, and two points are too few.
    MeasurementSet few = glycerol.points(7);
    for (size_t i = 2; i < few.points.size(); ++i)
        few.points[i].exclusion = MeasuredPoint::Exclusion::User;
    result = FallFit::fit(few, glycerol.setup, stokesOptions());
    QCOMPARE(result.status, FitResult::Status::Failed);
    QCOMPARE(result.message,
             QStringLiteral("Trop peu de points dans l'intervalle d'ajustement : "
                            "il en faut au moins 3."));

    // A column that does not fall, and a ball lighter than the fluid.
    MeasurementSet rising = glycerol.points(8);
    for (MeasuredPoint &p : rising.points)
        p.y = -p.y;
    result = FallFit::fit(rising, glycerol.setup, stokesOptions());
    QCOMPARE(result.status, FitResult::Status::Failed);
    QVERIFY(result.message.startsWith(QStringLiteral("Les positions ne croissent pas")));
    FallSetup cork = glycerol.setup;
    cork.mass = FallSetup::massFromDensity(cork.radius, 240.0);
    result = FallFit::fit(glycerol.points(8), cork, stokesOptions());
    QCOMPARE(result.message,
             QStringLiteral("La bille est moins dense que le fluide : elle ne tombe pas."));
}

// The text scripts read and the spreadsheet of the residuals.
void TestFit::report()
{
    SimulatedFall glycerol;
    glycerol.setup = glassInGlycerol();
    glycerol.setup.tubeDiameter = 0.03;
    MeasurementSet set = glycerol.points(21);
    set.points[3].exclusion = MeasuredPoint::Exclusion::LostBall;
    const FitResult result = FallFit::fit(set, glycerol.setup, stokesOptions());
    QVERIFY(result.hasEta());

    const QStringList lines = FitReport::text(result).split(QLatin1Char('\n'));
    const QRegularExpression etaLine(QStringLiteral("^η = (\\d+,\\d+) ± (\\d+,\\d+) Pa·s"));
    const QRegularExpressionMatch first = etaLine.match(lines.at(0));
    QVERIFY2(first.hasMatch() && first.capturedEnd() == lines.at(0).size(),
             qPrintable(lines.at(0)));
    QVERIFY(std::fabs(first.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble()
                      - result.eta)
            <= result.etaU / 10.0);
    QVERIFY(etaLine.match(lines.at(1)).hasMatch());
    QVERIFY(lines.at(1).contains(
        QStringLiteral("corrigée de l'effet de paroi : d/D = 0,1, f = 0,792")));
    QVERIFY(lines.contains(QStringLiteral("Points utilisés : 39, exclus : 1")));
    QVERIFY(lines.contains(QStringLiteral("t₀ = 0 s (fixé au premier instant mesuré)")));
    QCOMPARE(FitReport::etaLine(0.96712, 0.01234), QStringLiteral("η = 0,967 ± 0,012 Pa·s"));

    const QList<QStringList> rows = FitReport::csvRows(set, result);
    QCOMPARE(rows.size(), 41);
    QCOMPARE(rows.at(0).join(QLatin1Char(';')),
             QStringLiteral("t (s);y mesuré (m);y modèle (m);résidu (m);utilisé"));
    QCOMPARE(rows.at(4).at(0), QStringLiteral("1,5"));
    QCOMPARE(rows.at(4).at(4), QStringLiteral("non"));
    QCOMPARE(rows.at(5).at(4), QStringLiteral("oui"));
    const QByteArray bytes = FitReport::csvBytes(set, result);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBFt (s);"));
    QCOMPARE(bytes.count("\r\n"), 41);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("residus.csv"));
    QString error;
    QVERIFY(FitReport::writeCsv(name, set, result, &error));
    QFile written(name);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), bytes);
    const QString nowhere = dir.filePath(QStringLiteral("absent/residus.csv"));
    QVERIFY(!FitReport::writeCsv(nowhere, set, result, &error));
    // The program's one write-error sentence, then the reason on its own line.
    const QString sentence = QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.\n")
                                 .arg(QDir::toNativeSeparators(nowhere));
    QVERIFY2(error.startsWith(sentence) && error.size() > sentence.size(), qPrintable(error));
    QVERIFY(!QFile::exists(nowhere));

    // A disk that fills up leaves the previous file as it was.
    written.close();
    QVERIFY(written.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(written.write("ancien") == 6);
    written.close();
    {
        FileSizeLimit full(64);
        QVERIFY(full.isActive());
        QVERIFY(!FitReport::writeCsv(name, set, result, &error));
    }
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("ancien"));
    written.close();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {QStringLiteral("residus.csv")});

    FitResult failed;
    failed.message = QStringLiteral("Trop peu de points.");
    QVERIFY(FitReport::text(failed).startsWith(QStringLiteral("Ajustement impossible : Trop peu")));
}

void TestFit::dragCurveAccuracy_data()
{
    QTest::addColumn<SimulatedFall>("fall");
    QTest::addColumn<double>("tolerance"); // relative, on η (corrected for the walls with a tube)

    // A phone video at 60 images/s: the ball rests 0,4 s in the fingers.
    SimulatedFall rest = filmedSteel(2e-3, 1260.0, 1.2, 60.0, 200);
    rest.t0 = 0.4;
    rest.sigma = 2e-4;
    QTest::newRow("rest 0.4 s before the release") << rest << 0.005;
    // 10 mm steel in glycerine, Re ≈ 1,9: Stokes would be 21 % off.
    SimulatedFall exam = filmedSteel(5e-3, 1260.0, 1.41, 60.0, 120);
    exam.t0 = 0.05;
    QTest::newRow("Re 2") << exam << 0.015;
    // 4 mm steel in sunflower oil, Re ≈ 25, filmed at 120 images/s.
    SimulatedFall oil = filmedSteel(2e-3, 920.0, 0.06, 120.0, 240);
    oil.t0 = 0.02;
    oil.sigma = 5e-4;
    QTest::newRow("Re 25") << oil << 0.03;
    // A glass bead in a 10 mm tube, creeping flow (Re ≈ 0,003), timed each second.
    SimulatedFall bead;
    bead.setup = glassInGlycerol(1e-3);
    bead.setup.tubeDiameter = 0.01;
    bead.eta = 1.41;
    bead.step = 1.0;
    bead.count = 60;
    bead.sigma = 1e-4;
    bead.dragCurve = true;
    bead.wall = habermanSayre(0.2);
    QTest::newRow("d/D 0.2, creeping") << bead << 0.02;
    // 5 mm steel at Re ≈ 4 in a tube with d/D = 0,15.
    SimulatedFall tube = filmedSteel(2.5e-3, 1230.0, 0.3, 60.0, 150);
    tube.t0 = 0.1;
    tube.setup.tubeDiameter = 5e-3 / 0.15;
    tube.wall = diFelice(0.15, tube.ball().reynolds());
    QTest::newRow("Re 4, d/D 0.15") << tube << 0.04;
}

// Falls reckoned by the test's own integration of the drag curve with the
// added mass (and a wall factor), fitted with no option: η within the
// stated share of the truth.
void TestFit::dragCurveAccuracy()
{
    QFETCH(SimulatedFall, fall);
    QFETCH(double, tolerance);
    for (unsigned seed : {1u, 2u, 3u}) {
        const FitResult result = FallFit::fit(fall.points(seed), fall.setup, FitOptions());
        QVERIFY2(result.hasEta(), qPrintable(result.message));
        QCOMPARE(result.model, FitOptions::Model::DragCurve);
        const bool tube = !std::isnan(fall.setup.tubeDiameter);
        const double eta = tube ? result.etaWall : result.eta;
        QVERIFY2(std::fabs(eta - fall.eta) <= tolerance * fall.eta,
                 qPrintable(QStringLiteral("η = %1 for %2 (%3)")
                                .arg(eta)
                                .arg(fall.eta)
                                .arg(result.wallMessage)));
        if (fall.t0 > 0.0) {
            QVERIFY(result.t0Fitted);
            QVERIFY2(std::fabs(result.t0 - fall.t0) < 0.5 * fall.step,
                     qPrintable(QString::number(result.t0)));
        }
        if (tube && result.reynolds < 0.01) {
            // Creeping flow: the corrected η is f·η, f by Haberman–Sayre.
            QVERIFY(std::fabs(result.wallFactor - habermanSayre(0.2)) < 1e-3);
            QVERIFY(std::fabs(result.etaWall - habermanSayre(0.2) * result.eta)
                    < 2e-3 * result.etaWall);
        }
    }
}

void TestFit::dragCurveCoverage_data()
{
    QTest::addColumn<SimulatedFall>("fall");
    SimulatedFall exam = filmedSteel(5e-3, 1260.0, 1.41, 60.0, 120);
    exam.t0 = 0.05;
    QTest::newRow("Re 2") << exam;
    SimulatedFall oil = filmedSteel(1.5e-3, 920.0, 0.045, 120.0, 200);
    oil.t0 = 0.02;
    oil.sigma = 5e-4;
    QTest::newRow("Re 20") << oil;
}

// As for Stokes's law: over 200 seeded noisy falls, within 1u in 117…156
// of them and within 3u in at least 196.
void TestFit::dragCurveCoverage()
{
    QFETCH(SimulatedFall, fall);
    int within1 = 0, within3 = 0;
    const std::vector<double> fallen = fall.fallen();
    for (unsigned seed = 1; seed <= 200; ++seed) {
        const FitResult result = FallFit::fit(fall.points(seed, fallen), fall.setup, FitOptions());
        QVERIFY2(result.hasEta(), qPrintable(result.message));
        const double error = std::fabs(result.eta - fall.eta);
        within1 += error <= result.etaU ? 1 : 0;
        within3 += error <= 3.0 * result.etaU ? 1 : 0;
    }
    QVERIFY2(within1 >= 117 && within1 <= 156, qPrintable(QString::number(within1)));
    QVERIFY2(within3 >= 196, qPrintable(QString::number(within3)));
}

// The rest, the bottom of the tube and the entry transient found in the
// points; a range given replaces them.
void TestFit::usefulPart()
{
    SimulatedFall fall = filmedSteel(2e-3, 1260.0, 1.2, 60.0, 200);
    fall.t0 = 0.4;
    fall.sigma = 2e-4;
    MeasurementSet set = fall.points(4);
    // The ball lands 9 cm below where it was held and stays there.
    const double bottom = fall.y0 + 0.09;
    size_t landed = set.points.size();
    for (size_t i = 0; i < set.points.size(); ++i) {
        if (set.points[i].y >= bottom) {
            landed = std::min(landed, i);
            set.points[i].y = bottom;
        }
    }
    QVERIFY(landed < set.points.size() - 20);
    FitResult result = FallFit::fit(set, fall.setup, FitOptions());
    QVERIFY2(result.hasEta(), qPrintable(result.message));
    QVERIFY(std::fabs(result.eta - fall.eta) < 0.005 * fall.eta);
    QVERIFY(result.warnings.isEmpty());
    QVERIFY2(result.rangeReason.contains(QStringLiteral("la bille ne bouge plus")),
             qPrintable(result.rangeReason));
    QVERIFY(result.rangeReason.contains(QStringLiteral("force d'histoire (Basset)")));
    // Nothing from the last diameter above the bottom, nor before the release.
    for (const FitPoint &p : result.points) {
        if (p.used) {
            QVERIFY(p.y < bottom - 4e-3 + 1e-3);
            QVERIFY(p.t > fall.t0);
        }
        QVERIFY(std::isfinite(p.model));
    }
    QVERIFY(result.rangeFrom > fall.t0 && result.rangeTo < landed * fall.step);
    // Before the release the model is y0.
    QVERIFY(std::fabs(result.points.front().model - result.y0) < 1e-15);

    // With --de, the range is the user's and t0 is not fitted.
    FitOptions given;
    given.tMin = 1.0;
    result = FallFit::fit(set, fall.setup, given);
    QVERIFY(result.rangeReason.isEmpty());
    QVERIFY(!result.t0Fitted);
    QCOMPARE(result.t0, 0.0);
}

void TestFit::dragCurveReport()
{
    SimulatedFall exam = filmedSteel(5e-3, 1260.0, 1.41, 60.0, 120);
    exam.t0 = 0.05;
    const FitResult result = FallFit::fit(exam.points(5), exam.setup, FitOptions());
    QVERIFY(result.hasEta());
    const QStringList lines = FitReport::text(result).split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("Modèle : courbe de traînée standard (Clift, Grace et "
                                          "Weber) avec la masse ajoutée, g = 9,81 m/s²")));
    // φ at Re ≈ 1,86 on the curve: 1 + 0,1315·1,86^(0,82 − 0,05·log 1,86) = 1,217.
    QVERIFY2(lines.contains(
                 QStringLiteral("Rapport de la traînée à celle de Stokes à v_lim : φ = C_D·Re/24 "
                                "= 1,22")),
             qPrintable(lines.join(QLatin1Char('\n'))));
    QVERIFY(lines.filter(QStringLiteral("Intervalle ajusté : de ")).size() == 1);

    // Stokes's law on the same points: today's block, with its model named.
    FitOptions stokes;
    stokes.model = FitOptions::Model::Stokes;
    const FitResult simulator = FallFit::fit(exam.points(5), exam.setup, stokes);
    QVERIFY(simulator.hasEta());
    QVERIFY(simulator.eta > 1.15 * result.eta);
    const QString text = FitReport::text(simulator);
    QVERIFY(text.contains(QStringLiteral("Modèle : loi de Stokes (celle du simulateur), g = 9,8 "
                                         "m/s²")));
    QVERIFY(text.contains(QStringLiteral("la loi de Stokes n'est plus exacte")));
}

QTEST_GUILESS_MAIN(TestFit)
#include "tst_fit.moc"
