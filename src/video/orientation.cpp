// SPDX-License-Identifier: GPL-3.0-or-later
#include "orientation.h"

#include <QTransform>

#include <cmath>
#include <numbers>

QImage Orientation::upright(const QImage &stored) const
{
    QImage image = mirrored ? stored.mirrored(true, false) : stored;
    // QImage turns by a multiple of 90° without resampling.
    if (rotation != 0)
        image = image.transformed(QTransform().rotate(rotation));
    return image;
}

Orientation Orientation::fromDisplayMatrix(const int32_t matrix[9])
{
    // The scale is common to the four terms: the 16.16 unit cancels out.
    const double a = matrix[0];
    const double b = matrix[1];
    const double c = matrix[3];
    const double d = matrix[4];
    const double determinant = a * d - b * c;
    if (!(std::abs(determinant) > 0.0))
        return {};
    Orientation orientation;
    orientation.mirrored = determinant < 0.0;
    // The matrix is the turn R after the mirror M = diag(−1, 1) when there is
    // one: R = matrix × M changes the signs of a and b. R's first column
    // (a, b) is where the stored x axis points once shown; its angle,
    // clockwise on a picture whose y axis points down, is the turn.
    const double sign = orientation.mirrored ? -1.0 : 1.0;
    const double degrees = std::atan2(sign * b, sign * a) * 180.0 / std::numbers::pi;
    const long quarters = std::lround(degrees / 90.0);
    orientation.rotation = int(((quarters % 4) + 4) % 4) * 90;
    return orientation;
}
