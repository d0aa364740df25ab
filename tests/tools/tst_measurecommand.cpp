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

// The number printed after label in line, and the one after the next "±"
// (NaN when missing), with a decimal comma.
std::pair<double, double> printedValue(const QString &line, const QString &label)
{
    const auto number = [](QStringView text) {
        qsizetype end = 0;
        while (end < text.size() && (text[end].isDigit() || text[end] == QLatin1Char(',')))
            ++end;
        bool ok = false;
        const double value
            = text.left(end).toString().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? value : std::nan("");
    };
    const qsizetype at = line.indexOf(label);
    if (at < 0)
        return {std::nan(""), std::nan("")};
    const QStringView rest = QStringView(line).mid(at + label.size());
    const qsizetype pm = rest.indexOf(QStringLiteral(" ± "));
    return {number(rest), pm < 0 ? std::nan("") : number(rest.mid(pm + 3))};
}

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
    void inputs_data();
    void inputs();
    void unitSlips_data();
    void unitSlips();
    void millisecondTimes_data();
    void millisecondTimes();
    void files();
    void program();
    void video();
    void model();

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
        << "Valeur incorrecte pour --diametre-tube : « 9cl ». L'unité « cl » est inconnue ; une "
           "longueur s'écrit en µm, mm, cm, dm ou m.";
    QTest::newRow("± without its uncertainty")
        << (QStringList {file, QStringLiteral("--rayon=2mm±")} + sphere)
        << "Valeur incorrecte pour --rayon : « 2mm± ». L'incertitude manque après « ± ».";
    QTest::newRow("fluid in g/cm")
        << (QStringList {file, QStringLiteral("--fluide"), QStringLiteral("1,26g/cm")} + sphere)
        << "Valeur incorrecte pour --fluide : « 1,26g/cm ». L'unité « g/cm » est inconnue ; une "
           "masse volumique s'écrit en kg/m3, g/cm3, g/mL, kg/L ou g/L.";
    QTest::newRow("a mass for the density")
        << (sphere + QStringList {file, QStringLiteral("--masse-volumique=2,5g")})
        << "Valeur incorrecte pour --masse-volumique : « 2,5g ». « g » est une unité de masse ; "
           "une masse volumique s'écrit en kg/m3, g/cm3, g/mL, kg/L ou g/L.";
    QTest::newRow("an uncertainty on the range")
        << (QStringList {file, QStringLiteral("--de"), QStringLiteral("2s±0,1s")} + sphere)
        << "Valeur incorrecte pour --de : « 2s±0,1s ». Cette option ne prend pas d'incertitude "
           "(« ± »).";
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
    QTest::newRow("scale in grams")
        << (video + ball + sphere + QStringList {QStringLiteral("--etalon=5,5:5,50=1g")})
        << "Valeur incorrecte pour --etalon : « 5,5:5,50=1g ». « g » est une unité de masse ; "
           "une longueur s'écrit en µm, mm, cm, dm ou m.";
    QTest::newRow("negative scale")
        << (video + ball + sphere + QStringList {QStringLiteral("--etalon=5,5:5,50=-1cm±1mm")})
        << "Valeur incorrecte pour --etalon : « 5,5:5,50=-1cm±1mm ». La distance doit être "
           "positive.";
    QTest::newRow("negative index")
        << (video + scale + ball + sphere + QStringList {QStringLiteral("--indice=-1,47")})
        << "Valeur incorrecte pour --indice : « -1,47 ». La valeur doit être positive.";
    QTest::newRow("capture rate with a unit")
        << (video + scale + ball + sphere + QStringList {QStringLiteral("--cadence=240s")})
        << "Valeur incorrecte pour --cadence : « 240s ». « s » est une unité de durée ; cette "
           "valeur s'écrit sans unité.";
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

