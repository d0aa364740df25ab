// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "defaultfall.h"
#include "scriptedservices.h"

#include "graphs/graphes.h"
#include "platform/surfacewidget.h"

#include <QImage>

// The graph window over the default fall, shown as the main window opens it
// unless the test has something to give it first (Show::Later: the test
// shows it).
struct GraphWindowRig : DefaultFall
{
    enum class Show { Now, Later };

    explicit GraphWindowRig(int quantity = DisplayOptions::Position, bool bold = false,
                            Show show = Show::Now)
    {
        options.boldGraph = bold;
        reset(quantity);
        if (show == Show::Now)
            window.show();
    }
    // The graph as drawn on Picture1.
    const QImage &image() const { return window.Picture1->surface().image(); }

    ScriptedServices services;
    Graphes window {clock.state(), optionsSource(), services};
};
