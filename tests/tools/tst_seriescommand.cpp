// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandrun.h"
#include "measurecommand.h"

#include "core/numberformat.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cmath>
#include <random>

namespace {

// The truth of these tests: glass beads (2500 kg/m³) in glycerine
// (1260 kg/m³, η = 1,2 Pa·s), falling by Stokes's law with the added mass in
// their inertia, g = 9,81 m/s²:
//   v∞ = 2r²(ρs − ρf)g/(9η), τ = (m + ½ρf·V)/(6πηr),
//   y(t) = y0 + v∞·(t − τ(1 − e^(−t/τ))),
// read every 0,5 s for 30 s with 0,1 mm of noise. Re stays below 0,01.
constexpr double trueEta = 1.2;
constexpr double glass = 2500.0, glycerine = 1260.0, g = 9.81;

QByteArray fall(double radius, unsigned seed)
{
    const double volume = 4.0 / 3.0 * M_PI * radius * radius * radius;
    const double vlim = 2.0 * radius * radius * (glass - glycerine) * g / (9.0 * trueEta);
    const double tau = (glass + 0.5 * glycerine) * volume / (6.0 * M_PI * trueEta * radius);
    std::mt19937 engine(seed);
    std::normal_distribution<double> noise(0.0, 1e-4);
    QByteArray text = "t (s);y (m)\n";
    for (int i = 0; i < 60; ++i) {
        const double t = 0.5 * i;
        const double y = 0.01 + vlim * (t - tau * (1.0 - std::exp(-t / tau))) + noise(engine);
        text += (NumberFormat::generalDouble(t) + QLatin1Char(';') + NumberFormat::generalDouble(y)
                 + QLatin1Char('\n'))
                    .toUtf8();
    }
    return text;
}

const double radii[] = {0.6e-3, 0.8e-3, 1.0e-3, 1.2e-3};

using Run = CommandRun;

Run run(const QStringList &arguments)
{
    return runCommand(arguments);
}

// The series' line "η (série) = 1,2003 ± 0,0085 Pa·s".
bool seriesEta(const QStringList &lines, double *eta, double *u)
{
    static const QRegularExpression form(
        QStringLiteral("^η \\(série\\) = (\\d+,\\d+) ± (\\d+,\\d+) Pa·s$"));
    for (const QString &line : lines) {
        const QRegularExpressionMatch m = form.match(line);
        if (m.hasMatch()) {
            *eta = *NumberFormat::parse(m.captured(1));
            *u = *NumberFormat::parse(m.captured(2));
            return true;
        }
    }
    return false;
}

QStringList from(const QStringList &lines, const QString &start)
{
    const qsizetype at = lines.indexOf(start);
    return at < 0 ? QStringList() : lines.mid(at);
}

} // namespace

class TestSeriesCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fourRadii();
    void badTrialNamed();
    void seriesFile();
    void wrongArguments_data();
    void wrongArguments();

private:
    QTemporaryDir m_dir;
    QStringList m_files;
    QStringList m_radii; // as typed: "0,6mm±0,005mm"
};

void TestSeriesCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (int i = 0; i < 4; ++i) {
        const QString path = m_dir.filePath(QStringLiteral("chute %1.csv").arg(i + 1));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fall(radii[i], 100 + i));
        m_files << path;
        m_radii << NumberFormat::generalDouble(radii[i] * 1e3) + QStringLiteral("mm±0,005mm");
    }
}

