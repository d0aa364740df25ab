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

// A save file that takes a short write for what it is: the system wrote part
// of a block (the disk filled up, a file-size limit) and the rest is lost.
// QSaveFile counts the part as written and reports no error, so a writer
// that ignores the count (QPdfWriter writes a page's images in one block)
// would commit a truncated file. Here the rest is written again, which
// either goes on or gives the system's error; a failed write fails the save.
class WholeWrites : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;

    // Why a write failed; empty while every byte was written.
    const QString &writeFailure() const { return m_failure; }

protected:
    qint64 writeData(const char *data, qint64 length) override
    {
        qint64 done = 0;
        while (done < length) {
            const qint64 written = QSaveFile::writeData(data + done, length - done);
            if (written <= 0) {
                if (m_failure.isEmpty())
                    m_failure = written < 0 && error() != NoError
                        ? errorString()
                        : QString::fromLocal8Bit(std::strerror(EIO));
                return -1;
            }
            done += written;
        }
        return done;
    }

private:
    QString m_failure;
};

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
    WholeWrites file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, file.errorString());
    QString reason;
    if (!contents(file, &reason) || !flushToDisk(file, &reason) || !file.writeFailure().isEmpty()) {
        file.cancelWriting();
        if (reason.isEmpty())
            reason = file.writeFailure();
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
