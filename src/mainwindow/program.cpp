// SPDX-License-Identifier: GPL-3.0-or-later
#include "program.h"

#include "afterfirstpaint.h"
#include "feuillep.h"

#include "calculator/machine.h"
#include "platform/fontwarmup.h"
#include "platform/programpaths.h"
#include "platform/qtservices.h"
#include "platform/translations.h"

#include <QApplication>
#include <QIcon>

#include <clocale>

void Program::prepareApplication(QApplication &app)
{
    installFrenchTranslations(app);
    // Numbers are formatted and parsed by the program itself; keep the C
    // library's numeric conventions fixed whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Lorva avec frottement"));
    // The installed menu entry and icon carry this name; the window system
    // matches the windows to them through it.
    QGuiApplication::setDesktopFileName(ProgramPaths::applicationId());
    QApplication::setQuitOnLastWindowClosed(false);
    // The window's first texts are laid out as it is built.
    FontWarmup::wait();
}

Program::Program(QApplication &app, const QString &programFolder)
    : m_programFolder(programFolder)
    , m_services(std::make_unique<QtServices>())
    , m_window(std::make_unique<FeuilleP>(*m_services, programFolder))
{
    m_services->setParentWindow(m_window.get());
    FeuilleP *window = m_window.get();
    QtServices *services = m_services.get();
    m_window->hooks().calculator = [window, services] {
        Machine machine(*services, window);
        window->showModal(&machine);
    };
    QObject::connect(m_window.get(), &FeuilleP::unloaded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
}

Program::~Program() = default;

void Program::start(const CommandLine &commandLine)
{
    m_window->show();
    // Looking the icon up in the icon themes takes several milliseconds; the
    // window does not wait for it: the icon comes after the first frame.
    const QString programFolder = m_programFolder;
    afterFirstPaint(*m_window, [programFolder] {
        QIcon icon = QIcon::fromTheme(ProgramPaths::applicationId());
        // Run from its build folder, the program is not in the icon theme;
        // its bitmaps are beside it.
        if (icon.isNull()) {
            for (const QString &file : ProgramPaths::iconFiles(programFolder))
                icon.addFile(file);
        }
        QApplication::setWindowIcon(icon);
    });
    if (!commandLine.file.isEmpty()) {
        // The first activation checks the start-up fields and lets pending
        // events run in between: a file opened from inside it would have its
        // values overwritten by the rest of those checks. It opens once the
        // activation is over.
        const QString file = commandLine.file;
        FeuilleP *window = m_window.get();
        QObject::connect(
            window, &FeuilleP::activated, window,
            [window, file] { openFromCommandLine(*window, file); },
            static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    }
}
