// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class FeuilleP;

// The program's command line: "lorva [fichier]", with --help and --version.
// Parsing is separate from acting on it so that both can be tested.
struct CommandLine
{
    enum class Action {
        Run,         // start the program, opening file when it is not empty
        ShowHelp,    // print output on the standard output and stop
        ShowVersion, // same
        Error        // print output on the error output and stop with exitCode
    };

    Action action = Action::Run;
    // The file to open at start-up, as given (possibly relative); empty for none.
    QString file;
    // What to print for the actions that stop the program.
    QString output;
    int exitCode = 0;

    // arguments as QCoreApplication::arguments() gives them, the program's
    // name first. More than one file is an error, as is an unknown option.
    static CommandLine parse(const QStringList &arguments);

    // "Lorva avec frottement" followed by the version, and a line break.
    static QString versionText();
    // The French usage text printed by --help.
    static QString helpText();
};

// Opens a file named on the command line in window, once it is shown: an
// exercise descriptor (".E40", any case) through the window's
// requestedExercise hook, anything else as a configuration with chargeconfig,
// which reports a missing or foreign file through the window's platform
// services and leaves the window as it was. A missing exercise descriptor is
// reported the same way. Returns whether the file was handed over or applied.
bool openFromCommandLine(FeuilleP &window, const QString &file);
