// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/exercisedescriptor.h"
#include "exercises/exercisefiles.h"
#include "platform/recordfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestExerciseDescriptor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsAllRecords();
    void blankRecordsAndShortFile();
    void correction_data();
    void correction();
    void lamps_data();
    void lamps();
    void symbols_data();
    void symbols();
    void missingOrDamagedFile();
    void fileNamesScopeIgnoresLaterRecords();
    void resolution_data();
    void resolution();
    void launcherRequest_data();
    void launcherRequest();

private:
    QString write(const QStringList &records, const QString &name = QStringLiteral("exo.E40"));
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestExerciseDescriptor::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

// Writes records 1, 2, ... with the given texts; a null text is left unwritten.
QString TestExerciseDescriptor::write(const QStringList &records, const QString &name)
{
    const QString path = m_dir->filePath(name);
    RecordFile file(path);
    file.load();
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (!records.at(i).isNull())
            file.write(int(i + 1), records.at(i));
    }
    file.commit();
    return path;
}

void TestExerciseDescriptor::readsAllRecords()
{
    const QString path
        = write({QStringLiteral("ENONCE1.RTF"), QStringLiteral("config1.P18"),
                 QStringLiteral("corrige1.rtf"), QStringLiteral("cor1.P18"), QStringLiteral("2"),
                 QStringLiteral("ignoré"), QStringLiteral("Vitesse limite. "),
                 QStringLiteral("   "), QStringLiteral("Frottement "), QString(),
                 QStringLiteral("  Chute d'une bille  "), QStringLiteral("3")});
    ExerciseDescriptor descriptor;
    QVERIFY2(descriptor.read(path), qPrintable(descriptor.errorString()));
    QCOMPARE(descriptor.statement(), QStringLiteral("ENONCE1.RTF"));
    QCOMPARE(descriptor.configuration(), QStringLiteral("config1.P18"));
    QCOMPARE(descriptor.correction(), QStringLiteral("corrige1.rtf"));
    QCOMPARE(descriptor.correctionConfiguration(), QStringLiteral("cor1.P18"));
    QCOMPARE(descriptor.difficulty(), 2.0);
    QVERIFY(descriptor.hasCorrection());
    // Notions are joined as stored, blank ones left out, nothing added.
    QCOMPARE(descriptor.notionsText(), QStringLiteral("Vitesse limite. Frottement "));
    QCOMPARE(descriptor.title(), QStringLiteral("  Chute d'une bille  "));
    QCOMPARE(descriptor.symbolCount(), 3);
}

void TestExerciseDescriptor::blankRecordsAndShortFile()
{
    // Only record 1 written: every other record reads as blank.
    const QString path = write({QStringLiteral("enonce.rtf")});
    ExerciseDescriptor descriptor;
    QVERIFY(descriptor.read(path));
    QCOMPARE(descriptor.statement(), QStringLiteral("enonce.rtf"));
    QVERIFY(descriptor.configuration().isEmpty());
    QVERIFY(!descriptor.hasCorrection());
    QCOMPARE(descriptor.litLamps(), 0);
    QCOMPARE(descriptor.notionsText(), QString());
    QCOMPARE(descriptor.symbolCount(), 0);
}

void TestExerciseDescriptor::correction_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("configuration");
    QTest::addColumn<bool>("corrected");
    QTest::newRow("both blank") << QString() << QString() << false;
    QTest::newRow("spaces only") << QStringLiteral("  ") << QStringLiteral(" ") << false;
    QTest::newRow("text only") << QStringLiteral("cor.rtf") << QString() << true;
    QTest::newRow("configuration only") << QString() << QStringLiteral("cor.P18") << true;
}

void TestExerciseDescriptor::correction()
{
    QFETCH(QString, text);
    QFETCH(QString, configuration);
    QFETCH(bool, corrected);
    const QString path = write({QStringLiteral("e.rtf"), QString(), text, configuration});
    ExerciseDescriptor descriptor;
    QVERIFY(descriptor.read(path));
    QCOMPARE(descriptor.hasCorrection(), corrected);
}

void TestExerciseDescriptor::lamps_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<int>("lit");
    QTest::addColumn<bool>("secondLit");
    QTest::newRow("0") << QStringLiteral("0") << 0 << false;
    QTest::newRow("blank") << QString() << 0 << false;
    QTest::newRow("not a number") << QStringLiteral("facile") << 0 << false;
    QTest::newRow("1") << QStringLiteral("1") << 1 << false;
    QTest::newRow("2") << QStringLiteral("2") << 2 << true;
    QTest::newRow("1.5 with text") << QStringLiteral(" 1.5 niveau") << 2 << true;
    QTest::newRow("3") << QStringLiteral("3") << 3 << true;
    QTest::newRow("7") << QStringLiteral("7") << 3 << true;
    QTest::newRow("negative") << QStringLiteral("-2") << 0 << false;
}

void TestExerciseDescriptor::lamps()
{
    QFETCH(QString, difficulty);
    QFETCH(int, lit);
    QFETCH(bool, secondLit);
    const QString path
        = write({QStringLiteral("e.rtf"), QString(), QString(), QString(), difficulty});
    ExerciseDescriptor descriptor;
    QVERIFY(descriptor.read(path));
    QCOMPARE(descriptor.litLamps(), lit);
    QCOMPARE(descriptor.lampLit(1), secondLit);
}

