// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/enregistrer.h"
#include "config/ouvrir.h"
#include "fakeconfigurationtarget.h"
#include "folders/folderlists.h"
#include "records.h"
#include "scriptedservices.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <algorithm>

class TestConfigDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void saveDialogOpensBesideTheMainWindow();
    void saveNames_data();
    void saveNames();
    void emptyNameKeepsTheDialogOpen();
    void overwriteNoKeepsTheOldFile();
    void overwriteYesSavesOverThePathShownAtLoad();
    void folderChangeLeavesTheBareName();
    void doubleClickSavesOverAFile();
    void failedSaveKeepsTheDialogOpen();
    void folderNamedLikeTheFileIsNoFileToOverwrite();
    void fileListShowsConfigurationsInAnyCase();
    void openEmptyPathDoesNothing();
    void openMissingPath();
    void openShowsTheWaitingPanelWhileReading();
    void openRefusedFileClosesAndKeepsTheName();
    void everyControlIsNamedAndEscapeCancels();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeBytes(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray contents(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool waitForFiles(FolderLists &lists, int count)
    {
        return QTest::qWaitFor(
            [&] { return lists.File1->model()->rowCount(lists.File1->rootIndex()) == count; });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    FakeConfigurationTarget m_target;
    ScriptedServices m_services;
    QString m_nomfichier;
};

void TestConfigDialogs::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_target = FakeConfigurationTarget();
    m_services = ScriptedServices();
    m_nomfichier.clear();
}

void TestConfigDialogs::saveDialogOpensBesideTheMainWindow()
{
    m_nomfichier = path(QStringLiteral("dernier.P18"));
    Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint(100, 50));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Enregistrer les paramètres."));
    QCOMPARE(dialog.pos(), QPoint(120, 70));
    QCOMPARE(dialog.Text1->text(), m_nomfichier);
    QCOMPARE(dialog.folders().path(), m_dir->path());
    QCOMPARE(dialog.Text1->geometry(), QRect(48, 360, 289, 21));
    QCOMPARE(dialog.Command1->text(), QStringLiteral("&ENREGISTRER"));
}

void TestConfigDialogs::saveNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("trailing blanks") << QStringLiteral("essai   ") << QStringLiteral("essai.P18");
    QTest::newRow("other extension") << QStringLiteral("essai.txt") << QStringLiteral("essai.P18");
    QTest::newRow("a.b.c") << QStringLiteral("a.b.c") << QStringLiteral("a.P18");
    QTest::newRow("dotted folder")
        << QStringLiteral("%1/tp.1/essai.txt") << QStringLiteral("tp.1/essai.P18");
    QTest::newRow("backslashes") << QStringLiteral("tp.1\\essai")
                                 << QStringLiteral("tp.1/essai.P18");
}

void TestConfigDialogs::saveNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("tp.1")));
    Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint());
    dialog.folders().setPath(m_dir->path());
    dialog.show();
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    dialog.Text1->clear();
    // Enter in the name field saves.
    QTest::keyClicks(dialog.Text1, typed.contains(u'%') ? typed.arg(m_dir->path()) : typed);
    QTest::keyClick(dialog.Text1, Qt::Key_Return);
    QCOMPARE(accepted.count(), 1);
    QVERIFY(m_services.messages.isEmpty());
    QCOMPARE(m_nomfichier, path(saved));
    QVERIFY(QFile::exists(path(saved)));
    QCOMPARE(m_target.title, QStringLiteral("Lorva avec frottement - ") + path(saved));
}

void TestConfigDialogs::emptyNameKeepsTheDialogOpen()
{
    for (const QString &typed : {QString(), QStringLiteral("  "), QStringLiteral(".P18")}) {
        m_services.messages.clear();
        Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint());
        dialog.folders().setPath(m_dir->path());
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.Text1->setText(typed);
        dialog.Command1->click();
        QCOMPARE(accepted.count(), 0);
        QCOMPARE(m_services.messages.size(), 1);
        QCOMPARE(m_services.messages[0].icon, MessageIcon::Error);
        QCOMPARE(m_services.messages[0].title, QStringLiteral("Enregistrement impossible"));
        QCOMPARE(m_services.messages[0].text, QStringLiteral("Il faut donner un nom au fichier!"));
    }
    QVERIFY(QDir(m_dir->path()).isEmpty());
    QVERIFY(m_nomfichier.isEmpty());
}

