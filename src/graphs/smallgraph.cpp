// SPDX-License-Identifier: GPL-3.0-or-later
#include "smallgraph.h"

#include "measuredplot.h"

#include "core/motion.h"
#include "core/simulationstate.h"
#include "measures/measurementholder.h"
#include "platform/drawingsurface.h"

#include <cmath>

SmallGraph::SmallGraph(DrawingSurface &frame1, const SimulationState &state,
                       std::function<DisplayOptions()> options)
    : m_frame1(frame1)
    , m_state(state)
    , m_options(std::move(options))
{ }

double SmallGraph::currentValue(const SimulationState &state, int quantity)
{
    switch (quantity) {
    case DisplayOptions::Velocity:
        return double(state.vit);
    case DisplayOptions::Acceleration:
        return double(state.acc);
    default:
        return double(state.ypos);
    }
}

double SmallGraph::extremeValue(const SimulationState &state, int quantity)
{
    switch (quantity) {
    case DisplayOptions::Velocity:
        return Motion::at(state.vlim, state.tau, state.tfin).v;
    case DisplayOptions::Acceleration:
        return state.vlim / state.tau;
    default:
        return Motion::at(state.vlim, state.tau, state.tfin).y;
    }
}

void SmallGraph::repgraphe()
{
    ++m_repgrapheCount;
    m_frame1.clear();
    m_scale = GraphScale();
    m_tgraphe = 0.0;
    const DisplayOptions options = m_options();
    m_quantity = options.graphQuantity;

    // No fall, or a fall that cannot be computed: the graph stays blank, and
    // tracegraphe draws nothing until the next repgraphe.
    if (!(m_state.tfin > 0.0) || !std::isfinite(m_state.tfin)) {
        changed();
        return;
    }
    m_tgraphe = m_state.tfin;
    const double extreme = extremeValue(m_state, m_quantity);
    std::vector<MeasuredPlot::Sample> measured;
    if (m_measures && !m_measures->isEmpty())
        measured = MeasuredPlot::samples(m_measures->set(), m_quantity,
                                         MeasuredPlot::offsetOf(m_measures->lastFit()));
    double range = m_tgraphe;
    double widest = std::isfinite(extreme) ? extreme : 0.0;
    MeasuredPlot::extend(measured, range, widest);
    GraphScale scale = chooseScale(range, widest, smallGraphRules);
    if (!scale.isValid()) {
        changed();
        return;
    }
    m_scale = scale;

    const GraphGeometry &g = smallGraphGeometry;
    GraphFrame::draw(m_frame1, g, m_scale, m_quantity);
    MeasuredPlot::draw(m_frame1, g, m_scale, measured, 1);

    // First point of the curve; it is also the start of the first segment.
    const QColor colour = GraphFrame::curveColour(m_quantity);
    const double q0 = m_quantity == DisplayOptions::Acceleration ? extreme : 0.0;
    m_frame1.point(g.originX, g.y(q0, m_scale), colour);
    changed();
}

void SmallGraph::tracegraphe()
{
    if (m_state.temps == 0.0 || !m_scale.isValid())
        return;
    const bool bold = m_options().boldGraph;
    m_frame1.setDrawWidth(bold ? 2 : 1);
    const GraphGeometry &g = smallGraphGeometry;
    const double x = g.x(m_state.temps, m_scale);
    const double y = g.y(currentValue(m_state, m_quantity), m_scale);
    m_frame1.lineTo(x, y, GraphFrame::curveColour(m_quantity));
    m_frame1.setDrawWidth(1);
    changed();
}

void SmallGraph::changed()
{
    if (m_changed)
        m_changed();
}
