// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// Arial, the font of the windows' captions and painted texts, in the two
// ways a size is given.
namespace ArialFont {

// Sized for the 96 dpi screen the windows were designed on: points × 96 / 72
// pixels, so that a caption keeps its place in a layout given in pixels
// whatever the screen's logical dpi.
QFont designPixels(double points, bool bold = false, bool italic = false);

// Sized in the system's points, which follow the screen's logical dpi: for
// texts in layouts that grow with them.
QFont systemPoints(int points, bool bold = false);

} // namespace ArialFont
