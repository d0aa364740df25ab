// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numberscanner.h"

#include <QTest>

#include <cmath>

using NumberScanner::Status;

Q_DECLARE_METATYPE(NumberScanner::Status)

class TestNumberScanner : public QObject
{
    Q_OBJECT

private slots:
    void options_data();
    void options();
    void singleRange_data();
    void singleRange();
    void singleRoundedOnce();
    void signOfZero();
};

namespace {

// The option sets of the program's readers.
enum Reader { Leading, Field, Calculator };

NumberScanner::Options optionsOf(int reader)
{
    switch (reader) {
    case Field:
        return {.decimalComma = true, .exponentD = false, .wholeText = true};
    case Calculator:
        return {.decimalComma = false, .exponentD = true, .wholeText = false};
    default:
        return {};
    }
}

} // namespace

void TestNumberScanner::options_data()
{
    QTest::addColumn<int>("reader");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Status>("status");
    QTest::addColumn<double>("value");

    // A comma separates decimals only where a field is read.
    QTest::newRow("field comma") << int(Field) << "3,5" << Status::Ok << 3.5;
    QTest::newRow("leading comma stops") << int(Leading) << "3,5" << Status::Ok << 3.0;
    QTest::newRow("calculator comma stops") << int(Calculator) << "3,5" << Status::Ok << 3.0;
    QTest::newRow("field point") << int(Field) << "3.5" << Status::Ok << 3.5;

    // The D exponent marker belongs to the calculator.
    QTest::newRow("calculator D") << int(Calculator) << "2D3" << Status::Ok << 2000.0;
    QTest::newRow("calculator d") << int(Calculator) << "2d-3" << Status::Ok << 0.002;
    QTest::newRow("leading D stops") << int(Leading) << "2D3" << Status::Ok << 2.0;
    QTest::newRow("field D refused") << int(Field) << "2D3" << Status::NoNumber << 0.0;
    QTest::newRow("field E") << int(Field) << "2E3" << Status::Ok << 2000.0;

    // Whole text against leading number.
    QTest::newRow("field blanks around") << int(Field) << " \t145 \n" << Status::Ok << 145.0;
    QTest::newRow("field trailing junk") << int(Field) << "12a" << Status::NoNumber << 0.0;
    QTest::newRow("leading trailing junk") << int(Leading) << "12a" << Status::Ok << 12.0;
    QTest::newRow("leading tab") << int(Leading) << "\t-12" << Status::Ok << -12.0;
    QTest::newRow("leading line break is not a blank")
        << int(Leading) << "\n12" << Status::NoNumber << 0.0;
    QTest::newRow("field marker without digits") << int(Field) << "1E" << Status::NoNumber << 0.0;
    QTest::newRow("leading marker without digits") << int(Leading) << "7E+" << Status::Ok << 7.0;
    QTest::newRow("calculator second point") << int(Calculator) << "1.2.3" << Status::Ok << 1.2;
    QTest::newRow("field second separator") << int(Field) << "1,2.3" << Status::NoNumber << 0.0;

    // Shapes of the mantissa.
    QTest::newRow("no digit before the point") << int(Calculator) << "-.5" << Status::Ok << -0.5;
    QTest::newRow("no digit after the point") << int(Field) << "5," << Status::Ok << 5.0;
    QTest::newRow("point alone") << int(Leading) << "." << Status::NoNumber << 0.0;
    QTest::newRow("sign alone") << int(Field) << "+" << Status::NoNumber << 0.0;
    QTest::newRow("sign then blank") << int(Leading) << "- 5" << Status::NoNumber << 0.0;
    QTest::newRow("empty") << int(Leading) << "" << Status::NoNumber << 0.0;
    QTest::newRow("many leading zeros")
        << int(Leading) << QString(400, u'0') + QStringLiteral("1.5") << Status::Ok << 1.5;

    // Range.
    QTest::newRow("overflow") << int(Calculator) << "1E999" << Status::Overflow << 0.0;
    QTest::newRow("overflow by digits")
        << int(Field) << QString(400, u'9') << Status::Overflow << 0.0;
    QTest::newRow("underflow") << int(Field) << "1E-999" << Status::Underflow << 0.0;
    QTest::newRow("huge exponent of zero")
        << int(Calculator) << "0E99999999999999999999" << Status::Ok << 0.0;
    QTest::newRow("exponent digits saturate")
        << int(Leading) << "1E99999999999999999999" << Status::Overflow << 0.0;
}

void TestNumberScanner::options()
{
    QFETCH(int, reader);
    QFETCH(QString, text);
    QFETCH(Status, status);
    QFETCH(double, value);
    const NumberScanner::Result<double> result = NumberScanner::toDouble(text, optionsOf(reader));
    QCOMPARE(result.status, status);
    QCOMPARE(result.value, value);
}

void TestNumberScanner::singleRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Status>("status");
    QTest::addColumn<float>("value");
    QTest::newRow("largest single") << "3,4028235E38" << Status::Ok << 3.4028235e38f;
    QTest::newRow("41 nines") << QString(41, u'9') << Status::Overflow << 0.0f;
    QTest::newRow("fits a double only") << "1E39" << Status::Overflow << 0.0f;
    QTest::newRow("below the smallest single") << "1E-50" << Status::Underflow << 0.0f;
    QTest::newRow("subnormal single") << "1E-40" << Status::Ok << 1e-40f;
}

void TestNumberScanner::singleRange()
{
    QFETCH(QString, text);
    QFETCH(Status, status);
    QFETCH(float, value);
    const NumberScanner::Result<float> result = NumberScanner::toFloat(text, optionsOf(Field));
    QCOMPARE(result.status, status);
    QCOMPARE(result.value, value);
}

void TestNumberScanner::singleRoundedOnce()
{
    // Just above the midpoint between 1 and the next single: through a
    // double it would land on the midpoint and then round to even (1).
    const auto result = NumberScanner::toFloat(u"1,000000059604644776", optionsOf(Field));
    QCOMPARE(result.status, Status::Ok);
    // QCOMPARE would compare singles within a tolerance; these differ by one unit.
    QVERIFY(result.value == std::nextafter(1.0f, 2.0f));
}

void TestNumberScanner::signOfZero()
{
    const auto underflow = NumberScanner::toDouble(u"-1E-999", optionsOf(Calculator));
    QCOMPARE(underflow.status, Status::Underflow);
    QVERIFY(std::signbit(underflow.value));
    const auto zero = NumberScanner::toDouble(u"-0", optionsOf(Field));
    QCOMPARE(zero.status, Status::Ok);
    QVERIFY(std::signbit(zero.value));
}

QTEST_APPLESS_MAIN(TestNumberScanner)
#include "tst_numberscanner.moc"
