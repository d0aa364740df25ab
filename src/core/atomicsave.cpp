// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomicsave.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// Flushes the write buffer and asks the system to put the bytes on disk, so
// that a disk that fills up, a quota or a network file system's refusal is
// seen before the old file is replaced. A file system that cannot sync
// (EINVAL) has nothing to report.
bool flushToDisk(QSaveFile &file, QString *error)
{
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail(error, file.errorString());
#ifdef Q_OS_UNIX
    if (::fdatasync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        return fail(error, QString::fromLocal8Bit(std::strerror(errno)));
#endif
    return true;
}

} // namespace

bool AtomicSave::write(const QString &path, const Contents &contents, QString *error)
{
    if (QFileInfo(path).isDir())
        return fail(error, QStringLiteral("« %1 » est un dossier").arg(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, file.errorString());
    QString reason;
    if (!contents(file, &reason) || !flushToDisk(file, &reason)) {
        file.cancelWriting();
        return fail(error, reason);
    }
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}

bool AtomicSave::write(const QString &path, const QByteArray &bytes, QString *error)
{
    return write(
        path,
        [&bytes](QIODevice &device, QString *why) {
            if (device.write(bytes) == bytes.size())
                return true;
            *why = device.errorString();
            return false;
        },
        error);
}
