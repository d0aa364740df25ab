// SPDX-License-Identifier: GPL-3.0-or-later
// The overwrite question of FileMessages, which needs the platform services
// (Qt Gui); the sentences live in filemessages.cpp, Qt Core only.
#include "filemessages.h"

#include "platformservices.h"

#include <QFileInfo>

bool FileMessages::confirmOverwrite(PlatformServices &services, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return true;
    return services.message(MessageIcon::Warning, QStringLiteral("Ce fichier existe déjà!"),
                            QStringLiteral("Ecraser le fichier existant?"), MessageButtons::YesNo)
        == MessageAnswer::Yes;
}
