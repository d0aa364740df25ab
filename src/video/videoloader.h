// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "openedvideo.h"

#include <QStringList>

#include <memory>

// Finds and loads the decoding module (videomodule.h) the first time a video
// is opened, so that the program starts without FFmpeg's libraries in
// memory. Every function may be called from any thread; the loading itself
// happens once, on the thread of the first successful call. A failed loading
// is tried again at the next call (the user may have installed what lacked).
namespace VideoLoader {

// Where the module is looked for, in order: beside the program (the build
// tree) and the installed location relative to the program's folder
// (<prefix>/lib/lorva-avec-frottement from <prefix>/bin).
QStringList defaultDirectories();
// Replaces the directories searched (tests); an empty list restores the
// defaults. A module already loaded stays loaded.
void setSearchDirectories(const QStringList &directories);

// True once the module is in memory.
bool isLoaded();

// Loads the module if it is not yet. False with the French reason, the
// loader's own words included, when it cannot be loaded.
bool load(QString *why);

// Opens a video through the module, loading it first. On failure returns
// null and *error says why in French: the module's own message, or
// « La lecture des vidéos n'est pas installée : <reason> » when the module
// or one of the libraries it needs cannot be loaded.
std::unique_ptr<OpenedVideo> open(const QString &path, const OpeningProgress &progress,
                                  QString *error);

} // namespace VideoLoader
