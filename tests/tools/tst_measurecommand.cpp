// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurecommand.h"
#include "simulatedfall.h"
#include "videowriter.h"

#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <cmath>

namespace {

// A fall through glycerol as a video-analysis tool exports it: a title line,
// a names row, a units row, tab-separated values with a decimal comma, and
// an x column that hardly moves beside the falling y.
QByteArray videoExport(unsigned seed)
{
    SimulatedFall fall;
    fall.setup = glassInGlycerol(3.155e-3);
    fall.eta = 0.967;
    fall.step = 0.2;
    fall.count = 50;
    const MeasurementSet set = fall.points(seed);
    QByteArray bytes = "Chute dans la glycérine\nt\tx\ty\n(s)\t(mm)\t(mm)\n";
    for (const MeasuredPoint &p : set.points) {
        QByteArray row = QByteArray::number(p.t, 'f', 2) + '\t'
            + QByteArray::number(12.0 + 0.01 * (p.source % 3), 'f', 2) + '\t'
            + QByteArray::number(p.y * 1000.0, 'f', 2) + '\n';
        bytes += row.replace('.', ',');
    }
    return bytes;
}

const QStringList sphere {QStringLiteral("--rayon"),           QStringLiteral("3,155mm"),
                          QStringLiteral("--masse-volumique"), QStringLiteral("2500"),
                          QStringLiteral("--fluide"),          QStringLiteral("1260")};

const QRegularExpression etaLine(QStringLiteral("^η = \\d+,\\d+ ± \\d+,\\d+ Pa·s$"));

} // namespace

class TestMeasureCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parseValue_data();
    void parseValue();
    void wrongArguments_data();
    void wrongArguments();
    void files();
    void program();
    void video();

private:
    QTemporaryDir m_dir;
    QString m_good;
    QString m_other;
    QString m_bad;
};

