// SPDX-License-Identifier: GPL-3.0-or-later
#include "enregistrer.h"

#include "config/chargeconfig.h"
#include "config/dialogcontrols.h"
#include "config/savename.h"
#include "folders/folderlists.h"
#include "platform/filemessages.h"
#include "platform/platformservices.h"
#include "platform/waitcursor.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTreeView>

using DialogControls::button;
using DialogControls::caption;

Enregistrer::Enregistrer(ConfigurationTarget &target, PlatformServices &services,
                         QString &nomfichier, const QPoint &mainCorner, QWidget *parent)
    : QDialog(parent)
    , m_target(target)
    , m_services(services)
    , m_nomfichier(nomfichier)
{
    setObjectName(QStringLiteral("enregistrer"));
    setWindowTitle(QStringLiteral("Enregistrer les paramètres."));
    setFixedSize(369, 440);

    m_folders = new FolderLists(this);
    m_folders->Drive1->setGeometry(fromTwips(360, 360, 2415, 315));
    m_folders->Dir1->setGeometry(fromTwips(360, 1005, 2415, 3915));
    m_folders->File1->setGeometry(fromTwips(3120, 360, 2055, 4575));
    m_folders->File1->setAccessibleName(QStringLiteral("Fichiers enregistrés"));
    caption(QStringLiteral("&Lecteur:"), m_folders->Drive1, this);
    caption(QStringLiteral("&Répertoire:"), m_folders->Dir1, this);
    caption(QStringLiteral("&Fichiers enregistrés"), m_folders->File1, this);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Nom du fichier"));
    Text1->setGeometry(fromTwips(720, 5400, 4335, 315));
    caption(QStringLiteral("&Nom du fichier:"), Text1, this);

    Command1 = button(QStringLiteral("&ENREGISTRER"), QStringLiteral("Command1"),
                      QStringLiteral("Enregistrer"), fromTwips(3240, 6000, 1815, 375), this);
    Command2 = button(QStringLiteral("&ANNULER"), QStringLiteral("Command2"),
                      QStringLiteral("Annuler"), fromTwips(720, 6000, 1815, 375), this);

    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, m_folders->Drive1);
    setTabOrder(m_folders->Drive1, m_folders->Dir1);
    setTabOrder(m_folders->Dir1, m_folders->File1);

    // Form_Load: beside the main window, on the folder of the last file,
    // with its full path in the name field.
    move(mainCorner + QPoint(20, 20));
    const QString lastFolder = QFileInfo(m_nomfichier).absolutePath();
    if (m_nomfichier.isEmpty() || !m_folders->setPath(lastFolder))
        m_folders->setPath(QDir::homePath());
    Text1->setText(m_nomfichier);
    Text1->setFocus();

    connect(Text1, &QLineEdit::returnPressed, this, &Enregistrer::Command1_Click);
    connect(Command1, &QPushButton::clicked, this, &Enregistrer::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_folders, &FolderLists::fileActivated, this, &Enregistrer::File1_DblClick);
    connect(m_folders, &FolderLists::pathChanged, this, &Enregistrer::File1_PathChange);
}

void Enregistrer::Command1_Click()
{
    WaitCursor wait(this);
    const QString path = configurationSavePath(Text1->text(), m_folders->path());
    if (path.isEmpty()) {
        m_services.message(MessageIcon::Error, QStringLiteral("Enregistrement impossible"),
                           QStringLiteral("Il faut donner un nom au fichier!"));
        return;
    }
    Text1->setText(path);
    if (!FileMessages::confirmOverwrite(m_services, path))
        return;
    // A failed write has shown its message; the dialog stays open so that
    // another name or folder can be tried, and nomfichier keeps naming the
    // file in the main window's title.
    if (!saveConfiguration(path, m_target, m_services))
        return;
    m_nomfichier = path;
    accept();
}

void Enregistrer::File1_DblClick(const QString &name)
{
    Text1->setText(name);
    Command1_Click();
}

void Enregistrer::File1_PathChange()
{
    // The file goes into the folder now shown.
    Text1->setText(bareName(Text1->text()));
}