void TestMeasureCommand::inputs_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<double>>("values");        // r, m, ρf, D (SI)
    QTest::addColumn<QList<double>>("uncertainties"); // r, m, ρs, ρf, D, scale (SI; NaN: exact)
    const double exact = std::nan("");
    const double steelMass = 7800.0 * 4.0 / 3.0 * 3.1415927 * 8e-9; // a 2 mm ball
    const QString file = QStringLiteral("a.txt");
    QTest::newRow("every input with its uncertainty")
        << QStringList {file,
                        QStringLiteral("--rayon"),
                        QStringLiteral("2mm±0,005mm"),
                        QStringLiteral("--masse-volumique"),
                        QStringLiteral("7800±20"),
                        QStringLiteral("--fluide"),
                        QStringLiteral("1260+-3"),
                        QStringLiteral("--diametre-tube"),
                        QStringLiteral("93,5mm±0,5mm")}
        << QList<double> {2e-3, steelMass, 1260.0, 0.0935}
        << QList<double> {5e-6, exact, 20.0, 3.0, 5e-4, exact};
    QTest::newRow("densities in g/cm3, a mass in mg")
        << QStringList {file, QStringLiteral("--rayon=1,5cm"),
                        QStringLiteral("--masse=145000mg±10mg"),
                        QStringLiteral("--fluide=1,26±0,01g/cm3")}
        << QList<double> {0.015, 0.145, 1260.0, exact}
        << QList<double> {exact, 1e-5, exact, 10.0, exact, exact};
    QTest::newRow("exact inputs") << QStringList {file, QStringLiteral("--rayon=2mm"),
                                                  QStringLiteral("--masse-volumique=7,8g/cm3"),
                                                  QStringLiteral("--fluide=2200kg/m3")}
                                  << QList<double> {2e-3, steelMass, 2200.0, exact}
                                  << QList<double> {exact, exact, exact, exact, exact, exact};
    QTest::newRow("the scale of a video")
        << QStringList {QStringLiteral("--video"),
                        QStringLiteral("chute.mp4"),
                        QStringLiteral("--bille=100,40"),
                        QStringLiteral("--etalon"),
                        QStringLiteral("120,80:120,680=10cm±0,5mm"),
                        QStringLiteral("--rayon=2mm"),
                        QStringLiteral("--masse-volumique=7800"),
                        QStringLiteral("--fluide=1260")}
        << QList<double> {2e-3, steelMass, 1260.0, exact}
        << QList<double> {exact, exact, exact, exact, exact, 5e-4};
}

void TestMeasureCommand::inputs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QList<double>, values);
    QFETCH(QList<double>, uncertainties);
    QString error;
    const std::optional<MeasureCommand::Options> options
        = MeasureCommand::parseArguments(arguments, &error);
    QVERIFY2(options, qPrintable(error));
    auto same = [](double actual, double expected) {
        return std::isnan(expected) ? std::isnan(actual)
                                    : std::abs(actual - expected) <= 1e-9 * std::abs(expected);
    };
    const FallSetup &setup = options->setup;
    const double typed[] = {setup.radius, setup.mass, setup.fluidDensity, setup.tubeDiameter};
    for (int i = 0; i < 4; ++i)
        QVERIFY2(same(typed[i], values.at(i)), qPrintable(QString::number(i)));
    const MeasureCommand::InputUncertainties &u = options->uncertainties;
    const double spread[]
        = {u.radius, u.mass, u.sphereDensity, u.fluidDensity, u.tubeDiameter, u.scaleDistance};
    for (int i = 0; i < 6; ++i)
        QVERIFY2(same(spread[i], uncertainties.at(i)), qPrintable(QString::number(i)));
    if (options->video)
        QCOMPARE(options->video->scaleDistance, 0.1);
}

void TestMeasureCommand::unitSlips_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    const QStringList ball {QStringLiteral("--rayon"), QStringLiteral("3,155mm"),
                            QStringLiteral("--masse-volumique"), QStringLiteral("2500")};
    QTest::newRow("fluid in g/cm3 without its unit")
        << (ball + QStringList {QStringLiteral("--fluide"), QStringLiteral("1,26")}) << 0
        << "1,26 kg/m³ est la masse volumique d'un gaz ; en g/cm³, écrivez 1,26g/cm3\n";
    QTest::newRow("sphere in g/cm3 without its unit")
        << QStringList {QStringLiteral("--rayon=3,155mm"), QStringLiteral("--masse-volumique=2,5"),
                        QStringLiteral("--fluide=1260")}
        << 2
        << "2,5 kg/m³ est la masse volumique d'une mousse : une telle bille flotte ; en g/cm³, "
           "écrivez 2,5g/cm3\nLa masse de la bille doit être comprise entre 1 mg et 50 kg.\n";
    QTest::newRow("radius in mm without its unit")
        << QStringList {QStringLiteral("--rayon=3,155"), QStringLiteral("--masse-volumique=2500"),
                        QStringLiteral("--fluide=1260")}
        << 2
        << "Sans unité, le rayon est en mètres : 3,155 m ; en millimètres, écrivez 3,155mm\nLe "
           "rayon de la bille doit être compris entre 0,1 mm et 50 cm.\n";
    QTest::newRow("densities with their units")
        << (sphere.mid(0, 2)
            + QStringList {QStringLiteral("--masse-volumique=2,5g/cm3"),
                           QStringLiteral("--fluide=1,26g/cm³")})
        << 0 << "";
}

