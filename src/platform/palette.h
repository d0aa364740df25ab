// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

// Colour of the classic 16-colour palette by index: 0 black, 1 navy, 2 green,
// 3 teal, 4 maroon, 5 purple, 6 olive, 7 light grey (192), 8 dark grey (128),
// 9 blue, 10 lime, 11 cyan, 12 red, 13 magenta, 14 yellow, 15 white. Any other
// index gives black.
QColor QBColor(int index);

// The program keeps colours (configuration files, swatches) as signed 32-bit
// values with red in the low byte, green in the second and blue in the third:
// pure red is 255, pure blue 16711680. A negative value names a system colour
// by its index in the low byte (0x80000000 | index); those resolve to the
// classic Windows standard scheme, an unknown one to black. Bits 24-30 of a
// non-negative value are ignored.
QColor colourFromStored(qint32 value);

// The colour to show for a stored value: a system colour takes the matching
// colour of palette (index 5 window -> Base, 8 window text -> Text,
// 13 highlight -> Highlight, 15 button face -> Button...), so a swatch saved
// as "button face" looks like this desktop's buttons; the indices without a
// palette role fall back to the classic scheme. The stored value itself is
// kept by its owner, so a file read and saved again writes the same number.
QColor colourFromStored(qint32 value, const QPalette &palette);

// The stored value of a colour (alpha ignored); never negative.
qint32 storedColour(const QColor &colour);
