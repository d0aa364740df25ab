// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class ConfigurationTarget;
class FolderLists;
class PlatformServices;
class QFrame;
class QLineEdit;
class QPushButton;

// ouvrir, the dialog "Ouvrir une configuration": a ".P18" file chosen with
// the drive, folder and file lists (or its path typed in ficharge) is read
// into the main window by chargeconfig.
class Ouvrir : public QDialog
{
    Q_OBJECT

public:
    // nomfichier is the path of the last configuration saved or read; a file
    // read successfully becomes it. The dialog opens 20 pixels right of and
    // below mainCorner, on the folder of nomfichier (or the home folder).
    Ouvrir(ConfigurationTarget &target, PlatformServices &services, QString &nomfichier,
           const QPoint &mainCorner, QWidget *parent = nullptr);

    FolderLists &folders() { return *m_folders; }
    QLineEdit *ficharge = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    // The waiting panel over the whole dialog, shown while the file is read.
    QFrame *Frame1 = nullptr;

    // "OUVRIR": nothing for an empty path; a path that names no file gives
    // a message and the dialog stays open; otherwise the waiting panel is
    // shown, the file read by chargeconfig (which reports a refused file)
    // and the dialog closed.
    void Command1_Click();

private:
    void File1_Click(const QString &name);

    ConfigurationTarget &m_target;
    PlatformServices &m_services;
    QString &m_nomfichier;
    FolderLists *m_folders = nullptr;
};
