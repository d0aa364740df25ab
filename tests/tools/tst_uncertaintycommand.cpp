// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandrun.h"
#include "measurecommand.h"
#include "measures/fitreport.h"
#include "simulatedfall.h"

#include "core/numberformat.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// A 2 mm steel ball in glycerine (η = 1,2 Pa·s), filmed at 20 images/s
// with 0,2 mm of noise: the fit's scatter is a small part of u(η).
SimulatedFall steelInGlycerine()
{
    SimulatedFall fall;
    fall.setup.radius = 2e-3;
    fall.setup.mass = FallSetup::massFromDensity(2e-3, 7800.0);
    fall.setup.fluidDensity = 1260.0;
    fall.eta = 1.2;
    fall.step = 0.05;
    fall.count = 40;
    return fall;
}

using Run = CommandRun;

// The falls of these tests follow the simulator's law, whose η in closed
// form gives the expected uncertainties: they are fitted with it.
Run run(const QStringList &arguments)
{
    return runCommand(arguments + QStringList {QStringLiteral("--modele=stokes")});
}

// "η = 1,200 ± 0,013 Pa·s": the value and its u.
bool etaAndU(const QString &line, double *eta, double *u)
{
    static const QRegularExpression form(QStringLiteral("^η = (\\d+,\\d+) ± (\\d+,\\d+) Pa·s"));
    const QRegularExpressionMatch m = form.match(line);
    if (!m.hasMatch())
        return false;
    *eta = *NumberFormat::parse(m.captured(1));
    *u = *NumberFormat::parse(m.captured(2));
    return true;
}

} // namespace

class TestUncertaintyCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wrongArguments_data();
    void wrongArguments();
    void combined_data();
    void combined();
    void monteCarlo_data();
    void monteCarlo();
    void glycerine();
    void video();
    void refraction_data();
    void refraction();
    void coverage();

private:
    QStringList withFile(const QStringList &options) const
    {
        return QStringList {m_file} + options;
    }

    QTemporaryDir m_dir;
    QString m_file;
};

void TestUncertaintyCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_file = m_dir.filePath(QStringLiteral("chute.csv"));
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QTextStream out(&file);
    out << "t (s);y (m)\n";
    for (const MeasuredPoint &p : steelInGlycerine().points(3).points)
        out << NumberFormat::generalDouble(p.t) << ';' << NumberFormat::generalDouble(p.y) << '\n';
}

void TestUncertaintyCommand::wrongArguments_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("error");
    const QString fluid = QStringLiteral("--fluide=1260");
    QTest::newRow("u illisible") << QStringList {QStringLiteral("--rayon=2mm±abc"), fluid}
                                 << QStringLiteral("Valeur incorrecte pour --rayon : « 2mm±abc ». "
                                                   "« abc » ne commence pas par un nombre.");
    QTest::newRow("u négative")
        << QStringList {QStringLiteral("--rayon=2mm±-1mm"), fluid}
        << QStringLiteral("Valeur incorrecte pour --rayon : « 2mm±-1mm ». L'incertitude « -1mm » "
                          "est négative : écrivez-la sans signe.");
    QTest::newRow("valeur illisible devant ±")
        << QStringList {QStringLiteral("--rayon=abc±0,01mm"), fluid}
        << QStringLiteral("Valeur incorrecte pour --rayon : « abc±0,01mm ». « abc » ne commence "
                          "pas par un nombre.");
    QTest::newRow("étalon sans longueur")
        << QStringList {QStringLiteral("--rayon=2mm"), fluid, QStringLiteral("--video=v.mp4"),
                        QStringLiteral("--etalon=1,1:1,9=±1mm")}
        << QStringLiteral("Valeur incorrecte pour --etalon : « 1,1:1,9=±1mm ». « ±1mm » ne "
                          "commence pas par un nombre.");
    QTest::newRow("un instant n'a pas d'incertitude")
        << QStringList {QStringLiteral("--rayon=2mm"), fluid, QStringLiteral("--de=0,5±0,1")}
        << QStringLiteral("Valeur incorrecte pour --de : « 0,5±0,1 ». Cette option ne prend pas "
                          "d'incertitude (« ± »).");
    QTest::newRow("un seul tirage")
        << QStringList {QStringLiteral("--rayon=2mm"), fluid, QStringLiteral("--monte-carlo=1")}
        << QStringLiteral("Le nombre de tirages (--monte-carlo) doit être un entier de 2 à "
                          "10000000.");
    QTest::newRow("tirages illisibles")
        << QStringList {QStringLiteral("--rayon=2mm"), fluid, QStringLiteral("--monte-carlo=1e4")}
        << QStringLiteral("Le nombre de tirages (--monte-carlo) doit être un entier de 2 à "
                          "10000000.");
    QTest::newRow("glycérine trop chaude")
        << QStringList {QStringLiteral("--rayon=2mm"), fluid, QStringLiteral("--glycerine=120")}
        << QStringLiteral("La référence de la glycérine (formule de Cheng) couvre de 0 à 100 °C "
                          "et de 0 à 100 % d'eau : « 120 ».");
    QTest::newRow("glycérine à trois nombres")
        << QStringList {QStringLiteral("--rayon=2mm"), fluid, QStringLiteral("--glycerine=20:5:1")}
        << QStringLiteral("Valeur incorrecte pour --glycerine : « 20:5:1 ».");
}

