// SPDX-License-Identifier: GPL-3.0-or-later
#include "plotaxes.h"

#include "core/numberformat.h"
#include "platform/palette.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

// The tick values are k·step, rounded so that 3 × 0,1 reads "0,3".
QString tick(double value, double step)
{
    const double rounded = std::round(value / step) * step;
    return NumberFormat::generalSingle(float(std::abs(rounded) < 1e-6 * step ? 0.0 : rounded));
}

} // namespace

namespace PlotAxes {

Axis niceAxis(double lo, double hi, const QString &caption, int divisions)
{
    Axis axis;
    axis.caption = caption;
    if (!std::isfinite(lo) || !std::isfinite(hi))
        lo = 0.0, hi = 1.0;
    if (hi < lo)
        std::swap(lo, hi);
    if (hi - lo <= 1e-12 * std::max(std::abs(lo), std::abs(hi)) || hi == lo)
        hi = lo + (lo == 0.0 ? 1.0 : 0.1 * std::abs(lo));
    const double raw = (hi - lo) / std::max(1, divisions);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10.0 * power;
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * power >= raw) {
            step = m * power;
            break;
        }
    }
    axis.step = step;
    axis.min = std::floor(lo / step + 1e-9) * step;
    axis.max = std::ceil(hi / step - 1e-9) * step;
    return axis;
}

QPointF Frame::map(double xValue, double yValue) const
{
    return {plot.left() + (xValue - x.min) / (x.max - x.min) * plot.width(),
            plot.bottom() - (yValue - y.min) / (y.max - y.min) * plot.height()};
}

Frame draw(QPainter &painter, const QRectF &rect, const Axis &x, const Axis &y)
{
    const QFontMetricsF metrics(painter.font());
    double labelWidth = 0.0;
    for (double v = y.min; v <= y.max + 0.5 * y.step; v += y.step)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tick(v, y.step)));
    const double line = metrics.height();
    Frame frame;
    frame.x = x;
    frame.y = y;
    // Room: the y caption above the plot, the tick values left and below,
    // the x caption under them.
    frame.plot = QRectF(rect.left() + labelWidth + 0.6 * line, rect.top() + 1.4 * line,
                        rect.width() - labelWidth - 1.6 * line, rect.height() - 3.8 * line);
    if (frame.plot.width() <= 0.0 || frame.plot.height() <= 0.0)
        return frame;

    painter.save();
    painter.setPen(QPen(QBColor(7), 0));
    for (double v = x.min; v <= x.max + 0.5 * x.step; v += x.step) {
        const double px = frame.map(v, y.min).x();
        painter.drawLine(QPointF(px, frame.plot.top()), QPointF(px, frame.plot.bottom()));
    }
    for (double v = y.min; v <= y.max + 0.5 * y.step; v += y.step) {
        const double py = frame.map(x.min, v).y();
        painter.drawLine(QPointF(frame.plot.left(), py), QPointF(frame.plot.right(), py));
    }
    painter.setPen(QPen(QBColor(0), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.plot);
    for (double v = x.min; v <= x.max + 0.5 * x.step; v += x.step) {
        const QString text = tick(v, x.step);
        const QPointF at = frame.map(v, y.min);
        painter.drawText(QPointF(at.x() - 0.5 * metrics.horizontalAdvance(text),
                                 frame.plot.bottom() + 0.2 * line + metrics.ascent()),
                         text);
    }
    for (double v = y.min; v <= y.max + 0.5 * y.step; v += y.step) {
        const QString text = tick(v, y.step);
        const QPointF at = frame.map(x.min, v);
        painter.drawText(QPointF(frame.plot.left() - 0.3 * line - metrics.horizontalAdvance(text),
                                 at.y() + 0.5 * metrics.ascent() - 0.1 * line),
                         text);
    }
    painter.drawText(QPointF(frame.plot.right() - metrics.horizontalAdvance(x.caption),
                             frame.plot.bottom() + 1.3 * line + metrics.ascent()),
                     x.caption);
    painter.drawText(QPointF(rect.left(), rect.top() + metrics.ascent()), y.caption);
    painter.restore();
    return frame;
}

} // namespace PlotAxes
