// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/recordfile.h"

#include "diskfull.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestRecordFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void roundTripAccents();
    void layoutOnDisk();
    void beyondTheEndReadsEmpty();
    void writingLeavesOtherRecordsUntouched();
    void tooLongTextRefused();
    void corruptLengthRefused_data();
    void corruptLengthRefused();
    void bytesAndDevices();
    void fitsWindows1252_data();
    void fitsWindows1252();
    void everyByteRoundTrips();
    void unmappedCharacters();
    void missingFileIsNotCreatedByReading();
    void failedWriteKeepsPreviousFile_data();
    void failedWriteKeepsPreviousFile();
    void failingDevice();
    void boundedReading();

private:
    QString path(const QString &name = QStringLiteral("f.P18")) const
    {
        return m_dir->filePath(name);
    }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRecordFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestRecordFile::roundTripAccents()
{
    const QString text = QStringLiteral("Énoncé à l'œil — 3,5 € «ça»");
    QVERIFY(RecordFile::writeRecord(path(), 2, text));
    QCOMPARE(RecordFile::readRecord(path(), 2), std::optional<QString>(text));
    QCOMPARE(RecordFile::readRecord(path(), 1), std::optional<QString>(QString()));
}

void TestRecordFile::layoutOnDisk()
{
    QVERIFY(RecordFile::writeRecord(path(), 19, QStringLiteral("OUI")));
    QFile file(path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 19 * 128);
    QCOMPARE(bytes.mid(18 * 128, 5), QByteArray("\x03\x00OUI", 5));
    QCOMPARE(bytes.left(18 * 128), QByteArray(18 * 128, '\0'));
    // é is one byte, 0xE9, in the single-byte code page.
    file.close();
    QVERIFY(RecordFile::writeRecord(path(), 1, QStringLiteral("é")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().left(3), QByteArray("\x01\x00\xE9", 3));
}

void TestRecordFile::beyondTheEndReadsEmpty()
{
    QVERIFY(RecordFile::writeRecord(path(), 1, QStringLiteral("LORVA")));
    QCOMPARE(RecordFile::readRecord(path(), 31), std::optional<QString>(QString()));
    // A file cut in the middle of a record's length bytes reads as empty too.
    QFile file(path());
    QVERIFY(file.open(QIODevice::Append));
    file.write("\x05", 1);
    file.close();
    QCOMPARE(RecordFile::readRecord(path(), 2), std::optional<QString>(QString()));
}

void TestRecordFile::writingLeavesOtherRecordsUntouched()
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray original(31 * 128, '\0');
    for (int i = 0; i < original.size(); ++i)
        original[i] = char(i * 7 % 251);
    // Valid lengths in records 1 and 20 so that they read back.
    original[0] = 2;
    original[1] = 0;
    original[19 * 128] = 0;
    original[19 * 128 + 1] = 0;
    file.write(original);
    file.close();

    QVERIFY(RecordFile::writeRecord(path(), 19, QStringLiteral("NON")));
    QVERIFY(RecordFile::writeRecord(path(), 31, QString()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QCOMPARE(after.size(), original.size());
    QCOMPARE(after.left(18 * 128), original.left(18 * 128));
    QCOMPARE(after.mid(19 * 128, 11 * 128), original.mid(19 * 128, 11 * 128));
    QCOMPARE(RecordFile::readRecord(path(), 19), std::optional<QString>(QStringLiteral("NON")));
    QCOMPARE(RecordFile::readRecord(path(), 31), std::optional<QString>(QString()));
}

void TestRecordFile::tooLongTextRefused()
{
    QVERIFY(RecordFile::writeRecord(path(), 1, QString(126, QLatin1Char('x'))));
    QString error;
    QVERIFY(!RecordFile::writeRecord(path(), 1, QString(127, QLatin1Char('y')), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(RecordFile::readRecord(path(), 1),
             std::optional<QString>(QString(126, QLatin1Char('x'))));
    // 126 characters of two bytes in UTF-8 are still 126 bytes here.
    QVERIFY(RecordFile::writeRecord(path(), 2, QString(126, QChar(0xE9))));
}

void TestRecordFile::corruptLengthRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("length over 126") << QByteArray("\x7F\x00", 2) + QByteArray(126, 'a');
    QTest::newRow("huge length") << QByteArray("\xFF\xFF", 2) + QByteArray(126, 'a');
    QTest::newRow("runs past the end") << QByteArray("\x10\x00"
                                                     "abc",
                                                     5);
    // The two length bytes count: 2 + 3 bytes are needed, the file has 4.
    QTest::newRow("one byte past the end") << QByteArray("\x03\x00"
                                                         "ab",
                                                         4);
    QTest::newRow("second record one byte short")
        << QByteArray(128, '\0') + QByteArray("\x7E\x00", 2) + QByteArray(125, 'z');
}

void TestRecordFile::corruptLengthRefused()
{
    QFETCH(QByteArray, bytes);
    const int record = bytes.size() > 128 ? 2 : 1;
    RecordFile inMemory;
    inMemory.setBytes(bytes);
    QVERIFY(!inMemory.read(record).has_value());
    QVERIFY(!inMemory.errorString().isEmpty());
    // One byte more and the same record reads.
    inMemory.setBytes(bytes + 'x');
    if (QTest::currentDataTag() == QByteArray("one byte past the end"))
        QCOMPARE(inMemory.read(record), std::optional<QString>(QStringLiteral("abx")));

    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QString error;
    QVERIFY(!RecordFile::readRecord(path(), record, &error).has_value());
    QVERIFY(!error.isEmpty());
}

void TestRecordFile::bytesAndDevices()
{
    RecordFile out;
    QVERIFY(out.write(2, QStringLiteral("é3,5")));
    QCOMPARE(out.bytes().size(), 256);
    QVERIFY(!out.holdsRecord(3));
    QVERIFY(out.holdsRecord(2));

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(out.save(buffer));
    buffer.close();
    QCOMPARE(buffer.data(), out.bytes());

    QVERIFY(buffer.open(QIODevice::ReadOnly));
    RecordFile in;
    QVERIFY(in.load(buffer));
    QCOMPARE(in.read(2), std::optional<QString>(QStringLiteral("é3,5")));

    // A device not open for the operation is an error, not a crash.
    QBuffer closed;
    QVERIFY(!in.load(closed));
    QVERIFY(!in.errorString().isEmpty());
    QVERIFY(!out.save(closed));
}

void TestRecordFile::fitsWindows1252_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("accents and euro") << QStringLiteral("élève 3,5 € œ ?") << true;
    QTest::newRow("sum sign") << QStringLiteral("a∑b") << false;
    QTest::newRow("emoji") << QStringLiteral("😀") << false;
    // 0x81 has no character; it reads as U+0081 and is written back as 0x81.
    QTest::newRow("byte with no character") << QString(QChar(0x81)) << true;
    QTest::newRow("control character of a mapped byte") << QString(QChar(0x80)) << false;
}

void TestRecordFile::fitsWindows1252()
{
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QCOMPARE(RecordFile::fitsWindows1252(text), fits);
}

void TestRecordFile::everyByteRoundTrips()
{
    QByteArray bytes;
    for (int start = 0; start < 256; start += 126) {
        QByteArray record(128, '\0');
        const int count = qMin(126, 256 - start);
        record[0] = char(count);
        for (int i = 0; i < count; ++i)
            record[2 + i] = char(start + i);
        bytes += record;
    }
    RecordFile in;
    in.setBytes(bytes);
    RecordFile out;
    for (int record = 1; record <= 3; ++record) {
        const std::optional<QString> text = in.read(record);
        QVERIFY(text.has_value());
        QVERIFY(RecordFile::fitsWindows1252(*text));
        QVERIFY(out.write(record, *text));
    }
    QCOMPARE(out.bytes(), bytes);
}

void TestRecordFile::unmappedCharacters()
{
    QVERIFY(RecordFile::writeRecord(path(), 1, QStringLiteral("a∑b😀c")));
    QCOMPARE(RecordFile::readRecord(path(), 1), std::optional<QString>(QStringLiteral("a?b?c")));
}

void TestRecordFile::missingFileIsNotCreatedByReading()
{
    QCOMPARE(RecordFile::readRecord(path(), 31), std::optional<QString>(QString()));
    QVERIFY(!QFile::exists(path()));
}

void TestRecordFile::failedWriteKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("read-only folder") << QStringLiteral("read-only");
    QTest::newRow("disk full while writing") << QStringLiteral("file size limit");
    QTest::newRow("full file system") << QStringLiteral("tmpfs");
}

void TestRecordFile::failedWriteKeepsPreviousFile()
{
    QFETCH(QString, failure);
    RecordFile previous;
    QVERIFY(previous.write(1, QStringLiteral("LORVA")));
    QVERIFY(previous.write(3, QStringLiteral("3,5")));
    const QByteArray old = previous.bytes();
    QString file = path();
    std::unique_ptr<FullTmpfs> tmpfs;
    if (failure == QStringLiteral("tmpfs")) {
        const QString folder = path(QStringLiteral("petit"));
        QVERIFY(QDir().mkdir(folder));
        tmpfs = std::make_unique<FullTmpfs>(folder);
        if (!tmpfs->mounted())
            QSKIP(qPrintable(tmpfs->whyNot()));
        file = folder + QStringLiteral("/f.P18");
        QVERIFY(tmpfs->writeThenFill(file, old));
    } else {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(old), old.size());
    }

    RecordFile changed(file);
    QVERIFY(changed.load());
    QVERIFY(changed.write(24, QStringLiteral("AUTRE")));
    bool written = false;
    if (failure == QStringLiteral("read-only")) {
        const ReadOnlyFolder readOnly(m_dir->path());
        if (!readOnly.active())
            QSKIP(qPrintable(readOnly.whyNot()));
        written = changed.commit();
    } else if (failure == QStringLiteral("file size limit")) {
        const FileSizeLimit limit(old.size() + 100);
        QVERIFY(limit.isActive());
        written = changed.commit();
    } else {
        written = changed.commit();
    }
    QVERIFY(!written);
    QVERIFY(!changed.errorString().isEmpty());
    QFile kept(file);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), old);
    // No temporary file is left behind.
    QStringList left = QFileInfo(file).dir().entryList(QDir::Files | QDir::NoDotAndDotDot);
    left.removeAll(QStringLiteral("remplissage"));
    QCOMPARE(left, QStringList {QFileInfo(file).fileName()});
}

