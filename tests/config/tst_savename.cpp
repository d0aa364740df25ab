// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/savename.h"

#include <QTest>

class TestSaveName : public QObject
{
    Q_OBJECT

private slots:
    void savePath_data();
    void savePath();
    void bareNames_data();
    void bareNames();
};

void TestSaveName::savePath_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    const QString none;
    QTest::newRow("bare name") << QStringLiteral("essai") << QStringLiteral("/d/essai.P18");
    QTest::newRow("blanks around")
        << QStringLiteral("  essai \t") << QStringLiteral("/d/essai.P18");
    QTest::newRow("other extension")
        << QStringLiteral("essai.txt") << QStringLiteral("/d/essai.P18");
    QTest::newRow("own extension") << QStringLiteral("essai.P18") << QStringLiteral("/d/essai.P18");
    QTest::newRow("a.b.c") << QStringLiteral("a.b.c") << QStringLiteral("/d/a.P18");
    QTest::newRow("blank before the extension")
        << QStringLiteral("essai .txt") << QStringLiteral("/d/essai.P18");
    QTest::newRow("dotted folders") << QStringLiteral("/home/élève/tp.1/essai.txt")
                                    << QStringLiteral("/home/élève/tp.1/essai.P18");
    QTest::newRow("dotted folders, no extension")
        << QStringLiteral("/home/tp.1/essai") << QStringLiteral("/home/tp.1/essai.P18");
    QTest::newRow("backslashes") << QStringLiteral("\\home\\tp.2\\essai.P18")
                                 << QStringLiteral("/home/tp.2/essai.P18");
    QTest::newRow("relative folder")
        << QStringLiteral("sous.dossier/essai.x") << QStringLiteral("/d/sous.dossier/essai.P18");
    QTest::newRow("empty") << QString() << none;
    QTest::newRow("blanks only") << QStringLiteral("   ") << none;
    QTest::newRow("extension only") << QStringLiteral(".P18") << none;
    QTest::newRow("extensions and blanks") << QStringLiteral(" . .P18 ") << none;
    QTest::newRow("folder only") << QStringLiteral("/home/tp.1/") << none;
    QTest::newRow("folder and extension") << QStringLiteral("/home/tp.1/.P18") << none;
}

void TestSaveName::savePath()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(configurationSavePath(typed, QStringLiteral("/d")), expected);
    // A folder ending with its separator gets no second one.
    if (!expected.startsWith(QStringLiteral("/d/")))
        return;
    QCOMPARE(configurationSavePath(typed, QStringLiteral("/d/")), expected);
}

void TestSaveName::bareNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("bare");
    QTest::newRow("full path") << QStringLiteral("/home/tp.1/essai.P18")
                               << QStringLiteral("essai.P18");
    QTest::newRow("backslashes") << QStringLiteral("a\\b\\c.P18") << QStringLiteral("c.P18");
    QTest::newRow("already bare") << QStringLiteral("essai") << QStringLiteral("essai");
    QTest::newRow("folder") << QStringLiteral("/home/") << QString();
}

void TestSaveName::bareNames()
{
    QFETCH(QString, path);
    QFETCH(QString, bare);
    QCOMPARE(bareName(path), bare);
}

QTEST_APPLESS_MAIN(TestSaveName)
#include "tst_savename.moc"
