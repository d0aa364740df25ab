// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphframe.h"

#include "measures/measuredpoint.h"

#include <QColor>
#include <QString>

#include <vector>

class DrawingSurface;

// Measured points over a graph of one quantity against time: the measured
// positions, or the velocities derived from them. Shared by the graph window
// and the small graph of the main window.
namespace MeasuredPlot {

struct Sample
{
    double t = 0.0;     // s
    double value = 0.0; // m or m/s
    bool included = true;
    int index = -1; // the measured point in MeasurementSet::points; -1 for a derived value
};

// Marker colours, distinct from the three curves (blue, red, orange).
inline const QColor markerColour(0, 140, 0);
inline const QColor excludedColour(128, 128, 128);

// The samples of quantity (DisplayOptions::Quantity): every point for the
// position; for the velocity, central differences (y[i+1] − y[i−1]) /
// (t[i+1] − t[i−1]) of the included points, at the middle one; none for the
// acceleration, which two differences would drown in noise.
std::vector<Sample> samples(const MeasurementSet &set, int quantity);

// The velocity is derived, not measured: its legend says so.
bool isDerived(int quantity);

// Widens timeRange (s) and extreme (the value farthest from 0) so that every
// finite sample fits.
void extend(const std::vector<Sample> &samples, double &timeRange, double &extreme);

// A filled square of side 2·half + 1 at each included sample and a hollow
// grey one at each excluded sample; samples off the plot are skipped.
void draw(DrawingSurface &surface, const GraphGeometry &geometry, const GraphScale &scale,
          const std::vector<Sample> &samples, int half);

// The legend, top right of the plot: the model's curve and the measured
// points, each with its line or marker and its name.
void legend(DrawingSurface &surface, const GraphGeometry &geometry, int quantity,
            const QString &sourceName);

} // namespace MeasuredPlot
