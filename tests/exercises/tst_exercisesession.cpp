// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercises/exercisesession.h"
#include "exercises/fichexo.h"

#include "config/configuration.h"
#include "diskfull.h"
#include "fakeexercisehost.h"
#include "folders/folderlists.h"
#include "platform/recordfile.h"
#include "scriptedservices.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <algorithm>

namespace {

const QByteArray rtf(const char *text)
{
    return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 ") + text + "\\par}";
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A descriptor with records 1 to 12 (missing ones blank).
void writeDescriptor(const QString &path, const QStringList &records)
{
    RecordFile file(path);
    for (int i = 0; i < records.size(); ++i)
        QVERIFY(file.write(i + 1, records.at(i)));
    QVERIFY(file.commit());
}

// "title|text" of a message, the last by default; a box that never came
// reads as such, so that the comparison fails its case alone.
QString message(const ScriptedServices &services, int index = -1)
{
    const qsizetype at = index < 0 ? services.messages.size() - 1 : index;
    if (at < 0 || at >= services.messages.size())
        return QStringLiteral("(aucun message)");
    const auto &m = services.messages.at(at);
    return m.title + QLatin1Char('|') + m.text;
}

} // namespace

class TestExerciseSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void menuItems();
    void menuSeenByScreenReaders();
    void stateTable();
    void guardCancelKeepsEverything_data();
    void guardCancelKeepsEverything();
    void missingLessonDoesNothing();
    void missingStatement();
    void correctionWithoutText();
    void saveAndOverwrite();
    void failedSaveKeepsFlag();
    void reopenedTextMenu();
    void preview_data();
    void preview();
    void emptyFolder();
    void windowOpensAndFails();
    void refusedConfigurationStillOpens();
    void firstFileByName();
    void windowCoversMainWindow();
    void request_data();
    void request();
    void failedSaveKeepsThePreviousText_data();
    void failedSaveKeepsThePreviousText();

private:
    QString path(const QString &name) const { return QDir(m_dir->path()).filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedServices> m_services;
    std::unique_ptr<FakeExerciseHost> m_host;
    std::unique_ptr<ExerciseSession> m_session;
};

void TestExerciseSession::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("exercices")));
    writeFile(path(QStringLiteral("exercices/enonce.rtf")), rtf("Enonce"));
    writeFile(path(QStringLiteral("exercices/Corrige.RTF")), rtf("Corrige"));
    Configuration configuration;
    configuration.fields = {QStringLiteral("1"), QStringLiteral("32,7"), QStringLiteral("1"),
                            QStringLiteral("1,49"), QStringLiteral("1260")};
    configuration.interval = QStringLiteral("100");
    ConfigurationWriter writer;
    QVERIFY(writer.save(configuration, path(QStringLiteral("exercices/chute.P18"))));
    QVERIFY(writer.save(configuration, path(QStringLiteral("exercices/corrige.P18"))));
    // Names as a Windows teacher types them: another case, a backslash.
    writeDescriptor(path(QStringLiteral("exercices/chute.E40")),
                    {QStringLiteral("ENONCE.rtf"), QStringLiteral("chute.P18"),
                     QStringLiteral("corrige.rtf"), QStringLiteral("corrige.P18"),
                     QStringLiteral("2"), QString(), QStringLiteral("Stokes. "),
                     QStringLiteral("  "), QStringLiteral("Vitesse limite."), QString(),
                     QStringLiteral("  La chute  "), QStringLiteral("2.6")});
    writeDescriptor(
        path(QStringLiteral("LORVA.PEM")),
        {QStringLiteral("exercices\\enonce.rtf"), QStringLiteral("exercices\\chute.P18")});
    m_services = std::make_unique<ScriptedServices>();
    m_host = std::make_unique<FakeExerciseHost>();
    m_session = std::make_unique<ExerciseSession>(*m_host, *m_services, m_dir->path(),
                                                  path(QStringLiteral("exercices")));
    m_session->setRepexo(path(QStringLiteral("exercices")));
}

void TestExerciseSession::cleanup()
{
    m_session.reset();
    m_host.reset();
}

