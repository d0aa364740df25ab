// lorva-exercice: writes an exercise's descriptor (".E40") and
// configurations (".P18") from its manifest, for teachers who prepare
// exercises and for the build, which produces the shipped ones this way.
#include "exercises/exercisemanifest.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    QTextStream err(stderr);
    if (arguments.size() != 3) {
        err << QStringLiteral("usage : lorva-exercice <manifeste.exo> <dossier de sortie>\n");
        return 2;
    }
    ExerciseManifest manifest;
    if (!manifest.read(arguments.at(1)) || !manifest.write(arguments.at(2))) {
        err << arguments.at(1) << QStringLiteral(" : ") << manifest.errorString() << '\n';
        return 1;
    }
    return 0;
}
