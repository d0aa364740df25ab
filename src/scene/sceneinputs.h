// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class ParameterFields;
struct DisplayOptions;
struct SimulationState;

// What a refresh of the scene and of its vectors reads, each time it runs:
// the state of the fall, the parameter fields (radius, mass, height,
// viscosity and fluid density, read as texts), and the display options. The
// main window fills it from the clock, the tab strip and its fields; tests
// from plain values. The referenced objects outlive the scene.
struct SceneInputs
{
    // temps, ypos, vit, reynolds and the scale exponents expoids and expvit;
    // ypos is the distance fallen, m.
    const SimulationState &state;
    const ParameterFields &fields;
    // Axis, ruler, marks, vectors, scales and colours.
    const DisplayOptions &options;
    // marque: a chronophotography mark is due during this tick.
    std::function<bool()> markDue = [] { return false; };
    // Vertical position of the index line Line7 in scene pixels (25 at the
    // release point).
    std::function<int()> indexLineY = [] { return 25; };
};