void TestUncertaintyCommand::wrongArguments()
{
    QFETCH(QStringList, options);
    QFETCH(QString, error);
    const Run r = run(withFile(options + QStringList {QStringLiteral("--masse-volumique=7800")}));
    QCOMPARE(r.status, 2);
    QCOMPARE(r.err, error + QStringLiteral("\nVoir « lorva-mesures --help ».\n"));
}

// u(η) against a propagation written here for the Stokes law η ∝ r²(ρs − ρf)/v:
// (u/η)² = (2·u_r/r)² + (u_ρs/(ρs − ρf))² + (u_ρf/(ρs − ρf))² + (u_A/η)²,
// with u_A the fit's own, as the command gives it without any ±.
void TestUncertaintyCommand::combined_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<double>("uRadius");
    QTest::addColumn<double>("uSphere");
    QTest::addColumn<double>("uFluid");
    QTest::addColumn<QString>("largest");
    QTest::newRow("rayon au centième de mm, unités des deux côtés")
        << QStringList {QStringLiteral("--rayon=2mm±0,01mm"), QStringLiteral("--fluide=1260"),
                        QStringLiteral("--masse-volumique=7800±20")}
        << 1e-5 << 20.0 << 0.0 << QStringLiteral("  rayon de la bille : 2,000 ± 0,010 mm");
    QTest::newRow("unité à droite, +-")
        << QStringList {QStringLiteral("--rayon=2+-0,001mm"), QStringLiteral("--fluide=1260±30"),
                        QStringLiteral("--masse-volumique=7800")}
        << 1e-6 << 0.0 << 30.0 << QStringLiteral("  masse volumique du fluide : 1260 ± 30 kg/m³");
}

void TestUncertaintyCommand::combined()
{
    QFETCH(QStringList, options);
    QFETCH(double, uRadius);
    QFETCH(double, uSphere);
    QFETCH(double, uFluid);
    QFETCH(QString, largest);

    const Run exact = run(withFile({QStringLiteral("--rayon=2mm"), QStringLiteral("--fluide=1260"),
                                    QStringLiteral("--masse-volumique=7800")}));
    QCOMPARE(exact.status, 0);
    double eta = 0.0, uA = 0.0;
    QVERIFY2(etaAndU(exact.lines.at(0), &eta, &uA), qPrintable(exact.lines.at(0)));
    // Without any ±, u is the fit's alone, and the result says what was not given.
    QVERIFY2(exact.lines.at(4).endsWith(QStringLiteral(" Pa·s (100 % de u²), type A")),
             qPrintable(exact.lines.at(4)));
    QVERIFY(exact.lines.contains(QStringLiteral(
        "Sans incertitude donnée (comptées comme exactes) : rayon de la bille, masse volumique de "
        "la bille, masse volumique du fluide")));

    const Run r = run(withFile(options));
    QCOMPARE(r.status, 0);
    double value = 0.0, u = 0.0;
    QVERIFY2(etaAndU(r.lines.at(0), &value, &u), qPrintable(r.lines.at(0)));
    // The same η, rounded to the decimal place of the new u.
    QVERIFY(std::abs(value - eta) < 0.1 * u);
    const double difference = 7800.0 - 1260.0;
    const double expected = eta
        * std::sqrt(std::pow(2.0 * uRadius / 2e-3, 2) + std::pow(uSphere / difference, 2)
                    + std::pow(uFluid / difference, 2) + std::pow(uA / eta, 2));
    // Two significant digits of u and u_A: a few percent.
    QVERIFY2(std::abs(u / expected - 1.0) < 0.06, qPrintable(QString::number(expected)));
    QCOMPARE(r.lines.at(1), QStringLiteral("Fichier : ") + m_file);
    QVERIFY(r.lines.at(2).startsWith(QStringLiteral("Incertitude-type composée : u(η) = ")));
    QVERIFY2(r.lines.at(4).startsWith(largest), qPrintable(r.lines.at(4)));
}

