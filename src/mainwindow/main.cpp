#include "feuillep.h"

#include "calculator/machine.h"

#include "platform/qtservices.h"
#include "platform/translations.h"

#include <QApplication>

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
    // The help viewer may still be open: the program ends with its main window.
    QApplication::setQuitOnLastWindowClosed(false);

    QtServices services;
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
