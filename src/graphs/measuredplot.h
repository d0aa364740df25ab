// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphframe.h"

#include "measures/measuredpoint.h"

struct FitResult;

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
// The fitted measurement model's curve.
inline const QColor fitColour(170, 0, 170);

// Where a fit puts the release of the measured fall. The points are drawn
// shifted by it (t − t0, y − y0), so that they lie on the simulator's curve,
// which starts at rest from y = 0 at t = 0: after "Appliquer", "Simulation"
// then runs through them. No shift without a fit that gave η.
struct Offset
{
    double t = 0.0; // s
    double y = 0.0; // m
    bool isShift() const { return t != 0.0 || y != 0.0; }
};
Offset offsetOf(const FitResult *fit);

// The samples of quantity (DisplayOptions::Quantity): every point for the
// position but those where a tracker lost the ball (they have no position); for the velocity,
// central differences (y[i+1] − y[i−1]) / (t[i+1] − t[i−1]) of the included points, at the middle
// one; none for the acceleration, which two differences would drown in noise. Times (and positions)
// are shifted by offset.
std::vector<Sample> samples(const MeasurementSet &set, int quantity, Offset offset = {});

// The velocity is derived, not measured: its legend says so.
bool isDerived(int quantity);

// The fitted model of fit at each of its points' times (position against
// time, shifted by offset), in increasing time; none without a fit, or when
// the fit has no finite model value.
std::vector<Sample> fitted(const FitResult *fit, Offset offset);

// Widens timeRange (s) and extreme (the value farthest from 0) so that every
// finite sample fits.
void extend(const std::vector<Sample> &samples, double &timeRange, double &extreme);

// A filled square of side 2·half + 1 at each included sample and a hollow
// grey one at each excluded sample; samples off the plot (outside the time
// and value full scales) are skipped, so none lands on the captions.
void draw(DrawingSurface &surface, const GraphGeometry &geometry, const GraphScale &scale,
          const std::vector<Sample> &samples, int half);

// A line through the samples in their order, in colour and the surface's
// draw width; a part off the plot is not drawn.
void drawLine(DrawingSurface &surface, const GraphGeometry &geometry, const GraphScale &scale,
              const std::vector<Sample> &samples, const QColor &colour);

// The legend, in the corner the curves leave empty, on a white box drawn
// over them: the simulator's curve, the fitted model's when fitted, and the
// measured points, each with its line or marker and its name.
// shifted says that the points are drawn shifted by a fit's offset.
void legend(DrawingSurface &surface, const GraphGeometry &geometry, int quantity,
            const QString &sourceName, bool shifted = false, bool fitted = false);

} // namespace MeasuredPlot
