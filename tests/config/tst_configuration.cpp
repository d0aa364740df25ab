// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configuration.h"
#include "records.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestConfiguration : public QObject
{
    Q_OBJECT

private slots:
    void writerMatchesGoldenFile();
    void goldenFileReadsBack();
    void defaultsRoundTripThroughDevice();
    void validTextsGiveTheDefaults();
    void notThisApplication_data();
    void notThisApplication();
    void checkStates_data();
    void checkStates();
    void integers_data();
    void integers();
    void refused_data();
    void refused();
    void writerRefusesTexts_data();
    void writerRefusesTexts();
    void readsTheRecordsOnly_data();
    void readsTheRecordsOnly();

private:
    static Configuration golden();
    static QByteArray goldenBytes();
};

Configuration TestConfiguration::golden()
{
    Configuration c;
    c.fields = {QStringLiteral("3,5"), QStringLiteral("145"), QStringLiteral("1"), QString(),
                QStringLiteral("800")};
    c.interval = QStringLiteral("250");
    DisplayOptions &o = c.options;
    o.velocityScale = 30;
    o.forceScale = 72;
    o.showAxis = true;
    o.crossMarks = false;
    o.boldGraph = true;
    o.showIndex = true;
    o.showVelocity = false;
    o.showRuler = true;
    o.keepVectorsOnMarks = true;
    o.showForces = true;
    o.slowMotion = false;
    o.graphQuantity = DisplayOptions::Acceleration;
    // Pure red, pure blue, green, the button-face system colour, black.
    o.colours = {255, 16711680, 49152, qint32(0x8000000F), 0};
    return c;
}

QByteArray TestConfiguration::goldenBytes()
{
    QFile file(QFINDTESTDATA("../data/golden.P18"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void TestConfiguration::writerMatchesGoldenFile()
{
    const QByteArray expected = goldenBytes();
    QCOMPARE(expected.size(), 24 * 128);
    ConfigurationWriter writer;
    const std::optional<QByteArray> bytes = writer.toBytes(golden());
    QVERIFY2(bytes.has_value(), qPrintable(writer.errorString()));
    QCOMPARE(*bytes, expected);
}

void TestConfiguration::goldenFileReadsBack()
{
    ConfigurationReader reader;
    const std::optional<Configuration> c = reader.read(goldenBytes());
    QVERIFY2(c.has_value(), qPrintable(reader.errorString()));
    QCOMPARE(c->fields[0], QStringLiteral("3,5"));
    QVERIFY(c->fields[3].isEmpty());
    QCOMPARE(c->options.colours[0], 255);
    QCOMPARE(c->options.colours[1], 16711680);
    QCOMPARE(c->options.colours[3], qint32(0x8000000F));
    QVERIFY(*c == golden());
    QCOMPARE(reader.error(), ConfigurationReader::NoError);
}

void TestConfiguration::defaultsRoundTripThroughDevice()
{
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    Configuration c;
    c.fields = {QStringLiteral("3,5"), QStringLiteral("145"), QStringLiteral("1"),
                QStringLiteral("0,2"), QStringLiteral("800")};
    c.interval = QStringLiteral("1000");
    ConfigurationWriter writer;
    QVERIFY(writer.write(c, buffer));
    buffer.close();
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    ConfigurationReader reader;
    QVERIFY(reader.read(buffer) == c);
}

void TestConfiguration::validTextsGiveTheDefaults()
{
    ConfigurationReader reader;
    const std::optional<Configuration> c = reader.read(recordBytes(validTexts()));
    QVERIFY2(c.has_value(), qPrintable(reader.errorString()));
    QVERIFY(c->options == DisplayOptions());
    // A file longer than 24 records is read all the same.
    QVERIFY(reader.read(recordBytes(validTexts() << QStringLiteral("extra"))).has_value());
}

void TestConfiguration::notThisApplication_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("lower case") << recordBytes(textsWith(1, QStringLiteral("lorva")));
    QTest::newRow("trailing blank") << recordBytes(textsWith(1, QStringLiteral("LORVA ")));
    QTest::newRow("empty first record") << recordBytes(textsWith(1, QString()));
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("damaged first record")
        << QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(3064, 'x');
}

void TestConfiguration::notThisApplication()
{
    QFETCH(QByteArray, bytes);
    ConfigurationReader reader;
    QVERIFY(!reader.read(bytes).has_value());
    QCOMPARE(reader.error(), ConfigurationReader::NotThisApplication);
}

void TestConfiguration::checkStates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("checked");
    QTest::newRow("1") << QStringLiteral("1") << true;
    QTest::newRow("0") << QStringLiteral("0") << false;
    QTest::newRow("greyed") << QStringLiteral("2") << false;
    QTest::newRow("1.0 with blanks") << QStringLiteral("  1.0") << true;
    QTest::newRow("comma stops the number") << QStringLiteral("1,7") << true;
    QTest::newRow("1.5") << QStringLiteral("1.5") << false;
    QTest::newRow("no number") << QStringLiteral("oui") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestConfiguration::checkStates()
{
    QFETCH(QString, text);
    QFETCH(bool, checked);
    // Record 11 is Check2, unchecked in validTexts(); record 10 Check1, checked.
    ConfigurationReader reader;
    const auto c2 = reader.read(recordBytes(textsWith(11, text)));
    QVERIFY(c2.has_value());
    QCOMPARE(c2->options.crossMarks, checked);
    const auto c1 = reader.read(recordBytes(textsWith(10, text)));
    QVERIFY(c1.has_value());
    QCOMPARE(c1->options.showAxis, checked);
}

void TestConfiguration::integers_data()
{
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    QTest::newRow("scale tie down to even") << 7 << QStringLiteral("30.5") << qint64(30);
    QTest::newRow("scale tie up to even") << 7 << QStringLiteral("31.5") << qint64(32);
    QTest::newRow("scale exponent") << 8 << QStringLiteral("2.5e1xyz") << qint64(25);
    QTest::newRow("scale blank and sign") << 8 << QStringLiteral(" +90") << qint64(90);
    QTest::newRow("scale no number is 0") << 8 << QStringLiteral("abc") << qint64(0);
    QTest::newRow("scale comma stops") << 7 << QStringLiteral("45,9") << qint64(45);
    QTest::newRow("quantity 1.5 to 2") << 19 << QStringLiteral("1.5") << qint64(2);
    QTest::newRow("quantity 2.5 to 2") << 19 << QStringLiteral("2.5") << qint64(2);
    QTest::newRow("quantity -0.4 to 0") << 19 << QStringLiteral("-0.4") << qint64(0);
    QTest::newRow("colour largest") << 20 << QStringLiteral("2147483647") << qint64(2147483647);
    QTest::newRow("colour smallest")
        << 24 << QStringLiteral("-2147483648") << qint64(-2147483648LL);
}

void TestConfiguration::integers()
{
    QFETCH(int, record);
    QFETCH(QString, text);
    QFETCH(qint64, value);
    ConfigurationReader reader;
    const auto c = reader.read(recordBytes(textsWith(record, text)));
    QVERIFY2(c.has_value(), qPrintable(reader.errorString()));
    const DisplayOptions &o = c->options;
    const qint64 got = record == 7 ? o.velocityScale
        : record == 8              ? o.forceScale
        : record == 19             ? o.graphQuantity
                                   : o.colours[std::size_t(record - 20)];
    QCOMPARE(got, value);
}

void TestConfiguration::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QStringList texts = validTexts();
    texts.removeLast();
    QTest::newRow("23 records") << recordBytes(texts);
    QTest::newRow("cut in the last text") << recordBytes(validTexts()).left(23 * 128 + 5);
    QTest::newRow("velocity scale 91") << recordBytes(textsWith(7, QStringLiteral("91")));
    QTest::newRow("force scale -1") << recordBytes(textsWith(8, QStringLiteral("-1")));
    QTest::newRow("quantity 3") << recordBytes(textsWith(19, QStringLiteral("3")));
    QTest::newRow("quantity 2.6") << recordBytes(textsWith(19, QStringLiteral("2.6")));
    QTest::newRow("quantity -1") << recordBytes(textsWith(19, QStringLiteral("-1")));
    QTest::newRow("colour 2^31") << recordBytes(textsWith(20, QStringLiteral("2147483648")));
    QTest::newRow("colour below -2^31")
        << recordBytes(textsWith(24, QStringLiteral("-2147483649")));
    QTest::newRow("colour 1e300") << recordBytes(textsWith(22, QStringLiteral("1e300")));
    QTest::newRow("velocity scale 1e999") << recordBytes(textsWith(7, QStringLiteral("1e999")));
    QTest::newRow("speed check 1e999") << recordBytes(textsWith(18, QStringLiteral("1E999")));
    QByteArray damaged = recordBytes(validTexts());
    damaged[5 * 128] = char(127);
    QTest::newRow("record 6 length 127") << damaged;
}

void TestConfiguration::refused()
{
    QFETCH(QByteArray, bytes);
    ConfigurationReader reader;
    QVERIFY(!reader.read(bytes).has_value());
    QCOMPARE(reader.error(), ConfigurationReader::Unreadable);
    QVERIFY(!reader.errorString().isEmpty());
}

void TestConfiguration::writerRefusesTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("written");
    QTest::newRow("126 bytes") << QString(126, QLatin1Char('9')) << true;
    QTest::newRow("126 accented") << QString(126, QChar(0xE9)) << true;
    QTest::newRow("127 bytes") << QString(127, QLatin1Char('9')) << false;
    QTest::newRow("outside Windows-1252") << QStringLiteral("3∑5") << false;
}

