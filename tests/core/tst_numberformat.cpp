// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numberformat.h"

#include <QTest>

#include <cfloat>
#include <clocale>
#include <cmath>

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void generalSingle_data();
    void generalSingle();
    void generalDouble();
    void threeSignificant_data();
    void threeSignificant();
    void fixedTwo_data();
    void fixedTwo();
    void fixed_data();
    void fixed();
    void withUncertainty_data();
    void withUncertainty();
    void calculatorScientific_data();
    void calculatorScientific();
    void decimalExponent_data();
    void decimalExponent();
    void parse_data();
    void parse();
    void parseSingleRange();
    void leadingValue_data();
    void leadingValue();
    void independentOfCLocale();
};

void TestNumberFormat::generalSingle_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("integer") << 1160.0f << "1160";
    QTest::newRow("comma") << 3.5f << "3,5";
    QTest::newRow("single noise hidden") << 0.2f << "0,2";
    QTest::newRow("small fixed") << 0.0984f << "0,0984";
    QTest::newRow("1E-4 still fixed") << 0.0001f << "0,0001";
    QTest::newRow("below 1E-4") << 1e-6f << "1E-06";
    QTest::newRow("mantissa") << 1.23e-5f << "1,23E-05";
    QTest::newRow("below 1E+07") << 9999999.0f << "9999999";
    QTest::newRow("from 1E+07") << 1e7f << "1E+07";
    QTest::newRow("negative") << -0.5f << "-0,5";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("negative zero") << -0.0f << "0";
}

void TestNumberFormat::generalSingle()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(NumberFormat::generalSingle(value), text);
}

void TestNumberFormat::generalDouble()
{
    QCOMPARE(NumberFormat::generalDouble(11.2734), QStringLiteral("11,2734"));
    QCOMPARE(NumberFormat::generalDouble(0.1 + 0.2), QStringLiteral("0,3"));
    QCOMPARE(NumberFormat::generalDouble(1e20), QStringLiteral("1E+20"));
    QCOMPARE(NumberFormat::generalDouble(123456789012345.0), QStringLiteral("123456789012345"));
    QVERIFY(NumberFormat::generalDouble(qInf()).isEmpty());
}

void TestNumberFormat::threeSignificant_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("3.5") << 3.5 << "3,5";
    QTest::newRow("145") << 145.0 << "145";
    QTest::newRow("rounded up") << 1159.5 << "1160";
    QTest::newRow("807.35") << 807.35 << "807";
    QTest::newRow("0.2") << 0.2 << "0,2";
    QTest::newRow("1E-06") << 0.000001 << "1E-06";
    QTest::newRow("acceleration") << 0.089512 << "0,0895";
    QTest::newRow("tiny") << 1.23456e-5 << "1,23E-05";
    QTest::newRow("carry to next decade") << 9.996 << "10";
    QTest::newRow("20000") << 20000.0 << "20000";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative") << -0.0123456 << "-0,0123";
    // Below the single's normal range (1,17549E-38) the single read back holds
    // fewer bits than three digits need; the text keeps three digits at most.
    QTest::newRow("subnormal") << 2.802597e-44 << "2,8E-44";
    QTest::newRow("subnormal negative") << -1.234e-40 << "-1,23E-40";
    QTest::newRow("smallest subnormal") << 1.401298e-45 << "1,4E-45";
    QTest::newRow("just below normal") << 1.1749e-38 << "1,17E-38";
    QTest::newRow("smallest normal") << 1.17549435e-38 << "1,18E-38";
    QTest::newRow("too small for a single") << 1e-46 << "0";
    QTest::newRow("too small, negative") << -1e-50 << "0";
}

void TestNumberFormat::threeSignificant()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberFormat::threeSignificant(value), text);
}