void TestExerciseSession::menuItems()
{
    QStringList captions;
    for (QAction *action : m_session->optionexo()->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(captions,
             QStringList({QStringLiteral("&Prise en main"), QStringLiteral("-"),
                          QStringLiteral("&Ouvrir un exercice (énoncé + configuration)"),
                          QStringLiteral("&Voir la correction"), QStringLiteral("-"),
                          QStringLiteral("&Enregistrer le contenu de la fenêtre exercice"),
                          QStringLiteral("&Retrouver un texte"),
                          QStringLiteral("&Imprimer le contenu de la fenêtre exercice"),
                          QStringLiteral("-"), QStringLiteral("&Fermer l'exercice")}));
    QVERIFY(!m_session->item(QStringLiteral("opencor"))->isEnabled());
    QVERIFY(!m_session->item(QStringLiteral("Closexo"))->isEnabled());
}

void TestExerciseSession::menuSeenByScreenReaders()
{
    QMenu *menu = m_session->optionexo();
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    // Among the application's children, as a screen reader walks them.
    QAccessibleInterface *application = QAccessible::queryAccessibleInterface(qApp);
    QVERIFY(application);
    QAccessibleInterface *found = nullptr;
    for (int i = 0; i < application->childCount(); ++i) {
        QAccessibleInterface *child = application->child(i);
        if (child && child->object() == menu)
            found = child;
    }
    QVERIFY(found);
    QCOMPARE(application->indexOfChild(found) >= 0, true);
    QCOMPARE(found->text(QAccessible::Name), QStringLiteral("Menu Exercices"));
    QStringList items;
    for (int i = 0; i < found->childCount(); ++i) {
        if (found->child(i)->role() == QAccessible::MenuItem)
            items << found->child(i)->text(QAccessible::Name);
    }
    QCOMPARE(items.size(), 7);
    QCOMPARE(items.first(), QStringLiteral("Prise en main"));
    QCOMPARE(items.last(), QStringLiteral("Fermer l'exercice"));
    menu->hide();
}

void TestExerciseSession::stateTable()
{
    QTextEdit *text = m_host->text;
    const QString descriptor
        = QDir::toNativeSeparators(path(QStringLiteral("exercices/chute.E40")));
    // Opening: statement, descriptor path, corrected, editable.
    QVERIFY(m_session->ouvreur(descriptor));
    QCOMPARE(text->toPlainText(), QStringLiteral("Enonce"));
    QCOMPARE(m_host->fichText, descriptor);
    QVERIFY(m_session->exoouvert());
    QVERIFY(!text->isReadOnly());
    QVERIFY(!m_host->modified);
    QCOMPARE(m_host->configurations.size(), 1);
    text->insertPlainText(QStringLiteral("ma réponse"));
    QVERIFY(m_host->modified);

    // The correction, after the guard: protected, fich and exoouvert unchanged.
    m_session->opencor_Click();
    QCOMPARE(message(*m_services),
             QStringLiteral("Abandon des données?|Attention: perte des "
                            "modifications du texte."));
    QCOMPARE(text->toPlainText(), QStringLiteral("Corrige"));
    QVERIFY(text->isReadOnly());
    QCOMPARE(m_host->fichText, descriptor);
    QVERIFY(m_session->exoouvert());
    QVERIFY(!m_host->modified);
    QVERIFY(m_host->configurations.last().endsWith(QLatin1String("corrige.P18")));

    // Getting started, without a guard.
    m_session->PRISENMAIN_Click();
    QCOMPARE(text->toPlainText(), QStringLiteral("Enonce"));
    QCOMPARE(m_host->fichText, QDir::toNativeSeparators(path(QStringLiteral("LORVA.PEM"))));
    QVERIFY(!m_session->exoouvert());
    QVERIFY(!text->isReadOnly());

    // Closing brings back the introduction.
    m_session->updateMenu();
    QVERIFY(m_session->item(QStringLiteral("Closexo"))->isEnabled());
    QVERIFY(!m_session->item(QStringLiteral("opencor"))->isEnabled());
    m_session->Closexo_Click();
    QCOMPARE(text->toPlainText(), QStringLiteral("Introduction"));
    QVERIFY(m_host->fichText.isEmpty());
    QVERIFY(text->isReadOnly());
    m_session->updateMenu();
    QVERIFY(!m_session->item(QStringLiteral("Closexo"))->isEnabled());
}

void TestExerciseSession::guardCancelKeepsEverything_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("Fermer l'exercice") << QStringLiteral("Closexo");
    QTest::newRow("Voir la correction") << QStringLiteral("opencor");
    QTest::newRow("Retrouver un texte") << QStringLiteral("opentexte");
    QTest::newRow("Ouvrir un exercice") << QStringLiteral("openexo");
}

