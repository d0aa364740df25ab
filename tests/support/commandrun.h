// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measurecommand.h"

#include <QStringList>
#include <QTextStream>

// lorva-mesures run in the test's process: its return code, the lines it
// printed and what it wrote on the error stream.
struct CommandRun
{
    int status = 0;
    QStringList lines;
    QString err;
};

inline CommandRun runCommand(const QStringList &arguments)
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    CommandRun r;
    r.status = MeasureCommand::run(arguments, outStream, errStream);
    r.lines = out.split(QLatin1Char('\n'));
    r.err = err;
    return r;
}