void TestNumberFormat::fixedTwo_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0,00";
    QTest::newRow("tick") << 0.04 << "0,04";
    QTest::newRow("mark time from a single") << double(0.05f) << "0,05";
    QTest::newRow("end") << 11.2734 << "11,27";
    QTest::newRow("large") << 1234.5 << "1234,50";
    QTest::newRow("tiny negative") << -0.001 << "0,00";
}

void TestNumberFormat::fixedTwo()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberFormat::fixedTwo(value), text);
}

void TestNumberFormat::fixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    // Trailing zeros kept: one precision from one value to the next.
    QTest::newRow("0,9 with three") << 0.9 << 3 << "0,900";
    QTest::newRow("0,859 with three") << 0.859 << 3 << "0,859";
    QTest::newRow("one") << 1.0 << 3 << "1,000";
    QTest::newRow("rounded up") << 12.3456 << 2 << "12,35";
    QTest::newRow("no decimal") << 41.7 << 0 << "42";
    QTest::newRow("negative") << -1.5 << 1 << "-1,5";
    QTest::newRow("tiny negative") << -0.0004 << 3 << "0,000";
    QTest::newRow("not a number") << std::nan("") << 3 << "";
}

void TestNumberFormat::fixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(NumberFormat::fixed(value, decimals), text);
}

void TestNumberFormat::withUncertainty_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("uncertainty");
    QTest::addColumn<QString>("shownValue");
    QTest::addColumn<QString>("shownUncertainty");
    QTest::newRow("two digits") << 0.96712 << 0.01234 << "0,967"
                                << "0,012";
    QTest::newRow("rounding carries") << 0.96712 << 0.0996 << "0,97"
                                      << "0,10";
    QTest::newRow("small") << 0.00123456 << 0.0000321 << "0,001235"
                           << "0,000032";
    QTest::newRow("units digit") << 123.456 << 2.3 << "123,5"
                                 << "2,3";
    QTest::newRow("large") << 12345.6 << 567.0 << "12350"
                           << "570";
    QTest::newRow("negative near zero") << -0.0004 << 0.012 << "0,000"
                                        << "0,012";
    QTest::newRow("no uncertainty") << 0.96712 << std::nan("") << "0,967"
                                    << "";
    QTest::newRow("zero uncertainty") << 0.96712 << 0.0 << "0,967"
                                      << "";
}

void TestNumberFormat::withUncertainty()
{
    QFETCH(double, value);
    QFETCH(double, uncertainty);
    QFETCH(QString, shownValue);
    QFETCH(QString, shownUncertainty);
    const NumberFormat::Measured shown = NumberFormat::withUncertainty(value, uncertainty);
    QCOMPARE(shown.value, shownValue);
    QCOMPARE(shown.uncertainty, shownUncertainty);
}

void TestNumberFormat::calculatorScientific_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("12") << 12.0 << "1.2E+01";
    QTest::newRow("one keeps its point") << 1.0 << "1.E+00";
    QTest::newRow("zero") << 0.0 << "0.E+00";
    QTest::newRow("negative zero") << -0.0 << "0.E+00";
    QTest::newRow("small negative") << -0.000123 << "-1.23E-04";
    QTest::newRow("eight digits rounded") << 123456789.0 << "1.2345679E+08";
    QTest::newRow("three-digit exponent") << 1e300 << "1.E+300";
    QTest::newRow("not finite") << qInf() << "";
}

void TestNumberFormat::calculatorScientific()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberFormat::calculatorScientific(value), text);
}

void TestNumberFormat::decimalExponent_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("exponent");
    QTest::newRow("1.42 N") << 1.421 << 0;
    QTest::newRow("1.5 N") << 1.5 << 0;
    QTest::newRow("0.0123 N") << 0.0123 << -2;
    QTest::newRow("rounds up a decade") << 9.6 << 1;
    QTest::newRow("velocity rounds to 1E-01") << 0.0984 << -1;
    QTest::newRow("0.094 stays 9E-02") << 0.094 << -2;
    QTest::newRow("zero") << 0.0 << 0;
    QTest::newRow("large") << 4.9e5 << 5;
    QTest::newRow("negative") << -250.0 << 2;
}