void TestExerciseSession::guardCancelKeepsEverything()
{
    QFETCH(QString, item);
    QVERIFY(m_session->ouvreur(path(QStringLiteral("exercices/chute.E40"))));
    m_host->text->insertPlainText(QStringLiteral("réponse "));
    const QString before = m_host->text->toPlainText();
    const QString fich = m_host->fichText;
    m_services->answers.enqueue(MessageAnswer::Cancel);
    m_services->fileNames.enqueue(path(QStringLiteral("exercices/enonce.rtf")));
    // As the button does before popping the menu up.
    m_session->updateMenu();
    m_session->item(item)->trigger();
    QCOMPARE(m_services->messages.size(), 1);
    QCOMPARE(m_host->text->toPlainText(), before);
    QCOMPARE(m_host->fichText, fich);
    QVERIFY(m_host->modified);
    QVERIFY(m_session->exoouvert());
    QVERIFY(!m_host->text->isReadOnly());
    QCOMPARE(m_services->fileRequests.size(), 0);
    QCOMPARE(m_host->modals, 0);
    m_session->updateMenu();
    QVERIFY(m_session->item(QStringLiteral("opencor"))->isEnabled());
    QVERIFY(m_session->item(QStringLiteral("Closexo"))->isEnabled());
}

void TestExerciseSession::missingLessonDoesNothing()
{
    QVERIFY(QFile::remove(path(QStringLiteral("LORVA.PEM"))));
    m_session->PRISENMAIN_Click();
    QVERIFY(m_services->messages.isEmpty());
    QCOMPARE(m_host->text->toPlainText(), QStringLiteral("Introduction"));
    QVERIFY(m_host->fichText.isEmpty());
    QVERIFY(m_host->configurations.isEmpty());
}

void TestExerciseSession::missingStatement()
{
    QVERIFY(QFile::remove(path(QStringLiteral("exercices/enonce.rtf"))));
    QVERIFY(!m_session->ouvreur(path(QStringLiteral("exercices/chute.E40"))));
    QCOMPARE(message(*m_services),
             QStringLiteral("Fichier absent|Le fichier ") + m_session->repexo()
                 + QStringLiteral("ENONCE.rtf est introuvable"));
    QCOMPARE(m_host->text->toPlainText(), QStringLiteral("Introduction"));
    QVERIFY(m_host->fichText.isEmpty());
    QVERIFY(m_host->configurations.isEmpty());
}

void TestExerciseSession::correctionWithoutText()
{
    // Record 3 blank: the statement stays, the correction's configuration loads.
    writeDescriptor(
        path(QStringLiteral("exercices/chute.E40")),
        {QStringLiteral("enonce.rtf"), QString(), QString(), QStringLiteral("corrige.P18")});
    QVERIFY(m_session->ouvreur(path(QStringLiteral("exercices/chute.E40"))));
    QVERIFY(m_host->configurations.isEmpty());
    m_session->opencor_Click();
    QCOMPARE(m_host->text->toPlainText(), QStringLiteral("Enonce"));
    QCOMPARE(m_host->configurations.size(), 1);
    QVERIFY(m_host->text->isReadOnly());
}

void TestExerciseSession::saveAndOverwrite()
{
    QVERIFY(m_session->ouvreur(path(QStringLiteral("exercices/chute.E40"))));
    m_host->text->insertPlainText(QStringLiteral("réponse "));
    const QString target = path(QStringLiteral("texte.rtf"));
    writeFile(target, "ancien");
    m_services->fileNames.enqueue(target);
    m_services->answers.enqueue(MessageAnswer::Cancel);
    m_session->savetexte_Click();
    QCOMPARE(m_services->fileRequests.at(0).defaultExtension, QStringLiteral("RTF"));
    QCOMPARE(message(*m_services),
             QStringLiteral("Ecraser le fichier?|Le fichier ") + QDir::toNativeSeparators(target)
                 + QStringLiteral(" existe déjà.\nEcraser l'ancien?"));
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("ancien"));
    file.close();
    QVERIFY(m_host->modified);

    m_services->fileNames.enqueue(target);
    m_session->savetexte_Click();
    QVERIFY(!m_host->modified);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("{\\rtf1"));
}