// The 95 % interval of the draws: ±1,96·u when normal laws dominate, and
// ±0,95·a = ±0,95·√3·u when a rectangular law of half-width a does (a
// radius read "a/√3"), whose budget line says so.
void TestUncertaintyCommand::monteCarlo_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<double>("halfWidth"); // of the interval, in units of u
    QTest::addColumn<QString>("radiusLine");
    QTest::newRow("lois normales")
        << QStringList {QStringLiteral("--rayon=2mm±0,01mm"), QStringLiteral("--fluide=1260±3"),
                        QStringLiteral("--masse-volumique=7800±20")}
        << 1.959964 << QStringLiteral("  rayon de la bille : 2,000 ± 0,010 mm → ");
    QTest::newRow("rayon à une demi-largeur près")
        << QStringList {QStringLiteral("--rayon=2mm±0,04mm/√3"), QStringLiteral("--fluide=1260"),
                        QStringLiteral("--masse-volumique=7800")}
        << 0.95 * std::sqrt(3.0) << QStringLiteral("  rayon de la bille : 2,000 ± 0,023 mm → ");
}

void TestUncertaintyCommand::monteCarlo()
{
    QFETCH(QStringList, options);
    QFETCH(double, halfWidth);
    QFETCH(QString, radiusLine);
    const Run r = run(
        withFile(options + QStringList {QStringLiteral("--monte-carlo"), QStringLiteral("20000")}));
    QCOMPARE(r.status, 0);
    double eta = 0.0, u = 0.0;
    QVERIFY(etaAndU(r.lines.at(0), &eta, &u));
    static const QRegularExpression interval(
        QStringLiteral("^Intervalle à 95 % : \\[(\\d+,\\d+) ; (\\d+,\\d+)\\] Pa·s$"));
    QRegularExpressionMatch m;
    for (const QString &line : r.lines)
        if ((m = interval.match(line)).hasMatch())
            break;
    QVERIFY2(m.hasMatch(), qPrintable(r.lines.join(QLatin1Char('\n'))));
    const double low = *NumberFormat::parse(m.captured(1));
    const double high = *NumberFormat::parse(m.captured(2));
    // Nearly linear: the interval is η ± halfWidth·u, to the rounding of u.
    QVERIFY2(std::abs((high - low) / 2.0 / (halfWidth * u) - 1.0) < 0.06,
             qPrintable(m.captured(0)));
    QVERIFY(std::abs((high + low) / 2.0 - eta) < 0.2 * u);
    const bool rectangular = halfWidth < 1.9;
    const auto radius = std::find_if(r.lines.begin(), r.lines.end(), [&](const QString &line) {
        return line.startsWith(radiusLine);
    });
    QVERIFY2(radius != r.lines.end(), qPrintable(r.lines.join(QLatin1Char('\n'))));
    QCOMPARE(radius->endsWith(QStringLiteral(", loi rectangulaire")), rectangular);
}

