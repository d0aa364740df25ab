// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercisesession.h"

#include "exercisedescriptor.h"
#include "exercisefiles.h"
#include "exercisehost.h"
#include "fichexo.h"
#include "output/textprinting.h"

#include "platform/accessiblemenus.h"
#include "core/atomicsave.h"
#include "platform/platformservices.h"
#include "platform/waitcursor.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScopeGuard>
#include <QTextEdit>

namespace {

const QString separator = QDir::separator();

QString withSeparator(const QString &folder)
{
    const QString native = QDir::toNativeSeparators(folder);
    return native.endsWith(separator) ? native : native + separator;
}

QString rtfFilter()
{
    return QStringLiteral("Texte au format RTF (*.RTF *.rtf)");
}

} // namespace

ExerciseSession::ExerciseSession(ExerciseHost &host, PlatformServices &services,
                                 const QString &dataFolder, const QString &exercisesFolder)
    : QObject(host.window())
    , m_host(host)
    , m_services(services)
    , m_dataFolder(dataFolder)
    , m_exercisesFolder(exercisesFolder)
{
    m_menu = new QMenu(host.window());
    m_menu->setObjectName(QStringLiteral("optionexo"));
    m_menu->setAccessibleName(QStringLiteral("Menu Exercices"));
    AccessibleMenus::expose(m_menu);
    const auto separatorNamed = [this](const char *name) {
        m_menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };
    addItem("PRISENMAIN", QStringLiteral("&Prise en main"), &ExerciseSession::PRISENMAIN_Click);
    separatorNamed("separons1");
    addItem("openexo", QStringLiteral("&Ouvrir un exercice (énoncé + configuration)"),
            &ExerciseSession::openexo_Click);
    addItem("opencor", QStringLiteral("&Voir la correction"), &ExerciseSession::opencor_Click);
    separatorNamed("separons2");
    addItem("savetexte", QStringLiteral("&Enregistrer le contenu de la fenêtre exercice"),
            &ExerciseSession::savetexte_Click);
    addItem("opentexte", QStringLiteral("&Retrouver un texte"), &ExerciseSession::opentexte_Click);
    addItem("imprimetexte", QStringLiteral("&Imprimer le contenu de la fenêtre exercice"),
            &ExerciseSession::imprimetexte_Click);
    separatorNamed("separons3");
    addItem("Closexo", QStringLiteral("&Fermer l'exercice"), &ExerciseSession::Closexo_Click);
    // The enabling of the correction follows exoouvert whenever the menu opens.
    connect(m_menu, &QMenu::aboutToShow, this,
            [this] { item(QStringLiteral("opencor"))->setEnabled(m_exoouvert); });
    updateMenu();
}

ExerciseSession::~ExerciseSession() = default;

