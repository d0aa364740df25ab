// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mainwindow/feuillep.h"
#include "scriptedservices.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>

// A main window over a scratch program folder, shown and activated, with the
// work it leaves for after its first frame done.
struct MainWindowRig
{
    explicit MainWindowRig(const QString &folder)
        : window(services, folder)
    {
        window.hooks().requestedExercise = [this](const QString &path) { requests << path; };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        QTRY_VERIFY(!window.findChild<QObject *>(QStringLiteral("afterFirstPaint")));
    }
    ScriptedServices services;
    FeuilleP window;
    QStringList requests;
};
