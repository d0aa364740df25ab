// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/programpaths.h"

#include "diskfull.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Lays out files and folders under a temporary root, then asks where the
// program, run from a given folder of it, finds its help page and its flag.
class tst_ProgramPaths : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void dataFolder_data();
    void dataFolder();
    void runningFlag_data();
    void runningFlag();
    void runningFlagReadOnlyFolder();
    void runningFlagDefaultFallback();
    void iconFiles();

private:
    void touch(const QString &relative);
    QString path(const QString &relative) const;

    std::unique_ptr<QTemporaryDir> m_root;
};

void tst_ProgramPaths::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
}

void tst_ProgramPaths::touch(const QString &relative)
{
    const QString full = path(relative);
    QVERIFY(QDir().mkpath(QFileInfo(full).path()));
    QFile file(full);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QString tst_ProgramPaths::path(const QString &relative) const
{
    return QDir::cleanPath(m_root->filePath(relative));
}

void tst_ProgramPaths::dataFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("build folder") << QStringList {QStringLiteral("build/aide/lorva.html")}
                                  << QStringLiteral("build") << QStringLiteral("build");
    QTest::newRow("installed") << QStringList {QStringLiteral(
        "usr/share/lorva-avec-frottement/aide/lorva.html")}
                               << QStringLiteral("usr/bin")
                               << QStringLiteral("usr/share/lorva-avec-frottement");
    // A help page beside the program wins over an installed one.
    QTest::newRow("both") << QStringList {QStringLiteral("usr/bin/aide/lorva.html"),
                                          QStringLiteral(
                                              "usr/share/lorva-avec-frottement/aide/lorva.html")}
                          << QStringLiteral("usr/bin") << QStringLiteral("usr/bin");
    // A folder named like the page is not the page.
    QTest::newRow("folder, not a page")
        << QStringList {QStringLiteral("usr/bin/aide/lorva.html/x"),
                        QStringLiteral("usr/share/lorva-avec-frottement/aide/lorva.html")}
        << QStringLiteral("usr/bin") << QStringLiteral("usr/share/lorva-avec-frottement");
    QTest::newRow("nothing shipped")
        << QStringList() << QStringLiteral("opt/lorva") << QStringLiteral("opt/lorva");
}

void tst_ProgramPaths::dataFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QString, programFolder);
    QFETCH(QString, expected);
    for (const QString &file : files)
        touch(file);
    QVERIFY(QDir().mkpath(path(programFolder)));

    const QString program = path(programFolder);
    QCOMPARE(ProgramPaths::dataFolder(program), path(expected));
    QCOMPARE(ProgramPaths::helpPage(program), path(expected + QStringLiteral("/aide/lorva.html")));
    QCOMPARE(ProgramPaths::exercisesFolder(program), path(expected + QStringLiteral("/exercices")));
}

void tst_ProgramPaths::runningFlag_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("expectedFolder");

    QTest::newRow("writable folder")
        << QStringList() << QStringLiteral("bin") << QStringLiteral("bin");
    QTest::newRow("existing flag") << QStringList {QStringLiteral("bin/TEMPQavo.TMP")}
                                   << QStringLiteral("bin") << QStringLiteral("bin");
    QTest::newRow("missing folder")
        << QStringList() << QStringLiteral("gone") << QStringLiteral("runtime");
    // A folder where the flag file should be cannot be written as one.
    QTest::newRow("flag name taken by a folder")
        << QStringList {QStringLiteral("bin/TEMPQavo.TMP/x")} << QStringLiteral("bin")
        << QStringLiteral("runtime");
    QTest::newRow("no folder") << QStringList() << QString() << QStringLiteral("runtime");
    // Installed, the program never writes beside itself, even where it could
    // (as root in /usr/bin); a copied folder holding its own help still does.
    QTest::newRow("installation") << QStringList {QStringLiteral(
        "share/lorva-avec-frottement/aide/lorva.html")}
                                  << QStringLiteral("bin") << QStringLiteral("runtime");
    QTest::newRow("installation, flag already there")
        << QStringList {QStringLiteral("share/lorva-avec-frottement/aide/lorva.html"),
                        QStringLiteral("bin/TEMPQavo.TMP")}
        << QStringLiteral("bin") << QStringLiteral("runtime");
    QTest::newRow("copied folder beside an installation")
        << QStringList {QStringLiteral("share/lorva-avec-frottement/aide/lorva.html"),
                        QStringLiteral("bin/aide/lorva.html")}
        << QStringLiteral("bin") << QStringLiteral("bin");
}

void tst_ProgramPaths::runningFlag()
{
    QFETCH(QStringList, files);
    QFETCH(QString, programFolder);
    QFETCH(QString, expectedFolder);
    for (const QString &file : files)
        touch(file);
    QVERIFY(QDir().mkpath(path(QStringLiteral("bin"))));

    const QString program = programFolder.isEmpty() ? QString() : path(programFolder);
    QCOMPARE(ProgramPaths::runningFlagFile(program, path(QStringLiteral("runtime"))),
             path(expectedFolder + QStringLiteral("/TEMPQavo.TMP")));
}

void tst_ProgramPaths::runningFlagReadOnlyFolder()
{
    const QString bin = path(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const QString runtime = path(QStringLiteral("runtime"));
    {
        const ReadOnlyFolder readOnly(bin);
        if (!readOnly.active())
            QSKIP(qPrintable(readOnly.whyNot()));
        QCOMPARE(ProgramPaths::runningFlagFile(bin, runtime),
                 runtime + QStringLiteral("/TEMPQavo.TMP"));
    }

    // A flag file that the launcher made writable in that folder is used.
    touch(QStringLiteral("bin/TEMPQavo.TMP"));
    ReadOnlyFolder readOnly(bin);
    QVERIFY(readOnly.active());
    QVERIFY(readOnly.keepWritable(bin + QStringLiteral("/TEMPQavo.TMP")));
    QCOMPARE(ProgramPaths::runningFlagFile(bin, runtime), bin + QStringLiteral("/TEMPQavo.TMP"));
}

void tst_ProgramPaths::runningFlagDefaultFallback()
{
    const QString runtime = path(QStringLiteral("runtime"));
    QVERIFY(QDir().mkpath(runtime));
    QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    QCOMPARE(ProgramPaths::runningFlagFile(path(QStringLiteral("gone"))),
             runtime + QStringLiteral("/TEMPQavo.TMP"));
    QCOMPARE(ProgramPaths::runningFlagFile(m_root->path()), path(QStringLiteral("TEMPQavo.TMP")));
}

void tst_ProgramPaths::iconFiles()
{
    const QString program = path(QStringLiteral("build"));
    QVERIFY(QDir().mkpath(program));
    QCOMPARE(ProgramPaths::iconFiles(program), QStringList());
    QCOMPARE(ProgramPaths::iconFiles(QString()), QStringList());
    touch(QStringLiteral("build/icones/48.png"));
    touch(QStringLiteral("build/icones/16.png"));
    touch(QStringLiteral("build/icones/lisez-moi.txt"));
    QCOMPARE(ProgramPaths::iconFiles(program),
             QStringList({path(QStringLiteral("build/icones/16.png")),
                          path(QStringLiteral("build/icones/48.png"))}));
}

QTEST_GUILESS_MAIN(tst_ProgramPaths)
#include "tst_programpaths.moc"