void TestMeasureCommand::initTestCase()
{
    QVERIFY(m_dir.isValid());
    auto write = [this](const char *name, const QByteArray &bytes) {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return file.fileName();
    };
    m_good = write("bille1.txt", videoExport(1));
    m_other = write("bille2.txt", videoExport(2));
    m_bad = write("image.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    QVERIFY(!m_good.isEmpty() && !m_other.isEmpty() && !m_bad.isEmpty());
}

void TestMeasureCommand::parseValue_data()
{
    using MeasureCommand::Quantity;
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("quantity");
    QTest::addColumn<double>("value"); // NaN: refused
    const double refused = std::nan("");
    QTest::newRow("mm with comma") << "3,155mm" << int(Quantity::Length) << 3.155e-3;
    QTest::newRow("cm with point") << "1.5cm" << int(Quantity::Length) << 0.015;
    QTest::newRow("metres by default") << "0,0935" << int(Quantity::Length) << 0.0935;
    QTest::newRow("space before unit") << "93,5 mm" << int(Quantity::Length) << 0.0935;
    QTest::newRow("mg") << "12mg" << int(Quantity::Mass) << 12e-6;
    QTest::newRow("g") << "0,289g" << int(Quantity::Mass) << 0.289e-3;
    QTest::newRow("kg") << "2kg" << int(Quantity::Mass) << 2.0;
    QTest::newRow("ms") << "250ms" << int(Quantity::Time) << 0.25;
    QTest::newRow("exponent") << "2.2e3" << int(Quantity::Plain) << 2200.0;
    QTest::newRow("mass unit for a length") << "3g" << int(Quantity::Length) << refused;
    QTest::newRow("unit for a density") << "2200kg" << int(Quantity::Plain) << refused;
    QTest::newRow("unknown unit") << "3in" << int(Quantity::Length) << refused;
    QTest::newRow("no number") << "mm" << int(Quantity::Length) << refused;
    QTest::newRow("two commas") << "3,1,5" << int(Quantity::Length) << refused;
}

void TestMeasureCommand::parseValue()
{
    QFETCH(QString, text);
    QFETCH(int, quantity);
    QFETCH(double, value);
    const std::optional<double> parsed
        = MeasureCommand::parseValue(text, MeasureCommand::Quantity(quantity));
    if (std::isnan(value)) {
        QVERIFY(!parsed);
        return;
    }
    QVERIFY(parsed);
    QVERIFY(qFuzzyCompare(*parsed, value));
}

void TestMeasureCommand::wrongArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QString file = QStringLiteral("a.txt");
    QTest::newRow("no file") << sphere << "Aucun fichier de mesures.";
    QTest::newRow("no radius") << QStringList {
        file, QStringLiteral("--masse"), QStringLiteral("1g"), QStringLiteral("--fluide"),
        QStringLiteral("1260")} << "Le rayon de la bille manque (--rayon).";
    QTest::newRow("mass and density") << (QStringList {file, QStringLiteral("--masse=1g")} + sphere)
                                      << "Donner soit la masse de la bille (--masse), soit sa "
                                         "masse volumique (--masse-volumique).";
    QTest::newRow("unknown option") << (QStringList {file, QStringLiteral("--vitesse")} + sphere)
                                    << "Option inconnue : « --vitesse ».";
    QTest::newRow("missing value") << (sphere + QStringList {file, QStringLiteral("--de")})
                                   << "L'option --de attend une valeur.";
    QTest::newRow("bad value")
        << (QStringList {file, QStringLiteral("--diametre-tube"), QStringLiteral("9cl")} + sphere)
        << "Valeur incorrecte pour --diametre-tube : « 9cl ».";
    QTest::newRow("empty range")
        << (QStringList {file, QStringLiteral("--de=5"), QStringLiteral("--a=2")} + sphere)
        << "L'intervalle d'ajustement est vide (--de après --a).";
    // The video's own options.
    const QStringList video {QStringLiteral("--video"), QStringLiteral("chute.mp4")};
    const QStringList scale {QStringLiteral("--etalon"), QStringLiteral("10,20:10,420=20cm")};
    const QStringList ball {QStringLiteral("--bille"), QStringLiteral("100,40")};
    QTest::newRow("no video") << (scale + ball + sphere) << "La vidéo manque (--video FICHIER).";
    QTest::newRow("no scale") << (video + ball + sphere)
                              << "L'échelle manque (--etalon X1,Y1:X2,Y2=distance).";
    QTest::newRow("no ball") << (video + scale + sphere)
                             << "La position de la bille manque (--bille X,Y).";
    QTest::newRow("scale of one point")
        << (video + ball + sphere + QStringList {QStringLiteral("--etalon=5,5:5,5=1cm")})
        << "Valeur incorrecte pour --etalon : « 5,5:5,5=1cm ».";
    QTest::newRow("scale without distance")
        << (video + ball + sphere + QStringList {QStringLiteral("--etalon=5,5:5,50")})
        << "Valeur incorrecte pour --etalon : « 5,5:5,50 ».";
    QTest::newRow("negative pixel")
        << (video + scale + sphere + QStringList {QStringLiteral("--bille=-3,4")})
        << "Valeur incorrecte pour --bille : « -3,4 ».";
    QTest::newRow("unknown placement")
        << (video + scale + ball + sphere + QStringList {QStringLiteral("--echelle=plafond")})
        << "Valeur incorrecte pour --echelle : « plafond ».";
    QTest::newRow("wall without the tube")
        << (video + scale + ball + sphere + QStringList {QStringLiteral("--echelle=paroi")})
        << "Une échelle hors du plan de chute demande le rayon du tube (--rayon-tube) et la "
           "distance de la caméra (--distance-camera).";
}

void TestMeasureCommand::wrongArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(MeasureCommand::run(arguments, outStream, errStream), 2);
    QCOMPARE(err, error + QStringLiteral("\nVoir « lorva-mesures --help ».\n"));
    QVERIFY(out.isEmpty());
}

// A ball of the files' glass falling through glycerol, filmed at 30 images/s
// at 0,5 mm per pixel; the program tracks it from one click and fits η.
void TestMeasureCommand::video()
{
    const FallSetup setup = glassInGlycerol(3.155e-3);
    const double eta = 0.967;
    const double top = 40.0; // px, the ball's centre at release
    const QString path = m_dir.filePath(QStringLiteral("chute.mp4"));
    VideoRecipe recipe;
    recipe.size = QSize(200, 420);
    QString error;
    const bool written = writeVideo(
        path, recipe, regularTimes(150, 30.0),
        [&](int i) {
            QImage picture(recipe.size, QImage::Format_RGB32);
            picture.fill(QColor(225, 225, 215));
            QPainter p(&picture);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 40, 50));
            const double y = top + FallFit::modelAt(setup, eta, 0.0, 0.0, i / 30.0) / 0.0005;
            p.drawEllipse(QPointF(100.0, y), 8.0, 8.0);
            return picture;
        },
        &error);
    QVERIFY2(written, qPrintable(error));

    // Without the video libraries the command says so.
    const QStringList arguments
        = QStringList {QStringLiteral("--video"),  path,
                       QStringLiteral("--etalon"), QStringLiteral("10,10:10,410=20cm"),
                       QStringLiteral("--bille"),  QStringLiteral("100,40")}
        + sphere;
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(MeasureCommand::run(arguments, outStream, errStream), 1);
    QCOMPARE(err, path + QStringLiteral(" : Ce programme ne lit pas les vidéos.\n"));

    const QString table = m_dir.filePath(QStringLiteral("suivi.csv"));
    QProcess process;
    process.start(QStringLiteral(LORVA_MESURES),
                  arguments + QStringList {QStringLiteral("--tableau"), table});
    QVERIFY(process.waitForFinished(120000));
    const QString printed = QString::fromUtf8(process.readAllStandardOutput());
    const QString remarks = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitCode() == 0, qPrintable(printed + remarks));
    const QString first = printed.section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(etaLine.match(first).hasMatch(), qPrintable(printed));
    const double found = first.section(QLatin1Char(' '), 2, 2)
                             .replace(QLatin1Char(','), QLatin1Char('.'))
                             .toDouble();
    QVERIFY2(std::abs(found - eta) < 0.02 * eta, qPrintable(first));
    QVERIFY2(remarks.contains(QStringLiteral("image 149")), qPrintable(remarks));

    QFile csv(table);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    QCOMPARE(lines.at(0), QByteArray("\xEF\xBB\xBFt (s);y (m);image\r"));
    QVERIFY(lines.at(1).startsWith("0;0;0"));
    QCOMPARE(lines.size(), 150 + 2); // a row per frame, then the last line's end
}

