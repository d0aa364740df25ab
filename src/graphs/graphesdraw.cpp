// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphes.h"

#include "graphframe.h"
#include "measuredplot.h"
#include "smallgraph.h"
#include "valuestable.h"

#include "core/motion.h"
#include "core/numberformat.h"
#include "core/simulationstate.h"
#include "measures/measurementholder.h"
#include "platform/surfacewidget.h"

#include <QCheckBox>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace {

constexpr int curveSteps = 400; // 401 points from t = 0 to tfin
const QColor asymptoteColour(0, 0, 200);
constexpr int timeLabelTop = 364;   // just under the time axis
constexpr int valueLabelRight = 23; // just left of the value axis

double quantityAt(const Motion::Point &p, int quantity)
{
    switch (quantity) {
    case DisplayOptions::Velocity:
        return p.v;
    case DisplayOptions::Acceleration:
        return p.a;
    default:
        return p.y;
    }
}

} // namespace

void Graphes::tracegraphe()
{
    DrawingSurface &s = Picture1->surface();
    s.clear();
    m_scale = GraphScale();
    const int q = quantity();

    // No fall: a blank graph and a table of headers only.
    const double tfin = m_state.tfin;
    // Measured points, when shown, choose the scale: the simulator's curve
    // is drawn over it for comparison, never forcing it (a 5,5 s video on
    // a 170 s simulated fall would fill a thirtieth of the width).
    double span = tfin;
    if (tfin > 0.0 && std::isfinite(tfin)) {
        double extreme = SmallGraph::extremeValue(m_state, q);
        if (!std::isfinite(extreme))
            extreme = 0.0;
        if (m_measures && !m_measures->isEmpty()) {
            const MeasuredPlot::Offset offset = MeasuredPlot::offsetOf(m_measures->lastFit());
            double measuredSpan = 0.0;
            double measuredExtreme = 0.0;
            MeasuredPlot::extend(MeasuredPlot::samples(m_measures->set(), q, offset), measuredSpan,
                                 measuredExtreme);
            if (q == DisplayOptions::Position)
                MeasuredPlot::extend(MeasuredPlot::fitted(m_measures->lastFit(), offset),
                                     measuredSpan, measuredExtreme);
            if (measuredSpan > 0.0 && measuredExtreme != 0.0) {
                span = measuredSpan;
                extreme = measuredExtreme;
            }
        }
        const GraphScale scale = chooseScale(span, extreme, graphWindowRules);
        if (scale.isValid())
            m_scale = scale;
        zoomOnRange();
    }
    if (!m_scale.isValid()) {
        MSFlexGrid1->fill(m_state.vlim, m_state.tau, 0.0, 0.0);
        placeGraphAndTable();
        Picture1->update();
        residus_Paint();
        return;
    }

    drawFitRange();
    GraphFrame::draw(s, graphWindowGeometry, m_scale, q);
    s.setDrawWidth(m_options().boldGraph ? 2 : 1);
    // The simulated fall over the whole time axis, or to its end when the
    // measurements stop sooner.
    drawCurve(GraphFrame::curveColour(q),
              m_scale.t0 + std::min(m_scale.ft(), std::max(span, tfin) - m_scale.t0));
    drawAsymptote();
    s.setDrawWidth(1);
    drawFittedModel();
    drawMeasurements();
    Picture1->update();

    MSFlexGrid1->fill(m_state.vlim, m_state.tau, tfin, m_scale.ft());
    placeGraphAndTable();
    residus_Paint();
}

void Graphes::drawMeasurements()
{
    if (!m_measures || m_measures->isEmpty())
        return;
    const int q = quantity();
    DrawingSurface &s = Picture1->surface();
    const MeasuredPlot::Offset offset = MeasuredPlot::offsetOf(m_measures->lastFit());
    MeasuredPlot::draw(s, graphWindowGeometry, m_scale,
                       MeasuredPlot::samples(m_measures->set(), q, offset), 2);
    const bool fitted = q == DisplayOptions::Position
        && !MeasuredPlot::fitted(m_measures->lastFit(), offset).empty();
    MeasuredPlot::legend(s, graphWindowGeometry, q, m_measures->set().sourceName, offset.isShift(),
                         fitted);
}

void Graphes::drawFittedModel()
{
    if (!m_measures || m_measures->isEmpty() || quantity() != DisplayOptions::Position)
        return;
    const MeasuredPlot::Offset offset = MeasuredPlot::offsetOf(m_measures->lastFit());
    DrawingSurface &s = Picture1->surface();
    const int width = s.drawWidth();
    s.setDrawWidth(2);
    MeasuredPlot::drawLine(s, graphWindowGeometry, m_scale,
                           MeasuredPlot::fitted(m_measures->lastFit(), offset),
                           MeasuredPlot::fitColour);
    s.setDrawWidth(width);
}

void Graphes::drawCurve(const QColor &colour, double span)
{
    DrawingSurface &s = Picture1->surface();
    const GraphGeometry &g = graphWindowGeometry;
    const int q = quantity();
    const double from = m_scale.t0;
    // Each instant is a product, so the last point is exactly at span. The
    // curve stops where it leaves the plot (a scale chosen for measurements
    // may be smaller than the simulated fall) and resumes where it returns.
    bool down = false;
    for (int i = 0; i <= curveSteps; ++i) {
        const double t = from + (span - from) * i / curveSteps;
        const double value = quantityAt(Motion::at(m_state.vlim, m_state.tau, t), q);
        const double x = g.x(t, m_scale);
        const double y = g.y(value, m_scale);
        const bool inside
            = std::isfinite(y) && y >= g.originY - g.valueSpan - 1.0 && y <= g.originY + 1.0;
        if (inside && down)
            s.lineTo(x, y, colour);
        else if (inside)
            s.point(x, y, colour);
        down = inside;
    }
}

void Graphes::drawAsymptote()
{
    const GraphGeometry &g = graphWindowGeometry;
    const double ya = g.y(m_state.vlim, m_scale);
    // Above the plot: the box stays disabled until the quantity changes.
    if (ya < 30.0)
        Check1->setEnabled(false);
    if (Check1->isEnabled() && Check1->isChecked())
        Picture1->surface().line(g.originX, ya, g.originX + g.timeSpan, ya, asymptoteColour);
}

void Graphes::Picture1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPoint position)
{
    const GraphGeometry &g = graphWindowGeometry;
    const int x = position.x();
    const int y = position.y();
    const bool overPlot
        = x >= g.originX && x <= g.originX + g.timeSpan && y >= 30 && y <= g.originY;
    Picture1->setCursor(overPlot ? Qt::CrossCursor : Qt::ArrowCursor);
    if (!overPlot || !m_scale.isValid()) {
        Label1->hide();
        Label2->hide();
        return;
    }
    Label1->setText(
        NumberFormat::fixedTwo(m_scale.t0 + (x - g.originX) * m_scale.ft() / g.timeSpan));
    Label1->adjustSize();
    Label1->move(x - Label1->width() / 2, timeLabelTop);
    Label2->setText(
        NumberFormat::fixedTwo(m_scale.v0 + (g.originY - y) * m_scale.fv() / g.valueSpan));
    Label2->adjustSize();
    Label2->move(valueLabelRight - Label2->width(), y - Label2->height() / 2);
    Label1->show();
    Label2->show();
}

void Graphes::Form_MouseMove()
{
    Picture1_MouseMove(Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
}
