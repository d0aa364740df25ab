// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/machine.h"

#include "scriptedservices.h"

#include <QAccessible>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestMachine : public QObject
{
    Q_OBJECT

private slots:
    void emptyExpressionShowsZero();
    void resultContinuesWithAnOperator();
    void operatorsOnABlankDisplay();
    void buildsExpression_data();
    void buildsExpression();
    void erasesLastToken_data();
    void erasesLastToken();
    void evaluationErrors_data();
    void evaluationErrors();
    void overflowInBothModes();
    void displayModeSwitch();
    void scientificForm_data();
    void scientificForm();
    void angleMode();
    void waitTextShowsFirst();
    void memoryKeys();
    void memorySurvivesReopening();
    void memoryRecallUsesAPoint();
    void memoryNeverOverflows();
    void keyboard();
    void accessKey();
    void keysNamedByFunction_data();
    void keysNamedByFunction();
    void keysFromTheKeyboard();
    void layoutAndPainting();
};

namespace {

// A calculator on screen with scripted services that count the beeps.
struct Calculator
{
    ScriptedServices services;
    Machine machine {services};

    Calculator()
    {
        machine.show();
        QVERIFY(QTest::qWaitForWindowExposed(&machine));
    }

    QString shown() const { return machine.z1->toPlainText(); }

    // Clicks the keys named in a space-separated list: "B3 plus B4 EXE".
    void press(const QString &names)
    {
        for (const QString &name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            auto *key = machine.findChild<QPushButton *>(name);
            QVERIFY2(key, qPrintable(name));
            QTest::mouseClick(key, Qt::LeftButton);
        }
    }
};

} // namespace

void TestMachine::emptyExpressionShowsZero()
{
    Calculator calc;
    calc.press(QStringLiteral("EXE"));
    QCOMPARE(calc.shown(), QStringLiteral(" 0"));
    QCOMPARE(calc.machine.codecalcul(), 0);
    QCOMPARE(calc.services.beeps, 0);
}

void TestMachine::resultContinuesWithAnOperator()
{
    Calculator calc;
    calc.press(QStringLiteral("B3 plus B4 EXE multip B2 EXE"));
    QCOMPARE(calc.shown(), QStringLiteral(" 14"));
    QVERIFY(calc.machine.saisie().isEmpty());

    calc.press(QStringLiteral("puissance"));
    QCOMPARE(calc.machine.saisie(), QStringLiteral("14 ^ "));
    calc.press(QStringLiteral("RAZ B5 EXE btcarre"));
    QCOMPARE(calc.machine.saisie(), QStringLiteral("5 ^ 2"));
    // A digit after a result starts a new expression.
    calc.press(QStringLiteral("EXE B7"));
    QCOMPARE(calc.machine.saisie(), QStringLiteral("7"));
}

void TestMachine::operatorsOnABlankDisplay()
{
    Calculator calc;
    calc.press(QStringLiteral("multip div plus"));
    QCOMPARE(calc.machine.saisie(), QString());
    QCOMPARE(calc.shown(), QString());
    // AC blanks the display even with an answer in store.
    calc.press(QStringLiteral("B8 EXE RAZ multip div plus"));
    QCOMPARE(calc.machine.saisie(), QString());
}