void TestUncertaintyCommand::glycerine()
{
    const Run r = run(
        withFile({QStringLiteral("--rayon=2mm±0,01mm"), QStringLiteral("--fluide=1260"),
                  QStringLiteral("--masse-volumique=7800"), QStringLiteral("--glycerine=20")}));
    QCOMPARE(r.status, 0);
    double eta = 0.0, u = 0.0;
    QVERIFY(etaAndU(r.lines.at(0), &eta, &u));
    const qsizetype at = r.lines.indexOf(
        QStringLiteral("Référence : η = 1,414 Pa·s (glycérine pure à 20 °C, formule de Cheng "
                       "2008, à 4 % près)"));
    QVERIFY2(at > 0, qPrintable(r.lines.join(QLatin1Char('\n'))));
    static const QRegularExpression gap(
        QStringLiteral("^Écart normalisé : z = \\|η − η_réf\\| / u\\(η\\) = (\\d+) \\(z > 2 : "
                       "mesure non compatible avec la référence\\)$"));
    const QRegularExpressionMatch m = gap.match(r.lines.at(at + 1));
    QVERIFY2(m.hasMatch(), qPrintable(r.lines.at(at + 1)));
    // 1,4138 Pa·s is the formula's value at 20 °C; η and u as printed.
    QVERIFY(std::abs(m.captured(1).toDouble() / (std::abs(eta - 1.4138) / u) - 1.0) < 0.1);
    QVERIFY(r.lines.at(at + 2).startsWith(QStringLiteral("À 20 °C, η mesurée est celle d'une "
                                                         "glycérine à ")));
}

// A video's scale (10 cm ± 0,5 mm over 600 px, each click to 0,5 px) and a
// typed capture rate (240 ± 1 images/s) scale v_lim, so η as 1/v_lim:
// (u/η)² = (0,05/10)² + (√2·0,5/600)² + (1/240)² + (u_A/η)², radius exact.
void TestUncertaintyCommand::video()
{
    QString error;
    std::optional<MeasureCommand::Options> options = MeasureCommand::parseArguments(
        {QStringLiteral("--video"), QStringLiteral("chute.mp4"), QStringLiteral("--etalon"),
         QStringLiteral("100,50:100,650=10cm±0,5mm"), QStringLiteral("--bille=100,60"),
         QStringLiteral("--cadence=240±1"), QStringLiteral("--rayon=2mm"),
         QStringLiteral("--masse-volumique=7800"), QStringLiteral("--fluide=1260")},
        &error);
    QVERIFY2(options, qPrintable(error));
    QCOMPARE(options->video->scaleDistance, 0.1);
    QCOMPARE(options->video->captureRate, 240.0);

    FitResult result;
    result.status = FitResult::Status::Fitted;
    // The Stokes law with the program's g = 9,8: v_lim for η = 1,2 Pa·s.
    const double r = 2e-3;
    result.eta = 1.2;
    result.etaU = 0.0012; // 0,1 %
    result.vlim = (7800.0 - 1260.0) * 9.8 * 2.0 * r * r / (9.0 * result.eta);
    QStringList lines {QStringLiteral("η = 1,2000 ± 0,0012 Pa·s"),
                       QStringLiteral("Fichier : chute.mp4"), QStringLiteral("y₀ = …")};
    MeasureCommand::addUncertainty(result, *options, lines, 1);
    const double relative = std::sqrt(std::pow(0.05 / 10.0, 2) + std::pow(std::sqrt(0.5) / 600.0, 2)
                                      + std::pow(1.0 / 240.0, 2) + std::pow(0.001, 2));
    double eta = 0.0, u = 0.0;
    QVERIFY2(etaAndU(lines.at(0), &eta, &u), qPrintable(lines.at(0)));
    QVERIFY2(std::abs(u / (1.2 * relative) - 1.0) < 0.03, qPrintable(lines.at(0)));
    QCOMPARE(lines.at(1), QStringLiteral("Fichier : chute.mp4"));
    QVERIFY2(lines.at(4).startsWith(QStringLiteral("  longueur de l'étalon : 10,000 ± 0,050 cm")),
             qPrintable(lines.at(4)));
    QVERIFY2(lines.at(5).startsWith(QStringLiteral("  cadence de prise de vue : 240,0 ± 1,0 "
                                                   "images/s")),
             qPrintable(lines.at(5)));
    QVERIFY(lines.contains(QStringLiteral("Sans incertitude donnée (comptées comme exactes) : "
                                          "rayon de la bille, masse volumique de la bille, masse "
                                          "volumique du fluide")));
    QCOMPARE(lines.last(), QStringLiteral("y₀ = …"));
}

