// SPDX-License-Identifier: GPL-3.0-or-later
#include "programpaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString flagFileName = QStringLiteral("TEMPQavo.TMP");
const QString helpFile = QStringLiteral("aide/lorva.html");

bool holdsHelp(const QString &folder)
{
    return QFileInfo(QDir(folder).filePath(helpFile)).isFile();
}

QString installedDataFolder(const QString &programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/")
                           + ProgramPaths::dataFolderName());
}

// The flag file can live in folder: it is not an installation's bin folder
// (an installed program never writes where it is installed, even as root),
// and the file exists there and can be written, or it can be created there.
bool flagFileUsable(const QString &folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        return false;
    if (!holdsHelp(folder) && holdsHelp(installedDataFolder(folder)))
        return false;
    const QFileInfo file(QDir(folder).filePath(flagFileName));
    return file.exists() ? file.isFile() && file.isWritable() : info.isWritable();
}

} // namespace

QString ProgramPaths::dataFolderName()
{
    return QStringLiteral("lorva-avec-frottement");
}

QString ProgramPaths::applicationId()
{
    return QStringLiteral("fr.lorva.LorvaAvecFrottement");
}

QString ProgramPaths::dataFolder(const QString &programFolder)
{
    if (holdsHelp(programFolder))
        return QDir::cleanPath(programFolder);
    const QString installed = installedDataFolder(programFolder);
    if (holdsHelp(installed))
        return installed;
    return QDir::cleanPath(programFolder);
}

QString ProgramPaths::helpPage(const QString &programFolder)
{
    return QDir(dataFolder(programFolder)).filePath(helpFile);
}

QString ProgramPaths::exercisesFolder(const QString &programFolder)
{
    return QDir(dataFolder(programFolder)).filePath(QStringLiteral("exercices"));
}

QStringList ProgramPaths::iconFiles(const QString &programFolder)
{
    if (programFolder.isEmpty())
        return {};
    const QDir icons(QDir(programFolder).filePath(QStringLiteral("icones")));
    QStringList files;
    const QStringList names
        = icons.entryList({QStringLiteral("*.png")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : names)
        files << icons.filePath(name);
    return files;
}

QString ProgramPaths::runningFlagFile(const QString &programFolder, const QString &fallbackFolder)
{
    const QString folder = flagFileUsable(programFolder) ? programFolder : fallbackFolder;
    return QDir(folder).filePath(flagFileName);
}

QString ProgramPaths::runningFlagFile(const QString &programFolder)
{
    if (flagFileUsable(programFolder))
        return QDir(programFolder).filePath(flagFileName);
    // Qt creates the runtime folder when XDG_RUNTIME_DIR is unset.
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return QDir(runtime).filePath(flagFileName);
}
