// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/seriesfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

const QByteArray header = "# Lorva : série de chutes\n";

bool near(double a, double b)
{
    return std::abs(a - b) <= 1e-12 * std::abs(b);
}

} // namespace

class TestSeriesFile : public QObject
{
    Q_OBJECT

private slots:
    void teachersFile();
    void roundTrip();
    void saveAndLoad();
    void hostile_data();
    void hostile();
    void bounded();
};

// As a teacher types it: units glued or spaced, a comment, CRLF, a BOM.
void TestSeriesFile::teachersFile()
{
    const QByteArray text = "\xEF\xBB\xBF# Lorva : série de chutes\r\n"
                            "# TP du 9 décembre\r\n"
                            "fluide = 1,26 g/cm3 ± 0,003g/cm3\r\n"
                            "tube = 9,35cm\r\n"
                            "\r\n"
                            "[essai]\r\n"
                            "fichier = groupe 1/chute.csv\r\n"
                            "rayon = 3,155mm ± 0,005 mm\r\n"
                            "masse-volumique = 7800 ± 20 kg/m³\r\n"
                            "[essai]\r\n"
                            "fichier=b.txt\r\n"
                            "rayon=0.00236\r\n"
                            "masse = 0,42 ± 0,01 g\r\n"
                            "retenu = non\r\n";
    QVERIFY(SeriesFile::isSeries(text));
    SeriesFileReader reader;
    QVERIFY2(reader.read(text), qPrintable(reader.errorString()));
    const SeriesFileData &s = reader.series();
    QVERIFY(near(s.fluidDensity, 1260.0));
    QVERIFY(near(s.fluidDensityU, 3.0));
    QVERIFY(near(s.tubeDiameter, 0.0935));
    QCOMPARE(s.tubeDiameterU, 0.0);
    QCOMPARE(s.trials.size(), size_t(2));
    QCOMPARE(s.trials[0].file, QStringLiteral("groupe 1/chute.csv"));
    QVERIFY(near(s.trials[0].radius, 3.155e-3));
    QVERIFY(near(s.trials[0].radiusU, 5e-6));
    QVERIFY(near(s.trials[0].density, 7800.0));
    QVERIFY(near(s.trials[0].densityU, 20.0));
    QVERIFY(std::isnan(s.trials[0].mass));
    QVERIFY(s.trials[0].used);
    QVERIFY(near(s.trials[1].radius, 2.36e-3));
    QVERIFY(near(s.trials[1].mass, 4.2e-4));
    QVERIFY(near(s.trials[1].massU, 1e-5));
    QVERIFY(!s.trials[1].used);
}

void TestSeriesFile::roundTrip()
{
    SeriesFileData s;
    s.fluidDensity = 1261.5;
    s.fluidDensityU = 2.5;
    SeriesFileTrial a;
    a.file = QStringLiteral("été/chute ①.csv");
    a.radius = 1.5e-3;
    a.mass = 1.1e-4;
    a.massU = 1e-6;
    SeriesFileTrial b;
    b.file = QStringLiteral("/tmp/b.csv");
    b.radius = 3e-3;
    b.radiusU = 1e-5;
    b.density = 2500.0;
    b.used = false;
    s.trials = {a, b};
    const QByteArray bytes = SeriesFile::bytes(s);
    QVERIFY(bytes.startsWith(header));
    QVERIFY(bytes.contains("rayon = 1,5 mm\n"));
    QVERIFY(bytes.contains("masse = 0,11 ± 0,001 g\n"));
    SeriesFileReader reader;
    QVERIFY2(reader.read(bytes), qPrintable(reader.errorString()));
    const SeriesFileData &r = reader.series();
    QVERIFY(std::isnan(r.tubeDiameter));
    QVERIFY(near(r.fluidDensity, 1261.5) && near(r.fluidDensityU, 2.5));
    QCOMPARE(r.trials.size(), size_t(2));
    QCOMPARE(r.trials[0].file, a.file);
    QVERIFY(near(r.trials[0].mass, 1.1e-4) && near(r.trials[0].massU, 1e-6));
    QVERIFY(std::isnan(r.trials[0].density));
    QCOMPARE(r.trials[1].file, b.file);
    QVERIFY(near(r.trials[1].radiusU, 1e-5) && near(r.trials[1].density, 2500.0));
    QVERIFY(!r.trials[1].used && r.trials[0].used);
    QCOMPARE(SeriesFile::bytes(r), bytes);
}

