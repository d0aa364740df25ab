// SPDX-License-Identifier: GPL-3.0-or-later
#include "diskfull.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

FullTmpfs::FullTmpfs(const QString &folder)
    : m_folder(folder)
{
    const QByteArray target = QFile::encodeName(folder);
    // A mount namespace of our own takes the mount away with the process,
    // even if the test crashes; without one the destructor unmounts.
    if (::unshare(CLONE_NEWNS) == 0)
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    if (::mount("tmpfs", target.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=16k") != 0) {
        m_whyNot = QStringLiteral("mounting a 16 KiB tmpfs is not allowed here (%1)")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_mounted = true;
}

FullTmpfs::~FullTmpfs()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool FullTmpfs::writeThenFill(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    file.close();
    QFile filler(m_folder + QStringLiteral("/remplissage"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(512, 'x');
    while (filler.write(block) > 0) { }
    return filler.error() != QFileDevice::NoError;
}

ReadOnlyFolder::ReadOnlyFolder(const QString &folder)
    : m_folder(folder)
{
    if (::geteuid() != 0) {
        m_active = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (!m_active)
            m_whyNot = QStringLiteral("the folder's permissions cannot be changed");
        return;
    }
    const QByteArray target = QFile::encodeName(folder);
    if (::unshare(CLONE_NEWNS) == 0)
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    // A bind mount takes the read-only flag only when it is mounted again.
    if (::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0) {
        m_whyNot = QStringLiteral("bind-mounting the folder is not allowed here (%1)")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_mounted = true;
    if (::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr)
        != 0) {
        m_whyNot = QStringLiteral("the bind mount cannot be made read-only (%1)")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    m_active = true;
}

bool ReadOnlyFolder::keepWritable(const QString &file)
{
    if (!m_mounted)
        return QFileInfo(file).isWritable();
    // A bind mount of its own over the file alone; it copies the folder's
    // read-only flag, which mounting it again without the flag drops.
    const QByteArray target = QFile::encodeName(file);
    if (::mount(target.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0)
        return false;
    m_files.append(file);
    return ::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND, nullptr) == 0;
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    for (const QString &file : std::as_const(m_files))
        ::umount2(QFile::encodeName(file).constData(), MNT_DETACH);
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    else
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