void TestConfigDialogs::overwriteNoKeepsTheOldFile()
{
    const QByteArray old("ancien contenu");
    writeBytes(path(QStringLiteral("essai.P18")), old);
    Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint());
    dialog.folders().setPath(m_dir->path());
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    dialog.Text1->setText(QStringLiteral("essai"));
    m_services.answers.enqueue(MessageAnswer::No);
    dialog.Command1->click();
    QCOMPARE(m_services.messages.size(), 1);
    QCOMPARE(m_services.messages[0].icon, MessageIcon::Warning);
    QCOMPARE(m_services.messages[0].buttons, MessageButtons::YesNo);
    QCOMPARE(m_services.messages[0].title, QStringLiteral("Ce fichier existe déjà!"));
    QCOMPARE(m_services.messages[0].text, QStringLiteral("Ecraser le fichier existant?"));
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(dialog.Text1->text(), path(QStringLiteral("essai.P18")));
    QCOMPARE(contents(path(QStringLiteral("essai.P18"))), old);
    QVERIFY(m_nomfichier.isEmpty());
}

void TestConfigDialogs::overwriteYesSavesOverThePathShownAtLoad()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("tp.1")));
    m_nomfichier = path(QStringLiteral("tp.1/essai.P18"));
    writeBytes(m_nomfichier, QByteArray("ancien"));
    Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint());
    QCOMPARE(dialog.folders().path(), path(QStringLiteral("tp.1")));
    dialog.Command1->click();
    QCOMPARE(m_services.messages.size(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(contents(m_nomfichier).size(), 24 * 128);
    QCOMPARE(m_nomfichier, path(QStringLiteral("tp.1/essai.P18")));
}

void TestConfigDialogs::folderChangeLeavesTheBareName()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sous.dossier")));
    m_nomfichier = path(QStringLiteral("essai.P18"));
    Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint());
    dialog.show();
    QCOMPARE(dialog.Text1->text(), m_nomfichier);
    // Enter on a highlighted folder opens it.
    QTreeView *dir1 = dialog.folders().Dir1;
    auto *model = dir1->model();
    QModelIndex sub;
    QVERIFY(QTest::qWaitFor([&] {
        const QModelIndex root = dir1->currentIndex();
        for (int row = 0; row < model->rowCount(root); ++row) {
            if (model->index(row, 0, root).data().toString() == QStringLiteral("sous.dossier"))
                sub = model->index(row, 0, root);
        }
        return sub.isValid();
    }));
    dir1->setCurrentIndex(sub);
    QTest::keyClick(dir1, Qt::Key_Return);
    QCOMPARE(dialog.folders().path(), path(QStringLiteral("sous.dossier")));
    QCOMPARE(dialog.Text1->text(), QStringLiteral("essai.P18"));
    dialog.Command1->click();
    QVERIFY(QFile::exists(path(QStringLiteral("sous.dossier/essai.P18"))));
}

void TestConfigDialogs::doubleClickSavesOverAFile()
{
    writeBytes(path(QStringLiteral("vieux.P18")), QByteArray("ancien"));
    Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint());
    dialog.folders().setPath(m_dir->path());
    dialog.show();
    QListView *file1 = dialog.folders().File1;
    QVERIFY(waitForFiles(dialog.folders(), 1));
    const QModelIndex first = file1->model()->index(0, 0, file1->rootIndex());
    QVERIFY(QTest::qWaitFor(
        [&] { return file1->indexAt(file1->visualRect(first).center()) == first; }));
    const QPoint centre = file1->visualRect(first).center();
    // A double-click is a press and release followed by a second press.
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(file1->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(m_services.messages.size(), 1);
    QCOMPARE(m_services.messages[0].text, QStringLiteral("Ecraser le fichier existant?"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(contents(path(QStringLiteral("vieux.P18"))).size(), 24 * 128);
}

void TestConfigDialogs::failedSaveKeepsTheDialogOpen()
{
    const QByteArray old("ancien");
    writeBytes(path(QStringLiteral("essai.P18")), old);
    m_target.current.fields[0] = QString(127, QLatin1Char('3'));
    m_nomfichier = path(QStringLiteral("essai.P18"));
    const QString before = m_nomfichier;
    Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint());
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    dialog.Command1->click();
    QCOMPARE(m_services.messages.size(), 2);
    QCOMPARE(m_services.messages[1].title, QStringLiteral("Enregistrement impossible"));
    QCOMPARE(m_services.messages[1].text, QStringLiteral("Ecriture impossible sur disque"));
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(contents(before), old);
    QVERIFY(m_target.title.isEmpty());
}

void TestConfigDialogs::folderNamedLikeTheFileIsNoFileToOverwrite()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("rep.P18")));
    Enregistrer dialog(m_target, m_services, m_nomfichier, QPoint());
    QVERIFY(dialog.folders().setPath(m_dir->path()));
    dialog.Text1->setText(QStringLiteral("rep"));
    dialog.Command1->click();
    QCOMPARE(m_services.messages.size(), 1);
    QCOMPARE(m_services.messages[0].title, QStringLiteral("Enregistrement impossible"));
    QCOMPARE(m_services.messages[0].text, QStringLiteral("Ecriture impossible sur disque"));
    QVERIFY(QFileInfo(path(QStringLiteral("rep.P18"))).isDir());
    QVERIFY(dialog.isVisible() || dialog.result() != int(QDialog::Accepted));
}

