// SPDX-License-Identifier: GPL-3.0-or-later
#include "videoloader.h"

#include "videomodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QMutex>
#include <QMutexLocker>

namespace {

struct LoaderState
{
    QMutex mutex;
    QStringList directories; // empty: the defaults
    // Never unloaded: the videos opened keep pointers into the module.
    QLibrary *library = nullptr;
    const VideoModuleEntry *entry = nullptr;
};

LoaderState &state()
{
    static LoaderState s;
    return s;
}

// Tries one module file; on success fills the state's library and entry.
bool tryLoad(LoaderState &s, const QString &path, QString *why)
{
    auto library = std::make_unique<QLibrary>(path);
    // The videos opened keep the module's code: it is never unmapped. Its
    // symbols stay local to it (QLibrary's default), FFmpeg's with them.
    library->setLoadHints(QLibrary::PreventUnloadHint);
    if (!library->load()) {
        *why = library->errorString();
        return false;
    }
    const auto function
        = reinterpret_cast<VideoModuleEntryFunction>(library->resolve(kVideoModuleSymbol));
    const VideoModuleEntry *entry = function ? function() : nullptr;
    if (!entry || !entry->open) {
        *why = QStringLiteral("%1 n'est pas un module de lecture des vidéos")
                   .arg(QDir::toNativeSeparators(path));
        library->unload();
        return false;
    }
    if (entry->abi != kVideoModuleAbi) {
        *why = QStringLiteral("%1 vient d'une autre version du programme (version %2 au lieu "
                              "de %3)")
                   .arg(QDir::toNativeSeparators(path))
                   .arg(entry->abi)
                   .arg(kVideoModuleAbi);
        library->unload();
        return false;
    }
    s.library = library.release();
    s.entry = entry;
    return true;
}

} // namespace

QStringList VideoLoader::defaultDirectories()
{
    const QString program = QCoreApplication::applicationDirPath();
    return {program,
            QDir::cleanPath(program + QLatin1Char('/')
                            + QStringLiteral(LORVA_MODULE_DIR_FROM_PROGRAM))};
}

void VideoLoader::setSearchDirectories(const QStringList &directories)
{
    LoaderState &s = state();
    const QMutexLocker lock(&s.mutex);
    s.directories = directories;
}

bool VideoLoader::isLoaded()
{
    LoaderState &s = state();
    const QMutexLocker lock(&s.mutex);
    return s.entry != nullptr;
}

bool VideoLoader::load(QString *why)
{
    LoaderState &s = state();
    const QMutexLocker lock(&s.mutex);
    if (s.entry)
        return true;
    const QStringList directories = s.directories.isEmpty() ? defaultDirectories() : s.directories;
    const QString file = QLatin1String(kVideoModuleName) + QStringLiteral(".so");
    QStringList looked;
    for (const QString &directory : directories) {
        const QString path = QDir(directory).filePath(file);
        if (!QFileInfo::exists(path)) {
            looked << QDir::toNativeSeparators(path);
            continue;
        }
        // A module that is there but does not load (a library it needs is
        // missing) says why in the loader's words.
        return tryLoad(s, path, why);
    }
    *why = QStringLiteral("module introuvable (%1)").arg(looked.join(QStringLiteral(", ")));
    return false;
}

std::unique_ptr<OpenedVideo> VideoLoader::open(const QString &path, const OpeningProgress &progress,
                                               QString *error)
{
    QString why;
    if (!load(&why)) {
        *error = QStringLiteral("La lecture des vidéos n'est pas installée : %1").arg(why);
        return nullptr;
    }
    const VideoModuleEntry *entry = nullptr;
    {
        LoaderState &s = state();
        const QMutexLocker lock(&s.mutex);
        entry = s.entry;
    }
    std::unique_ptr<OpenedVideo> video(entry->open(path, progress, error));
    return video;
}
