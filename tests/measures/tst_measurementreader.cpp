// SPDX-License-Identifier: GPL-3.0-or-later
#include "measures/columnchoice.h"
#include "measures/measurementreader.h"

#include <QFile>
#include <QTest>

#include <cmath>
#include <cstring>

namespace {

// The fall every header shape below writes in its own way: t in s, y in m
// growing downwards.
constexpr double referenceT[] = {0.0, 0.04, 0.08, 0.12};
constexpr double referenceY[] = {0.0, 0.012, 0.031, 0.052};

QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

bool close(double a, double b)
{
    return std::abs(a - b) <= 1e-12 * std::max(1.0, std::abs(b));
}

// A device that writes one line over and over without end, as a huge file
// would, without holding it in memory.
class EndlessDevice : public QIODevice
{
public:
    // head comes first, then line again and again.
    EndlessDevice(QByteArray head, QByteArray line)
        : m_head(std::move(head))
        , m_line(std::move(line))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 served = 0;

protected:
    qint64 readData(char *data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const qint64 at = served + done;
            const QByteArray &from = at < m_head.size() ? m_head : m_line;
            const qint64 offset = at < m_head.size() ? at : (at - m_head.size()) % m_line.size();
            const qint64 count = std::min(size - done, from.size() - offset);
            std::memcpy(data + done, from.constData() + offset, size_t(count));
            done += count;
        }
        served += size;
        return size;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_head;
    QByteArray m_line;
};

} // namespace

Q_DECLARE_METATYPE(MeasureUnit)

class TestMeasurementReader : public QObject
{
    Q_OBJECT

private slots:
    void headerShapes_data();
    void headerShapes();
    void files_data();
    void files();
    void numbers_data();
    void numbers();
    void skippedRows();
    void hostile_data();
    void hostile();
    void endlessDevices_data();
    void endlessDevices();
    void pointCap();
    void failureKeepsNothing();
};

