// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/feuillep.h"
#include "scriptedservices.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>

// A main window over a scratch program folder, shown and activated.
struct MainWindowRig
{
    explicit MainWindowRig(const QString &folder)
        : window(services, folder)
    {
        window.hooks().requestedExercise = [this](const QString &path) { requests << path; };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }
    ScriptedServices services;
    FeuilleP window;
    QStringList requests;
};
