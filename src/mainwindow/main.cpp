// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"
#include "program.h"

#include "platform/fontwarmup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // --help and --version answer before any window system is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = CommandLine::parse(arguments);
    if (commandLine.action != CommandLine::Action::Run) {
        std::FILE *out = commandLine.action == CommandLine::Action::Error ? stderr : stdout;
        std::fputs(commandLine.output.toLocal8Bit().constData(), out);
        return commandLine.exitCode;
    }

    // The font configuration loads while the application connects to the
    // display (Program::prepareApplication waits for it).
    FontWarmup::start();
    QApplication app(argc, argv);
    Program::prepareApplication(app);
    // The program's folder: the flag file goes there when it can be written,
    // and the help page is found beside the program or in its installed data
    // folder (ProgramPaths).
    Program program(app, QCoreApplication::applicationDirPath());
    program.start(commandLine);
    return app.exec();
}