void TestConfiguration::writerRefusesTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, written);
    Configuration c;
    c.interval = text;
    ConfigurationWriter writer;
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QCOMPARE(writer.write(c, buffer), written);
    // A refused text writes nothing at all.
    QCOMPARE(buffer.data().size(), written ? 24 * 128 : 0);
    QCOMPARE(writer.errorString().isEmpty(), written);
}

void TestConfiguration::readsTheRecordsOnly_data()
{
    QTest::addColumn<qint64>("tail");
    QTest::addColumn<bool>("sparseFile");
    QTest::newRow("1 MiB after the records") << qint64(1) << false;
    // Held whole in memory, such a file would take the machine's memory.
    QTest::newRow("sparse file of 8 GiB") << (qint64(8) << 30) << true;
}

void TestConfiguration::readsTheRecordsOnly()
{
    QFETCH(qint64, tail);
    QFETCH(bool, sparseFile);
    const QByteArray records = recordBytes(validTexts());
    ConfigurationReader reader;
    if (!sparseFile) {
        QBuffer buffer;
        buffer.setData(records + QByteArray(1 << 20, 'z'));
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        QVERIFY(reader.read(buffer).has_value());
        QCOMPARE(buffer.pos(), qint64(records.size()));
        return;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("enorme.P18"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(records), records.size());
    QVERIFY(file.resize(tail));
    file.close();
    const std::optional<Configuration> read = reader.load(path);
    QVERIFY2(read.has_value(), qPrintable(reader.errorString()));
    QCOMPARE(read->fields[0], QStringLiteral("3,5"));
}

QTEST_APPLESS_MAIN(TestConfiguration)
#include "tst_configuration.moc"