void TestNumberFormat::decimalExponent()
{
    QFETCH(double, value);
    QFETCH(int, exponent);
    QCOMPARE(NumberFormat::decimalExponent(value), exponent);
}

void TestNumberFormat::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "3,5" << true << 3.5;
    QTest::newRow("point") << "3.5" << true << 3.5;
    QTest::newRow("exponent") << "1E-06" << true << 1e-6;
    QTest::newRow("mantissa and exponent") << "1,23E-05" << true << 1.23e-5;
    QTest::newRow("lower-case exponent") << "2e3" << true << 2000.0;
    QTest::newRow("blanks") << "  145 " << true << 145.0;
    QTest::newRow("negative") << "-2" << true << -2.0;
    QTest::newRow("plus") << "+2" << true << 2.0;
    QTest::newRow("leading separator") << ",5" << true << 0.5;
    QTest::newRow("trailing separator") << "5," << true << 5.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("minus alone") << "-" << false << 0.0;
    QTest::newRow("comma alone") << "," << false << 0.0;
    QTest::newRow("two separators") << "1,2,3" << false << 0.0;
    QTest::newRow("two minus") << "--3" << false << 0.0;
    QTest::newRow("minus inside") << "3-" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("trailing letter") << "12a" << false << 0.0;
    QTest::newRow("exponent without digits") << "1E" << false << 0.0;
    QTest::newRow("beyond double") << "1E999" << false << 0.0;
}

void TestNumberFormat::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const std::optional<double> parsed = NumberFormat::parse(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestNumberFormat::parseSingleRange()
{
    QCOMPARE(NumberFormat::parseSingle(QStringLiteral("3,5")), std::optional<float>(3.5f));
    QVERIFY(!NumberFormat::parseSingle(QStringLiteral("1E39")).has_value());
    QVERIFY(!NumberFormat::parseSingle(QString(41, u'9')).has_value());
    // Rounded once, straight to the single: through a double this text would
    // land on the midpoint below and round to 1.
    QVERIFY(*NumberFormat::parseSingle(QStringLiteral("1,000000059604644776"))
            == std::nextafter(1.0f, 2.0f));
    // A validated text always reads back to itself.
    for (const char *text : {"1E-06", "1,23E-05", "0,0984", "1160", "0,2", "20000"}) {
        const QString t = QString::fromLatin1(text);
        QCOMPARE(NumberFormat::threeSignificant(double(*NumberFormat::parseSingle(t))), t);
    }
}

void TestNumberFormat::leadingValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "1000" << 1000.0;
    QTest::newRow("blanks and sign") << "  -12" << -12.0;
    QTest::newRow("stops at letter") << "12abc" << 12.0;
    QTest::newRow("point") << "2.5x" << 2.5;
    QTest::newRow("comma stops") << "3,5" << 3.0;
    QTest::newRow("exponent") << "16711680" << 16711680.0;
    QTest::newRow("exponent form") << "1.5E3" << 1500.0;
    QTest::newRow("bare exponent letter") << "7E" << 7.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("too large") << "1E999" << 0.0;
}

void TestNumberFormat::leadingValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(NumberFormat::leadingValue(text), value);
}

void TestNumberFormat::independentOfCLocale()
{
    // Qt takes the C locale from the environment; a French one must not turn
    // the formats or the parser around.
    if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        QSKIP("no locale with a decimal comma on this machine");
    QCOMPARE(NumberFormat::threeSignificant(3.5), QStringLiteral("3,5"));
    QCOMPARE(NumberFormat::parse(QStringLiteral("3.5")), std::optional<double>(3.5));
    QCOMPARE(NumberFormat::leadingValue(QStringLiteral("2.5")), 2.5);
    std::setlocale(LC_NUMERIC, "C");
}

QTEST_APPLESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