void TestRecordFile::failingDevice()
{
    RecordFile out;
    QVERIFY(out.write(24, QStringLiteral("LORVA")));
    FailingDevice device(1000);
    QVERIFY(device.open(QIODevice::WriteOnly));
    QVERIFY(!out.save(device));
    QVERIFY(!out.errorString().isEmpty());
}

void TestRecordFile::boundedReading()
{
    // A record is found in a sparse file of 8 GiB by reading only the records
    // up to it; loading the whole file is refused past 512 records.
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(QByteArray("\x03\x00OUI", 5)), qint64(5));
    QVERIFY(file.resize(qint64(8) << 30));
    file.close();
    QCOMPARE(RecordFile::readRecord(path(), 1), std::optional<QString>(QStringLiteral("OUI")));
    QCOMPARE(RecordFile::readRecord(path(), 31), std::optional<QString>(QString()));
    RecordFile whole(path());
    QVERIFY(!whole.load());
    QVERIFY(!whole.errorString().isEmpty());
    QVERIFY(whole.bytes().isEmpty());

    QBuffer exact;
    exact.setData(QByteArray(RecordFile::maxRecords * RecordFile::recordSize, '\0'));
    QVERIFY(exact.open(QIODevice::ReadOnly));
    QVERIFY(whole.load(exact));
    QBuffer longer;
    longer.setData(exact.data() + 'x');
    QVERIFY(longer.open(QIODevice::ReadOnly));
    QVERIFY(!whole.load(longer));
}

QTEST_APPLESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
