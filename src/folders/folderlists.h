// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/twips.h"

#include <QObject>
#include <QRect>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QListView;
class QModelIndex;
class QTreeView;
class QWidget;

// The drive, folder and file lists shared by the save and open dialogs,
// created as children of the dialog, which places them.
// - Drive1 lists the places a user starts from: the root, the home folder
//   and the mounted volumes (under /media, /mnt, /run/media).
// - Dir1 shows the folders of the drive, the current one highlighted and
//   opened; a double-click or Enter on a folder makes it current.
// - File1 lists the configurations ("*.P18", any case) of the current folder,
//   or the files of another pattern (setFilePattern); files only, never a
//   folder.
class FolderLists : public QObject
{
    Q_OBJECT

public:
    explicit FolderLists(QWidget *dialog);

    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QListView *File1 = nullptr;

    // The current folder, without a trailing "/" except for the root.
    QString path() const { return m_path; }
    // Makes folder current: the folder list highlights it, the file list
    // shows its files and the drive list its drive. A folder that does not
    // exist or cannot be read is refused and nothing changes.
    bool setPath(const QString &folder);
    // The files File1 lists, a pattern such as "*.E40" (any case); "*.P18"
    // until changed.
    void setFilePattern(const QString &pattern);
    // Root folders of the entries of the drive list.
    QStringList drives() const;
    // The entry of the drive list holding folder: the longest root it lies in.
    QString driveOf(const QString &folder) const;

signals:
    // File1_PathChange: the file list now shows another folder.
    void pathChanged(const QString &folder);
    // File1_Click: a file selected by a click, the arrow keys or the space
    // bar (bare name); never the current file the list picks by itself.
    void fileClicked(const QString &name);
    // File1_DblClick: a file double-clicked, or Enter pressed on it.
    void fileActivated(const QString &name);

private:
    void addDrive(const QString &label, const QString &root);
    void Drive1_Change(int index);
    void Dir1_Change(const QModelIndex &index);
    void showDriveOf(const QString &folder);
    void hideFolders();

    QFileSystemModel *m_folders = nullptr;
    QFileSystemModel *m_files = nullptr;
    QString m_path;
};