void TestExerciseSession::failedSaveKeepsFlag()
{
    QVERIFY(m_session->ouvreur(path(QStringLiteral("exercices/chute.E40"))));
    m_host->text->insertPlainText(QStringLiteral("réponse "));
    m_services->fileNames.enqueue(path(QStringLiteral("absent/texte.rtf")));
    m_session->savetexte_Click();
    QCOMPARE(message(*m_services),
             QStringLiteral("Erreur d'écriture.|Vérifier l'état du lecteur "
                            "et le nom du fichier."));
    QVERIFY(m_host->modified);
}

void TestExerciseSession::reopenedTextMenu()
{
    QVERIFY(m_session->ouvreur(path(QStringLiteral("exercices/chute.E40"))));
    const QString chosen = path(QStringLiteral("exercices/Corrige.RTF"));
    m_services->fileNames.enqueue(chosen);
    m_session->opentexte_Click();
    QCOMPARE(m_host->text->toPlainText(), QStringLiteral("Corrige"));
    QCOMPARE(m_host->fichText, QStringLiteral("Texte: ") + QDir::toNativeSeparators(chosen));
    QVERIFY(!m_host->text->isReadOnly());
    QVERIFY(!m_host->modified);
    m_session->updateMenu();
    QVERIFY(!m_session->item(QStringLiteral("opencor"))->isEnabled());
    QVERIFY(m_session->item(QStringLiteral("Closexo"))->isEnabled());
}

void TestExerciseSession::preview_data()
{
    QTest::addColumn<QString>("difficulty");
    QTest::addColumn<int>("lit");
    QTest::addColumn<bool>("corrected");
    QTest::newRow("0, non corrigé") << QStringLiteral("0") << 0 << false;
    QTest::newRow("2, corrigé") << QStringLiteral("2") << 2 << true;
    QTest::newRow("3") << QStringLiteral("3") << 3 << true;
    QTest::newRow("7") << QStringLiteral("7") << 3 << false;
    QTest::newRow("texte") << QStringLiteral("facile") << 0 << true;
}

void TestExerciseSession::preview()
{
    QFETCH(QString, difficulty);
    QFETCH(int, lit);
    QFETCH(bool, corrected);
    const QString name = path(QStringLiteral("exercices/chute.E40"));
    writeDescriptor(name,
                    {QStringLiteral("enonce.rtf"), QString(),
                     corrected ? QStringLiteral("corrige.rtf") : QStringLiteral("  "), QString(),
                     difficulty, QString(), QStringLiteral("Stokes. "), QStringLiteral("   "),
                     QStringLiteral("Reynolds."), QString(), QStringLiteral("  La chute  "),
                     QStringLiteral("2.6")});
    Fichexo window(*m_session, &m_host->mainWindow);
    window.File1_Click(QStringLiteral("chute.E40"));
    int shown = 0;
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!window.image4(i)->isHidden());
        shown += window.lampLit(i) ? 1 : 0;
    }
    QCOMPARE(shown, lit);
    const QString status = corrected ? Fichexo::corrected() : Fichexo::notCorrected();
    QCOMPARE(window.label(2)->text(), status);
    QCOMPARE(window.label(3)->text(), status);
    QCOMPARE(window.label(3)->pos(), window.label(2)->pos() + QPoint(2, 2));
    QCOMPARE(window.titratexo()->text(), QStringLiteral("La chute"));
    QCOMPARE(window.titratexo()->accessibleName(), QStringLiteral("La chute"));
    QCOMPARE(window.text1()->toPlainText(), QStringLiteral("Stokes. Reynolds."));
    // Three hourglasses, drawn side by side.
    QCOMPARE(window.text2()->accessibleName(), QStringLiteral("3 sablier(s)"));
    QVERIFY(window.text2()->pixmap().width() >= 3 * 16);
    QVERIFY(window.intratro()->isHidden());
    QVERIFY(!window.ouvreur()->isHidden());
}

void TestExerciseSession::emptyFolder()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("vide")));
    Fichexo window(*m_session, &m_host->mainWindow);
    // The empty list is checked once the folder has been read: its loading
    // ends with directoryLoaded, which the window answers before the spy.
    const auto *files = qobject_cast<const QFileSystemModel *>(window.lists().File1->model());
    QVERIFY(files);
    QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
    const QString empty = path(QStringLiteral("vide"));
    QVERIFY(window.lists().setPath(empty));
    window.show();
    QTRY_VERIFY(std::any_of(loaded.cbegin(), loaded.cend(), [&](const QList<QVariant> &signal) {
        return QDir::cleanPath(signal.at(0).toString()) == QDir::cleanPath(empty);
    }));
    // The window's own activation, queued when it was shown.
    QCoreApplication::processEvents();
    QVERIFY(window.fichierexo()->text().isEmpty());
    QVERIFY(!window.intratro()->isHidden());
    QVERIFY(window.ouvreur()->isHidden());
    window.ouvreur_Click();
    QVERIFY(m_host->fichText.isEmpty());
    QVERIFY(m_services->messages.isEmpty());
}

