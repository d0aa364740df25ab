// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class ConfigurationTarget;
class FolderLists;
class PlatformServices;
class QLineEdit;
class QPushButton;

// enregistrer, the dialog "Enregistrer les paramètres.": saves the main
// window's configuration to a ".P18" file chosen with the drive, folder and
// file lists or typed in the name field Text1.
class Enregistrer : public QDialog
{
    Q_OBJECT

public:
    // nomfichier is the path of the last configuration saved or read: the
    // name field starts with it, and a successful save sets it. The dialog
    // opens 20 pixels right of and below mainCorner, the main window's
    // top-left corner, on the folder of nomfichier (or the home folder).
    Enregistrer(ConfigurationTarget &target, PlatformServices &services, QString &nomfichier,
                const QPoint &mainCorner, QWidget *parent = nullptr);

    FolderLists &folders() { return *m_folders; }
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

    // "ENREGISTRER": builds the full path from the name field and the folder
    // shown, asks before overwriting, writes the file and closes the dialog.
    // An empty name, a refused overwrite or a failed write keeps it open.
    void Command1_Click();

private:
    void File1_DblClick(const QString &name);
    void File1_PathChange();

    ConfigurationTarget &m_target;
    PlatformServices &m_services;
    QString &m_nomfichier;
    FolderLists *m_folders = nullptr;
};
