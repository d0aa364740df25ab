// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "commandline.h"

#include <QString>

#include <memory>

class FeuilleP;
class QApplication;
class QtServices;

// The running program: its platform services and its main window, set up
// the way the "lorva" executable starts them. Shared by main() and the
// start-up benchmark so that both measure and run the same sequence.
class Program
{
public:
    // Prepares app once, before any window exists: Qt's French translations,
    // the C library's numeric conventions, the names the desktop
    // matches the windows with, and ending with the main window rather than
    // the last window closed (the help viewer may still be open). Returns
    // once the font configuration started by FontWarmup::start() is loaded.
    static void prepareApplication(QApplication &app);

    // Creates the services and the main window; programFolder is where the
    // flag file goes when it can be written and where help and exercises
    // are looked for first. The calculator opens from the window's hook; the
    // application quits once the window has unloaded.
    Program(QApplication &app, const QString &programFolder);
    ~Program();

    // Shows the window, then gives it its icon; a file named on the command
    // line opens once the window is up and its first activation is over, so
    // that its messages appear over the window and its values stay as stored.
    void start(const CommandLine &commandLine);

    FeuilleP &window() { return *m_window; }

private:
    QString m_programFolder;
    std::unique_ptr<QtServices> m_services;
    std::unique_ptr<FeuilleP> m_window;
};
