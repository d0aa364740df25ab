// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawingsurface.h"
#include "surfacegeometry.h"

#include <algorithm>
#include <cmath>

// The same bound as the other operations of the surface: squares of these
// values and of their differences stay exact enough in a double.
using SurfaceGeometry::coordinateLimit;
using SurfaceGeometry::opaque;

void DrawingSurface::disc(double x, double y, double r, const QColor &colour)
{
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(r) || r < 0)
        return;
    setCurrentPoint(x, y);
    if (m_image.isNull())
        return;
    if (m_ratio > 1)
        hiDisc(x, y, r, opaque(colour));
    const double cx = std::clamp(x, -coordinateLimit, coordinateLimit);
    const double cy = std::clamp(y, -coordinateLimit, coordinateLimit);
    const double radius = std::min(r, coordinateLimit);
    const double lastColumn = width() - 1;
    const double firstRow = std::max(0.0, std::ceil(cy - radius));
    const double lastRow = std::min(double(height() - 1), std::floor(cy + radius));
    const QRgb rgb = opaque(colour);

    for (double j = firstRow; j <= lastRow; ++j) {
        const double dy = j - cy;
        const double reach2 = radius * radius - dy * dy;
        if (reach2 < 0)
            continue;
        const auto inside = [&](double i) { return (i - cx) * (i - cx) <= reach2; };
        // The square root may land an end one pixel off; the exact test settles it.
        const double half = std::sqrt(reach2);
        double left = std::ceil(cx - half);
        double right = std::floor(cx + half);
        if (!inside(left))
            ++left;
        else if (inside(left - 1))
            --left;
        if (!inside(right))
            --right;
        else if (inside(right + 1))
            ++right;
        left = std::max(left, 0.0);
        right = std::min(right, lastColumn);
        if (left > right)
            continue;
        QRgb *row = reinterpret_cast<QRgb *>(m_image.scanLine(int(j)));
        std::fill(row + qsizetype(left), row + qsizetype(right) + 1, rgb);
    }
}
