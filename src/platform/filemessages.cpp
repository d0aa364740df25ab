// SPDX-License-Identifier: GPL-3.0-or-later
#include "filemessages.h"

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