void TestMeasureCommand::files()
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const QStringList arguments = QStringList {m_good,
                                               m_other,
                                               QStringLiteral("--diametre-tube"),
                                               QStringLiteral("63,1mm"),
                                               QStringLiteral("--de"),
                                               QStringLiteral("0,5")}
        + sphere;
    QCOMPARE(MeasureCommand::run(arguments, outStream, errStream), 0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const QStringList blocks = out.split(QStringLiteral("\n\n"));
    QCOMPARE(blocks.size(), 3);
    for (int i = 0; i < 2; ++i) {
        const QStringList lines = blocks.at(i).split(QLatin1Char('\n'));
        QVERIFY2(etaLine.match(lines.at(0)).hasMatch(), qPrintable(lines.at(0)));
        QVERIFY(lines.at(1).startsWith(QStringLiteral("η = ")));
        QVERIFY(lines.at(1).contains(QStringLiteral("d/D = 0,1,")));
        QCOMPARE(lines.at(2), QStringLiteral("Fichier : ") + (i == 0 ? m_good : m_other));
        // The position is y, the column that moves; the first 0,5 s are left out.
        QVERIFY(lines.contains(QStringLiteral("Points utilisés : 47, exclus : 3")));
    }
    QVERIFY2(blocks.at(2).startsWith(QStringLiteral("Sur 2 fichiers : η moyenne = 0,9")),
             qPrintable(blocks.at(2)));

    // A file that is not a table fails alone, and the others still give η.
    out.clear();
    QCOMPARE(MeasureCommand::run(QStringList {m_bad, m_good} + sphere, outStream, errStream), 1);
    QVERIFY2(err.startsWith(m_bad + QStringLiteral(" : ")), qPrintable(err));
    QVERIFY(etaLine.match(out.section(QLatin1Char('\n'), 0, 0)).hasMatch());

    // The column chosen by name, and one that is not there.
    out.clear();
    err.clear();
    QCOMPARE(MeasureCommand::run(
                 QStringList {m_good, QStringLiteral("--colonne"), QStringLiteral("x")} + sphere,
                 outStream, errStream),
             1);
    QVERIFY2(out.startsWith(QStringLiteral("η non déterminée : les points ne montrent pas")),
             qPrintable(out));
    err.clear();
    QCOMPARE(MeasureCommand::run(QStringList {m_good, QStringLiteral("--colonne=z")} + sphere,
                                 outStream, errStream),
             1);
    QCOMPARE(err,
             m_good
                 + QStringLiteral(" : La colonne « z » n'existe pas dans ce fichier "
                                  "(colonnes : t, x, y).\n"));
}

// The installed program: its output and its exit status.
void TestMeasureCommand::program()
{
    QProcess process;
    process.start(QStringLiteral(LORVA_MESURES), QStringList {m_good} + sphere);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    QVERIFY2(etaLine.match(out.section(QLatin1Char('\n'), 0, 0)).hasMatch(), qPrintable(out));

    process.start(QStringLiteral(LORVA_MESURES), QStringList {m_bad} + sphere);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(err.startsWith(m_bad + QStringLiteral(" : ")) && err.size() > m_bad.size() + 10,
             qPrintable(err));

    process.start(QStringLiteral(LORVA_MESURES), QStringList {QStringLiteral("--help")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput().startsWith("Usage : lorva-mesures FICHIER"));
}

QTEST_GUILESS_MAIN(TestMeasureCommand)
#include "tst_measurecommand.moc"