// Saved beside its files, the series names them relatively and finds them
// again once the folder has moved.
void TestSeriesFile::saveAndLoad()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("classe/mesures")));
    SeriesFileData s;
    s.fluidDensity = 1260.0;
    SeriesFileTrial t;
    t.file = dir.filePath(QStringLiteral("classe/mesures/a.csv"));
    t.radius = 2e-3;
    t.density = 7800.0;
    s.trials = {t};
    QString error;
    QVERIFY2(SeriesFile::save(dir.filePath(QStringLiteral("classe/série.txt")), s, &error),
             qPrintable(error));
    QFile file(dir.filePath(QStringLiteral("classe/série.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("fichier = mesures/a.csv\n"));
    QVERIFY(QDir(dir.path()).rename(QStringLiteral("classe"), QStringLiteral("déplacée")));
    SeriesFileData loaded;
    QVERIFY2(SeriesFile::load(dir.filePath(QStringLiteral("déplacée/série.txt")), &loaded, &error),
             qPrintable(error));
    QCOMPARE(loaded.trials.at(0).file, dir.filePath(QStringLiteral("déplacée/mesures/a.csv")));
    QVERIFY(!SeriesFile::save(dir.path(), s, &error));
    QVERIFY(error.startsWith(QStringLiteral("La série « ")));
    QVERIFY(!SeriesFile::load(dir.filePath(QStringLiteral("absente.txt")), &loaded, &error));
}

void TestSeriesFile::hostile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QByteArray trial = "[essai]\nfichier = a.csv\nrayon = 2 mm\nmasse-volumique = 7800\n";
    const QByteArray fluid = "fluide = 1260\n";
    QTest::newRow("empty") << QByteArray()
                           << QStringLiteral("Ce n'est pas un fichier de série : sa première "
                                             "ligne devrait être « # Lorva : série de chutes ».");
    QTest::newRow("a table") << QByteArray("t;y\n0;0\n")
                             << QStringLiteral("Ce n'est pas un fichier de série : sa première "
                                               "ligne devrait être « # Lorva : série de "
                                               "chutes ».");
    QTest::newRow("not UTF-8") << QByteArray(header + "fluide = 1260 \xE9\n")
                               << QStringLiteral("Le fichier de série n'est pas du texte UTF-8.");
    QTest::newRow("no fluid") << QByteArray(header + trial)
                              << QStringLiteral("La masse volumique du fluide manque (« fluide "
                                                "= … »).");
    QTest::newRow("no trial") << QByteArray(header + fluid)
                              << QStringLiteral("La série ne compte aucun essai ([essai]).");
    QTest::newRow("unknown key") << QByteArray(header + fluid + "[essai]\nrayn = 2mm\n")
                                 << QStringLiteral("Ligne 4 : clé inconnue « rayn » (dans un "
                                                   "essai : fichier, rayon, masse, "
                                                   "masse-volumique, retenu).");
    QTest::newRow("twice") << QByteArray(header + fluid + "fluide = 1000\n")
                           << QStringLiteral("Ligne 3 : « fluide » est donné deux fois.");
    QTest::newRow("no equals") << QByteArray(header + fluid + "rayon 2mm\n")
                               << QStringLiteral("Ligne 3 : « clé = valeur » attendu.");
    QTest::newRow("section") << QByteArray(header + fluid + "[bille]\n")
                             << QStringLiteral("Ligne 3 : section inconnue « [bille] ».");
    QTest::newRow("unit") << QByteArray(header + fluid + "[essai]\nrayon = 2 inch\n")
                          << QStringLiteral("Ligne 4 : valeur incorrecte pour « rayon » : « 2 "
                                            "inch ».");
    QTest::newRow("mass as length") << QByteArray(header + fluid + "[essai]\nmasse = 2 mm\n")
                                    << QStringLiteral("Ligne 4 : valeur incorrecte pour « masse "
                                                      "» : « 2 mm ».");
    QTest::newRow("negative") << QByteArray(header + "fluide = -1260\n")
                              << QStringLiteral("Ligne 2 : valeur incorrecte pour « fluide » : « "
                                                "-1260 ».");
    QTest::newRow("negative u") << QByteArray(header + "fluide = 1260 ± -3\n")
                                << QStringLiteral("Ligne 2 : valeur incorrecte pour « fluide » : "
                                                  "« 1260 ± -3 ».");
    QTest::newRow("overflow") << QByteArray(header + "fluide = 1e308 g/cm3\n")
                              << QStringLiteral("Ligne 2 : valeur incorrecte pour « fluide » : « "
                                                "1e308 g/cm3 ».");
    QTest::newRow("retenu") << QByteArray(header + fluid + "[essai]\nretenu = peut-être\n")
                            << QStringLiteral("Ligne 4 : valeur incorrecte pour « retenu » : « "
                                              "peut-être ».");
    QTest::newRow("no radius") << QByteArray(header + fluid + "[essai]\nfichier = a\n[essai]\n")
                               << QStringLiteral("Ligne 3 : l'essai demande « rayon ».");
    QTest::newRow("mass and density")
        << QByteArray(header + fluid + trial + "masse = 1 g\n")
        << QStringLiteral("Ligne 3 : l'essai demande soit « masse », soit « masse-volumique ».");
    QTest::newRow("no file") << QByteArray(header + fluid + "[essai]\nrayon = 1mm\n")
                             << QStringLiteral("Ligne 3 : l'essai demande « fichier ».");
    QTest::newRow("trial key before") << QByteArray(header + "rayon = 1mm\n")
                                      << QStringLiteral("Ligne 2 : clé inconnue « rayon » (avant "
                                                        "le premier [essai] : fluide, tube).");
}

void TestSeriesFile::hostile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    SeriesFileReader reader;
    QVERIFY(!reader.read(bytes));
    QCOMPARE(reader.errorString(), error);
    QVERIFY(reader.series().trials.empty());
}

