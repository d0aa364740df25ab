// SPDX-License-Identifier: GPL-3.0-or-later
// The exercises through the real main window: the launcher's request, the
// menu under the "Exercices" button and the text area's state.
#include "mainwindow/feuillep.h"

#include "config/configuration.h"
#include "platform/recordfile.h"
#include "scriptedservices.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

class TestFeuillePExercises : public QObject
{
    Q_OBJECT

private slots:
    void walkThroughTheStates();
};

void TestFeuillePExercises::walkThroughTheStates()
{
    QTemporaryDir program;
    QDir folder(program.path());
    QVERIFY(folder.mkdir(QStringLiteral("exercices")));
    QDir exercises(folder.filePath(QStringLiteral("exercices")));
    QFile statement(exercises.filePath(QStringLiteral("enonce.rtf")));
    QVERIFY(statement.open(QIODevice::WriteOnly));
    statement.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Enonce\\par}");
    statement.close();
    Configuration configuration;
    configuration.fields = {QStringLiteral("1"), QStringLiteral("32,7"), QStringLiteral("1"),
                            QStringLiteral("1,49"), QStringLiteral("1260")};
    configuration.interval = QStringLiteral("100");
    ConfigurationWriter writer;
    QVERIFY(writer.save(configuration, exercises.filePath(QStringLiteral("chute.P18"))));
    RecordFile descriptor(exercises.filePath(QStringLiteral("chute.E40")));
    QVERIFY(descriptor.write(1, QStringLiteral("enonce.rtf")));
    QVERIFY(descriptor.write(2, QStringLiteral("chute.P18")));
    QVERIFY(descriptor.write(3, QStringLiteral("enonce.rtf")));
    QVERIFY(descriptor.commit());
    QVERIFY(RecordFile::writeRecord(folder.filePath(QStringLiteral("TEMPQavo.TMP")), 31,
                                    QStringLiteral("chute.E40")));

    ScriptedServices services;
    FeuilleP window(services, program.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The launcher's request opened the exercise at the first activation.
    QTRY_COMPARE(window.supertext()->toPlainText(), QStringLiteral("Enonce"));
    QCOMPARE(window.fich()->text(), exercises.filePath(QStringLiteral("chute.E40")));
    QVERIFY(!window.supertext()->isReadOnly());
    QVERIFY(window.nomfichier().endsWith(QLatin1String("chute.P18")));
    QVERIFY(!window.textemodif());
    QVERIFY(services.messages.isEmpty());

    auto *menu = window.findChild<QMenu *>(QStringLiteral("optionexo"));
    QVERIFY(menu);
    const auto item = [menu](const char *name) {
        return menu->findChild<QAction *>(QString::fromLatin1(name));
    };
    window.button(QStringLiteral("btexo"))->click();
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(item("opencor")->isEnabled());
    QVERIFY(item("Closexo")->isEnabled());
    menu->hide();

    window.supertext()->insertPlainText(QStringLiteral("réponse "));
    QVERIFY(window.textemodif());
    // "Fermer l'exercice": Cancel at the guard keeps everything, OK closes.
    services.answers.enqueue(MessageAnswer::Cancel);
    item("Closexo")->trigger();
    QVERIFY(window.textemodif());
    QVERIFY(!window.fich()->text().isEmpty());
    item("Closexo")->trigger();
    QVERIFY(window.fich()->text().isEmpty());
    QVERIFY(window.supertext()->toPlainText().startsWith(QStringLiteral("Lorva avec frottement")));
    QVERIFY(window.supertext()->isReadOnly());
    QVERIFY(!window.textemodif());
    window.button(QStringLiteral("btexo"))->click();
    QVERIFY(!item("opencor")->isEnabled());
    QVERIFY(!item("Closexo")->isEnabled());
    menu->hide();

    services.answers.enqueue(MessageAnswer::Ok);
    services.answers.enqueue(MessageAnswer::Ok);
    window.close();
}

QTEST_MAIN(TestFeuillePExercises)
#include "tst_feuillepexercises.moc"