void TestExerciseSession::windowOpensAndFails()
{
    // Activation selects the first descriptor (".e40" counts too).
    QVERIFY(QFile::rename(path(QStringLiteral("exercices/chute.E40")),
                          path(QStringLiteral("exercices/chute.e40"))));
    m_host->onModal = [this](QDialog *dialog) {
        auto *window = static_cast<Fichexo *>(dialog);
        window->show();
        QTRY_COMPARE(window->fichierexo()->text(),
                     m_session->repexo() + QStringLiteral("chute.e40"));
        QVERIFY(QFile::remove(path(QStringLiteral("exercices/enonce.rtf"))));
        window->ouvreur_Click();
        QCOMPARE(m_services->messages.size(), 1);
        QCOMPARE(m_services->messages.at(0).title, QStringLiteral("Fichier absent"));
        QVERIFY(window->isVisible());
        QVERIFY(window->frame2()->isHidden());
        writeFile(path(QStringLiteral("exercices/enonce.rtf")), rtf("Enonce"));
        QTest::keyClick(window->lists().File1, Qt::Key_Return);
        QVERIFY(!window->isVisible());
    };
    m_session->openexo_Click();
    QCOMPARE(m_host->modals, 1);
    QCOMPARE(m_host->text->toPlainText(), QStringLiteral("Enonce"));
    QVERIFY(m_session->exoouvert());
}

void TestExerciseSession::refusedConfigurationStillOpens()
{
    // chargeconfig has reported the refused file; the statement is open and
    // the window closes, as after a successful opening.
    m_host->refuseConfigurations = true;
    QVERIFY(m_session->ouvreur(path(QStringLiteral("exercices/chute.E40"))));
    QCOMPARE(m_host->configurations.size(), 1);
    QCOMPARE(m_host->text->toPlainText(), QStringLiteral("Enonce"));
    QVERIFY(!m_host->text->isReadOnly());
    QVERIFY(!m_host->modified);
}

void TestExerciseSession::firstFileByName()
{
    QStandardItemModel model;
    for (const char *name : {"viscosite.E40", "b.E40", "Archimede.E40", "c.E40"})
        model.appendRow(new QStandardItem(QString::fromUtf8(name)));
    QCOMPARE(Fichexo::firstByName(model, QModelIndex()).data().toString(),
             QStringLiteral("Archimede.E40"));
    model.removeRow(2);
    QCOMPARE(Fichexo::firstByName(model, QModelIndex()).row(), 1);
    QVERIFY(!Fichexo::firstByName(QStandardItemModel(), QModelIndex()).isValid());

    // Written last, listed first.
    QVERIFY(QFile::copy(path(QStringLiteral("exercices/chute.E40")),
                        path(QStringLiteral("exercices/archimede.E40"))));
    Fichexo window(*m_session, &m_host->mainWindow);
    window.show();
    QTRY_COMPARE(window.fichierexo()->text(),
                 m_session->repexo() + QStringLiteral("archimede.E40"));

    // A screen reader meets every file of the folder as a named item.
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(window.lists().File1);
    QVERIFY(list);
    QCOMPARE(list->childCount(), 2);
    QStringList items;
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface *item = list->child(i);
        QVERIFY(item);
        QCOMPARE(item->role(), QAccessible::ListItem);
        QCOMPARE(list->indexOfChild(item), i);
        items << item->text(QAccessible::Name);
    }
    items.sort();
    QCOMPARE(items, QStringList({QStringLiteral("archimede.E40"), QStringLiteral("chute.E40")}));
    QVERIFY(list->focusChild());
    QCOMPARE(list->focusChild()->text(QAccessible::Name), QStringLiteral("archimede.E40"));
}

