// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "feuillep.h"
#include "platform/platformservices.h"

#include <QCommandLineParser>
#include <QFileInfo>

#ifndef LORVA_VERSION
#define LORVA_VERSION "0"
#endif

namespace {

QString programName(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return QStringLiteral("lorva");
    return QFileInfo(arguments.first()).fileName();
}

CommandLine stopWith(CommandLine::Action action, const QString &output, int exitCode)
{
    CommandLine line;
    line.action = action;
    line.output = output;
    line.exitCode = exitCode;
    return line;
}

} // namespace

QString CommandLine::versionText()
{
    return QStringLiteral("Lorva avec frottement ") + QLatin1String(LORVA_VERSION)
        + QStringLiteral(" — logiciel libre, licence GNU GPL version 3 ou ultérieure "
                         "(GPL-3.0-or-later)\n");
}

QString CommandLine::helpText()
{
    return QStringLiteral("Utilisation : lorva [options] [fichier]\n"
                          "Lorva avec frottement : chute d'une sphère dans un fluide visqueux.\n"
                          "\n"
                          "Options :\n"
                          "  -h, --help     Affiche cette aide.\n"
                          "  -v, --version  Affiche la version du programme.\n"
                          "\n"
                          "Arguments :\n"
                          "  fichier        Configuration (.P18) ou exercice (.E40) à ouvrir au\n"
                          "                 démarrage.\n");
}

CommandLine CommandLine::parse(const QStringList &arguments)
{
    // Our own options rather than addHelpOption()/addVersionOption(), whose
    // texts are Qt's and in English without its translations.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Affiche cette aide."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Affiche la version du programme."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("fichier"),
                                 QStringLiteral("Configuration ou exercice à ouvrir."));

    const QString hint = QStringLiteral("Pour l'aide : %1 --help\n").arg(programName(arguments));
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        const QString what = unknown.isEmpty()
            ? QStringLiteral("Ligne de commande incorrecte.\n")
            : QStringLiteral("Option inconnue : %1\n").arg(unknown.first());
        return stopWith(Action::Error, what + hint, 1);
    }
    if (parser.isSet(help))
        return stopWith(Action::ShowHelp, helpText(), 0);
    if (parser.isSet(version))
        return stopWith(Action::ShowVersion, versionText(), 0);

    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return stopWith(Action::Error, QStringLiteral("Un seul fichier à la fois.\n") + hint, 1);
    CommandLine line;
    if (!files.isEmpty())
        line.file = files.first();
    return line;
}

bool openFromCommandLine(FeuilleP &window, const QString &file)
{
    const QFileInfo info(file);
    // The window's title and nomfichier carry the full path, as after the
    // open dialog.
    const QString path = info.absoluteFilePath();
    if (info.suffix().compare(QLatin1String("E40"), Qt::CaseInsensitive) != 0)
        return window.chargeconfig(path);

    if (!info.isFile() || !info.isReadable()) {
        window.services().message(MessageIcon::Error,
                                  QStringLiteral("Erreur lors du chargement du fichier"),
                                  QStringLiteral("Lecture impossible sur disque"));
        return false;
    }
    if (!window.hooks().requestedExercise)
        return false;
    window.hooks().requestedExercise(path);
    return true;
}
