// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// Twips (1/1440 inch) are the unit of the windows' design, of printed pages
// and of RTF lengths. Screen pixels are counted at a fixed 15 twips each
// (96 dpi), so that what is laid out or printed in twips keeps the size it
// has on screen.
namespace Twips {

inline constexpr int perPixel = 15;
inline constexpr int perInch = 1440;
// The screen's resolution that goes with perPixel.
inline constexpr double screenDpi = double(perInch) / perPixel;
// Typographic points per inch: a font of n points is n * screenDpi /
// pointsPerInch pixels high on that screen.
inline constexpr int pointsPerInch = 72;

} // namespace Twips

// A rectangle of a window's design, given in twips, in pixels.
constexpr QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / Twips::perPixel, top / Twips::perPixel, width / Twips::perPixel,
                 height / Twips::perPixel);
}