void TestMachine::buildsExpression_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("saisie");
    QTest::newRow("digit then sin") << "B2 bsin B3 B0"
                                    << "2 * sin 30";
    QTest::newRow("digit then (") << "B2 Bpo"
                                  << "2 * (";
    QTest::newRow("( then cos") << "Bpo Bcos"
                                << "(cos ";
    QTest::newRow("minus then inverse tan") << "moins Btoncommande3"
                                            << "-invTAN ";
    QTest::newRow(") then 10^x") << "B1 bpf B10x"
                                 << "1) * 10 ^ ";
    QTest::newRow("digit then pi") << "B2 pi"
                                   << "2 * 3.14159265358979";
    QTest::newRow("digit then root, 1/x") << "B2 racine Command5"
                                          << "2 * SQR 1 / ";
    QTest::newRow("name then ln") << "Blog Bln"
                                  << "log ln ";
    QTest::newRow("lone minus") << "moins"
                                << "-";
    QTest::newRow("exponent sign -") << "B2 BtoEXP moins B3"
                                     << "2E-3";
    QTest::newRow("exponent sign +") << "B2 BtoEXP plus B3"
                                     << "2E+3";
    QTest::newRow("sign after operator") << "B3 plus moins B5"
                                         << "3 + -5";
    QTest::newRow("minus minus") << "B3 moins moins"
                                 << "3 - -";
    QTest::newRow("prefixes") << "B1 kilo plus B4 micro plus B2 tera"
                              << "1E+3 + 4E-6 + 2E+12";
    QTest::newRow("prefix then exp") << "B5 pico Bexp"
                                     << "5E-12 * exp ";
}

void TestMachine::buildsExpression()
{
    QFETCH(QString, keys);
    QFETCH(QString, saisie);
    Calculator calc;
    calc.press(keys);
    QCOMPARE(calc.machine.saisie(), saisie);
    QCOMPARE(calc.shown(), saisie);
}

void TestMachine::erasesLastToken_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("saisie");
    QTest::newRow("function name") << "B2 bsin EFFACE"
                                   << "2 * ";
    QTest::newRow("inverse name alone") << "invsin EFFACE"
                                        << "";
    QTest::newRow("name after (") << "Bpo Bcos EFFACE"
                                  << "(";
    QTest::newRow("operator") << "B3 plus EFFACE"
                              << "3";
    QTest::newRow("digit") << "B1 B2 EFFACE"
                           << "1";
    QTest::newRow("square") << "B2 btcarre EFFACE EFFACE"
                            << "2";
    QTest::newRow("empty") << "EFFACE"
                           << "";
}

void TestMachine::erasesLastToken()
{
    QFETCH(QString, keys);
    QFETCH(QString, saisie);
    Calculator calc;
    calc.press(keys);
    QCOMPARE(calc.machine.saisie(), saisie);
}

void TestMachine::evaluationErrors_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("division by zero") << "B1 div B0"
                                      << "1 / 0"
                                      << "Calcul impossible";
    QTest::newRow("open parenthesis") << "B2 multip Bpo B3"
                                      << "2 * (3"
                                      << "Erreur saisie: revoir les parenthèses";
    QTest::newRow("dangling operator")
        << "B3 multip"
        << "3 * "
        << "Erreur saisie: incompréhension sur opérateurs: ^ * / + -";
}

void TestMachine::evaluationErrors()
{
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Calculator calc;
    calc.press(QStringLiteral("B9 EXE ") + keys + QStringLiteral(" EXE"));
    QCOMPARE(calc.shown(), message);
    QCOMPARE(calc.machine.reponse(), message);
    QCOMPARE(calc.services.beeps, 1);
    QCOMPARE(calc.machine.saisie(), typed);

    // ANS inserts nothing after an error; the next key continues the
    // expression that failed, not the message.
    calc.press(QStringLiteral("ANS"));
    QCOMPARE(calc.machine.saisie(), typed);
    calc.press(QStringLiteral("B4"));
    QCOMPARE(calc.shown(), typed + QStringLiteral("4"));
}

void TestMachine::overflowInBothModes()
{
    for (int mode : {0, 1}) {
        Calculator calc;
        calc.machine.C[mode]->click();
        calc.press(QStringLiteral("B1 BtoEXP B9 B9 B9 EXE"));
        QCOMPARE(calc.shown(), QStringLiteral("Dépassement de capacité"));
        QCOMPARE(calc.machine.reponse(), Machine::overflowText());
        QCOMPARE(calc.services.beeps, 1);
        QVERIFY(calc.machine.saisie().isEmpty());
        // The message is no answer to build on.
        calc.press(QStringLiteral("ANS"));
        QVERIFY(calc.machine.saisie().isEmpty());
    }
}