// --indice, --rayon-tube and --distance-camera with their ± reach the
// budget through the reader's refraction factor, here the small-angle one
// of marks on the tube's wall, f = 1 + R/(n·(L − R)), so that with Stokes
// (η ∝ 1/f) each contribution is |∂ln f/∂x|·u(x)·η:
//   ∂ln f/∂n = −R/(n²(L − R)f), ∂ln f/∂R = L/(n(L − R)²f), ∂ln f/∂L = −R/(n(L − R)²f).
// With --diametre-tube too, the radius is the tube's: one input, u(D) = 2u(R),
// which moves both Faxén's wall factor K(λ) = 1 − 2,104λ + 2,09λ³ − 0,95λ⁵
// (λ = d/D, η_wall = K·η) and the refraction (R = D/2):
//   ∂ln η_wall/∂D = −K′(λ)·d/(D²K) − ∂ln f/∂R · R/D.
void TestUncertaintyCommand::refraction_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("lines");      // the budget's lines, up to "→"
    QTest::addColumn<QList<double>>("relative"); // their contributions over the free η
    const double n = 1.47, R = 0.03, L = 0.5;
    const double f = 1.0 + R / (n * (L - R));
    const double d = 4e-3, D = 0.06, lambda = d / D;
    const double K = 1.0 - 2.104 * lambda + 2.09 * std::pow(lambda, 3) - 0.95 * std::pow(lambda, 5);
    const double dK = -2.104 + 6.27 * lambda * lambda - 4.75 * std::pow(lambda, 4);
    QTest::newRow("indice, rayon, caméra")
        << QStringList {QStringLiteral("--indice=1,47±0,02"),
                        QStringLiteral("--rayon-tube=3cm±0,5mm/√3"),
                        QStringLiteral("--distance-camera=50cm±1cm")}
        << QStringList {QStringLiteral("  indice du liquide : 1,470 ± 0,020 → "),
                        QStringLiteral("  rayon intérieur du tube : 30,00 ± 0,29 mm → "),
                        QStringLiteral("  distance de la caméra : 50,0 ± 1,0 cm → ")}
        << QList<double> {R / (n * n * (L - R) * f) * 0.02,
                          L / (n * (L - R) * (L - R) * f) * 5e-4 / std::sqrt(3.0),
                          R / (n * (L - R) * (L - R) * f) * 0.01};
    QTest::newRow("le tube de la paroi")
        << QStringList {QStringLiteral("--rayon-tube=3cm±0,5mm"),
                        QStringLiteral("--diametre-tube=60mm"),
                        QStringLiteral("--distance-camera=50cm")}
        << QStringList {QStringLiteral("  diamètre du tube : 60,0 ± 1,0 mm → ")}
        << QList<double> {std::abs(-dK * d / (D * D * K) - L / (n * (L - R) * (L - R) * f) * R / D)
                          * 1e-3 * K};
}

