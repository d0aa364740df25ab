// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the measured fall of the glycerine lesson:
//   lorva_make_glycerine data/exercices/glycerine-mesures.txt
// The file is committed; tst_exercises_shippedexercises checks that it is
// still what this program writes.
#include "glycerinefall.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    QTextStream err(stderr);
    if (arguments.size() != 2) {
        err << "Usage : lorva_make_glycerine FICHIER\n";
        return 2;
    }
    QSaveFile file(arguments.at(1));
    const QByteArray bytes = GlycerineFall::table();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        err << "Écriture impossible : " << file.errorString() << '\n';
        return 1;
    }
    return 0;
}