void TestMeasurementReader::headerShapes_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("timeName");
    QTest::addColumn<QString>("positionName");
    QTest::addColumn<int>("header");
    QTest::addColumn<double>("sigma"); // in m, NaN when the file gives none

    const double none = std::nan("");
    const int names = int(TableLayout::Header::Names);
    const int both = int(TableLayout::Header::NamesAndUnits);
    const int noHeader = int(TableLayout::Header::None);

    QTest::newRow("logger title, tab, units in brackets")
        << utf8("Motion Through Fluids Experiment Tue, Jan 13, 2026 10:22 AM\n"
                "Time (s)\tPosition (m)\n0\t0\n0.04\t0.012\n0.08\t0.031\n0.12\t0.052\n")
        << "Time"
        << "Position" << names << none;
    QTest::newRow("tracker multi, upward y, x beside it")
        << utf8("#multi:\n\tmass A\t\t\nt\tx\ty\n0\t0.1\t0\n0.04\t0.101\t-0.012\n"
                "0.08\t0.1\t-0.031\n0.12\t0.099\t-0.052\n")
        << "t"
        << "y" << names << none;
    QTest::newRow("csv, Time(sec), Position in mm")
        << utf8("Time(sec),Position in mm\r\n0,0\r\n0.04,12\r\n0.08,31\r\n0.12,52\r\n") << "Time"
        << "Position" << names << none;
    QTest::newRow("quoted, semicolons, decimal comma, cm")
        << utf8("\"Time (s)\";\"y (cm)\"\n\"0\";\"0\"\n\"0,04\";\"1,2\"\n\"0,08\";\"3,1\"\n"
                "\"0,12\";\"5,2\"\n")
        << "Time"
        << "y" << names << none;
    QTest::newRow("comma decimal inside quoted comma-separated fields")
        << utf8("\"t (s)\",\"x [m]\"\n\"0\",\"0\"\n\"0,04\",\"0,012\"\n\"0,08\",\"0,031\"\n"
                "\"0,12\",\"0,052\"\n")
        << "t"
        << "x" << names << none;
    QTest::newRow("spaces, t/s x/m, CR ends")
        << utf8("t/s   x/m\r0     0\r0.04  0.012\r0.08  0.031\r0.12  0.052\r") << "t"
        << "x" << names << none;
    QTest::newRow("spaces, bracketed units as their own words")
        << utf8("t (ms) y (mm)\n0 0\n40 12\n80 31\n120 52\n") << "t"
        << "y" << names << none;
    QTest::newRow("names then bracketed units")
        << utf8("t\tx\ty\n(s)\t(m)\t(m)\n0\t0.3\t0\n0.04\t0.3\t0.012\n0.08\t0.3\t0.031\n"
                "0.12\t0.3\t0.052\n")
        << "t"
        << "y" << both << none;
    QTest::newRow("names then bare units, spreadsheet copy")
        << utf8("t\ty\ns\tcm\n0\t0\n0,04\t1,2\n0,08\t3,1\n0,12\t5,2\n") << "t"
        << "y" << both << none;
    QTest::newRow("sigma column") << utf8(
        "t (s);y (m);sigma_y (m)\n0;0;0.002\n0.04;0.012;0.002\n0.08;0.031;0.002\n"
        "0.12;0.052;0.002\n") << "t"
                                  << "y" << names << 0.002;
    QTest::newRow("delta column in its own unit")
        << utf8("t (s)\ty (m)\tΔy (mm)\n0\t0\t2\n0.04\t0.012\t2\n0.08\t0.031\t2\n0.12\t0.052\t2\n")
        << "t"
        << "y" << names << 0.002;
    QTest::newRow("u(y) column, upward axis")
        << utf8("t\ty\tu(y)\n0\t0.5\t0.001\n0.04\t0.488\t0.001\n0.08\t0.469\t0.001\n"
                "0.12\t0.448\t0.001\n")
        << "t"
        << "y" << names << 0.001;
    QTest::newRow("no header") << utf8("0\t0\n0.04\t0.012\n0.08\t0.031\n0.12\t0.052\n")
                               << "colonne 1"
                               << "colonne 2" << noHeader << none;
    QTest::newRow("trailing delimiters, empty cells, NaN padding")
        << utf8("t;y;z;\n0;0;7;\n0.04;0.012;;\n0.08;0.031;NaN;\n0.12;0.052;NaN;\n") << "t"
        << "y" << names << none;
    QTest::newRow("exponents") << utf8("t\ty\n0.000000E0\t0.000000E0\n4E-2\t1.2e-2\n"
                                       "8.0E-02\t3.1E-2\n1.2E-1\t5.2E-2\n")
                               << "t"
                               << "y" << names << none;
    QTest::newRow("exponents with a decimal comma, ms")
        << utf8("t (ms);y (m)\n0;0\n4E+1;1,2E-2\n8,0E+1;3,1E-2\n1,2E+2;5,2E-2\n") << "t"
        << "y" << names << none;
    QTest::newRow("UTF-8 BOM") << utf8("\xEF\xBB\xBFtemps (s);hauteur (m)\n0;0,5\n0,04;0,488\n"
                                       "0,08;0,469\n0,12;0,448\n")
                               << "temps"
                               << "hauteur" << names << none;
    QTest::newRow("Windows-1252 title") << utf8("Chute d'une bille dans la glyc\xE9rine\n"
                                                "Dur\xE9\x65 (s)\tDistance (m)\n0\t0\n"
                                                "0.04\t0.012\n0.08\t0.031\n0.12\t0.052\n")
                                        << "Durée"
                                        << "Distance" << names << none;
}

void TestMeasurementReader::headerShapes()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, timeName);
    QFETCH(QString, positionName);
    QFETCH(int, header);
    QFETCH(double, sigma);

    MeasurementReader reader;
    QVERIFY2(reader.read(file), qPrintable(reader.errorString()));
    const MeasurementTable &table = reader.table();
    QCOMPARE(int(table.layout.header), header);
    QCOMPARE(table.rowCount(), 4);
    QCOMPARE(table.skippedRows, 0);

    const ColumnChoice choice = defaultChoice(table);
    QCOMPARE(table.columns[std::size_t(choice.time)].name, timeName);
    QCOMPARE(table.columns[std::size_t(choice.position)].name, positionName);
    QString error;
    const std::optional<MeasurementSet> set = toMeasurementSet(table, choice, &error);
    QVERIFY2(set, qPrintable(error));
    QCOMPARE(set->points.size(), std::size_t(4));
    const double offset = set->points[0].y;
    for (std::size_t i = 0; i < 4; ++i) {
        const MeasuredPoint &p = set->points[i];
        QVERIFY2(close(p.t, referenceT[i]), qPrintable(QString::number(p.t)));
        // An upward axis reads as the same fall from its own origin.
        QVERIFY2(close(p.y - offset, referenceY[i]), qPrintable(QString::number(p.y)));
        QVERIFY(p.included());
        if (std::isnan(sigma))
            QVERIFY(std::isnan(p.sigma));
        else
            QVERIFY(close(p.sigma, sigma));
    }
    QCOMPARE(set->points[0].source, table.lines[0]);
}

