// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/chargeconfig.h"
#include "diskfull.h"
#include "fakeconfigurationtarget.h"
#include "records.h"
#include "scriptedservices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestChargeconfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void appliesInOrder();
    void refusedFileChangesNothing_data();
    void refusedFileChangesNothing();
    void missingFileIsNotCreated();
    void saveWritesAndTitles();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeBytes(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    static QByteArray contents(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestChargeconfig::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestChargeconfig::appliesInOrder()
{
    writeBytes(QStringLiteral("tp.P18"), recordBytes(textsWith(19, QStringLiteral("1"))));
    FakeConfigurationTarget target;
    ScriptedServices services;
    QVERIFY(chargeconfig(path(QStringLiteral("tp.P18")), target, services));
    const QString title
        = QStringLiteral("Lorva avec frottement - ") + path(QStringLiteral("tp.P18"));
    QCOMPARE(target.calls,
             QStringList({QStringLiteral("field 0 3,5"), QStringLiteral("field 1 145"),
                          QStringLiteral("field 2 1"), QStringLiteral("field 3 0,2"),
                          QStringLiteral("field 4 800"), QStringLiteral("interval 1000"),
                          QStringLiteral("options"), QStringLiteral("validate 1"),
                          QStringLiteral("validate 0"), QStringLiteral("majaff"),
                          QStringLiteral("title ") + title}));
    QCOMPARE(target.current.options.graphQuantity, int(DisplayOptions::Velocity));
    QVERIFY(services.messages.isEmpty());
}

void TestChargeconfig::refusedFileChangesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    const QString notThis = QStringLiteral("Ce fichier ne correspond pas à cette application");
    const QString invalid = QStringLiteral("Fichier non valide");
    const QString unreadable = QStringLiteral("Lecture impossible sur disque");
    const QString loading = QStringLiteral("Erreur lors du chargement du fichier");
    QTest::newRow("lower-case magic")
        << recordBytes(textsWith(1, QStringLiteral("lorva"))) << invalid << notThis;
    QTest::newRow("empty file") << QByteArray() << invalid << notThis;
    QStringList shortTexts = validTexts();
    shortTexts.removeLast();
    QTest::newRow("short file") << recordBytes(shortTexts) << loading << unreadable;
    QTest::newRow("scale 91") << recordBytes(textsWith(8, QStringLiteral("91"))) << loading
                              << unreadable;
    QTest::newRow("quantity 3") << recordBytes(textsWith(19, QStringLiteral("3"))) << loading
                                << unreadable;
    QTest::newRow("colour beyond 32 bits")
        << recordBytes(textsWith(23, QStringLiteral("4294967296"))) << loading << unreadable;
    // Beyond the range of a double: too large for any field, never 0.
    QTest::newRow("scale 1e999") << recordBytes(textsWith(7, QStringLiteral("1e999"))) << loading
                                 << unreadable;
    QTest::newRow("quantity 1e999")
        << recordBytes(textsWith(19, QStringLiteral("1e999"))) << loading << unreadable;
    QTest::newRow("colour -1e999")
        << recordBytes(textsWith(20, QStringLiteral("-1e999"))) << loading << unreadable;
    QTest::newRow("check box 1e999")
        << recordBytes(textsWith(10, QStringLiteral("1e999"))) << loading << unreadable;
}

void TestChargeconfig::refusedFileChangesNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, title);
    QFETCH(QString, text);
    writeBytes(QStringLiteral("bad.P18"), bytes);
    FakeConfigurationTarget target;
    ScriptedServices services;
    QVERIFY(!chargeconfig(path(QStringLiteral("bad.P18")), target, services));
    QVERIFY(target.calls.isEmpty());
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages[0].icon, MessageIcon::Error);
    QCOMPARE(services.messages[0].title, title);
    QCOMPARE(services.messages[0].text, text);
}

void TestChargeconfig::missingFileIsNotCreated()
{
    FakeConfigurationTarget target;
    ScriptedServices services;
    const QString missing = path(QStringLiteral("absent.P18"));
    QVERIFY(!chargeconfig(missing, target, services));
    QVERIFY(!QFile::exists(missing));
    // A folder and an unreadable file are read errors too.
    QVERIFY(!chargeconfig(m_dir->path(), target, services));
    writeBytes(QStringLiteral("locked.P18"), recordBytes(validTexts()));
    QFile::setPermissions(path(QStringLiteral("locked.P18")), QFileDevice::Permissions());
    const bool lockedOut = !QFile(path(QStringLiteral("locked.P18"))).open(QIODevice::ReadOnly);
    if (lockedOut)
        QVERIFY(!chargeconfig(path(QStringLiteral("locked.P18")), target, services));
    QVERIFY(target.calls.isEmpty());
    QCOMPARE(services.messages.size(), lockedOut ? 3 : 2);
    for (const auto &message : services.messages)
        QCOMPARE(message.text, QStringLiteral("Lecture impossible sur disque"));
}