void TestConfigDialogs::fileListShowsConfigurationsInAnyCase()
{
    for (const char *name : {"a.P18", "b.p18", "c.txt", "dP18"})
        writeBytes(path(QString::fromLatin1(name)), QByteArray("x"));
    Ouvrir dialog(m_target, m_services, m_nomfichier, QPoint(10, 10));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Ouvrir une configuration"));
    QCOMPARE(dialog.pos(), QPoint(30, 30));
    QVERIFY(dialog.folders().setPath(m_dir->path()));
    QVERIFY(waitForFiles(dialog.folders(), 2));
    // File1_Click shows the full path.
    QListView *file1 = dialog.folders().File1;
    const QModelIndex b = file1->model()
                              ->match(file1->model()->index(0, 0, file1->rootIndex()),
                                      Qt::DisplayRole, QStringLiteral("b.p18"))
                              .value(0);
    QVERIFY(b.isValid());
    file1->setCurrentIndex(b);
    QCOMPARE(dialog.ficharge->text(), path(QStringLiteral("b.p18")));
    QVERIFY(dialog.folders().drives().contains(QStringLiteral("/")));
    QCOMPARE(dialog.folders().driveOf(m_dir->path()).isEmpty(), false);
}

void TestConfigDialogs::openEmptyPathDoesNothing()
{
    writeBytes(path(QStringLiteral("tp.P18")), recordBytes(validTexts()));
    Ouvrir dialog(m_target, m_services, m_nomfichier, QPoint());
    QVERIFY(dialog.folders().setPath(m_dir->path()));
    dialog.show();
    QVERIFY(waitForFiles(dialog.folders(), 1));
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    // The list gets the focus and makes its first file current by itself:
    // that chooses nothing.
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QListView *file1 = dialog.folders().File1;
    QVERIFY(QTest::qWaitFor([&] {
        return file1->visualRect(file1->model()->index(0, 0, file1->rootIndex())).isValid();
    }));
    dialog.folders().Dir1->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(dialog.folders().Dir1, Qt::Key_Tab);
    QVERIFY(file1->hasFocus());
    QVERIFY(file1->currentIndex().isValid());
    QCOMPARE(dialog.ficharge->text(), QString());
    dialog.Command1->click();
    dialog.ficharge->setText(QStringLiteral("   "));
    dialog.Command1->click();
    QCOMPARE(accepted.count(), 0);
    QVERIFY(m_services.messages.isEmpty());
    QVERIFY(m_target.calls.isEmpty());

    // A file chosen, then another drive: the path shown goes with the folder.
    file1->setCurrentIndex(file1->model()->index(0, 0, file1->rootIndex()));
    QCOMPARE(dialog.ficharge->text(), path(QStringLiteral("tp.P18")));
    QComboBox *drive1 = dialog.folders().Drive1;
    const int root = drive1->findData(QStringLiteral("/"));
    // The lists hide the folders as the root's entries come in, and for the
    // last time when its reading ends (directoryLoaded, answered before the spy).
    const auto *files = static_cast<const QFileSystemModel *>(file1->model());
    QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
    drive1->setCurrentIndex(root);
    emit drive1->activated(root);
    QCOMPARE(dialog.folders().path(), QStringLiteral("/"));
    QCOMPARE(dialog.ficharge->text(), QString());
    dialog.Command1->click();
    QCOMPARE(accepted.count(), 0);

    // The root lists no folder, not even those the lists went through.
    QTRY_VERIFY(std::any_of(loaded.cbegin(), loaded.cend(), [](const QList<QVariant> &signal) {
        return signal.at(0).toString() == QStringLiteral("/");
    }));
    QTRY_VERIFY(file1->model()->rowCount(file1->rootIndex()) > 0);
    for (int row = 0; row < files->rowCount(file1->rootIndex()); ++row) {
        const QModelIndex entry = files->index(row, 0, file1->rootIndex());
        QVERIFY2(!files->isDir(entry) || file1->isRowHidden(row),
                 qPrintable(files->filePath(entry)));
    }
}