// Whole files as tools write them, read from a device: the same fall, with
// the rows a tracker writes after losing the ball kept and excluded.
void TestMeasurementReader::files_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("sigma");
    QTest::addColumn<MeasureUnit>("unsaid"); // the user's unit where the header says none

    const double none = std::nan("");
    const MeasureUnit m = MeasureUnit::Metre;
    const MeasureUnit mm = MeasureUnit::Millimetre;
    QTest::newRow("logger") << "logger.txt" << 4 << none << mm;
    QTest::newRow("tracker, lost at the end") << "tracker-multi.txt" << 6 << none << m;
    QTest::newRow("French spreadsheet") << "spreadsheet-fr.csv" << 4 << 0.001 << mm;
    QTest::newRow("names and units, NaN row") << "names-units.txt" << 5 << none << mm;
    QTest::newRow("no header, mm by the user") << "no-header.csv" << 4 << none << mm;
}

void TestMeasurementReader::files()
{
    QFETCH(QString, name);
    QFETCH(int, points);
    QFETCH(double, sigma);
    QFETCH(MeasureUnit, unsaid);
    QFile file(QFINDTESTDATA(QStringLiteral("../data/measures/") + name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    MeasurementReader reader;
    QVERIFY2(reader.read(&file), qPrintable(reader.errorString()));
    const MeasurementTable &table = reader.table();
    const ColumnChoice choice = defaultChoice(table, unsaid);
    QString error;
    const std::optional<MeasurementSet> set = toMeasurementSet(table, choice, &error);
    QVERIFY2(set, qPrintable(error));
    QCOMPARE(int(set->points.size()), points);
    QCOMPARE(set->includedCount(), 4);
    const double offset = set->points[0].y;
    for (std::size_t i = 0; i < std::size_t(points); ++i) {
        const MeasuredPoint &p = set->points[i];
        QCOMPARE(p.included(), i < 4);
        if (i >= 4)
            continue;
        QVERIFY2(close(p.t, referenceT[i]), qPrintable(QString::number(p.t)));
        QVERIFY2(close(p.y - offset, referenceY[i]), qPrintable(QString::number(p.y)));
        QCOMPARE(std::isnan(p.sigma), std::isnan(sigma));
        if (!std::isnan(sigma))
            QVERIFY(close(p.sigma, sigma));
    }
}

void TestMeasurementReader::numbers_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<double>("lastT");
    QTest::addColumn<double>("lastY");

    // No-break and narrow no-break spaces between thousands, in UTF-8 and in Windows-1252.
    QTest::newRow("no-break thousands, UTF-8") << utf8("t (ms);y (mm)\n0;0\n1\xC2\xA0"
                                                       "040;12\n2\xE2\x80\xAF"
                                                       "080,5;1\xC2\xA0"
                                                       "031\n")
                                               << 2.0805 << 1.031;
    QTest::newRow("no-break thousands, Windows-1252") << utf8("t (ms);y (mm)\n0;0\n1\xA0"
                                                              "040;12\n2\xA0"
                                                              "080,5;1\xA0"
                                                              "031\n")
                                                      << 2.0805 << 1.031;
    QTest::newRow("signs") << utf8("t\ty\n-0.04\t+0.001\n0\t0.002\n+0.04\t0.004\n") << 0.04
                           << 0.004;
}

void TestMeasurementReader::numbers()
{
    QFETCH(QByteArray, file);
    QFETCH(double, lastT);
    QFETCH(double, lastY);
    MeasurementReader reader;
    QVERIFY2(reader.read(file), qPrintable(reader.errorString()));
    QString error;
    const auto set = toMeasurementSet(reader.table(), defaultChoice(reader.table()), &error);
    QVERIFY2(set, qPrintable(error));
    QVERIFY2(close(set->points.back().t, lastT), qPrintable(QString::number(set->points.back().t)));
    QVERIFY2(close(set->points.back().y, lastY), qPrintable(QString::number(set->points.back().y)));
}

void TestMeasurementReader::skippedRows()
{
    // Text in the body and a lone value are skipped and counted; empty lines are not.
    MeasurementReader reader;
    QVERIFY(reader.read(utf8("t\ty\n0\t0\n\n0.04\t0.01\nPause\n0.08\t0.03\n7\n0.12\t0.05\n")));
    const MeasurementTable &table = reader.table();
    QCOMPARE(table.rowCount(), 4);
    QCOMPARE(table.skippedRows, 2);
    QCOMPARE(table.firstSkippedLine, 5);
    QCOMPARE(table.lines, (std::vector<int> {2, 4, 6, 8}));
}

void TestMeasurementReader::hostile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 7919) % 251));
    QTest::newRow("binary") << binary << "Ligne 1 : octet nul, le fichier n'est pas un texte.";
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFEt\0\t\0y\0", 8)
                            << "Le fichier est codé en UTF-16 : enregistrez-le en UTF-8 ou en "
                               "texte Windows, puis importez-le.";
    QTest::newRow("line of 10 MB")
        << (utf8("t\ty\n0\t0\n") + QByteArray(10 * 1024 * 1024, '1'))
        << "Ligne 3 : plus de 65 536 octets sur une ligne, ce n'est pas un tableau de mesures.";
    QTest::newRow("empty") << QByteArray()
                           << "Aucun tableau de nombres (deux colonnes au moins) dans le fichier "
                              "(0 lignes lues).";
    QTest::newRow("one column") << utf8("t\n1\n2\n3\n4\n")
                                << "Aucun tableau de nombres (deux colonnes au moins) dans le "
                                   "fichier (5 lignes lues).";
    QTest::newRow("two rows")
        << utf8("t\ty\n0\t0\n0.1\t0.2\nfin\n")
        << "Le tableau n'a que 2 ligne(s) de nombres (lu jusqu'à la ligne 4) : il en faut au "
           "moins 3.";
    QByteArray wide = "0";
    for (int i = 0; i < 40; ++i)
        wide += "\t1";
    QTest::newRow("too many columns") << utf8("0\t1\n") + wide + "\n"
                                      << "Ligne 2 : plus de 32 colonnes de nombres.";
    QByteArray titles;
    for (int i = 0; i < 300; ++i)
        titles += "titre\n";
    QTest::newRow("table after the sample")
        << titles + "0\t1\n1\t2\n2\t3\n"
        << "Aucun tableau de nombres (deux colonnes au moins) dans les 256 premières lignes.";
}

