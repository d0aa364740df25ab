// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/evaluator.h"

#include <QTest>

#include <stdexcept>

class TestEvaluator : public QObject
{
    Q_OBJECT

private slots:
    void results_data();
    void results();
    void failures_data();
    void failures();
    void canonicalForm_data();
    void canonicalForm();
    void counters();
    void messages();
    void lengthBound();
    void cycleCap();
    void blankDisplay();
    void throwingQuery();
};

namespace {

// Runs one evaluation and returns the code; the text is rewritten in place.
int evaluate(QString &text, int modeangle = Evaluator::Degrees)
{
    Evaluator evaluator;
    int code = -1;
    evaluator.evalue(text, code, modeangle);
    return code;
}

} // namespace

void TestEvaluator::results_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("modeangle");
    QTest::addColumn<QString>("result");

    const int deg = Evaluator::Degrees;
    const int rad = Evaluator::Radians;
    QTest::newRow("empty") << "" << deg << "";
    QTest::newRow("powers from the left") << "2 ^ 3 ^ 2" << deg << "64";
    QTest::newRow("four powers from the left") << "2 ^ 2 ^ 3 ^ 2" << deg << "4096";
    QTest::newRow("sign before power") << "-2 ^ 2" << deg << "4";
    QTest::newRow("subtractions from the left") << "2 - 3 - 4" << deg << "-5";
    QTest::newRow("shrinking values") << "100 - 99 - 1 - 1000 - 5" << deg << "-1005";
    QTest::newRow("divisions from the left") << "1000 / 10 / 1 / 5" << deg << "20";
    QTest::newRow("division before product") << "8 / 2 * 4" << deg << "16";
    QTest::newRow("product before sum") << "1 + 2 * 3" << deg << "7";
    QTest::newRow("difference before sum") << "10 - 2 + 3" << deg << "11";
    QTest::newRow("sin degrees") << "sin 30" << deg << ".5";
    QTest::newRow("sin radians") << "sin 30" << rad << "-.988031624092862";
    QTest::newRow("cos degrees") << "cos 60" << deg << ".5";
    QTest::newRow("tan degrees") << "tan 45" << deg << "1";
    QTest::newRow("invSIN 1") << "invSIN 1" << deg << "90";
    QTest::newRow("invSIN -1") << "invSIN -1" << deg << "-90";
    QTest::newRow("invSIN 0.5") << "invSIN 0.5" << deg << "30";
    QTest::newRow("invCOS 0.5") << "invCOS 0.5" << deg << "60";
    QTest::newRow("invTAN 1") << "invTAN 1" << deg << "45";
    QTest::newRow("invSIN radians") << "invSIN 1" << rad << "1.5707963267949";
    QTest::newRow("function before power") << "sin 30 ^ 2" << deg << ".25";
    QTest::newRow("function of a group") << "2 * sin (60 + 30)" << deg << "2";
    QTest::newRow("nested functions") << "sin sin 30" << deg << ".00872653549837393";
    QTest::newRow("ln of a group") << "ln (2 + 3)" << deg << "1.6094379124341";
    QTest::newRow("log") << "log 1000" << deg << "3";
    QTest::newRow("square root") << "SQR 16" << deg << "4";
    QTest::newRow("exp") << "exp 0" << deg << "1";
    QTest::newRow("15-digit third") << "1 / 3 * 3" << deg << ".999999999999999";
    QTest::newRow("signs folded") << "3 - (-5)" << deg << "8";
    QTest::newRow("exponent sign") << "2E-3 + 1" << deg << "1.002";
    QTest::newRow("D exponent") << "2D3 + 1" << deg << "2001";
    QTest::newRow("unit prefixes") << "5E-3 * 2E+3" << deg << "10";
    QTest::newRow("negative operand") << "2 * -3" << deg << "-6";
    QTest::newRow("group with exponent") << "(1E5)" << deg << "1E5";
    QTest::newRow("nested groups") << "((3))" << deg << "3";
    QTest::newRow("group then operator") << "2 * (3 + 4) - 1" << deg << "13";
    QTest::newRow("ten to the power") << "10 ^ 3" << deg << "1000";
    QTest::newRow("exponent form") << "1E14 * 10" << deg << "1E+15";
    QTest::newRow("small exponent form") << "1E-20 * 1" << deg << "1E-20";
    QTest::newRow("15 digits fixed") << "123456789012345 * 1" << deg << "123456789012345";
    QTest::newRow("tangent near 90") << "tan 90" << deg << "1.63312393531954E+16";
    QTest::newRow("lone number kept") << "1E999" << deg << "1E999";
}

void TestEvaluator::results()
{
    QFETCH(QString, expression);
    QFETCH(int, modeangle);
    QFETCH(QString, result);
    QCOMPARE(evaluate(expression, modeangle), int(Evaluator::Success));
    QCOMPARE(expression, result);
}

void TestEvaluator::failures_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<int>("code");

    const int impossible = Evaluator::CalculImpossible;
    QTest::newRow("open group") << "2 * (3 + 4" << int(Evaluator::ParenthesesError);
    QTest::newRow("extra closing") << "(2 + 3))" << int(Evaluator::ParenthesesError);
    QTest::newRow("operator at end") << "3 *" << int(Evaluator::OperatorError);
    QTest::newRow("two operators") << "3 * * 4" << int(Evaluator::OperatorError);
    QTest::newRow("power then plus") << "3 ^ + 4" << int(Evaluator::OperatorError);
    QTest::newRow("parentheses win") << "(3 *" << int(Evaluator::ParenthesesError);
    QTest::newRow("division by zero") << "1 / 0" << impossible;
    QTest::newRow("root of negative") << "SQR -1" << impossible;
    QTest::newRow("ln 0") << "ln 0" << impossible;
    QTest::newRow("log of negative") << "log -1" << impossible;
    QTest::newRow("invSIN 2") << "invSIN 2" << impossible;
    QTest::newRow("invCOS -2") << "invCOS -2" << impossible;
    QTest::newRow("product overflow") << "1E200 * 1E200" << impossible;
    QTest::newRow("exp overflow") << "exp 1000" << impossible;
    QTest::newRow("operand overflow") << "1E999 + 1" << impossible;
    QTest::newRow("argument overflow") << "sin 1E999" << impossible;
    QTest::newRow("invalid power") << "-8 ^ (1 / 3)" << impossible;
    QTest::newRow("zero to negative power") << "0 ^ -1" << impossible;
    QTest::newRow("closing before opening") << "3) + (4" << impossible;
    QTest::newRow("function without argument") << "sin" << impossible;
}

