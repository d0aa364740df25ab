// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderlists.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QListView>
#include <QStorageInfo>
#include <QTreeView>

namespace {

bool isInside(const QString &folder, const QString &root)
{
    return folder == root || root == QLatin1String("/")
        || folder.startsWith(root + QLatin1Char('/'));
}

// Removable and mounted volumes live under these folders on Linux.
bool isUserVolume(const QString &root)
{
    for (const char *place : {"/media/", "/mnt/", "/run/media/"}) {
        if (root.startsWith(QLatin1String(place)))
            return true;
    }
    return false;
}

} // namespace

FolderLists::FolderLists(QWidget *dialog)
    : QObject(dialog)
{
    Drive1 = new QComboBox(dialog);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setAccessibleName(QStringLiteral("Lecteur"));
    addDrive(QStringLiteral("/ (racine)"), QStringLiteral("/"));
    addDrive(QStringLiteral("Dossier personnel"), QDir::cleanPath(QDir::homePath()));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && isUserVolume(volume.rootPath()))
            addDrive(volume.displayName(), volume.rootPath());
    }

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setReadOnly(true);
    m_folders->sort(0);
    Dir1 = new QTreeView(dialog);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setAccessibleName(QStringLiteral("Répertoire"));
    Dir1->setModel(m_folders);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        Dir1->hideColumn(column);

    m_files = new QFileSystemModel(this);
    m_files->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    m_files->setNameFilters({QStringLiteral("*.P18")});
    m_files->setNameFilterDisables(false);
    m_files->setReadOnly(true);
    m_files->sort(0);
    File1 = new QListView(dialog);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setAccessibleName(QStringLiteral("Fichiers"));
    File1->setModel(m_files);
    File1->setSelectionMode(QAbstractItemView::SingleSelection);
    // The model keeps a node for every folder on the way to a path it was
    // given (the home folder, a folder shown before) and lists those nodes
    // whatever its filter: the root would show "tmp" or "home" among the
    // files. The list hides every folder.
    connect(m_files, &QFileSystemModel::rowsInserted, this, &FolderLists::hideFolders);
    connect(m_files, &QFileSystemModel::layoutChanged, this, &FolderLists::hideFolders);
    connect(m_files, &QFileSystemModel::directoryLoaded, this, &FolderLists::hideFolders);

    connect(Drive1, &QComboBox::activated, this, &FolderLists::Drive1_Change);
    // Activation is a double-click or Enter (Dir1_KeyPress).
    connect(Dir1, &QTreeView::activated, this, &FolderLists::Dir1_Change);
    // A file is chosen by selecting it: a click, or the arrow keys and the
    // space bar. The list's current item alone chooses nothing: the view
    // makes its first file current by itself when it gets the focus.
    connect(File1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList chosen = File1->selectionModel()->selectedIndexes();
        if (!chosen.isEmpty())
            emit fileClicked(m_files->fileName(chosen.first()));
    });
    connect(File1, &QListView::activated, this, [this](const QModelIndex &index) {
        if (!index.isValid())
            return;
        // Enter on the current file chooses it before opening it.
        File1->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
        emit fileActivated(m_files->fileName(index));
    });
}

void FolderLists::hideFolders()
{
    const QModelIndex folder = File1->rootIndex();
    for (int row = 0; row < m_files->rowCount(folder); ++row)
        File1->setRowHidden(row, m_files->isDir(m_files->index(row, 0, folder)));
}

void FolderLists::addDrive(const QString &label, const QString &root)
{
    if (drives().contains(root))
        return;
    Drive1->addItem(label, root);
    Drive1->setItemData(Drive1->count() - 1, root, Qt::ToolTipRole);
}

void FolderLists::setFilePattern(const QString &pattern)
{
    m_files->setNameFilters({pattern});
}

QStringList FolderLists::drives() const
{
    QStringList roots;
    for (int i = 0; i < Drive1->count(); ++i)
        roots.append(Drive1->itemData(i).toString());
    return roots;
}

QString FolderLists::driveOf(const QString &folder) const
{
    QString best = QStringLiteral("/");
    for (const QString &root : drives()) {
        if (isInside(folder, root) && root.size() > best.size())
            best = root;
    }
    return best;
}

bool FolderLists::setPath(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QFileInfo info(clean);
    if (!info.isDir() || !info.isReadable())
        return false;

    const QString drive = driveOf(clean);
    m_folders->setRootPath(drive);
    Dir1->setRootIndex(m_folders->index(drive));
    const QModelIndex current = m_folders->index(clean);
    Dir1->setCurrentIndex(current);
    Dir1->scrollTo(current);
    Dir1->expand(current);
    showDriveOf(clean);

    File1->setRootIndex(m_files->setRootPath(clean));
    hideFolders();
    if (clean == m_path)
        return true;
    // A file chosen in the folder left is no longer chosen.
    File1->selectionModel()->clear();
    m_path = clean;
    emit pathChanged(m_path);
    return true;
}

void FolderLists::showDriveOf(const QString &folder)
{
    Drive1->setCurrentIndex(Drive1->findData(driveOf(folder)));
}

void FolderLists::Drive1_Change(int index)
{
    // A drive that cannot be read leaves the folder as it was, and the list
    // shows the folder's drive again.
    if (!setPath(Drive1->itemData(index).toString()))
        showDriveOf(m_path);
}

void FolderLists::Dir1_Change(const QModelIndex &index)
{
    if (index.isValid())
        setPath(m_folders->filePath(index));
}