void TestMachine::displayModeSwitch()
{
    Calculator calc;
    calc.press(QStringLiteral("B1 B2 EXE"));
    QCOMPARE(calc.shown(), QStringLiteral(" 12"));
    calc.machine.C[0]->click();
    QCOMPARE(calc.shown(), QStringLiteral("1.2E+01"));
    calc.machine.C[1]->click();
    QCOMPARE(calc.shown(), QStringLiteral(" 12"));

    // While typing, the mode waits for the next evaluation.
    calc.press(QStringLiteral("B3"));
    calc.machine.C[0]->click();
    QCOMPARE(calc.shown(), QStringLiteral("3"));
    calc.press(QStringLiteral("EXE"));
    QCOMPARE(calc.shown(), QStringLiteral("3.E+00"));
    // A message in store shows as 0.
    calc.press(QStringLiteral("B1 div B0 EXE RAZ"));
    calc.machine.C[1]->click();
    QCOMPARE(calc.shown(), QStringLiteral(" 0"));
}

void TestMachine::scientificForm_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty") << ""
                           << "0.E+00";
    QTest::newRow("one") << "B1"
                         << "1.E+00";
    QTest::newRow("eight digits, rounded") << "moins B0 Bpoint B0 B0 B0 B1 B2 B3 B4 B5 B6 B7 B8 B9"
                                           << "-1.2345679E-04";
    QTest::newRow("rounding carries") << "B9 B9 B9 B9 B9 B9 B9 B9 Bpoint B6"
                                      << "1.E+08";
    QTest::newRow("three-digit exponent") << "B1 BtoEXP B3 B0 B0"
                                          << "1.E+300";
}

void TestMachine::scientificForm()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    Calculator calc;
    calc.machine.C[0]->click();
    calc.press(keys + QStringLiteral(" EXE"));
    QCOMPARE(calc.shown(), shown);
}

void TestMachine::angleMode()
{
    Calculator calc;
    calc.press(QStringLiteral("bsin B3 B0 EXE"));
    QCOMPARE(calc.shown(), QStringLiteral(" .5"));
    calc.machine.angle[1]->click();
    calc.press(QStringLiteral("bsin B3 B0 EXE"));
    QCOMPARE(calc.shown(), QStringLiteral("-.988031624092862"));
}

void TestMachine::waitTextShowsFirst()
{
    Calculator calc;
    calc.press(QStringLiteral("B2 plus B2"));
    QStringList texts;
    connect(calc.machine.z1, &QPlainTextEdit::textChanged, this,
            [&] { texts << calc.machine.z1->toPlainText(); });
    calc.press(QStringLiteral("EXE"));
    QCOMPARE(texts.first(), QStringLiteral("    Patience... Calculs en cours.     "));
    QCOMPARE(texts.last(), QStringLiteral(" 4"));
}

void TestMachine::memoryKeys()
{
    Calculator calc;
    calc.press(QStringLiteral("Command4 B7 EXE Command1 Command1"));
    QCOMPARE(Machine::memoire(), 14.0);
    calc.press(QStringLiteral("B4 EXE Command2"));
    QCOMPARE(Machine::memoire(), 10.0);
    // The number at the start of the display: an expression reads as its
    // first number, a message as 0.
    calc.press(QStringLiteral("B2 plus B5 Command1"));
    QCOMPARE(Machine::memoire(), 12.0);
    calc.press(QStringLiteral("RAZ B2 multip Command3"));
    QCOMPARE(calc.machine.saisie(), QStringLiteral("2 * 12"));
    calc.press(QStringLiteral("Command4"));
    QCOMPARE(Machine::memoire(), 0.0);
    QCOMPARE(calc.services.beeps, 0);
}

