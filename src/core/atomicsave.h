// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

// Every file the program writes goes through here: the new contents go to a
// temporary file beside the old one, which is replaced only once every byte
// has reached the disk. A failure at any step (the folder cannot be written,
// the disk fills up, the final rename fails) removes the temporary file and
// leaves the previous file byte for byte.
//
// QSaveFile alone is not enough: its commit() renames the temporary file even
// when the buffered bytes could not be written when it closes it (a full
// disk gives a file of 0 bytes), and it takes a block written in part for a
// success. Here a short write fails the save, the buffer is flushed and
// synced, and every error checked, before the commit.
namespace AtomicSave {

// Writes the contents on device and returns true, or returns false with a
// reason in *error (may be left empty).
using Contents = std::function<bool(QIODevice &device, QString *error)>;

// Replaces the file at path with what contents writes. A path naming a
// folder is refused. On failure *error (when given) says why, in French or
// as the system reports it.
bool write(const QString &path, const Contents &contents, QString *error = nullptr);
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace AtomicSave