QAction *ExerciseSession::addItem(const char *name, const QString &caption,
                                  void (ExerciseSession::*slot)())
{
    QAction *action = m_menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

QAction *ExerciseSession::item(const QString &objectName) const
{
    return m_menu->findChild<QAction *>(objectName);
}

void ExerciseSession::updateMenu()
{
    item(QStringLiteral("opencor"))->setEnabled(m_exoouvert);
    item(QStringLiteral("Closexo"))->setEnabled(!m_host.fich().isEmpty());
}

void ExerciseSession::btexo_Click(const QPoint &at)
{
    updateMenu();
    m_menu->popup(at);
}

void ExerciseSession::setRepexo(const QString &folder)
{
    m_repexo = withSeparator(folder);
}

MessageAnswer ExerciseSession::message(MessageIcon icon, const QString &title, const QString &text,
                                       MessageButtons buttons)
{
    // A box over a hidden main window would stand alone on the desktop.
    if (m_requesting)
        m_host.window()->show();
    return m_services.message(icon, title, text, buttons);
}

bool ExerciseSession::guard()
{
    if (m_host.textemodif()
        && message(MessageIcon::Question, QStringLiteral("Abandon des données?"),
                   QStringLiteral("Attention: perte des modifications du texte."),
                   MessageButtons::OkCancel)
            != MessageAnswer::Ok)
        return false;
    m_host.setTextemodif(false);
    return true;
}

void ExerciseSession::lectureImpossible()
{
    message(MessageIcon::Error, QStringLiteral("Lecture impossible"),
            QStringLiteral("Vérifier:\n- le nom du fichier,\n- l'état du lecteur."));
}

void ExerciseSession::fichierAbsent(const QString &name)
{
    message(MessageIcon::Error, QStringLiteral("Fichier absent"),
            QStringLiteral("Le fichier ") + m_repexo + name + QStringLiteral(" est introuvable"));
}

bool ExerciseSession::loadText(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    RtfReader reader;
    if (!reader.read(&file, m_host.supertext()->document())) {
        *error = reader.errorString();
        return false;
    }
    return true;
}

void ExerciseSession::openexo_Click()
{
    if (!guard())
        return;
    Fichexo window(*this, m_host.window());
    m_host.showModal(&window);
}

bool ExerciseSession::ouvreur(const QString &path)
{
    ExerciseDescriptor descriptor;
    if (!descriptor.read(path, ExerciseDescriptor::Scope::FileNames)) {
        lectureImpossible();
        return false;
    }
    const std::optional<QString> statement
        = ExerciseFiles::resolve(m_repexo, descriptor.statement());
    if (!statement) {
        fichierAbsent(descriptor.statement());
        return false;
    }
    QString error;
    if (!loadText(*statement, &error)) {
        message(MessageIcon::Error, QStringLiteral("Lecture impossible"), error);
        return false;
    }
    m_host.setFich(path);
    m_exoouvert = descriptor.hasCorrection();
    if (!descriptor.configuration().trimmed().isEmpty()) {
        const std::optional<QString> configuration
            = ExerciseFiles::resolve(m_repexo, descriptor.configuration());
        if (!configuration) {
            fichierAbsent(descriptor.configuration());
            return false;
        }
        // A refused configuration has been reported by chargeconfig (over
        // the main window, shown again first); the statement is open all
        // the same and the window closes.
        if (m_requesting)
            m_host.window()->show();
        m_host.chargeconfig(*configuration);
    }
    m_host.supertext()->setReadOnly(false);
    m_host.setTextemodif(false);
    return true;
}

void ExerciseSession::openRequested(const QString &path)
{
    m_requesting = true;
    const auto served = qScopeGuard([this] { m_requesting = false; });
    // Asking again at every later activation would nag; the launcher can
    // send the request again once the text is saved.
    if (!guard()) {
        message(MessageIcon::Information, QStringLiteral("Exercice non ouvert"),
                QStringLiteral("L'exercice demandé « %1 » n'a pas été ouvert : le texte "
                               "modifié est conservé.")
                    .arg(QFileInfo(path).fileName()));
        return;
    }
    setRepexo(QFileInfo(path).absolutePath());
    ouvreur(QDir::toNativeSeparators(path));
}

void ExerciseSession::PRISENMAIN_Click()
{
    setRepexo(m_dataFolder);
    const QString name = QStringLiteral("LORVA.PEM");
    const std::optional<QString> lesson = ExerciseFiles::resolve(m_repexo, name);
    if (!lesson)
        return;
    const auto failed = [this] {
        message(MessageIcon::Error, QStringLiteral("Erreur lors du chargement"),
                QStringLiteral("Fichier introuvable. Revoir l'installation du logiciel."));
    };
    ExerciseDescriptor descriptor;
    if (!descriptor.read(*lesson, ExerciseDescriptor::Scope::FileNames))
        return failed();
    const std::optional<QString> text = ExerciseFiles::resolve(m_repexo, descriptor.statement());
    QString error;
    if (!text || !loadText(*text, &error))
        return failed();
    m_host.setFich(QDir::toNativeSeparators(*lesson));
    m_exoouvert = false;
    if (!descriptor.configuration().trimmed().isEmpty()) {
        const std::optional<QString> configuration
            = ExerciseFiles::resolve(m_repexo, descriptor.configuration());
        if (!configuration)
            return failed();
        if (!m_host.chargeconfig(*configuration))
            return;
    }
    m_host.supertext()->setReadOnly(false);
    m_host.setTextemodif(false);
}

void ExerciseSession::opencor_Click()
{
    if (!m_exoouvert || !guard())
        return;
    WaitCursor wait(m_host.window());
    ExerciseDescriptor descriptor;
    if (!descriptor.read(m_host.fich(), ExerciseDescriptor::Scope::FileNames))
        return lectureImpossible();
    if (!descriptor.correction().trimmed().isEmpty()) {
        const std::optional<QString> text
            = ExerciseFiles::resolve(m_repexo, descriptor.correction());
        if (!text)
            return fichierAbsent(descriptor.correction());
        QString error;
        if (!loadText(*text, &error)) {
            message(MessageIcon::Error, QStringLiteral("Lecture impossible"), error);
            return;
        }
    }
    if (!descriptor.correctionConfiguration().trimmed().isEmpty()) {
        const std::optional<QString> configuration
            = ExerciseFiles::resolve(m_repexo, descriptor.correctionConfiguration());
        if (!configuration)
            return fichierAbsent(descriptor.correctionConfiguration());
        if (!m_host.chargeconfig(*configuration))
            return;
    }
    m_host.supertext()->setReadOnly(true);
    m_host.setTextemodif(false);
}

void ExerciseSession::savetexte_Click()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Enregistrer le contenu de la fenêtre exercice");
    request.filter = rtfFilter();
    request.defaultExtension = QStringLiteral("RTF");
    request.directory = m_repexo;
    const std::optional<QString> chosen = m_services.saveFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = *chosen;
    // A folder is not a file to overwrite: the save below reports it.
    if (QFileInfo(path).isFile()
        && message(MessageIcon::Question, QStringLiteral("Ecraser le fichier?"),
                   QStringLiteral("Le fichier ") + QDir::toNativeSeparators(path)
                       + QStringLiteral(" existe déjà.\nEcraser l'ancien?"),
                   MessageButtons::OkCancel)
            != MessageAnswer::Ok)
        return;
    // Written whole or not at all: a failed save keeps the previous file.
    if (!AtomicSave::write(path, RtfWriter().write(m_host.supertext()->document()))) {
        message(MessageIcon::Error, QStringLiteral("Erreur d'écriture."),
                QStringLiteral("Vérifier l'état du lecteur et le nom du fichier."));
        return;
    }
    m_host.setTextemodif(false);
}

void ExerciseSession::opentexte_Click()
{
    if (!guard())
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Retrouver un texte");
    request.filter = rtfFilter();
    request.defaultExtension = QStringLiteral("RTF");
    request.directory = m_repexo;
    const std::optional<QString> chosen = m_services.openFileName(request);
    if (!chosen || chosen->isEmpty())
        return;
    m_exoouvert = false;
    QString error;
    if (!loadText(*chosen, &error))
        message(MessageIcon::Error, QStringLiteral("Erreur de lecture."),
                QStringLiteral("Vérifier l'état du lecteur et le nom du fichier."));
    m_host.supertext()->setReadOnly(false);
    m_host.setFich(QStringLiteral("Texte: ") + QDir::toNativeSeparators(*chosen));
    m_host.setTextemodif(false);
}

void ExerciseSession::imprimetexte_Click()
{
    TextPrinting printing(m_services);
    printing.print(*m_host.supertext());
}

void ExerciseSession::Closexo_Click()
{
    if (m_host.fich().isEmpty() || !guard())
        return;
    m_host.setFich(QString());
    m_host.writeIntroduction();
    m_exoouvert = false;
}
