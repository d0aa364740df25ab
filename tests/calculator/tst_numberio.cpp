// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/numberio.h"

#include <QRandomGenerator>
#include <QTest>

#include <clocale>
#include <cmath>

class TestNumberIo : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void readOverflow();
    void write_data();
    void write();
    void writeThenRead();
    void independentOfCLocale();
};

void TestNumberIo::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "12" << 12.0;
    QTest::newRow("leading spaces") << "  12 " << 12.0;
    QTest::newRow("leading tab") << "\t12" << 12.0;
    QTest::newRow("no zero before point") << "-.5" << -0.5;
    QTest::newRow("plus sign") << "+3" << 3.0;
    QTest::newRow("exponent") << "-1.5E3" << -1500.0;
    QTest::newRow("negative exponent") << "5E-3" << 0.005;
    QTest::newRow("D exponent") << "2D3" << 2000.0;
    QTest::newRow("lower case") << "2e+2" << 200.0;
    QTest::newRow("closing parenthesis") << "3)" << 3.0;
    QTest::newRow("second point") << "1.2.3" << 1.2;
    QTest::newRow("marker without digits") << "7E" << 7.0;
    QTest::newRow("marker and sign only") << "7E-)" << 7.0;
    QTest::newRow("not a number") << "ABC" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("underflow") << "1E-999" << 0.0;
    QTest::newRow("huge exponent digits") << "0E99999999999999999999" << 0.0;
    QTest::newRow("many digits") << QString(400, u'0') + QStringLiteral("1.5") << 1.5;
}

void TestNumberIo::read()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const std::optional<double> read = NumberIo::read(text);
    QVERIFY(read);
    QCOMPARE(*read, value);
}

void TestNumberIo::readOverflow()
{
    QVERIFY(!NumberIo::read(u"1E999"));
    QVERIFY(!NumberIo::read(u"-1E309"));
    QVERIFY(!NumberIo::read(QString(400, u'9')));
    QVERIFY(NumberIo::read(u"1E308"));
}

void TestNumberIo::write_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("half") << 0.5 << " .5";
    QTest::newRow("negative half") << -0.5 << "-.5";
    QTest::newRow("integer") << 12.0 << " 12";
    QTest::newRow("third") << 1.0 / 3.0 << " .333333333333333";
    QTest::newRow("15 digits") << 123456789012345.0 << " 123456789012345";
    QTest::newRow("1E+15") << 1e15 << " 1E+15";
    QTest::newRow("large") << 1e20 << " 1E+20";
    QTest::newRow("1E-04 fixed") << 0.0001 << " .0001";
    QTest::newRow("small") << 1.5e-7 << " 1.5E-07";
    QTest::newRow("three exponent digits") << -2.5e-300 << "-2.5E-300";
    QTest::newRow("rounded") << 0.1 + 0.2 << " .3";
}

void TestNumberIo::write()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberIo::write(value), text);
}

void TestNumberIo::writeThenRead()
{
    QVERIFY(NumberIo::write(HUGE_VAL).isEmpty());
    QVERIFY(NumberIo::write(std::nan("")).isEmpty());

    // Whatever the magnitude, the written text reads back to a value that
    // writes the same text.
    QRandomGenerator random(20240601);
    for (int k = 0; k < 2000; ++k) {
        const double value
            = (random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(-320, 309));
        const QString text = NumberIo::write(value);
        const std::optional<double> back = NumberIo::read(text);
        QVERIFY2(back, qPrintable(text));
        QCOMPARE(NumberIo::write(*back), text);
    }
}

void TestNumberIo::independentOfCLocale()
{
    const char *french = std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    if (!french)
        QSKIP("No French locale installed");
    QCOMPARE(NumberIo::write(2.5), QStringLiteral(" 2.5"));
    QCOMPARE(NumberIo::read(u"2.5"), std::optional<double>(2.5));
    std::setlocale(LC_NUMERIC, "C");
}

QTEST_APPLESS_MAIN(TestNumberIo)
#include "tst_numberio.moc"
