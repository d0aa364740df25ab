// SPDX-License-Identifier: GPL-3.0-or-later
#include "ouvrir.h"

#include "config/chargeconfig.h"
#include "config/dialogcontrols.h"
#include "config/savename.h"
#include "folders/folderlists.h"
#include "platform/palette.h"
#include "platform/platformservices.h"
#include "platform/waitcursor.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>

using DialogControls::button;
using DialogControls::caption;

namespace {

QFrame *waitingPanel(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(fromTwips(0, 0, 5535, 6375));
    frame->setAutoFillBackground(true);
    QPalette grey = frame->palette();
    grey.setColor(QPalette::Window, QBColor(7));
    grey.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(grey);

    auto *icon = new QLabel(frame);
    const int side = frame->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(frame->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(side));
    auto *text = new QLabel(QStringLiteral("Patience: chargement du fichier"), frame);
    text->setObjectName(QStringLiteral("patience"));
    text->setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));
    auto *layout = new QHBoxLayout(frame);
    layout->addStretch();
    layout->addWidget(icon);
    layout->addWidget(text);
    layout->addStretch();
    frame->setAccessibleName(text->text());
    frame->hide();
    return frame;
}

} // namespace

Ouvrir::Ouvrir(ConfigurationTarget &target, PlatformServices &services, QString &nomfichier,
               const QPoint &mainCorner, QWidget *parent)
    : QDialog(parent)
    , m_target(target)
    , m_services(services)
    , m_nomfichier(nomfichier)
{
    setObjectName(QStringLiteral("ouvrir"));
    setWindowTitle(QStringLiteral("Ouvrir une configuration"));
    setFixedSize(fromTwips(0, 0, 5535, 6375).size());

    m_folders = new FolderLists(this);
    m_folders->Drive1->setGeometry(fromTwips(360, 360, 2415, 315));
    m_folders->Dir1->setGeometry(fromTwips(360, 975, 2415, 4140));
    m_folders->File1->setGeometry(fromTwips(3120, 360, 2055, 4770));
    caption(QStringLiteral("&Lecteur:"), m_folders->Drive1, this);
    caption(QStringLiteral("&Répertoire"), m_folders->Dir1, this);
    caption(QStringLiteral("&Fichiers"), m_folders->File1, this);

    ficharge = new QLineEdit(this);
    ficharge->setObjectName(QStringLiteral("ficharge"));
    ficharge->setAccessibleName(QStringLiteral("Chemin du fichier choisi"));
    ficharge->setGeometry(fromTwips(0, 5280, 5535, 285));
    QPalette grey = ficharge->palette();
    grey.setColor(QPalette::Base, QBColor(7));
    grey.setColor(QPalette::Text, Qt::black);
    ficharge->setPalette(grey);

    Command1 = button(QStringLiteral("&OUVRIR"), QStringLiteral("Command1"),
                      QStringLiteral("Ouvrir"), fromTwips(3120, 5640, 1815, 375), this);
    Command2 = button(QStringLiteral("&ANNULER"), QStringLiteral("Command2"),
                      QStringLiteral("Annuler"), fromTwips(720, 5640, 1815, 375), this);
    Frame1 = waitingPanel(this);

    setTabOrder(m_folders->Drive1, m_folders->Dir1);
    setTabOrder(m_folders->Dir1, m_folders->File1);
    setTabOrder(m_folders->File1, ficharge);
    setTabOrder(ficharge, Command1);
    setTabOrder(Command1, Command2);

    // Form_Load: beside the main window, on the folder of the last file.
    move(mainCorner + QPoint(20, 20));
    if (m_nomfichier.isEmpty() || !m_folders->setPath(QFileInfo(m_nomfichier).absolutePath()))
        m_folders->setPath(QDir::homePath());
    m_folders->File1->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Ouvrir::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ficharge, &QLineEdit::returnPressed, this, &Ouvrir::Command1_Click);
    connect(m_folders, &FolderLists::fileClicked, this, &Ouvrir::File1_Click);
    // The path shown is the file chosen in the folder shown, or nothing.
    connect(m_folders, &FolderLists::pathChanged, ficharge, &QLineEdit::clear);
    connect(m_folders, &FolderLists::fileActivated, this, &Ouvrir::Command1_Click);
}

void Ouvrir::File1_Click(const QString &name)
{
    ficharge->setText(joinPath(m_folders->path(), name));
}

void Ouvrir::Command1_Click()
{
    const QString shown = withSlashes(ficharge->text().trimmed());
    if (shown.isEmpty())
        return;
    // A relative path typed in the field is taken in the folder shown.
    const QString path = QDir::isRelativePath(shown) ? joinPath(m_folders->path(), shown) : shown;
    if (!QFileInfo(path).isFile()) {
        m_services.message(MessageIcon::Error, QStringLiteral("impossible d'ouvrir ce fichier"),
                           QStringLiteral("Nom de fichier incorrect ou chemin non valide"));
        return;
    }

    Frame1->show();
    Frame1->raise();
    WaitCursor wait(this);
    // Painted and handed to the window system now: the read below does not
    // return to the event loop before it ends.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // Only a configuration actually read becomes the current file; the
    // dialog closes in every case, a refused file having shown its message.
    if (chargeconfig(path, m_target, m_services))
        m_nomfichier = path;
    accept();
}
