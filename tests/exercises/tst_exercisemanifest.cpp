// SPDX-License-Identifier: GPL-3.0-or-later
// The manifests teachers write: comments, defaults, values checked against
// the program's own rules, and nothing written for a refused manifest.
#include "exercises/exercisedescriptor.h"
#include "exercises/exercisemanifest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString head = QStringLiteral("titre = Essai\nenonce = e.rtf\n[configuration]\n");

// The example of the README, as a teacher would copy it.
QString readmeExample()
{
    QFile readme(QStringLiteral(LORVA_README));
    if (!readme.open(QIODevice::ReadOnly))
        return QString();
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype start = text.indexOf(QLatin1String("```\ntitre ="));
    if (start < 0)
        return QString();
    const qsizetype end = text.indexOf(QLatin1String("```"), start + 4);
    return text.mid(start + 4, end - start - 4);
}

} // namespace

class TestExerciseManifest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void readmeExampleBuilds();
    void refusedManifestWritesNothing();
    void dottedNameAndNotions();
};

void TestExerciseManifest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");      // empty when accepted
    QTest::addColumn<QStringList>("fields"); // radius .. fluid density, interval
    const QStringList defaults {QStringLiteral("3,5"), QStringLiteral("145"),
                                QStringLiteral("1"),   QStringLiteral("0,2"),
                                QStringLiteral("800"), QStringLiteral("1000")};
    QTest::newRow("nothing given: the main window's values") << head << QString() << defaults;
    QTest::newRow("comments after a value and a section")
        << QStringLiteral("titre = Essai # le titre\nenonce = e.rtf\n[configuration]   # la "
                          "chute\nrayon = 1 # cm\nmasse = 32,7\nintervalle = 100 # ms\n")
        << QString()
        << QStringList({QStringLiteral("1"), QStringLiteral("32,7"), QStringLiteral("1"),
                        QStringLiteral("0,2"), QStringLiteral("800"), QStringLiteral("100")});
    QTest::newRow("mass changed by the density's rounding")
        << head + QStringLiteral("rayon = 2\nmasse = 40\n")
        << QStringLiteral("ligne 5 : « masse = 40 » serait affiché « 39,9 »") << QStringList();
    QTest::newRow("four digits") << head + QStringLiteral("masse = 145,2\n")
                                 << QStringLiteral("ligne 4 : « masse = 145,2 »") << QStringList();
    QTest::newRow("out of range") << head + QStringLiteral("viscosite = 7\n")
                                  << QStringLiteral("ligne 4 : « viscosite = 7 »") << QStringList();
    QTest::newRow("interval out of range")
        << head + QStringLiteral("intervalle = 2\n")
        << QStringLiteral("ligne 4 : « intervalle = 2 »") << QStringList();
    QTest::newRow("correction refused with its own line")
        << head + QStringLiteral("rayon = 2\nmasse = 20\n[configuration du corrigé]\nmasse = 40\n")
        << QStringLiteral("ligne 7 : « masse = 40 »") << QStringList();
    QTest::newRow("empty value") << head + QStringLiteral("intervalle =\n")
                                 << QStringLiteral("ligne 4 : valeur vide pour « intervalle »")
                                 << QStringList();
    QTest::newRow("fifth notion") << QStringLiteral(
        "enonce = e.rtf\nnotion = a\nnotion = b\nnotion = c\nnotion = d\n"
        "notion = e\n") << QStringLiteral("ligne 6 : quatre notions au plus")
                                  << QStringList();
    QTest::newRow("unknown graph")
        << head + QStringLiteral("graphe = temps\n")
        << QStringLiteral("ligne 4 : valeur refusée pour « graphe »") << QStringList();
}

void TestExerciseManifest::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    QFETCH(QStringList, fields);
    ExerciseManifest manifest;
    const bool accepted = manifest.parse(text, QStringLiteral("essai"));
    if (!error.isEmpty()) {
        QVERIFY(!accepted);
        QVERIFY2(manifest.errorString().startsWith(error), qPrintable(manifest.errorString()));
        return;
    }
    QVERIFY2(accepted, qPrintable(manifest.errorString()));
    const Configuration c = manifest.configuration();
    QStringList given(c.fields.begin(), c.fields.end());
    given << c.interval;
    QCOMPARE(given, fields);
}

void TestExerciseManifest::readmeExampleBuilds()
{
    const QString example = readmeExample();
    QVERIFY(example.contains(QLatin1String("[configuration]")));
    ExerciseManifest manifest;
    QVERIFY2(manifest.parse(example, QStringLiteral("vitesse-limite")),
             qPrintable(manifest.errorString()));
    QCOMPARE(manifest.configuration().fields[1], QStringLiteral("32,7"));
    // Left out: the main window's values, so that the fall can start.
    QCOMPARE(manifest.configuration().fields[4], QStringLiteral("800"));
    QCOMPARE(manifest.configuration().interval, QStringLiteral("1000"));
    QVERIFY(manifest.correctionConfiguration());
    QCOMPARE(manifest.correctionConfiguration()->options.graphQuantity,
             int(DisplayOptions::Velocity));
    QString missing;
    QVERIFY(!manifest.setsEveryField(&missing));
    QCOMPARE(missing, QStringLiteral("hauteur"));
    QTemporaryDir dir;
    QVERIFY2(manifest.write(dir.path()), qPrintable(manifest.errorString()));
    ConfigurationReader reader;
    QVERIFY(reader.load(QDir(dir.path()).filePath(QStringLiteral("vitesse-limite.P18"))));
}

void TestExerciseManifest::refusedManifestWritesNothing()
{
    ExerciseManifest manifest;
    // A title too long for its record: refused once the configurations are
    // known to be sound, before any file is written.
    QVERIFY(manifest.parse(QStringLiteral("titre = %1\nenonce = e.rtf\n[configuration]\n"
                                          "[configuration du corrigé]\ngraphe = vitesse\n")
                               .arg(QString(130, u'x')),
                           QStringLiteral("long")));
    QTemporaryDir dir;
    QVERIFY(!manifest.write(dir.path()));
    QVERIFY(manifest.errorString().startsWith(QLatin1String("enregistrement 11 trop long")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

void TestExerciseManifest::dottedNameAndNotions()
{
    QTemporaryDir dir;
    const QString source = QDir(dir.path()).filePath(QStringLiteral("tp.2.exo"));
    QFile file(source);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("enonce = e.rtf\nnotion = Poids.\nnotion = Pouss\xc3\xa9\x65.\n");
    file.close();
    ExerciseManifest manifest;
    QVERIFY(manifest.read(source));
    const QString out = QDir(dir.path()).filePath(QStringLiteral("sortie"));
    QVERIFY2(manifest.write(out), qPrintable(manifest.errorString()));
    QCOMPARE(QDir(out).entryList(QDir::Files),
             QStringList({QStringLiteral("tp.2.E40"), QStringLiteral("tp.2.P18")}));
    ExerciseDescriptor descriptor;
    QVERIFY(descriptor.read(QDir(out).filePath(QStringLiteral("tp.2.E40"))));
    QCOMPARE(descriptor.configuration(), QStringLiteral("tp.2.P18"));
    // The preview joins the notions as stored: each keeps its separator.
    QCOMPARE(descriptor.notionsText().trimmed(), QStringLiteral("Poids. Poussée."));
}

QTEST_MAIN(TestExerciseManifest)
#include "tst_exercisemanifest.moc"
