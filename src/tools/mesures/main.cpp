// SPDX-License-Identifier: GPL-3.0-or-later
// lorva-mesures: the viscosity of a fluid from measured falls of a ball.
#include "measurecommand.h"
#include "videoreader.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return MeasureCommand::run(app.arguments().mid(1), out, err, readVideo);
}