void TestMeasureCommand::unitSlips()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, error);
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(MeasureCommand::run(QStringList {m_good} + arguments, outStream, errStream), status);
    QCOMPARE(err, error);
    if (status == 0)
        QVERIFY2(etaLine.match(out.section(QLatin1Char('\n'), 0, 0)).hasMatch(), qPrintable(out));
}

void TestMeasureCommand::millisecondTimes_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<bool>("remark");
    QTest::newRow("no time unit") << QByteArray("t\ty\n") << true;
    QTest::newRow("ms said") << QByteArray("t (ms)\ty\n") << false;
    QTest::newRow("ms in a units row") << QByteArray("t\ty\nms\tm\n") << false;
}

// A video's times written in milliseconds: read as seconds they would give
// η a thousand times too large; the command says so and converts them.
void TestMeasureCommand::millisecondTimes()
{
    QFETCH(QByteArray, header);
    QFETCH(bool, remark);
    SimulatedFall fall;
    fall.setup = glassInGlycerol(3.155e-3);
    fall.eta = 0.967;
    fall.step = 0.04;
    fall.count = 60;
    QByteArray bytes = header;
    for (const MeasuredPoint &p : fall.points(3).points)
        bytes += QByteArray::number(p.t * 1000.0, 'f', 0) + '\t' + QByteArray::number(p.y, 'f', 5)
            + '\n';
    const QString path = m_dir.filePath(QStringLiteral("millisecondes.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    // The fall follows the simulator's law: fitted with it.
    const QStringList stokes {QStringLiteral("--modele"), QStringLiteral("stokes")};
    QCOMPARE(MeasureCommand::run(QStringList {path} + sphere + stokes, outStream, errStream), 0);
    if (remark) {
        QVERIFY2(err.startsWith(path
                                + QStringLiteral(" : Les temps n'ont pas d'unité : lus en "
                                                 "secondes, la chute de ")),
                 qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("Ce sont des millisecondes : les temps ont été "
                                             "convertis en secondes")),
                 qPrintable(err));
    } else {
        QVERIFY2(err.isEmpty(), qPrintable(err));
    }
    const QString first = out.section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(etaLine.match(first).hasMatch(), qPrintable(out));
    const double found = first.section(QLatin1Char(' '), 2, 2)
                             .replace(QLatin1Char(','), QLatin1Char('.'))
                             .toDouble();
    QVERIFY2(std::abs(found - 0.967) < 0.02 * 0.967, qPrintable(first));
}

// A ball of the files' glass falling through glycerol, filmed at 30 images/s
// at 0,5 mm per pixel; the program tracks it from one click and fits η.
void TestMeasureCommand::video()
{
    SimulatedFall fall;
    fall.setup = glassInGlycerol(3.155e-3);
    fall.eta = 0.967;
    const double eta = fall.eta;
    const double top = 40.0; // px, the ball's centre at release
    std::vector<double> times;
    for (int i = 0; i < 150; ++i)
        times.push_back(i / 30.0);
    const std::vector<double> fallen = fall.ball().fallen(times);
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
            const double y = top + fallen[size_t(i)] / 0.0005;
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

    // The table read back with no option: y is the position, not the frame.
    out.clear();
    err.clear();
    QCOMPARE(MeasureCommand::run(QStringList {table} + sphere, outStream, errStream), 0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    const QString again = out.section(QLatin1Char('\n'), 0, 0);
    QVERIFY2(etaLine.match(again).hasMatch(), qPrintable(out));
    // The same η; its u differs: the table no longer knows the scale's clicks.
    const auto number = [](const QString &line, int field) {
        return line.section(QLatin1Char(' '), field, field)
            .replace(QLatin1Char(','), QLatin1Char('.'))
            .toDouble();
    };
    // first: η rounded to its combined u (digits of u); again: the fit's own.
    QVERIFY2(std::abs(number(again, 2) - number(first, 2)) <= 0.5e-4, qPrintable(again));
    QVERIFY2(number(again, 4) < number(first, 4), qPrintable(again));
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
                                               QStringLiteral("0,5"),
                                               QStringLiteral("--modele"),
                                               QStringLiteral("stokes")}
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
    // η and its uncertainty as printed, read back; the wall line's η is f(λ)·η
    // with Faxén's f(0,1) = 1 − 2,104·0,1 + 2,09·0,1³ − 0,95·0,1⁵, both to the
    // digits printed.
    const double faxen = 1.0 - 2.104 * 0.1 + 2.09 * 1e-3 - 0.95 * 1e-5;
    QList<double> etas;
    for (int i = 0; i < 2; ++i) {
        const QStringList lines = blocks.at(i).split(QLatin1Char('\n'));
        const auto [eta, etaU] = printedValue(lines.at(0), QStringLiteral("η = "));
        QVERIFY2(std::isfinite(eta) && std::isfinite(etaU), qPrintable(lines.at(0)));
        // The data follow η = 0,967 Pa·s with positions rounded to 0,01 mm.
        QVERIFY2(qAbs(eta - 0.967) <= 4.0 * etaU && etaU < 0.01, qPrintable(lines.at(0)));
        const auto [wall, wallU] = printedValue(lines.at(1), QStringLiteral("η = "));
        QVERIFY2(qAbs(wall - faxen * eta) <= 0.5 * wallU + faxen * etaU * 1e-3,
                 qPrintable(lines.at(1)));
        etas.append(eta);
    }
    const QString mean = blocks.at(2);
    QVERIFY2(mean.startsWith(QStringLiteral("Sur 2 fichiers : η moyenne = ")), qPrintable(mean));
    const double meanEta = printedValue(mean, QStringLiteral("η moyenne = ")).first;
    // Shown with three decimals: within half a unit of the last one, and a little.
    QVERIFY2(qAbs(meanEta - (etas[0] + etas[1]) / 2.0) <= 6e-4, qPrintable(mean));
    const double wallMean
        = printedValue(mean.section(QLatin1Char('\n'), 1), QStringLiteral("moyenne = ")).first;
    QVERIFY2(qAbs(wallMean - faxen * (etas[0] + etas[1]) / 2.0) <= 6e-4, qPrintable(mean));

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

// --modele: the simulator's Stokes law on its own fall gives its η; the
// drag curve (the default) a smaller one, by the drag ratio at Re ≈ 0,23.
void TestMeasureCommand::model()
{
    auto first = [](const QStringList &arguments, QString *block) {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        MeasureCommand::run(arguments, outStream, errStream);
        *block = out + err;
        return out.section(QLatin1Char(' '), 2, 2).replace(QLatin1Char(','), QLatin1Char('.'));
    };
    QString block;
    const double stokes
        = first(QStringList {m_good, QStringLiteral("--modele"), QStringLiteral("stokes")} + sphere,
                &block)
              .toDouble();
    QVERIFY2(std::fabs(stokes - 0.967) < 0.005, qPrintable(block));
    QVERIFY(block.contains(QStringLiteral("Modèle : loi de Stokes (celle du simulateur), g = 9,8 "
                                          "m/s²")));
    const double drag = first(QStringList {m_good} + sphere, &block).toDouble();
    QVERIFY(block.contains(QStringLiteral("Modèle : courbe de traînée standard")));
    // v = (2500 − 1260)·9,8·2R²/(9η), Re = 1260·v·2R/η, φ = 1 + 0,1315·Re^(0,82 − 0,05·log Re);
    // the drag curve also takes g = 9,81.
    const double r = 3.155e-3;
    const double v = 1240.0 * 9.8 * 2.0 * r * r / (9.0 * 0.967);
    const double re = 1260.0 * v * 2.0 * r / 0.967;
    const double phi = 1.0 + 0.1315 * std::pow(re, 0.82 - 0.05 * std::log10(re));
    QVERIFY2(std::fabs(drag / stokes - 9.81 / 9.8 / phi) < 0.004,
             qPrintable(QStringLiteral("%1 / %2, φ = %3").arg(drag).arg(stokes).arg(phi)));

    first(QStringList {m_good, QStringLiteral("--modele=newton")} + sphere, &block);
    QVERIFY2(block.startsWith(QStringLiteral("Valeur incorrecte pour --modele : « newton » "
                                             "(stokes ou trainee).")),
             qPrintable(block));
}

QTEST_GUILESS_MAIN(TestMeasureCommand)
#include "tst_measurecommand.moc"