void TestSeriesFile::bounded()
{
    const QByteArray trial = "[essai]\nfichier = a.csv\nrayon = 2 mm\nmasse-volumique = 7800\n";
    QByteArray many = header + "fluide = 1260\n";
    for (int i = 0; i < 200; ++i)
        many += trial;
    SeriesFileReader reader;
    QVERIFY2(reader.read(many), qPrintable(reader.errorString()));
    QCOMPARE(reader.series().trials.size(), size_t(200));
    many += trial;
    QVERIFY(!reader.read(many));
    QCOMPARE(
        reader.errorString(),
        QStringLiteral("Ligne %1 : une série compte au plus 200 essais.").arg(2 + 200 * 4 + 1));

    // A device that would hand over far more is read no further than the limit.
    QByteArray huge = header + "fluide = 1260\n" + trial;
    huge += QByteArray(SeriesFileReader::maxBytes, '#');
    QBuffer buffer(&huge);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QVERIFY(!reader.read(&buffer));
    QCOMPARE(reader.errorString(),
             QStringLiteral("Le fichier de série dépasse 256 Ko : ce n'en est pas un."));
    QCOMPARE(buffer.pos(), SeriesFileReader::maxBytes + 1);
}

QTEST_MAIN(TestSeriesFile)
#include "tst_seriesfile.moc"
