// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercisefiles.h"

#include <QDir>
#include <QFileInfo>

namespace ExerciseFiles {

std::optional<QString> resolve(const QString &folder, const QString &name)
{
    QString relative = name.trimmed();
    relative.replace(u'\\', u'/');
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return std::nullopt;
    QDir dir(folder);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        const bool lastPart = i + 1 == parts.size();
        QString found;
        if (part == QLatin1String(".") || part == QLatin1String("..")) {
            found = part;
        } else if (QFileInfo(dir.filePath(part)).exists()) {
            found = part;
        } else {
            // Entries in a stable order, so that two names differing only by
            // case resolve the same way on every run.
            const QStringList entries = dir.entryList(
                QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
            }
        }
        if (found.isEmpty())
            return std::nullopt;
        const QFileInfo info(dir.filePath(found));
        if (lastPart) {
            if (!info.isFile())
                return std::nullopt;
            return info.filePath();
        }
        if (!info.isDir())
            return std::nullopt;
        dir.setPath(info.filePath());
    }
    return std::nullopt;
}

QString requestedPath(const QString &request, const QStringList &folders)
{
    for (const QString &folder : folders) {
        if (const std::optional<QString> path = resolve(folder, request))
            return QFileInfo(*path).absoluteFilePath();
    }
    return folders.isEmpty() ? request : QDir(folders.last()).filePath(request);
}

} // namespace ExerciseFiles
