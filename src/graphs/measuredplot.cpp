// SPDX-License-Identifier: GPL-3.0-or-later
#include "measuredplot.h"

#include "core/displayoptions.h"
#include "measures/fallfit.h"
#include "platform/drawingsurface.h"

#include <algorithm>
#include <cmath>

namespace MeasuredPlot {

bool isDerived(int quantity)
{
    return quantity == DisplayOptions::Velocity;
}

Offset offsetOf(const FitResult *fit)
{
    if (!fit || !fit->hasEta() || !std::isfinite(fit->t0) || !std::isfinite(fit->y0))
        return {};
    return {fit->t0, fit->y0};
}

std::vector<Sample> samples(const MeasurementSet &set, int quantity, Offset offset)
{
    std::vector<Sample> out;
    if (quantity == DisplayOptions::Position) {
        out.reserve(set.points.size());
        for (size_t i = 0; i < set.points.size(); ++i) {
            const MeasuredPoint &p = set.points[i];
            if (p.exclusion == MeasuredPoint::Exclusion::LostBall)
                continue;
            out.push_back({p.t - offset.t, p.y - offset.y, p.included(), int(i)});
        }
        return out;
    }
    if (quantity != DisplayOptions::Velocity)
        return out;
    std::vector<const MeasuredPoint *> used;
    for (const MeasuredPoint &p : set.points) {
        if (p.included() && std::isfinite(p.t) && std::isfinite(p.y))
            used.push_back(&p);
    }
    for (size_t i = 1; i + 1 < used.size(); ++i) {
        const double dt = used[i + 1]->t - used[i - 1]->t;
        if (dt > 0.0)
            out.push_back(
                {used[i]->t - offset.t, (used[i + 1]->y - used[i - 1]->y) / dt, true, -1});
    }
    return out;
}

std::vector<Sample> fitted(const FitResult *fit, Offset offset)
{
    std::vector<Sample> out;
    if (!fit || !fit->hasEta())
        return out;
    for (const FitPoint &p : fit->points) {
        if (std::isfinite(p.t) && std::isfinite(p.model))
            out.push_back({p.t - offset.t, p.model - offset.y, true, p.index});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Sample &a, const Sample &b) { return a.t < b.t; });
    return out;
}

namespace {

// The sample's pixel lies over the plot: between the axes and their full
// scales, within slack pixels.
bool overPlot(const GraphGeometry &g, double x, double y, double slack)
{
    return std::isfinite(x) && std::isfinite(y) && x >= g.originX - slack
        && x <= g.originX + g.timeSpan + slack && y >= g.originY - g.valueSpan - slack
        && y <= g.originY + slack;
}

} // namespace

void drawLine(DrawingSurface &surface, const GraphGeometry &geometry, const GraphScale &scale,
              const std::vector<Sample> &samples, const QColor &colour)
{
    if (!scale.isValid())
        return;
    bool down = false;
    for (const Sample &s : samples) {
        const double x = geometry.x(s.t, scale);
        const double y = geometry.y(s.value, scale);
        const bool inside = overPlot(geometry, x, y, 1.0);
        if (inside && down)
            surface.lineTo(x, y, colour);
        else if (inside)
            surface.point(x, y, colour);
        down = inside;
    }
}

void extend(const std::vector<Sample> &samples, double &timeRange, double &extreme)
{
    for (const Sample &s : samples) {
        if (!std::isfinite(s.t) || !std::isfinite(s.value))
            continue;
        if (s.t > timeRange)
            timeRange = s.t;
        if (std::abs(s.value) > std::abs(extreme))
            extreme = s.value;
    }
}

void draw(DrawingSurface &surface, const GraphGeometry &geometry, const GraphScale &scale,
          const std::vector<Sample> &samples, int half)
{
    if (!scale.isValid())
        return;
    const int width = surface.drawWidth();
    surface.setDrawWidth(1);
    for (const Sample &s : samples) {
        const double x = geometry.x(s.t, scale);
        const double y = geometry.y(s.value, scale);
        if (!overPlot(geometry, x, y, half))
            continue;
        if (s.included)
            surface.box(x - half, y - half, x + half, y + half, markerColour, true);
        else
            surface.box(x - half, y - half, x + half, y + half, excludedColour, false);
    }
    surface.setDrawWidth(width);
}

void legend(DrawingSurface &surface, const GraphGeometry &geometry, int quantity,
            const QString &sourceName, bool shifted, bool fitted)
{
    static const QString names[3]
        = {QStringLiteral("position"), QStringLiteral("vitesse"), QStringLiteral("accélération")};
    const int q = quantity >= 0 && quantity <= 2 ? quantity : 0;
    const QString model = QStringLiteral("Simulateur (%1)").arg(names[q]);
    const QString fit = QStringLiteral("Modèle ajusté aux mesures");
    QString measured = q == DisplayOptions::Acceleration
        ? QStringLiteral("Mesures (non tracées pour l'accélération)")
        : isDerived(q) ? QStringLiteral("Vitesse dérivée des mesures")
                       : QStringLiteral("Mesures");
    if (!sourceName.isEmpty() && q != DisplayOptions::Acceleration)
        measured += QStringLiteral(" : ") + sourceName.left(40);
    if (shifted && q != DisplayOptions::Acceleration)
        measured += QStringLiteral(" (recalées sur le lâcher ajusté)");

    surface.setFontName(QStringLiteral("Arial"));
    surface.setFontSize(8);
    surface.setForeColor(Qt::black);
    const int w = std::max({surface.textWidth(model), surface.textWidth(measured),
                            fitted ? surface.textWidth(fit) : 0});
    const int h = surface.textHeight(model);
    const int rows = fitted ? 3 : 2;
    // In the corner the curve leaves empty: top left under a rising
    // position, bottom right under a velocity that levels off, top right
    // over a decaying acceleration.
    const double plotTop = geometry.originY - geometry.valueSpan + 4;
    const double right = geometry.originX + geometry.timeSpan - w - 24;
    double left = geometry.originX + 8;
    double top = plotTop;
    if (q == DisplayOptions::Velocity) {
        left = right;
        top = geometry.originY - rows * (h + 2) - 8;
    } else if (q == DisplayOptions::Acceleration) {
        left = right;
    }

    // Over the curves: none of them crosses the names.
    surface.box(left - 3, top - 2, left + 22 + w + 3, top + rows * (h + 2) + 1, Qt::white, true);
    surface.box(left - 3, top - 2, left + 22 + w + 3, top + rows * (h + 2) + 1,
                MeasuredPlot::excludedColour, false);
    surface.line(left, top + h / 2.0, left + 16, top + h / 2.0, GraphFrame::curveColour(q));
    surface.setCurrentPoint(left + 22, top);
    surface.print(model);
    double y2 = top + h + 2;
    if (fitted) {
        const int width = surface.drawWidth();
        surface.setDrawWidth(2);
        surface.line(left, y2 + h / 2.0, left + 16, y2 + h / 2.0, fitColour);
        surface.setDrawWidth(width);
        surface.setCurrentPoint(left + 22, y2);
        surface.print(fit);
        y2 += h + 2;
    }
    surface.box(left + 6, y2 + h / 2.0 - 2, left + 10, y2 + h / 2.0 + 2, markerColour, true);
    surface.setCurrentPoint(left + 22, y2);
    surface.print(measured);
}

} // namespace MeasuredPlot
