// SPDX-License-Identifier: GPL-3.0-or-later
#include "diskfull.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <sched.h>
#include <sys/mount.h>

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