void TestMeasurementReader::hostile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    MeasurementReader reader;
    QVERIFY(!reader.read(file));
    QCOMPARE(reader.errorString(), message);
    QCOMPARE(reader.table().rowCount(), 0);
    QCOMPARE(reader.table().columnCount(), 0);
}

void TestMeasurementReader::endlessDevices_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("message");
    QTest::addColumn<qint64>("maxServed");

    // Long lines that are no table stop at the byte cap; short ones at the line cap.
    QTest::newRow("200 MB and more of long lines")
        << QByteArray(60000, 'x') + '\n'
        << "Le fichier dépasse 128 Mo : ce n'est pas un tableau de mesures (arrêt à la ligne "
           "2240)."
        << qint64(129) * 1024 * 1024;
    QTest::newRow("endless short lines") << QByteArray("-\n")
                                         << "Le fichier dépasse 2 000 000 lignes (arrêt à la "
                                            "ligne 2000001)."
                                         << qint64(5) * 1024 * 1024;
}

void TestMeasurementReader::endlessDevices()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, message);
    QFETCH(qint64, maxServed);
    EndlessDevice device("t\ty\n0\t0\n1\t1\n", line);
    MeasurementReader reader;
    QVERIFY(!reader.read(&device));
    QCOMPARE(reader.errorString(), message);
    QVERIFY(device.served <= maxServed);
}

void TestMeasurementReader::pointCap()
{
    // 10^7 rows and more: the reading stops at the first row past the cap.
    EndlessDevice device("t\ty\n", "0.5\t1\n");
    MeasurementReader reader;
    QVERIFY(!reader.read(&device));
    QCOMPARE(reader.errorString(),
             QStringLiteral("Ligne 1000002 : le tableau dépasse 1 000 000 points, la limite "
                            "d'une importation."));
    QVERIFY(device.served < 7 * 1024 * 1024);
}

void TestMeasurementReader::failureKeepsNothing()
{
    MeasurementReader reader;
    QVERIFY(reader.read(utf8("t\ty\n0\t0\n1\t1\n2\t4\n")));
    QCOMPARE(reader.table().rowCount(), 3);
    QVERIFY(!reader.read(QByteArray("t\ty\n0\t0\n1\t1\n2\t4\n\0", 17)));
    QCOMPARE(reader.errorString(),
             QStringLiteral("Ligne 5 : octet nul, le fichier n'est pas un texte."));
    QCOMPARE(reader.table().rowCount(), 0);
    QVERIFY(!reader.read(static_cast<QIODevice *>(nullptr)));
    QCOMPARE(reader.errorString(), QStringLiteral("Le fichier ne peut pas être lu."));
}

QTEST_APPLESS_MAIN(TestMeasurementReader)
#include "tst_measurementreader.moc"