void TestEvaluator::failures()
{
    QFETCH(QString, expression);
    QFETCH(int, code);
    QCOMPARE(evaluate(expression), code);
}

void TestEvaluator::canonicalForm_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("canonical");
    QTest::newRow("empty") << ""
                           << "  ";
    QTest::newRow("spaces and case") << "2e-3+1"
                                     << " 2E-3 + 1 ";
    QTest::newRow("function") << "sin30"
                              << " SIN 30 ";
    QTest::newRow("ln") << "ln(2+3)"
                        << " LON (2 + 3) ";
    QTest::newRow("inverse") << "invSIN 1*invtan2"
                             << " ISI 1 * ITA 2 ";
    QTest::newRow("sign run") << "2---3"
                              << " 2 - 3 ";
    QTest::newRow("signed group") << "3-(-5)"
                                  << " 3 + 5 ";
    QTest::newRow("leading plus") << "+5"
                                  << " 5 ";
    QTest::newRow("attached signs") << "-2^-2*(-3)"
                                    << " -2 ^ -2 * -3 ";
    QTest::newRow("exponent group kept") << "(1E5)"
                                         << " (1E5) ";
}

void TestEvaluator::canonicalForm()
{
    QFETCH(QString, text);
    QFETCH(QString, canonical);
    Evaluator::normalise(text);
    QCOMPARE(text, canonical);
}

void TestEvaluator::counters()
{
    Evaluator evaluator;
    evaluator.compte(QStringLiteral(" SIN (2 + 3) * LOG (4 ^ -2) "));
    QCOMPARE(evaluator.nbpar(), 2);
    QCOMPARE(evaluator.nbfonc(), 2);
    QCOMPARE(evaluator.nbop(), 3);
}

void TestEvaluator::messages()
{
    QCOMPARE(Evaluator::message(Evaluator::Success), QString());
    QCOMPARE(Evaluator::message(Evaluator::CalculImpossible), QStringLiteral("Calcul impossible"));
    QCOMPARE(Evaluator::message(Evaluator::ParenthesesError),
             QStringLiteral("Erreur saisie: revoir les parenthèses"));
    QCOMPARE(Evaluator::message(Evaluator::OperatorError),
             QStringLiteral("Erreur saisie: incompréhension sur opérateurs: ^ * / + -"));
}

void TestEvaluator::lengthBound()
{
    // The canonical spaces count: 32 765 digits make a 32 767-character text.
    QString longest(Evaluator::MaxLength - 2, u'1');
    QCOMPARE(evaluate(longest), int(Evaluator::Success));
    QString tooLong(Evaluator::MaxLength - 1, u'1');
    QCOMPARE(evaluate(tooLong), int(Evaluator::CalculImpossible));

    // Each third grows from five characters to sixteen while it is computed.
    QString growing = QStringLiteral("1 / 3 + ").repeated(2500) + u'1';
    QVERIFY(growing.size() < Evaluator::MaxLength);
    QCOMPARE(evaluate(growing), int(Evaluator::CalculImpossible));

    QString sum = QStringLiteral("1 + ").repeated(999) + u'1';
    QCOMPARE(evaluate(sum), int(Evaluator::Success));
    QCOMPARE(sum, QStringLiteral("1000"));
}

void TestEvaluator::cycleCap()
{
    // Each level of a function of a group takes about one cycle.
    auto nested = [](int depth) {
        return QStringLiteral("sin (").repeated(depth) + u'0' + QString(depth, u')');
    };
    QString shallow = nested(40);
    QCOMPARE(evaluate(shallow), int(Evaluator::Success));
    QCOMPARE(shallow, QStringLiteral("0"));
    QString deep = nested(150);
    QCOMPARE(evaluate(deep), int(Evaluator::CalculImpossible));
}

void TestEvaluator::blankDisplay()
{
    int asked = 0;
    Evaluator evaluator([&asked] {
        ++asked;
        return true;
    });
    QString text = QStringLiteral("2 + 3");
    int code = -1;
    evaluator.evalue(text, code, Evaluator::Degrees);
    QVERIFY(asked > 0);
    QCOMPARE(code, int(Evaluator::CalculImpossible));

    evaluator.setBlankQuery({});
    text = QStringLiteral("2 + 3");
    evaluator.evalue(text, code, Evaluator::Degrees);
    QCOMPARE(code, int(Evaluator::Success));
    QCOMPARE(text, QStringLiteral("5"));
}

void TestEvaluator::throwingQuery()
{
    Evaluator evaluator([]() -> bool { throw std::runtime_error("display gone"); });
    QString text = QStringLiteral("2 + 3");
    int code = -1;
    evaluator.evalue(text, code, Evaluator::Degrees);
    QCOMPARE(code, int(Evaluator::CalculImpossible));
}

QTEST_APPLESS_MAIN(TestEvaluator)
#include "tst_evaluator.moc"
