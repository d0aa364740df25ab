// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphscale.h"

#include "measures/fallfit.h"

#include <QSize>
#include <QString>

class DrawingSurface;

// The residuals of the last fit (measured position − fitted model, in mm)
// against time, on a strip under the graph window's plot. The strip shares
// the plot's time axis (t = 0 at column 30, the time full scale over 400
// columns), so each residual sits under its point. Its value axis is
// symmetric about the zero line, with a full scale of 1, 2 or 5 × 10^e mm
// that holds every residual of the points the fit used.
namespace ResidualPlot {

inline constexpr QSize size {504, 96};
inline constexpr double originX = 30;   // column of t = 0
inline constexpr double timeSpan = 400; // columns of the time full scale
inline constexpr double zeroY = 52;     // row of a zero residual
inline constexpr double halfSpan = 36;  // rows from the zero line to ± the full scale

// The smallest 1, 2 or 5 × 10^e (mm) that is at least the largest |residual|
// of the used points, and at least 0,001 mm; 0 when no used point has a
// residual (no model was fitted).
double fullScale(const FitResult &fit);

// Row of a residual r (mm) for a full scale fs (mm).
double y(double r, double fs);

// Draws the strip: the frame, the zero line, the time grid of scale, the
// residual of each used point as a filled square and of each point the fit
// left out (excluded, outside the range) as a hollow grey one when it falls
// inside the strip, and the captions with their units. Without a fit, or
// with a fit that has no residuals, only the frame and a French line saying
// so. The time scale must be the plot's; an invalid one draws no points.
void draw(DrawingSurface &surface, const FitResult *fit, const GraphScale &scale);

// A French sentence for screen readers: how many residuals, their extremes
// in mm, how many points left out; or why there are none.
QString description(const FitResult *fit);

} // namespace ResidualPlot
