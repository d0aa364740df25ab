// SPDX-License-Identifier: GPL-3.0-or-later
#include "seriesplot.h"

#include "plotaxes.h"

#include "core/numberformat.h"
#include "platform/palette.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// The abscissa of trial in mm²: r², or r² reduced to the series' mean
// density when the balls' densities differ (as the line is fitted).
double abscissa(const SeriesPlotData &data, const SeriesTrial &t, double *u)
{
    double factor = 1.0;
    double relative = 2.0 * t.radiusU / t.radius;
    if (data.result.ok && !data.result.sameDensity) {
        factor = (t.density - data.fluidDensity) / (data.result.meanDensity - data.fluidDensity);
        relative = std::hypot(relative, t.densityU / (t.density - data.fluidDensity));
    }
    const double x = 1e6 * t.radius * t.radius * factor;
    *u = x * relative;
    return x;
}

} // namespace

SeriesPlot::SeriesPlot(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("seriesPlot"));
    setAccessibleName(QStringLiteral("Graphe de v∞ en fonction de r²"));
    setAccessibleDescription(description(m_data));
}

SeriesPlotData SeriesPlot::dataOf(std::vector<SeriesTrial> trials, const SeriesResult &result,
                                  double fluidDensity)
{
    SeriesPlotData data;
    data.trials = std::move(trials);
    data.result = result;
    data.fluidDensity = fluidDensity;
    if (result.ok) {
        double xMax = 0.0;
        for (const SeriesTrial &t : data.trials)
            xMax = std::max(xMax, t.radius * t.radius);
        data.curve
            = SeriesTrials::dragCurve(result.eta, result.meanDensity, fluidDensity, 1.1 * xMax);
    }
    return data;
}

void SeriesPlot::setData(SeriesPlotData data)
{
    m_data = std::move(data);
    setAccessibleDescription(description(m_data));
    update();
}

void SeriesPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, rect(), m_data);
}

