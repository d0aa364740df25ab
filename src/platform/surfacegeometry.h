// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <utility>

// Shared by the files of DrawingSurface: how coordinates become pixels.
namespace SurfaceGeometry {

// Keeps every product of the line and circle arithmetic within 64 bits.
constexpr double coordinateLimit = 536870912.0; // 2^29

inline bool finite(double a, double b)
{
    return std::isfinite(a) && std::isfinite(b);
}

// Nearest pixel, a half going up; the argument must be finite.
inline qint64 toPixel(double v)
{
    return qint64(std::clamp(std::floor(v + 0.5), -coordinateLimit, coordinateLimit));
}

inline QRgb opaque(const QColor &colour)
{
    return colour.rgb() | 0xFF000000u;
}

// The steps first..last of a line of steps pixels that starts at pixel major0
// and moves by majorStep (+1 or -1) along an axis of limit pixels: those that
// fall inside the axis. Shared by the surface's picture and its
// high-density copy, which step through their lines the same way.
inline std::pair<qint64, qint64> visibleSteps(qint64 major0, qint64 majorStep, qint64 limit,
                                              qint64 steps)
{
    qint64 first = 0;
    qint64 last = steps - 1;
    if (majorStep > 0) {
        first = std::max<qint64>(first, -major0);
        last = std::min<qint64>(last, limit - 1 - major0);
    } else {
        first = std::max<qint64>(first, major0 - (limit - 1));
        last = std::min<qint64>(last, major0);
    }
    return {first, last};
}

// Calls visit(x, y) for the points (x >= y >= 0) of the midpoint circle of
// radius r in its first octant; the other seven follow by symmetry.
template<typename Visit>
inline void circleOctant(qint64 r, Visit visit)
{
    qint64 x = r;
    qint64 y = 0;
    qint64 decision = 1 - r;
    while (x >= y) {
        visit(x, y);
        ++y;
        if (decision < 0) {
            decision += 2 * y + 1;
        } else {
            --x;
            decision += 2 * (y - x) + 1;
        }
    }
}

} // namespace SurfaceGeometry
