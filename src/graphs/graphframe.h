// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "graphscale.h"

#include <QColor>
#include <QString>

class DrawingSurface;

// Where a graph of one quantity against time sits on its surface, in pixels
// (y downwards). The small graph of the main window and the graph window
// draw the same frame at two sizes.
struct GraphGeometry
{
    double originX;   // pixel of t = 0
    double originY;   // pixel of the value 0
    double timeSpan;  // pixels covered by the time full scale, to the right
    double valueSpan; // pixels covered by the value full scale, upwards
    double gridRight; // last column a vertical grid line may take
    double axisEnd;   // right end of the time axis (tip of its arrow)
    double letterTX;  // top-left of the italic "t"
    double letterTY;
    int timeTextRight;  // the time division text ends this far from the right edge
    int timeTextBottom; // and this far above the bottom edge

    double x(double t, const GraphScale &scale) const
    {
        return originX + (t - scale.t0) * timeSpan / scale.ft();
    }
    double y(double q, const GraphScale &scale) const
    {
        return originY - (q - scale.v0) * valueSpan / scale.fv();
    }
};

// Frame1 of the main window, inner area 357 x 261.
inline constexpr GraphGeometry smallGraphGeometry {30, 230, 280, 200, 311, 330, 330, 210, 10, 10};
// Picture1 of the graph window.
inline constexpr GraphGeometry graphWindowGeometry {30, 360, 400, 330, 431, 450, 445, 337, 50, 15};

namespace GraphFrame {

// Colour of the curve of a quantity (DisplayOptions::Quantity): position
// blue, velocity red, acceleration orange.
QColor curveColour(int quantity);

// "Une division correspond à " + the worth of one division in the general
// number form + " m" or " s".
QString divisionText(double worth, const QString &unit);

// Draws the grid, both axes with their arrowheads, the two division texts
// (with the raised "-1" or "-2" of m·s⁻¹ and m·s⁻²) and the axis letters, in
// that order. Leaves the font at Arial 8, upright, black, width 1.
void draw(DrawingSurface &surface, const GraphGeometry &geometry, const GraphScale &scale,
          int quantity);

} // namespace GraphFrame
