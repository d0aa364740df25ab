// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtservices.h"
#include "platform/translations.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

// Qt's standard dialogs, as the program's services create them, speak French
// once the translations are installed, whatever the locale the tests run in.
class TestQtServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void colourPickerInFrench_data();
    void colourPickerInFrench();
    void frenchLocale();
};

void TestQtServices::initTestCase()
{
    QVERIFY(installFrenchTranslations(*QCoreApplication::instance()));
}

void TestQtServices::colourPickerInFrench_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("title") << QStringLiteral("Sélectionner une couleur");
    QTest::newRow("red channel") << QStringLiteral("Rouge :");
}

void TestQtServices::colourPickerInFrench()
{
    QFETCH(QString, text);

    QtServices services;
    const std::unique_ptr<QColorDialog> dialog = services.colourDialog(QColor(255, 128, 0));
    QCOMPARE(dialog->currentColor(), QColor(255, 128, 0));
    // What the dialog shows, access-key marks left out.
    QStringList shown {dialog->windowTitle()};
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        shown << label->text();
    const auto *box = dialog->findChild<QDialogButtonBox *>();
    QVERIFY(box);
    for (const QAbstractButton *button : box->buttons())
        shown << button->text();
    shown.replaceInStrings(QStringLiteral("&"), QString());
    QVERIFY2(shown.contains(text), qPrintable(shown.join(QStringLiteral(" | "))));
    QCOMPARE(box->button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
             QStringLiteral("Annuler"));
}

void TestQtServices::frenchLocale()
{
    QCOMPARE(QLocale().language(), QLocale::French);
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
}

QTEST_MAIN(TestQtServices)
#include "tst_qtservices.moc"