void TestExerciseSession::windowCoversMainWindow()
{
    m_host->mainWindow.resize(800, 572);
    Fichexo window(*m_session, &m_host->mainWindow);
    QCOMPARE(window.size(), QSize(800, 572));
    QVERIFY(window.ouvreur()->geometry().bottom() < 572);
    QVERIFY(window.findChild<QWidget *>(QStringLiteral("Frame1"))->geometry().bottom() < 572);

    // The folder tree shows the exercises' folder, deep as it may lie.
    window.show();
    QTreeView *tree = window.lists().Dir1;
    QTRY_VERIFY(
        tree->currentIndex().isValid()
        && tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex()).center()));
    QCOMPARE(tree->currentIndex().data().toString(), QStringLiteral("exercices"));
}

void TestExerciseSession::request_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer"); // to the guard's question, when asked
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("no edits: opened without a question")
        << false << int(MessageAnswer::Ok) << QStringLiteral("Enonce") << QStringList();
    QTest::newRow("edits given up") << true << int(MessageAnswer::Ok) << QStringLiteral("Enonce")
                                    << QStringList({QStringLiteral("Abandon des données?")});
    QTest::newRow("edits kept: the request is dropped")
        << true << int(MessageAnswer::Cancel) << QStringLiteral("Corrige mes notes")
        << QStringList(
               {QStringLiteral("Abandon des données?"), QStringLiteral("Exercice non ouvert")});
}

void TestExerciseSession::request()
{
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(QString, text);
    QFETCH(QStringList, titles);
    // The student is writing in a reopened text when the launcher asks.
    m_services->fileNames.enqueue(path(QStringLiteral("exercices/Corrige.RTF")));
    m_session->opentexte_Click();
    m_host->text->moveCursor(QTextCursor::End);
    if (edited)
        m_host->text->insertPlainText(QStringLiteral(" mes notes"));
    const QString fich = m_host->fichText;
    m_services->answers.enqueue(MessageAnswer(answer));
    m_host->mainWindow.hide();
    m_session->openRequested(path(QStringLiteral("exercices/chute.E40")));

    QStringList shown;
    for (const ScriptedServices::Message &m : std::as_const(m_services->messages))
        shown << m.title;
    QCOMPARE(shown, titles);
    QCOMPARE(m_host->text->toPlainText(), text);
    const bool replaced = text == QLatin1String("Enonce");
    QCOMPARE(m_host->fichText == fich, !replaced);
    QCOMPARE(m_host->modified, !replaced);
    // A box never stands over a hidden main window.
    if (!titles.isEmpty())
        QVERIFY(m_host->mainWindow.isVisible());
}

void TestExerciseSession::failedSaveKeepsThePreviousText_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("disk full while writing") << QStringLiteral("file size limit");
    QTest::newRow("full file system") << QStringLiteral("tmpfs");
}

void TestExerciseSession::failedSaveKeepsThePreviousText()
{
    QFETCH(QString, failure);
    const QByteArray old = rtf("Premier texte enregistre");
    QString target = path(QStringLiteral("texte.rtf"));
    std::unique_ptr<FullTmpfs> tmpfs;
    if (failure == QStringLiteral("tmpfs")) {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("petit")));
        tmpfs = std::make_unique<FullTmpfs>(path(QStringLiteral("petit")));
        if (!tmpfs->mounted())
            QSKIP(qPrintable(tmpfs->whyNot()));
        target = path(QStringLiteral("petit/texte.rtf"));
        QVERIFY(tmpfs->writeThenFill(target, old));
    } else {
        writeFile(target, old);
    }
    QVERIFY(m_session->ouvreur(path(QStringLiteral("exercices/chute.E40"))));
    m_host->text->insertPlainText(QString(3000, QLatin1Char('r')));
    m_services->fileNames.enqueue(target);
    m_services->answers.enqueue(MessageAnswer::Ok);
    {
        const FileSizeLimit limit(failure == QStringLiteral("tmpfs") ? RLIM_INFINITY : 64);
        QVERIFY(limit.isActive());
        m_session->savetexte_Click();
    }
    QCOMPARE(message(*m_services),
             QStringLiteral("Erreur d'écriture.|Vérifier l'état du lecteur "
                            "et le nom du fichier."));
    QVERIFY(m_host->modified);
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), old);
    // No temporary file is left beside it.
    QCOMPARE(QFileInfo(target).dir().entryList({QStringLiteral("texte*")}, QDir::Files),
             QStringList {QStringLiteral("texte.rtf")});
}

QTEST_MAIN(TestExerciseSession)
#include "tst_exercisesession.moc"