void TestUncertaintyCommand::refraction()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, lines);
    QFETCH(QList<double>, relative);
    QString error;
    const std::optional<MeasureCommand::Options> parsed = MeasureCommand::parseArguments(
        QStringList {QStringLiteral("--video=chute.mp4"),
                     QStringLiteral("--etalon=100,50:100,650=10cm"),
                     QStringLiteral("--bille=100,60"), QStringLiteral("--echelle=paroi"),
                     QStringLiteral("--rayon=2mm"), QStringLiteral("--masse-volumique=7800"),
                     QStringLiteral("--fluide=1260"), QStringLiteral("--modele=stokes")}
            + options,
        &error);
    QVERIFY2(parsed, qPrintable(error));
    VideoScale measured;
    measured.refraction = [](double n, double radius, double camera) {
        return 1.0 + radius / (n * (camera - radius));
    };
    FitResult result;
    result.status = FitResult::Status::Fitted;
    const double r = 2e-3;
    result.eta = 1.2;
    result.etaU = 1e-6;
    result.vlim = (7800.0 - 1260.0) * 9.8 * 2.0 * r * r / (9.0 * result.eta);
    const bool wall = std::isfinite(parsed->setup.tubeDiameter);
    if (wall) {
        result.etaWall = 1.1;
        result.etaWallU = 1e-6;
    }
    QStringList text {QStringLiteral("η = 1,2000 ± 0,0012 Pa·s"), QStringLiteral("Fichier : v")};
    if (wall)
        text.insert(1, QStringLiteral("η corrigée = 1,1000 ± 0,0011 Pa·s"));
    MeasureCommand::addUncertainty(result, *parsed, text, wall ? 2 : 1, &measured);
    double eta = 0.0, u = 0.0;
    QVERIFY2(etaAndU(text.at(0), &eta, &u), qPrintable(text.join(QLatin1Char('\n'))));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto line = std::find_if(text.begin(), text.end(),
                                       [&](const QString &t) { return t.startsWith(lines.at(i)); });
        QVERIFY2(line != text.end(), qPrintable(text.join(QLatin1Char('\n'))));
        // "… → 0,0012 Pa·s (…": the contribution as printed, two digits,
        // within half a unit of its last digit (η as printed too).
        const QString printed = line->mid(lines.at(i).size()).section(QLatin1Char(' '), 0, 0);
        const double contribution = *NumberFormat::parse(printed);
        const qsizetype comma = printed.indexOf(QLatin1Char(','));
        const double digit = std::pow(10.0, comma < 0 ? 0 : -(printed.size() - comma - 1));
        QVERIFY2(std::abs(contribution - relative.at(i) * eta) <= 0.5 * digit * 1.01,
                 qPrintable(*line));
    }
    QCOMPARE(text.filter(QStringLiteral("rayon intérieur du tube")).isEmpty(),
             !lines.join(QString()).contains(QStringLiteral("rayon intérieur")));
}

// 200 classes film the same ball with their own noise and measure its
// radius and the densities with the stated uncertainties: the true η must
// lie within 2u of theirs about 95 % of the time, the fit's scatter (type A)
// and the inputs' (type B) together.
void TestUncertaintyCommand::coverage()
{
    const SimulatedFall truth = steelInGlycerine();
    std::mt19937_64 engine(28);
    std::normal_distribution<double> normal(0.0, 1.0);
    const int classes = 200;
    int covered = 0;
    for (int n = 0; n < classes; ++n) {
        // The falls follow the simulator's law: fitted with it.
        FitOptions stokes;
        stokes.model = FitOptions::Model::Stokes;
        MeasureCommand::Options options;
        options.fit = stokes;
        options.uncertainty.radius = 1e-5;
        options.uncertainty.sphereDensity = 20.0;
        options.uncertainty.fluidDensity = 3.0;
        options.setup.radius = truth.setup.radius + 1e-5 * normal(engine);
        options.sphereDensity = 7800.0 + 20.0 * normal(engine);
        options.setup.fluidDensity = 1260.0 + 3.0 * normal(engine);
        options.setup.mass
            = FallSetup::massFromDensity(options.setup.radius, options.sphereDensity);
        const FitResult result
            = FallFit::fit(truth.points(unsigned(1000 + n)), options.setup, stokes);
        QVERIFY(result.hasEta());
        QStringList lines = FitReport::text(result).split(QLatin1Char('\n'));
        lines.insert(1, QStringLiteral("Fichier : classe"));
        MeasureCommand::addUncertainty(result, options, lines, 1);
        double eta = 0.0, u = 0.0;
        QVERIFY2(etaAndU(lines.at(0), &eta, &u), qPrintable(lines.at(0)));
        if (std::abs(result.eta - truth.eta) <= 2.0 * u)
            ++covered;
    }
    const double rate = double(covered) / classes;
    QVERIFY2(rate >= 0.90 && rate <= 0.99, qPrintable(QString::number(rate)));
}

QTEST_GUILESS_MAIN(TestUncertaintyCommand)
#include "tst_uncertaintycommand.moc"