void TestChargeconfig::saveWritesAndTitles()
{
    FakeConfigurationTarget target;
    target.current.fields = {QStringLiteral("3,5"), QStringLiteral("145"), QStringLiteral("1"),
                             QStringLiteral("0,2"), QStringLiteral("800")};
    target.current.interval = QStringLiteral("1000");
    ScriptedServices services;
    const QString file = path(QStringLiteral("tp.P18"));
    QVERIFY(saveConfiguration(file, target, services));
    QCOMPARE(contents(file), recordBytes(validTexts()));
    QCOMPARE(target.title, QStringLiteral("Lorva avec frottement - ") + file);
    QVERIFY(services.messages.isEmpty());
}

void TestChargeconfig::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("interval");
    QTest::newRow("read-only folder") << QStringLiteral("read-only") << QStringLiteral("1000");
    QTest::newRow("missing folder") << QStringLiteral("missing") << QStringLiteral("1000");
    QTest::newRow("127-byte text") << QString() << QString(127, QLatin1Char('5'));
    QTest::newRow("character outside Windows-1252") << QString() << QStringLiteral("10∑0");
    // The disk fills up while the file is written: the bytes are refused when
    // the buffer is flushed, after every write has been accepted.
    QTest::newRow("disk full while writing")
        << QStringLiteral("file size limit") << QStringLiteral("1000");
    QTest::newRow("full file system") << QStringLiteral("tmpfs") << QStringLiteral("1000");
    QTest::newRow("folder in place of the file")
        << QStringLiteral("folder") << QStringLiteral("1000");
}

void TestChargeconfig::failedSaveKeepsOldFile()
{
    QFETCH(QString, failure);
    QFETCH(QString, interval);
    const QByteArray old = recordBytes(textsWith(2, QStringLiteral("7")));
    QString folder = m_dir->path();
    std::unique_ptr<FullTmpfs> tmpfs;
    if (failure == QStringLiteral("tmpfs")) {
        folder = path(QStringLiteral("petit"));
        QVERIFY(QDir().mkdir(folder));
        tmpfs = std::make_unique<FullTmpfs>(folder);
        if (!tmpfs->mounted())
            QSKIP(qPrintable(tmpfs->whyNot()));
        QVERIFY(tmpfs->writeThenFill(folder + QStringLiteral("/tp.P18"), old));
    } else {
        writeBytes(QStringLiteral("tp.P18"), old);
    }
    FakeConfigurationTarget target;
    target.current.interval = interval;
    ScriptedServices services;
    QString file = folder + QStringLiteral("/tp.P18");
    if (failure == QStringLiteral("missing"))
        file = path(QStringLiteral("absent/tp.P18"));
    if (failure == QStringLiteral("folder")) {
        file = path(QStringLiteral("rep.P18"));
        QVERIFY(QDir().mkdir(file));
    }
    bool saved = false;
    if (failure == QStringLiteral("read-only")) {
        const ReadOnlyFolder readOnly(m_dir->path());
        if (!readOnly.active())
            QSKIP(qPrintable(readOnly.whyNot()));
        saved = saveConfiguration(file, target, services);
    } else if (failure == QStringLiteral("file size limit")) {
        const FileSizeLimit limit(1024);
        QVERIFY(limit.isActive());
        saved = saveConfiguration(file, target, services);
    } else {
        saved = saveConfiguration(file, target, services);
    }
    QVERIFY(!saved);
    QCOMPARE(contents(folder + QStringLiteral("/tp.P18")), old);
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    left.removeAll(QStringLiteral("remplissage"));
    left.removeAll(QStringLiteral("petit"));
    left.removeAll(QStringLiteral("rep.P18"));
    QCOMPARE(left, QStringList {QStringLiteral("tp.P18")});
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages[0].icon, MessageIcon::Error);
    QCOMPARE(services.messages[0].title, QStringLiteral("Enregistrement impossible"));
    QCOMPARE(services.messages[0].text, QStringLiteral("Ecriture impossible sur disque"));
    QVERIFY(target.title.isEmpty());
}

QTEST_APPLESS_MAIN(TestChargeconfig)
#include "tst_chargeconfig.moc"