void TestSeriesCommand::fourRadii()
{
    QStringList arguments = QStringList {QStringLiteral("--serie")} + m_files;
    for (const QString &r : m_radii)
        arguments << QStringLiteral("--rayon") << r;
    arguments << QStringLiteral("--masse-volumique=2500±10") << QStringLiteral("--fluide")
              << QStringLiteral("1260±2");
    const QString csv = m_dir.filePath(QStringLiteral("série.csv"));
    arguments << QStringLiteral("--csv-serie") << csv;
    const Run r = run(arguments);
    QVERIFY2(r.status == 0, qPrintable(r.err + r.lines.join(QLatin1Char('\n'))));
    QCOMPARE(r.lines.first(), QStringLiteral("Essai 1"));
    QCOMPARE(r.lines.at(1).left(4), QStringLiteral("η = "));
    QCOMPARE(r.lines.count(QStringLiteral("Essai 4")), 1);
    double eta = 0.0, u = 0.0;
    QVERIFY(seriesEta(r.lines, &eta, &u));
    QVERIFY2(std::abs(eta / trueEta - 1.0) < 0.01, qPrintable(QString::number(eta)));
    QVERIFY(u > 0.0 && u < 0.02);
    const QStringList series = from(r.lines, QStringLiteral("Série de 4 essais"));
    QVERIFY(!series.isEmpty());
    // Slope 2(ρs − ρf)g/(9η) = 2251 m⁻¹·s⁻¹ within 1 %.
    static const QRegularExpression slope(
        QStringLiteral("^Pente de v∞ en fonction de r² : (\\d+) ± \\d+ m⁻¹·s⁻¹"));
    bool found = false;
    for (const QString &line : series) {
        const QRegularExpressionMatch m = slope.match(line);
        if (m.hasMatch()) {
            found = true;
            const double expected = 2.0 * (glass - glycerine) * g / (9.0 * trueEta);
            QVERIFY2(std::abs(m.captured(1).toDouble() / expected - 1.0) < 0.01, qPrintable(line));
        }
    }
    QVERIFY(found);
    QVERIFY(series.contains(QStringLiteral("Aucun essai ne s'écarte des autres de plus de 3 u.")));
    QVERIFY(series.filter(QStringLiteral("rapport de Birge R_B = ")).size() == 1);

    QFile table(csv);
    QVERIFY(table.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(table.readAll());
    QVERIFY(text.contains(QStringLiteral("\r\n1;chute 1.csv;0,6;0,005;2500;10;")));
    QVERIFY(text.contains(QStringLiteral("\r\nη (série, moyenne pondérée);1,")));
}

// The third ball's radius typed 1,1 mm for 1 mm: its η is 21 % too high,
// far beyond its 1,3 %.
void TestSeriesCommand::badTrialNamed()
{
    QStringList arguments = QStringList {QStringLiteral("--serie")} + m_files;
    QStringList typed = m_radii;
    typed[2] = QStringLiteral("1,1mm±0,005mm");
    for (const QString &r : typed)
        arguments << QStringLiteral("--rayon") << r;
    arguments << QStringLiteral("--masse-volumique") << QStringLiteral("2500±10")
              << QStringLiteral("--fluide") << QStringLiteral("1260±2");
    const Run r = run(arguments);
    QCOMPARE(r.status, 0);
    const QStringList named = r.lines.filter(QRegularExpression(QStringLiteral("^L'essai ")));
    QCOMPARE(named.size(), 1);
    QVERIFY2(named.first().startsWith(QStringLiteral("L'essai 3 (bille de 2,2 mm) s'écarte de ")),
             qPrintable(named.first()));
    QVERIFY(r.lines.filter(QStringLiteral("R_B = ")).first().contains(QStringLiteral("> 1")));
}

// A teacher's file, in a folder of its own, names the trials relatively; one
// is left out. Written again by the command, it gives the same series.
void TestSeriesCommand::seriesFile()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("prof")));
    QByteArray text = "# Lorva : série de chutes\nfluide = 1,26 ± 0,002 g/cm3\n";
    for (int i = 0; i < 4; ++i)
        text += QStringLiteral("\n[essai]\nfichier = ../chute %1.csv\nrayon = %2\n"
                               "masse-volumique = 2500 ± 10\n%3")
                    .arg(i + 1)
                    .arg(QString(m_radii[i]).replace(QStringLiteral("±"), QStringLiteral(" ± ")),
                         i == 3 ? QStringLiteral("retenu = non\n") : QString())
                    .toUtf8();
    const QString path = m_dir.filePath(QStringLiteral("prof/série.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    const QString saved = m_dir.filePath(QStringLiteral("copie.txt"));
    const Run r
        = run({QStringLiteral("--serie"), path, QStringLiteral("--enregistrer-serie"), saved});
    QVERIFY2(r.status == 0, qPrintable(r.err + r.lines.join(QLatin1Char('\n'))));
    QVERIFY(r.lines.contains(QStringLiteral("Essai 4 (laissé de côté)")));
    QVERIFY(r.lines
                .filter(QStringLiteral("Méthode : moyenne pondérée des η des 3 essais retenus "
                                       "sur 4"))
                .size()
            == 1);
    double eta = 0.0, u = 0.0;
    QVERIFY(seriesEta(r.lines, &eta, &u));
    QVERIFY(std::abs(eta / trueEta - 1.0) < 0.01);

    // The same three on the command line give the same η, to a small part of
    // its u: a density typed once on the command line is shared by the
    // trials, in the file each trial has its own, and the weights differ.
    QStringList arguments = {QStringLiteral("--serie"), m_files[0], m_files[1], m_files[2]};
    for (int i = 0; i < 3; ++i)
        arguments << QStringLiteral("--rayon") << m_radii[i];
    arguments << QStringLiteral("--masse-volumique") << QStringLiteral("2500±10")
              << QStringLiteral("--fluide") << QStringLiteral("1260±2");
    const Run direct = run(arguments);
    double directEta = 0.0, directU = 0.0;
    QVERIFY(seriesEta(direct.lines, &directEta, &directU));
    QVERIFY2(std::abs(directEta - eta) <= 0.25 * u,
             qPrintable(direct.lines.join(QLatin1Char('\n'))));

    QFile copy(saved);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    const QByteArray written = copy.readAll();
    QVERIFY2(written.contains("fichier = chute 4.csv\n"), written.constData());
    QVERIFY(written.contains("retenu = non\n"));
    const Run again = run({QStringLiteral("--serie"), saved});
    QCOMPARE(from(again.lines, QStringLiteral("Série de 4 essais")),
             from(r.lines, QStringLiteral("Série de 4 essais")));
}

void TestSeriesCommand::wrongArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::newRow("radii count") << QStringList {QStringLiteral("a.csv"), QStringLiteral("b.csv"),
                                                 QStringLiteral("c.csv"), QStringLiteral("--rayon"),
                                                 QStringLiteral("1mm"),   QStringLiteral("--rayon"),
                                                 QStringLiteral("2mm")}
                                 << 2
                                 << QStringLiteral("--rayon est donné 2 fois pour 3 fichiers : le "
                                                   "donner une fois pour tous, ou une fois par "
                                                   "fichier dans leur ordre.");
    QTest::newRow("no file") << QStringList {QStringLiteral("--rayon"), QStringLiteral("1mm")} << 2
                             << QStringLiteral("Aucun fichier de mesures.");
    QTest::newRow("video") << QStringList {QStringLiteral("--video"), QStringLiteral("v.mp4")} << 2
                           << QStringLiteral("--serie ne lit pas de vidéo : donner les tableaux "
                                             "des chutes (--tableau écrit celui d'une vidéo).");
    QTest::newRow("a trial's option")
        << QStringList {QStringLiteral("a.csv"), QStringLiteral("--rayon"), QStringLiteral("1mm"),
                        QStringLiteral("--masse-volumique"), QStringLiteral("2500")}
        << 2 << QStringLiteral("Essai 1 (a.csv) : La masse volumique du fluide manque (--fluide).");
    QTest::newRow("missing file") << QStringList {QStringLiteral("absent.csv"),
                                                  QStringLiteral("--rayon"),
                                                  QStringLiteral("1mm"),
                                                  QStringLiteral("--masse-volumique"),
                                                  QStringLiteral("2500"),
                                                  QStringLiteral("--fluide"),
                                                  QStringLiteral("1260")}
                                  << 1 << QStringLiteral("absent.csv : ");
}

void TestSeriesCommand::wrongArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, error);
    const Run r = run(QStringList {QStringLiteral("--serie")} + arguments);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.startsWith(error), qPrintable(r.err));
}

QTEST_MAIN(TestSeriesCommand)
#include "tst_seriescommand.moc"
