// SPDX-License-Identifier: GPL-3.0-or-later
#include "runningflag.h"

#include "platform/programpaths.h"
#include "platform/recordfile.h"

#include <QDir>

RunningFlag::RunningFlag(const QString &programFolder)
    : m_path(ProgramPaths::runningFlagFile(programFolder))
{ }

void RunningFlag::markRunning()
{
    RecordFile::writeRecord(m_path, runningRecord, QStringLiteral("OUI"));
}

void RunningFlag::markClosed()
{
    RecordFile::writeRecord(m_path, runningRecord, QStringLiteral("NON"));
}

QString RunningFlag::takeRequestedExercise()
{
    RecordFile file(m_path);
    if (!file.load())
        return QString();
    // A damaged record reads as no request, and is emptied all the same.
    const QString request = file.read(exerciseRecord).value_or(QString());
    if (file.write(exerciseRecord, QString()))
        file.commit();
    return request;
}