void TestConfigDialogs::openMissingPath()
{
    Ouvrir dialog(m_target, m_services, m_nomfichier, QPoint());
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    for (const QString &typed : {path(QStringLiteral("absent.P18")), m_dir->path()}) {
        dialog.ficharge->setText(typed);
        dialog.Command1->click();
    }
    QCOMPARE(accepted.count(), 0);
    QCOMPARE(m_services.messages.size(), 2);
    QCOMPARE(m_services.messages[0].icon, MessageIcon::Error);
    QCOMPARE(m_services.messages[0].title, QStringLiteral("impossible d'ouvrir ce fichier"));
    QCOMPARE(m_services.messages[0].text,
             QStringLiteral("Nom de fichier incorrect ou chemin non valide"));
    QVERIFY(!QFile::exists(path(QStringLiteral("absent.P18"))));
    QVERIFY(!dialog.Frame1->isVisible());
}

void TestConfigDialogs::openShowsTheWaitingPanelWhileReading()
{
    writeBytes(path(QStringLiteral("tp.P18")), recordBytes(validTexts()));
    Ouvrir dialog(m_target, m_services, m_nomfichier, QPoint());
    dialog.show();
    bool panelShown = false;
    m_target.onCall = [&] { panelShown = panelShown || dialog.Frame1->isVisible(); };
    dialog.ficharge->setText(path(QStringLiteral("tp.P18")));
    QTest::keyClick(dialog.ficharge, Qt::Key_Return);
    QVERIFY(panelShown);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_nomfichier, path(QStringLiteral("tp.P18")));
    QCOMPARE(m_target.current.fields[0], QStringLiteral("3,5"));
    QCOMPARE(m_target.title, QStringLiteral("Lorva avec frottement - ") + m_nomfichier);
    // The save dialog shows that path next time.
    Enregistrer next(m_target, m_services, m_nomfichier, QPoint());
    QCOMPARE(next.Text1->text(), path(QStringLiteral("tp.P18")));
}

void TestConfigDialogs::openRefusedFileClosesAndKeepsTheName()
{
    writeBytes(path(QStringLiteral("autre.P18")),
               recordBytes(textsWith(1, QStringLiteral("lorva"))));
    m_nomfichier = path(QStringLiteral("precedent.P18"));
    Ouvrir dialog(m_target, m_services, m_nomfichier, QPoint());
    dialog.ficharge->setText(QStringLiteral("autre.P18"));
    dialog.Command1->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_services.messages.size(), 1);
    QCOMPARE(m_services.messages[0].text,
             QStringLiteral("Ce fichier ne correspond pas à cette application"));
    QVERIFY(m_target.calls.isEmpty());
    QCOMPARE(m_nomfichier, path(QStringLiteral("precedent.P18")));
}

void TestConfigDialogs::everyControlIsNamedAndEscapeCancels()
{
    Enregistrer save(m_target, m_services, m_nomfichier, QPoint());
    Ouvrir open(m_target, m_services, m_nomfichier, QPoint());
    for (QDialog *dialog : std::initializer_list<QDialog *> {&save, &open}) {
        for (QWidget *child : dialog->findChildren<QWidget *>()) {
            if (child->focusPolicy() != Qt::NoFocus && child->parentWidget() == dialog)
                QVERIFY2(!child->accessibleName().isEmpty(), qPrintable(child->objectName()));
        }
        dialog->show();
        QSignalSpy rejected(dialog, &QDialog::rejected);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QCOMPARE(rejected.count(), 1);
    }
    QVERIFY(m_target.calls.isEmpty());
}

QTEST_MAIN(TestConfigDialogs)
#include "tst_configdialogs.moc"