void TestMachine::memorySurvivesReopening()
{
    {
        Calculator calc;
        calc.press(QStringLiteral("Command4 B7 Bpoint B5 EXE Command1"));
        calc.machine.close();
    }
    Calculator calc;
    calc.press(QStringLiteral("Command3"));
    QCOMPARE(calc.machine.saisie(), QStringLiteral("7.5"));
}

void TestMachine::memoryRecallUsesAPoint()
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Calculator calc;
    calc.machine.C[0]->click();
    calc.press(QStringLiteral("Command4 B1 Bpoint B5 EXE Command1 plus Command3"));
    QLocale::setDefault(previous);
    QCOMPARE(calc.machine.saisie(), QStringLiteral("1.5E+00 + 1.5E+00"));
    calc.press(QStringLiteral("EXE"));
    QCOMPARE(calc.shown(), QStringLiteral("3.E+00"));
}

void TestMachine::memoryNeverOverflows()
{
    Calculator calc;
    calc.press(QStringLiteral("Command4 B1 BtoEXP B3 B0 B8 EXE Command1"));
    QCOMPARE(Machine::memoire(), 1e308);
    calc.press(QStringLiteral("Command1"));
    QCOMPARE(Machine::memoire(), 1e308);
    QCOMPARE(calc.services.beeps, 1);
    calc.press(QStringLiteral("moins B1 BtoEXP B3 B0 B8 EXE Command2"));
    QCOMPARE(Machine::memoire(), 1e308);
    QCOMPARE(calc.services.beeps, 2);
    // A typed number beyond the double range cannot be added either.
    calc.press(QStringLiteral("Command4 B1 BtoEXP B9 B9 B9 Command1"));
    QCOMPARE(Machine::memoire(), 0.0);
    QCOMPARE(calc.services.beeps, 3);
}

void TestMachine::keyboard()
{
    Calculator calc;
    QTest::keyClicks(calc.machine.z1, QStringLiteral("3*(4+2"));
    // The field never takes a typed character itself: it shows saisie.
    QCOMPARE(calc.shown(), QStringLiteral("3 * (4 + 2"));
    QTest::keyClicks(calc.machine.z1, QStringLiteral("x)"));
    QTest::keyClick(calc.machine.z1, Qt::Key_Return);
    QCOMPARE(calc.shown(), QStringLiteral(" 18"));

    QTest::keyClicks(calc.machine.z1, QStringLiteral("1e3-2d-1/D^"));
    QCOMPARE(calc.machine.saisie(), QStringLiteral("1E3 - 2E-1 / E ^ "));
    QTest::keyClick(calc.machine.z1, Qt::Key_Backspace);
    QTest::keyClick(calc.machine.z1, Qt::Key_Backspace);
    QCOMPARE(calc.machine.saisie(), QStringLiteral("1E3 - 2E-1 / "));

    // Keys reach the window's table from anywhere in the window; Escape does
    // not close it.
    calc.machine.angle[0]->setFocus();
    QTest::keyClicks(calc.machine.angle[0], QStringLiteral("5."));
    QTest::keyClick(&calc.machine, Qt::Key_Escape);
    QTest::keyClick(&calc.machine, Qt::Key_Enter);
    QCOMPARE(calc.shown(), QStringLiteral(" 999.96"));
    QVERIFY(calc.machine.isVisible());
}

void TestMachine::keysNamedByFunction_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::newRow("root") << "racine"
                          << "Racine carrée";
    QTest::newRow("sine") << "bsin"
                          << "Sinus";
    QTest::newRow("erase") << "EFFACE"
                           << "Effacer le dernier élément";
    QTest::newRow("power") << "puissance"
                           << "Puissance";
    QTest::newRow("digit") << "B7"
                           << "7";
    QTest::newRow("kilo") << "kilo"
                          << "kilo, fois 10 puissance 3";
}

