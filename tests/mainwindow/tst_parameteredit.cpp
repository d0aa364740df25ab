// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/validation.h"
#include "mainwindow/parameteredit.h"

#include <QtTest>

class TestParameterEdit : public QObject
{
    Q_OBJECT

private slots:
    void typing_data();
    void typing();
    void enterGoesToTheFilter();
    void editingKeysPassUntouched();
    void focusSignals();
};

void TestParameterEdit::typing_data()
{
    QTest::addColumn<bool>("interval");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("point becomes a comma")
        << false << QStringLiteral("2.5") << QStringLiteral("2,5");
    QTest::newRow("letters dropped") << false << QStringLiteral("a1b2E3") << QStringLiteral("123");
    QTest::newRow("sign and comma kept")
        << false << QStringLiteral("-0,2") << QStringLiteral("-0,2");
    QTest::newRow("blank dropped") << false << QStringLiteral("1 000") << QStringLiteral("1000");
    QTest::newRow("interval: digits only")
        << true << QStringLiteral("1.5-0,a") << QStringLiteral("150");
}

void TestParameterEdit::typing()
{
    QFETCH(bool, interval);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    ParameterEdit edit;
    edit.setKeyFilter(
        [interval](char16_t key) { return (interval ? intervalKey(key) : parameterKey(key)).key; });
    QTest::keyClicks(&edit, typed);
    QCOMPARE(edit.text(), shown);
}

void TestParameterEdit::enterGoesToTheFilter()
{
    // A parameter field validates on Enter and discards the key; the interval
    // field validates and keeps it, so the field sees its Return.
    for (const bool interval : {false, true}) {
        ParameterEdit edit;
        int validated = 0;
        edit.setKeyFilter([&validated, interval](char16_t key) {
            const KeyFilter filter = interval ? intervalKey(key) : parameterKey(key);
            if (filter.validate)
                ++validated;
            return filter.key;
        });
        QSignalSpy returned(&edit, &QLineEdit::returnPressed);
        QTest::keyClicks(&edit, QStringLiteral("12"));
        QTest::keyClick(&edit, Qt::Key_Return);
        QTest::keyClick(&edit, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(validated, 2);
        QCOMPARE(returned.count(), interval ? 2 : 0);
        QCOMPARE(edit.text(), QStringLiteral("12"));
    }
}

void TestParameterEdit::editingKeysPassUntouched()
{
    ParameterEdit edit;
    QList<char16_t> seen;
    edit.setKeyFilter([&seen](char16_t key) {
        seen << key;
        return parameterKey(key).key;
    });
    QTest::keyClicks(&edit, QStringLiteral("123"));
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("23"));
    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.text(), QStringLiteral("3"));
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_Home);
    QCOMPARE(edit.cursorPosition(), 0);
    // The filter saw the three digits and Backspace (8), nothing else.
    QCOMPARE(seen, (QList<char16_t> {u'1', u'2', u'3', 8}));
}

void TestParameterEdit::focusSignals()
{
    ParameterEdit edit;
    QSignalSpy entered(&edit, &ParameterEdit::focusEntered);
    QSignalSpy left(&edit, &ParameterEdit::focusLeft);
    const auto send = [&edit](QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent event(type, reason);
        QCoreApplication::sendEvent(&edit, &event);
    };

    send(QEvent::FocusIn, Qt::MouseFocusReason);
    send(QEvent::FocusOut, Qt::TabFocusReason);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.count(), 1);

    // Another application activated and back, the field's own context menu:
    // the focus has not moved between controls.
    send(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    send(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    send(QEvent::FocusOut, Qt::PopupFocusReason);
    QCOMPARE(entered.count(), 1);
    QCOMPARE(left.count(), 1);
}

QTEST_MAIN(TestParameterEdit)
#include "tst_parameteredit.moc"
