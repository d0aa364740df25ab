// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphframe.h"
#include "measuredplot.h"

#include <QPoint>

#include <vector>

// What a press, a drag and a release of the mouse mean over a graph's plot:
// a click picks the measured point under the pointer (to leave it out or
// take it back), a drag along the time axis chooses the fit range. Pixels
// are those of the graph's surface (y downwards).
namespace PlotPicking {

// A press and a release closer than this in both directions (pixels) are a
// click: a hand's tremor is not a range.
inline constexpr int clickSlop = 3;
// How far from a marker's centre a click still hits it (pixels).
inline constexpr double hitRadius = 5.0;

// The time (s) at column x of the surface; the inverse of GraphGeometry::x.
double timeAt(const GraphGeometry &geometry, const GraphScale &scale, double x);

// Column x lies over the plot's time axis, from t = 0 to the time full scale.
bool overTimeAxis(const GraphGeometry &geometry, double x);

bool isClick(QPoint press, QPoint release);

// The measured point (its index in the set) whose marker is nearest to
// position, within hitRadius; -1 when none is, or when the nearest is a
// derived value that belongs to no single point.
int pointAt(const GraphGeometry &geometry, const GraphScale &scale,
            const std::vector<MeasuredPlot::Sample> &samples, QPointF position);

// The range [tMin, tMax] in s that a drag from column x1 to column x2 sweeps,
// whichever way it went, held to the time axis (0 … full scale) and rounded
// to the power of ten just below one pixel's worth, so that the typed fields
// show no digits the pointer cannot choose.
struct Range
{
    double tMin = 0.0;
    double tMax = 0.0;
};
Range rangeFromDrag(const GraphGeometry &geometry, const GraphScale &scale, double x1, double x2);

} // namespace PlotPicking
