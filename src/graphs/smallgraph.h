// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphframe.h"
#include "graphscale.h"

#include "core/displayoptions.h"

#include <functional>

class DrawingSurface;
class MeasurementHolder;
struct SimulationState;

// The small graph of the main window, drawn on Frame1 (inner area 357 x 261):
// the chosen quantity against time, growing by one segment at each refresh
// of the scene. The origin is at (30, 230); the time full scale spans 280
// pixels to the right and the value full scale 200 pixels upwards.
class SmallGraph
{
public:
    // options gives the quantity (graphQuantity) and "Tracer en gras"
    // (boldGraph) at the moment of drawing.
    SmallGraph(DrawingSurface &frame1, const SimulationState &state,
               std::function<DisplayOptions()> options);

    // repgraphe: clears Frame1, chooses the scales for tfin and the quantity,
    // draws the frame and sets the first point of the curve as the surface's
    // current point. tfin must be computed already (dichotemps). Called at
    // load, by the reset command18_Click, by the first tick of an animation
    // and after a change of quantity. With tfin = 0 the graph stays blank.
    void repgraphe();

    // tracegraphe: a segment from the surface's current point to the
    // quantity at temps, 2 pixels wide when "Tracer en gras" is checked;
    // nothing while temps is 0 or while the graph is blank. Called last by
    // each refresh of the scene (majaff).
    void tracegraphe();

    // The session's measured fall, drawn by repgraphe under the curve (the
    // scale grows to hold it) while a set is loaded; nullptr for none.
    void setMeasurements(const MeasurementHolder *holder) { m_measures = holder; }

    // Told after each drawing so that the widget showing Frame1 repaints.
    void setChanged(std::function<void()> hook) { m_changed = std::move(hook); }

    // Scales of the last repgraphe; not valid while the graph is blank.
    const GraphScale &scale() const { return m_scale; }
    // tgraphe: the time range of the last repgraphe, s.
    double tgraphe() const { return m_tgraphe; }
    // How many times repgraphe has run: a cheap way to check that a
    // sequence of resets (the start-up) draws the graph once.
    int repgrapheCount() const { return m_repgrapheCount; }

    // The quantity's value at temps as the clock last stored it.
    static double currentValue(const SimulationState &state, int quantity);
    // The extreme of the quantity over [0, tfin]: y(tfin), v(tfin) or a(0).
    static double extremeValue(const SimulationState &state, int quantity);

private:
    void changed();

    DrawingSurface &m_frame1;
    const SimulationState &m_state;
    std::function<DisplayOptions()> m_options;
    std::function<void()> m_changed;
    const MeasurementHolder *m_measures = nullptr;
    GraphScale m_scale;
    double m_tgraphe = 0.0;
    int m_quantity = DisplayOptions::Position;
    int m_repgrapheCount = 0;
};
