// SPDX-License-Identifier: GPL-3.0-or-later
#include "savename.h"

#include <QDir>

QString withSlashes(const QString &path)
{
    QString slashed = path;
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return slashed;
}

QString bareName(const QString &path)
{
    const QString slashed = withSlashes(path);
    return slashed.mid(slashed.lastIndexOf(QLatin1Char('/')) + 1);
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString configurationSavePath(const QString &typed, const QString &folder)
{
    QString text = withSlashes(typed);
    for (;;) {
        text = text.trimmed();
        if (text.isEmpty())
            return QString();
        const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
        if (dot <= text.lastIndexOf(QLatin1Char('/')))
            break;
        text.truncate(dot);
    }
    if (text.endsWith(QLatin1Char('/')))
        return QString();
    if (QDir::isRelativePath(text))
        text = joinPath(withSlashes(folder), text);
    return text + QStringLiteral(".P18");
}
