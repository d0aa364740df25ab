// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Finding the files an exercise descriptor names. Descriptors are written on
// Windows: their names may use "\" between folders and may not match the
// case of the files on disk. A name resolves to the file of exactly that
// name when there is one, else to the file whose name matches ignoring case
// (folder by folder); only when neither exists is the file absent.
namespace ExerciseFiles {

// The path of the file name designates, relative to folder, or nothing when
// no such file exists. Blanks around the name are ignored, as Windows does.
std::optional<QString> resolve(const QString &folder, const QString &name);

// The descriptor a launcher asks for: request (a name such as "nom.E40" or
// "exercices\\nom.E40") resolved against each of folders in turn. When no
// folder holds it, the path it would have in the last folder, so that the
// failure names where it was looked for.
QString requestedPath(const QString &request, const QStringList &folders);

} // namespace ExerciseFiles
