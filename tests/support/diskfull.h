// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <csignal>
#include <memory>

#include <sys/resource.h>

// Ways to make a save fail for real, as a full disk does, so that a test can
// check that the previous file is left byte for byte. None needs privileges
// except FullTmpfs, which says why it cannot run.

// While alive, no file of the process may grow beyond bytes: a write past
// that size fails (EFBIG) as a write on a full disk fails (ENOSPC). Root is
// bound by it too. SIGXFSZ, which would end the process, is ignored
// meanwhile.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // False when the limit could not be set (the test then fails).
    bool isActive() const { return m_active; }

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = SIG_DFL;
    bool m_active = false;
};

// A real file system of 16 KiB (tmpfs) mounted on a folder for the life of
// the object, in a mount namespace of the test process's own when it can
// have one. Needs the right to mount (root, as in CI); elsewhere mounted()
// is false and whyNot() says so, for the test's skip message.
class FullTmpfs
{
public:
    explicit FullTmpfs(const QString &folder);
    ~FullTmpfs();
    FullTmpfs(const FullTmpfs &) = delete;
    FullTmpfs &operator=(const FullTmpfs &) = delete;

    bool mounted() const { return m_mounted; }
    QString whyNot() const { return m_whyNot; }
    // Writes a file at path and then fills every byte left of the file
    // system, so that the next write fails with ENOSPC. False on failure.
    bool writeThenFill(const QString &path, const QByteArray &bytes);

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_whyNot;
};

// A folder in which nothing may be created or renamed for the life of the
// object, for every user: a user loses the write permission on it; root, who
// writes through permissions, gets it bind-mounted read-only on itself in a
// mount namespace of the process's own (EROFS). Where root may not mount,
// active() is false and whyNot() says so.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool active() const { return m_active; }
    QString whyNot() const { return m_whyNot; }
    // Lets an existing file of the folder be written still, as a file the
    // user may write in a folder the user may not. False on failure.
    bool keepWritable(const QString &file);

private:
    QString m_folder;
    QStringList m_files;
    bool m_mounted = false;
    bool m_active = false;
    QString m_whyNot;
};

// A device that takes accepted bytes and then refuses every write, as a
// disk that fills up in the middle of a file.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 accepted)
        : m_accepted(accepted)
    { }
    QByteArray written;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        const qint64 room = m_accepted - written.size();
        if (room <= 0) {
            setErrorString(QStringLiteral("Plus de place sur le périphérique"));
            return -1;
        }
        const qint64 taken = qMin(room, length);
        written.append(data, taken);
        return taken;
    }

private:
    qint64 m_accepted;
};
