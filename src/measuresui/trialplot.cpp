// SPDX-License-Identifier: GPL-3.0-or-later
#include "trialplot.h"

#include "plotaxes.h"

#include "platform/palette.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace TrialPlot {

void paint(QPainter &painter, const QRectF &rect, const FitResult &fit)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, Qt::white);
    double tMin = 0.0, tMax = 0.0, yMin = 0.0, yMax = 0.0, rMax = 0.0;
    bool first = true;
    for (const FitPoint &p : fit.points) {
        if (first) {
            tMin = tMax = p.t;
            yMin = yMax = p.y;
            first = false;
        }
        tMin = std::min(tMin, p.t);
        tMax = std::max(tMax, p.t);
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
        if (p.used && std::isfinite(p.residual))
            rMax = std::max(rMax, std::abs(p.residual));
    }
    // The residuals take a third: room for their three ticks at the
    // report's text size.
    const double split = rect.top() + 0.64 * rect.height();
    const PlotAxes::Frame top
        = PlotAxes::draw(painter, QRectF(rect.left(), rect.top(), rect.width(), split - rect.top()),
                         PlotAxes::niceAxis(tMin, tMax, QStringLiteral("t (s)")),
                         PlotAxes::niceAxis(100.0 * yMin, 100.0 * yMax, QStringLiteral("y (cm)")));
    const double rSpan = 1e3 * std::max(rMax, 1e-6);
    const PlotAxes::Frame bottom
        = PlotAxes::draw(painter, QRectF(rect.left(), split, rect.width(), rect.bottom() - split),
                         PlotAxes::niceAxis(tMin, tMax, QStringLiteral("t (s)")),
                         PlotAxes::niceAxis(-rSpan, rSpan, QStringLiteral("résidus (mm)"), 2));
    if (top.plot.height() <= 0.0 || bottom.plot.height() <= 0.0) {
        painter.restore();
        return;
    }
    const double mark = std::max(1.5, 0.006 * rect.width());
    painter.save();
    painter.setClipRect(top.plot);
    QPainterPath curve;
    bool started = false;
    for (const FitPoint &p : fit.points) {
        if (!p.used || !std::isfinite(p.model))
            continue;
        const QPointF at = top.map(p.t, 100.0 * p.model);
        if (started)
            curve.lineTo(at);
        else
            curve.moveTo(at);
        started = true;
    }
    painter.setPen(QPen(QBColor(5), 1.5));
    painter.drawPath(curve);
    for (const FitPoint &p : fit.points) {
        painter.setPen(p.used ? QBColor(2) : QBColor(8));
        painter.setBrush(p.used ? QBrush(QBColor(2)) : QBrush(Qt::NoBrush));
        painter.drawRect(
            QRectF(top.map(p.t, 100.0 * p.y) - QPointF(mark, mark), QSizeF(2 * mark, 2 * mark)));
    }
    painter.restore();
    painter.save();
    painter.setClipRect(bottom.plot);
    painter.setPen(QPen(QBColor(0), 0));
    painter.drawLine(bottom.map(bottom.x.min, 0.0), bottom.map(bottom.x.max, 0.0));
    painter.setPen(QBColor(2));
    painter.setBrush(QBColor(2));
    for (const FitPoint &p : fit.points) {
        if (p.used && std::isfinite(p.residual))
            painter.drawRect(QRectF(bottom.map(p.t, 1e3 * p.residual) - QPointF(mark, mark),
                                    QSizeF(2 * mark, 2 * mark)));
    }
    painter.restore();
    painter.restore();
}

} // namespace TrialPlot