void SeriesPlot::paint(QPainter &painter, const QRectF &rect, const SeriesPlotData &data)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, Qt::white);
    double xMax = 0.0, vMax = 0.0;
    for (const SeriesTrial &t : data.trials) {
        if (!(t.velocity > 0.0) || !(t.radius > 0.0))
            continue;
        double u = 0.0;
        xMax = std::max(xMax, abscissa(data, t, &u) + u);
        vMax
            = std::max(vMax, 1e3 * (t.velocity + (std::isfinite(t.velocityU) ? t.velocityU : 0.0)));
    }
    const bool reduced = data.result.ok && !data.result.sameDensity;
    const PlotAxes::Axis xAxis = PlotAxes::niceAxis(
        0.0, 1.05 * xMax, reduced ? QStringLiteral("r² réduit (mm²)") : QStringLiteral("r² (mm²)"));
    const PlotAxes::Axis yAxis
        = PlotAxes::niceAxis(0.0, 1.1 * vMax, QStringLiteral("v∞ sans paroi (mm/s)"));
    const PlotAxes::Frame frame
        = PlotAxes::draw(painter, rect.adjusted(4, 4, -4, -4), xAxis, yAxis);
    if (frame.plot.width() <= 0.0 || frame.plot.height() <= 0.0) {
        painter.restore();
        return;
    }
    painter.setClipRect(frame.plot.adjusted(-1, -1, 1, 1));

    // The drag curve, dashed, under the rest.
    if (data.curve.size() >= 2) {
        painter.save();
        QPainterPath path;
        for (size_t i = 0; i < data.curve.size(); ++i) {
            const QPointF p = frame.map(1e6 * data.curve[i].x, 1e3 * data.curve[i].v);
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setPen(QPen(QBColor(6), 1.5, Qt::DashLine));
        painter.drawPath(path);
        painter.restore();
    }
    if (data.result.ok && std::isfinite(data.result.slope)) {
        painter.save();
        painter.setPen(QPen(QBColor(1), 1.5));
        // slope in m⁻¹·s⁻¹: v (mm/s) = slope·x(mm²)·1e-6·1e3.
        painter.drawLine(frame.map(0.0, 0.0),
                         frame.map(xAxis.max, data.result.slope * xAxis.max * 1e-3));
        painter.restore();
    }
    const double mark = std::max(3.0, 0.012 * std::min(rect.width(), rect.height()));
    for (size_t i = 0; i < data.trials.size(); ++i) {
        const SeriesTrial &t = data.trials[i];
        if (!(t.velocity > 0.0) || !(t.radius > 0.0))
            continue;
        double xU = 0.0;
        const double x = abscissa(data, t, &xU);
        const double v = 1e3 * t.velocity;
        const double vU = std::isfinite(t.velocityU) ? 1e3 * t.velocityU : 0.0;
        const QColor colour = !t.used                    ? QBColor(8)
            : FallSeries::isOutlier(data.result, int(i)) ? QBColor(12)
                                                         : QBColor(2);
        painter.save();
        painter.setPen(QPen(colour, 1.2));
        painter.drawLine(frame.map(x, v - vU), frame.map(x, v + vU));
        painter.drawLine(frame.map(x - xU, v), frame.map(x + xU, v));
        const QPointF at = frame.map(x, v);
        painter.setBrush(t.used ? QBrush(colour) : QBrush(Qt::white));
        painter.drawEllipse(at, mark, mark);
        painter.setPen(QBColor(0));
        painter.drawText(at + QPointF(mark + 2, -mark - 2), QString::number(i + 1));
        painter.restore();
    }
    painter.setClipping(false);

    // The legend, top left, where the line and the points leave room.
    const QFontMetricsF metrics(painter.font());
    const double line = metrics.height();
    QPointF at = frame.plot.topLeft() + QPointF(0.5 * line, 0.5 * line);
    const auto entry = [&](const QPen &pen, const QString &text, bool dot) {
        painter.save();
        painter.setPen(pen);
        const double mid = at.y() + 0.5 * line;
        if (dot) {
            painter.setBrush(pen.color());
            painter.drawEllipse(QPointF(at.x() + 0.75 * line, mid), mark, mark);
        } else {
            painter.drawLine(QPointF(at.x(), mid), QPointF(at.x() + 1.5 * line, mid));
        }
        painter.setPen(QBColor(0));
        painter.drawText(QPointF(at.x() + 2.0 * line, at.y() + metrics.ascent()), text);
        painter.restore();
        at.ry() += line;
    };
    entry(QPen(QBColor(2), 1.2), QStringLiteral("essais (± u)"), true);
    if (data.result.ok)
        entry(QPen(QBColor(1), 1.5), QStringLiteral("droite par l'origine"), false);
    if (data.curve.size() >= 2)
        entry(QPen(QBColor(6), 1.5, Qt::DashLine),
              QStringLiteral("courbe de traînée (η de la série)"), false);
    painter.restore();
}

QString SeriesPlot::description(const SeriesPlotData &data)
{
    int shown = 0, used = 0;
    for (const SeriesTrial &t : data.trials) {
        if (t.velocity > 0.0) {
            ++shown;
            used += t.used ? 1 : 0;
        }
    }
    if (shown == 0)
        return QStringLiteral("Aucun essai dans la série.");
    QString text = shown == 1
        ? QStringLiteral("v∞ en fonction de r² pour 1 essai, %1.")
              .arg(used == 1 ? QStringLiteral("retenu") : QStringLiteral("laissé de côté"))
        : QStringLiteral("v∞ en fonction de r² pour %1 essais, dont %2 retenus.")
              .arg(shown)
              .arg(used);
    if (data.result.ok)
        text += QStringLiteral(" Pente de la droite passant par l'origine : %1 m⁻¹·s⁻¹.")
                    .arg(NumberFormat::significant(data.result.slope, 3));
    return text;
}
