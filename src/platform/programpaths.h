// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Where the program finds its shipped files and where it keeps the
// running-flag file. Two layouts are known:
//  - the build folder (or a copied folder): the help page "aide/" and the
//    exercises "exercices/" sit beside the executable;
//  - an installation: the executable in <prefix>/bin, the shipped files in
//    <prefix>/share/lorva-avec-frottement.
// programFolder is the folder of the executable
// (QCoreApplication::applicationDirPath() in the program).
namespace ProgramPaths {

// Name of the folder of the shipped files under <prefix>/share.
QString dataFolderName();

// The name of the menu entry, the icon and the software-centre description
// of an installation ("fr.lorva.LorvaAvecFrottement").
QString applicationId();

// The folder that holds "aide/" (and "exercices/" when exercises are
// shipped): programFolder when the help page is beside the executable, else
// ../share/lorva-avec-frottement relative to it (the executable's path has its
// symbolic links resolved, so a link elsewhere still finds it). When neither
// holds it, programFolder, so that a missing page is looked for on its usual
// path.
QString dataFolder(const QString &programFolder);

// The help page, "aide/lorva.html" in the data folder.
QString helpPage(const QString &programFolder);

// The shipped exercises, "exercices/" in the data folder (it may not exist).
QString exercisesFolder(const QString &programFolder);

// The program's icon as bitmaps beside the executable ("icones/*.png", put
// there by the build so that a program run from its build folder has its
// icon; an installation puts the icon in the desktop's icon theme instead).
// Empty when there are none.
QStringList iconFiles(const QString &programFolder);

// The running-flag file "TEMPQavo.TMP": in programFolder, where the launcher
// of the teaching suite looks for it, when the file there can be written
// (an existing writable file, or a writable folder) and programFolder is not
// the bin folder of an installation; otherwise in fallbackFolder. The one-argument form falls back
// on the user's runtime folder (XDG_RUNTIME_DIR), or the temporary folder when there is none.
QString runningFlagFile(const QString &programFolder, const QString &fallbackFolder);
QString runningFlagFile(const QString &programFolder);

} // namespace ProgramPaths
