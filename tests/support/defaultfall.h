// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakefields.h"

#include "core/animationclock.h"
#include "core/displayoptions.h"
#include "core/simulationstate.h"

#include <functional>

// The default fall for the graphs' tests: the default fields, the clock over
// them and the display options a graph reads. The fixture that holds a graph
// calls reset once the graph exists, as the main window resets after building.
struct DefaultFall
{
    DefaultFall() = default;
    DefaultFall(const DefaultFall &) = delete;
    DefaultFall &operator=(const DefaultFall &) = delete;

    // The options as a graph reads them: those of the moment it asks.
    std::function<DisplayOptions()> optionsSource()
    {
        return [this] { return options; };
    }
    // Chooses the quantity shown and brings the fall back to t = 0.
    void reset(int quantity)
    {
        options.graphQuantity = quantity;
        clock.command18_Click();
    }
    SimulationState &state() { return clock.state(); }

    FakeFields fields;
    AnimationView view;
    AnimationClock clock {fields, view};
    DisplayOptions options;
};
