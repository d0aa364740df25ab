#include "commandline.h"
#include "feuillep.h"

#include "calculator/machine.h"

#include "platform/programpaths.h"
#include "platform/qtservices.h"
#include "platform/translations.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <clocale>
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

    QApplication app(argc, argv);
    // Qt's standard dialogs in French, like the rest of the program.
    installFrenchTranslations(app);
    // Numbers are formatted and parsed by the program itself; keep the C
    // library's numeric conventions fixed whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Lorva avec frottement"));
    // The installed menu entry and icon carry this name; the window system
    // matches the windows to them through it.
    QGuiApplication::setDesktopFileName(ProgramPaths::applicationId());
    QApplication::setWindowIcon(QIcon::fromTheme(ProgramPaths::applicationId()));
    // The help viewer may still be open: the program ends with its main window.
    QApplication::setQuitOnLastWindowClosed(false);

    QtServices services;
    // The program's folder: the flag file goes there when it can be written,
    // and the help page is found beside the program or in its installed data
    // folder (ProgramPaths).
    FeuilleP window(services, QCoreApplication::applicationDirPath());
    services.setParentWindow(&window);
    window.hooks().calculator = [&] {
        Machine machine(services, &window);
        window.showModal(&machine);
    };
    QObject::connect(&window, &FeuilleP::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    window.show();
    // A file named on the command line opens once the window is up and has
    // had its first activation, so its messages appear over it.
    if (!commandLine.file.isEmpty())
        QTimer::singleShot(0, &window, [&] { openFromCommandLine(window, commandLine.file); });
    return app.exec();
}
