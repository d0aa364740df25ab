// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

// The frame, grid and captions of the small plots of the measures window
// (the series' plot, a trial's graph in the report), drawn with a QPainter
// on a widget or on a report's picture.
namespace PlotAxes {

struct Axis
{
    double min = 0.0, max = 1.0;
    double step = 1.0; // between two ticks
    QString caption;   // with its unit: "r² (mm²)"
};

// An axis covering lo … hi in whole steps of 1, 2 or 5 × 10^k, about
// divisions of them; a zero or empty span becomes a small one around lo.
Axis niceAxis(double lo, double hi, const QString &caption, int divisions = 5);

// Where the data go once the frame is drawn.
struct Frame
{
    QRectF plot; // the area inside the axes, in the painter's coordinates
    Axis x, y;
    QPointF map(double xValue, double yValue) const;
};

// Draws inside rect the frame, the grid, the ticks' values and the captions
// in the painter's font, and gives the area left for the data.
Frame draw(QPainter &painter, const QRectF &rect, const Axis &x, const Axis &y);

} // namespace PlotAxes
