#include "feuillep.h"

#include "calculator/machine.h"

#include "platform/programpaths.h"
#include "platform/qtservices.h"
#include "platform/translations.h"

#include <QApplication>
#include <QIcon>

#include <clocale>

int main(int argc, char *argv[])
{
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
    return app.exec();
}