void TestMachine::keysNamedByFunction()
{
    QFETCH(QString, key);
    QFETCH(QString, name);
    Calculator calc;
    auto *button = calc.machine.findChild<QPushButton *>(key);
    QVERIFY(button);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(button);
    QCOMPARE(iface->role(), QAccessible::Button);
    QCOMPARE(iface->text(QAccessible::Name), name);

    // Every control the keyboard reaches has a name.
    for (QWidget *widget : calc.machine.findChildren<QWidget *>()) {
        if (widget->focusPolicy() == Qt::NoFocus
            || qobject_cast<QPlainTextEdit *>(widget->parentWidget()))
            continue;
        QVERIFY2(!QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty(),
                 qPrintable(widget->objectName()));
    }
}

void TestMachine::keysFromTheKeyboard()
{
    Calculator calc;
    Machine &m = calc.machine;
    m.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m));
    m.z1->setFocus(Qt::TabFocusReason);
    // The display, the two option groups, then the keys row by row.
    QTest::keyClick(m.z1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), m.angle[0]);
    QWidget *w = QApplication::focusWidget();
    for (int i = 0; i < 80 && w != m.B7; ++i) {
        QTest::keyClick(w, Qt::Key_Tab);
        w = QApplication::focusWidget();
    }
    QCOMPARE(w, m.B7);
    // Space and Enter press the focused key, which keeps the focus.
    QTest::keyClick(w, Qt::Key_Space);
    QTest::keyClick(w, Qt::Key_Return);
    QCOMPARE(m.saisie(), QStringLiteral("77"));
    QCOMPARE(QApplication::focusWidget(), m.B7);
    // Typed characters still reach the expression, and Enter from the display
    // evaluates.
    QTest::keyClicks(w, QStringLiteral("+3"));
    m.z1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(m.z1, Qt::Key_Enter);
    QCOMPARE(calc.shown(), QStringLiteral(" 80"));
    // A mouse click on a key leaves the focus on the display.
    QTest::mouseClick(m.B2, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), m.z1);
}

void TestMachine::accessKey()
{
    Calculator calc;
    calc.machine.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&calc.machine));
    // An access key animates its key, which clicks a moment later.
    QTest::keyClick(&calc.machine, Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(calc.machine.saisie(), QStringLiteral("sin "));
    QTest::keyClick(&calc.machine, Qt::Key_I, Qt::AltModifier);
    QTRY_COMPARE(calc.machine.saisie(), QStringLiteral("sin invSIN "));
}

void TestMachine::layoutAndPainting()
{
    Calculator calc;
    QCOMPARE(calc.machine.size(), QSize(302, 431));
    QCOMPARE(calc.machine.EXE->geometry(), QRect(256, 392, 31, 24));
    QCOMPARE(calc.machine.Command1->geometry(), QRect(152, 192, 25, 25));
    QCOMPARE(calc.machine.Command1->toolTip(), QStringLiteral("Ajouter à la mémoire"));

    const QImage image = calc.machine.grab().toImage();
    auto at = [&](int x, int y) { return image.pixelColor(x, y); };
    // Gradient columns, a half shade going to the even neighbour.
    QCOMPARE(at(0, 200), QColor(200, 250, 250));
    QCOMPARE(at(5, 200), QColor(198, 248, 248));
    QCOMPARE(at(7, 200), QColor(196, 246, 246));
    QCOMPARE(at(301, 200), QColor(50, 100, 100));
    // Sunken edge and the frame of the digit keys.
    QCOMPARE(at(1, 200), QColor(Qt::black));
    QCOMPARE(at(150, 1), QColor(Qt::black));
    QCOMPARE(at(299, 200), QColor(Qt::white));
    QCOMPARE(at(150, 428), QColor(Qt::white));
    QCOMPARE(at(82, 350), QColor(Qt::white));
    QCOMPARE(at(81, 350), QColor(0, 128, 128));
    // The green display.
    QCOMPARE(at(150, 60), QColor(0, 255, 0));
}

QTEST_MAIN(TestMachine)
#include "tst_machine.moc"
