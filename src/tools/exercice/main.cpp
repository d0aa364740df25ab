// SPDX-License-Identifier: GPL-3.0-or-later
// lorva-exercice: writes an exercise's descriptor (".E40") and
// configurations (".P18") from its manifest, for teachers who prepare
// exercises and for the build, which produces the shipped ones this way.
#include "exercises/exercisemanifest.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    QTextStream err(stderr);
    // --complet: [configuration] must give the five fields and the interval
    // itself (the shipped exercises leave nothing to the defaults).
    const bool complete = arguments.removeAll(QStringLiteral("--complet")) > 0;
    if (arguments.size() != 2) {
        err << QStringLiteral(
            "usage : lorva-exercice [--complet] <manifeste.exo> <dossier de sortie>\n");
        return 2;
    }
    ExerciseManifest manifest;
    QString missing;
    if (!manifest.read(arguments.at(0))) {
        err << arguments.at(0) << QStringLiteral(" : ") << manifest.errorString() << '\n';
        return 1;
    }
    if (complete && !manifest.setsEveryField(&missing)) {
        err << arguments.at(0) << QStringLiteral(" : [configuration] ne donne pas « ") << missing
            << QStringLiteral(" »\n");
        return 1;
    }
    if (!manifest.write(arguments.at(1))) {
        err << arguments.at(0) << QStringLiteral(" : ") << manifest.errorString() << '\n';
        return 1;
    }
    return 0;
}
