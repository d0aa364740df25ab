// SPDX-License-Identifier: GPL-3.0-or-later
#include "filemessages.h"

#include "platformservices.h"

#include <QDir>
#include <QFileInfo>

QString FileMessages::notWritten(const QString &fileName, const QString &detail)
{
    QString text = QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.")
                       .arg(QDir::toNativeSeparators(fileName));
    if (!detail.isEmpty())
        text += QLatin1Char('\n') + detail;
    return text;
}

bool FileMessages::confirmOverwrite(PlatformServices &services, const QString &path)
{
    if (!QFileInfo(path).isFile())
        return true;
    return services.message(MessageIcon::Warning, QStringLiteral("Ce fichier existe déjà!"),
                            QStringLiteral("Ecraser le fichier existant?"), MessageButtons::YesNo)
        == MessageAnswer::Yes;
}
