// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QSize>
#include <QSizeF>

// Where a picture goes on a printed page. Page sizes are in twips (1/1440
// inch) and pictures in screen pixels, counted at Twips::perPixel (96 dpi)
// so that a picture prints at the size it has on screen.
namespace PagePlacement {

// Top-left corner, in twips from the top-left of the printable area, of a
// picture of the given pixel size: centred across the printable width when
// centreHorizontally, else one tenth of that width from its left edge;
// centred down the printable height when centreVertically, else one
// twentieth of that height from its top. A picture larger than the page
// gets a negative offset when centred.
QPointF topLeft(const QSizeF &printableTwips, const QSize &picturePixels, bool centreHorizontally,
                bool centreVertically);

// Size of the picture on the page, in twips.
QSizeF pictureTwips(const QSize &picturePixels);

} // namespace PagePlacement