void TestExerciseDescriptor::symbols_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("symbols");
    QTest::newRow("2") << QStringLiteral("2") << 2;
    QTest::newRow("2.6 rounds up") << QStringLiteral("2.6") << 3;
    QTest::newRow("2.5 to even") << QStringLiteral("2.5") << 2;
    QTest::newRow("3.5 to even") << QStringLiteral("3.5") << 4;
    QTest::newRow("negative") << QStringLiteral("-4") << 0;
    QTest::newRow("huge is capped") << QStringLiteral("1E300") << ExerciseDescriptor::maxSymbols;
}

void TestExerciseDescriptor::symbols()
{
    QFETCH(QString, count);
    QFETCH(int, symbols);
    QStringList records(11, QString());
    records.append(count);
    ExerciseDescriptor descriptor;
    QVERIFY(descriptor.read(write(records)));
    QCOMPARE(descriptor.symbolCount(), symbols);
}

void TestExerciseDescriptor::missingOrDamagedFile()
{
    ExerciseDescriptor descriptor;
    QVERIFY(!descriptor.read(m_dir->filePath(QStringLiteral("absent.E40"))));
    QVERIFY(!descriptor.errorString().isEmpty());
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("absent.E40"))));

    // Record 1 claims 200 bytes: damaged.
    const QString path = m_dir->filePath(QStringLiteral("bad.E40"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray record(128, '\0');
    record[0] = char(200);
    file.write(record);
    file.close();
    QVERIFY(!descriptor.read(path));
    QVERIFY(descriptor.statement().isEmpty());
}

void TestExerciseDescriptor::fileNamesScopeIgnoresLaterRecords()
{
    const QString path = write({QStringLiteral("e.rtf"), QStringLiteral("c.P18")});
    // A damaged record 11 stops the preview, not the opening.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes(11 * 128, '\0');
    file.seek(0);
    bytes.replace(0, file.size(), file.readAll());
    bytes[10 * 128] = char(127);
    file.seek(0);
    file.write(bytes);
    file.close();
    ExerciseDescriptor descriptor;
    QVERIFY(!descriptor.read(path));
    QVERIFY(descriptor.read(path, ExerciseDescriptor::Scope::FileNames));
    QCOMPARE(descriptor.configuration(), QStringLiteral("c.P18"));
}

void TestExerciseDescriptor::resolution_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found"); // relative to the folder, empty when absent
    QTest::newRow("exact") << QStringLiteral("enonce1.rtf") << QStringLiteral("enonce1.rtf");
    QTest::newRow("other case") << QStringLiteral("ENONCE1.RTF") << QStringLiteral("enonce1.rtf");
    QTest::newRow("exact wins over case")
        << QStringLiteral("Config.P18") << QStringLiteral("Config.P18");
    QTest::newRow("windows separator")
        << QStringLiteral("TEXTES\\Corrige.Rtf") << QStringLiteral("textes/corrige.rtf");
    QTest::newRow("blanks around")
        << QStringLiteral(" enonce1.rtf  ") << QStringLiteral("enonce1.rtf");
    QTest::newRow("absent") << QStringLiteral("enonce2.rtf") << QString();
    QTest::newRow("blank") << QStringLiteral("   ") << QString();
    QTest::newRow("a folder is not a file") << QStringLiteral("TEXTES") << QString();
}

void TestExerciseDescriptor::resolution()
{
    QFETCH(QString, name);
    QFETCH(QString, found);
    QDir dir(m_dir->path());
    QVERIFY(dir.mkdir(QStringLiteral("textes")));
    for (const char *file : {"enonce1.rtf", "Config.P18", "config.p18", "textes/corrige.rtf"}) {
        QFile f(dir.filePath(QLatin1String(file)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const std::optional<QString> path = ExerciseFiles::resolve(m_dir->path(), name);
    if (found.isEmpty()) {
        QVERIFY(!path);
    } else {
        QVERIFY(path);
        QCOMPARE(QFileInfo(*path).canonicalFilePath(),
                 QFileInfo(dir.filePath(found)).canonicalFilePath());
    }
}

void TestExerciseDescriptor::launcherRequest_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("found"); // relative to the program's folder
    QTest::newRow("beside the program") << QStringLiteral("nom.E40") << QStringLiteral("nom.E40");
    QTest::newRow("windows separator")
        << QStringLiteral("exercices\\chute.E40") << QStringLiteral("exercices/chute.E40");
    QTest::newRow("slash") << QStringLiteral("exercices/chute.E40")
                           << QStringLiteral("exercices/chute.E40");
    QTest::newRow("other case") << QStringLiteral("EXERCICES\\Chute.e40")
                                << QStringLiteral("exercices/chute.E40");
    QTest::newRow("bare name of the shipped ones")
        << QStringLiteral("chute.E40") << QStringLiteral("exercices/chute.E40");
    QTest::newRow("the program's folder first")
        << QStringLiteral("double.E40") << QStringLiteral("double.E40");
    QTest::newRow("absent: named in the shipped folder")
        << QStringLiteral("absent.E40") << QStringLiteral("exercices/absent.E40");
}

void TestExerciseDescriptor::launcherRequest()
{
    QFETCH(QString, request);
    QFETCH(QString, found);
    QDir program(m_dir->path());
    QVERIFY(program.mkdir(QStringLiteral("exercices")));
    for (const char *file :
         {"nom.E40", "double.E40", "exercices/chute.E40", "exercices/double.E40"}) {
        QFile f(program.filePath(QLatin1String(file)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString path = ExerciseFiles::requestedPath(
        request, {program.path(), program.filePath(QStringLiteral("exercices"))});
    QCOMPARE(QDir::cleanPath(path), QDir::cleanPath(program.filePath(found)));
}

QTEST_MAIN(TestExerciseDescriptor)
#include "tst_exercisedescriptor.moc"
