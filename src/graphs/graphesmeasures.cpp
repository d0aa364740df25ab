// SPDX-License-Identifier: GPL-3.0-or-later
// The graph window's measurements: the "Mesures…" tool, the residuals strip,
// and the mouse on the plot (a click leaves a point out, a drag sets the
// fit range).
#include "graphes.h"

#include "measuredplot.h"
#include "plotpicking.h"
#include "residualplot.h"

#include "measures/measurementholder.h"
#include "platform/surfacewidget.h"

#include <QFrame>
#include <QRubberBand>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor rangeColour(255, 244, 196); // pale: the grid and the curve stay readable
constexpr double plotTop = 30;           // top of the plot's grid

} // namespace

void Graphes::setMeasurements(MeasurementHolder *holder,
                              std::function<void(QWidget *graphWindow)> openMeasures)
{
    m_openMeasures = std::move(openMeasures);
    if (m_measures)
        disconnect(m_measures, nullptr, this, nullptr);
    m_measures = holder;
    mesures->setVisible(holder != nullptr && m_openMeasures != nullptr);
    if (holder) {
        connect(holder, &MeasurementHolder::changed, this, &Graphes::tracegraphe);
        connect(holder, &MeasurementHolder::rangeChanged, this, &Graphes::tracegraphe);
        connect(holder, &MeasurementHolder::fitChanged, this, &Graphes::tracegraphe);
        // The simulator's curve follows what "Appliquer" put into its fields.
        connect(holder, &MeasurementHolder::applied, this, &Graphes::tracegraphe);
        connect(holder, &MeasurementHolder::viewChanged, this, &Graphes::tracegraphe);
    }
    tracegraphe();
}

void Graphes::mesures_Click()
{
    if (m_measures && m_openMeasures)
        m_openMeasures(this);
}

bool Graphes::residualsShown() const
{
    return m_measures && !m_measures->isEmpty();
}

void Graphes::residus_Paint()
{
    const FitResult *fit = m_measures ? m_measures->lastFit() : nullptr;
    ResidualPlot::draw(residus->surface(), fit, m_scale);
    residus->setAccessibleDescription(ResidualPlot::description(fit));
    residus->update();
}

void Graphes::drawFitRange()
{
    if (!m_measures || m_measures->isEmpty())
        return;
    const FitRange &range = m_measures->fitRange();
    if (range.isOpen())
        return;
    const double shift = MeasuredPlot::offsetOf(m_measures->lastFit()).t;
    const GraphGeometry &g = graphWindowGeometry;
    const double left = g.originX;
    const double right = g.originX + g.timeSpan;
    const double from
        = std::isfinite(range.tMin) ? std::max(left, g.x(range.tMin - shift, m_scale)) : left;
    const double to
        = std::isfinite(range.tMax) ? std::min(right, g.x(range.tMax - shift, m_scale)) : right;
    if (!(from <= to))
        return;
    Picture1->surface().box(from, plotTop, to, g.originY, rangeColour, true);
}

void Graphes::zoomOnRange()
{
    if (!m_measures || m_measures->isEmpty() || !m_measures->zoomedOnRange()
        || quantity() != DisplayOptions::Position || !m_scale.isValid())
        return;
    const FitRange &range = m_measures->fitRange();
    if (range.isOpen())
        return;
    const MeasuredPlot::Offset offset = MeasuredPlot::offsetOf(m_measures->lastFit());
    double tLo = std::numeric_limits<double>::infinity(), tHi = -tLo;
    double vLo = tLo, vHi = -tLo;
    const auto take = [&](const std::vector<MeasuredPlot::Sample> &samples) {
        for (const MeasuredPlot::Sample &s : samples) {
            const double t = s.t + offset.t; // the range is in the measurement's times
            if (!(t >= range.tMin && t <= range.tMax) || !std::isfinite(s.value))
                continue;
            tLo = std::min(tLo, s.t);
            tHi = std::max(tHi, s.t);
            vLo = std::min(vLo, s.value);
            vHi = std::max(vHi, s.value);
        }
    };
    take(MeasuredPlot::samples(m_measures->set(), DisplayOptions::Position, offset));
    take(MeasuredPlot::fitted(m_measures->lastFit(), offset));
    if (!(tHi > tLo) || !(vHi > vLo))
        return;
    // The axes start on a division of a first choice, so that the grid
    // lines fall on round values; the second choice covers the rest.
    GraphScale first = chooseScale(tHi - tLo, vHi - vLo, graphWindowRules);
    if (!first.isValid())
        return;
    const double t0 = std::floor(tLo / first.timeDivision()) * first.timeDivision();
    const double v0 = std::floor(vLo / first.valueDivision()) * first.valueDivision();
    GraphScale zoomed = chooseScale(tHi - t0, vHi - v0, graphWindowRules);
    if (!zoomed.isValid())
        return;
    zoomed.t0 = t0;
    zoomed.v0 = v0;
    m_scale = zoomed;
}

void Graphes::Picture1_MouseWheel(int delta)
{
    if (!m_measures || delta == 0 || (delta > 0 && m_measures->fitRange().isOpen()))
        return;
    m_measures->setZoomedOnRange(delta > 0);
}

void Graphes::Picture1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position)
{
    m_pressed = button == Qt::LeftButton && m_measures && !m_measures->isEmpty()
        && m_scale.isValid() && PlotPicking::overTimeAxis(graphWindowGeometry, position.x());
    m_pressAt = position;
}

void Graphes::Picture1_Drag(Qt::MouseButtons buttons, QPoint position)
{
    if (!m_pressed || !(buttons & Qt::LeftButton) || PlotPicking::isClick(m_pressAt, position))
        return;
    if (!m_dragBand) {
        m_dragBand = new QRubberBand(QRubberBand::Rectangle, Picture1);
        m_dragBand->setObjectName(QStringLiteral("dragBand"));
        m_dragBand->setAccessibleName(QStringLiteral("Plage d'ajustement en cours de choix"));
    }
    const GraphGeometry &g = graphWindowGeometry;
    const int left = int(g.originX);
    const int right = int(g.originX + g.timeSpan);
    const int x1 = std::clamp(std::min(m_pressAt.x(), position.x()), left, right);
    const int x2 = std::clamp(std::max(m_pressAt.x(), position.x()), left, right);
    m_dragBand->setGeometry(QRect(QPoint(x1, int(plotTop)), QPoint(x2, int(g.originY))));
    m_dragBand->show();
}

void Graphes::Picture1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position)
{
    if (button != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (m_dragBand)
        m_dragBand->hide();
    if (!m_measures || !m_scale.isValid())
        return;
    const GraphGeometry &g = graphWindowGeometry;
    // The plot shows the points shifted by the fit's release; the range and
    // the points themselves stay in the measurement's own times.
    const MeasuredPlot::Offset offset = MeasuredPlot::offsetOf(m_measures->lastFit());
    if (PlotPicking::isClick(m_pressAt, position)) {
        const int index = PlotPicking::pointAt(
            g, m_scale, MeasuredPlot::samples(m_measures->set(), quantity(), offset),
            QPointF(position));
        if (index >= 0) {
            const bool excluded = m_measures->set().points[size_t(index)].exclusion
                == MeasuredPoint::Exclusion::User;
            m_measures->setUserExcluded(index, !excluded);
        }
        return;
    }
    const PlotPicking::Range range
        = PlotPicking::rangeFromDrag(g, m_scale, m_pressAt.x(), position.x());
    m_measures->setFitRange({range.tMin + offset.t, range.tMax + offset.t});
}
