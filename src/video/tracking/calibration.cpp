// SPDX-License-Identifier: GPL-3.0-or-later
#include "calibration.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

// Below this the two clicks are the same point for a hand on a mouse.
constexpr double minScalePixels = 2.0;

double length(QPointF v)
{
    return std::hypot(v.x(), v.y());
}

} // namespace

QString Calibration::problem() const
{
    const double pixels = length(scaleEnd - scaleStart);
    if (!std::isfinite(pixels) || !std::isfinite(origin.x()) || !std::isfinite(origin.y()))
        return QStringLiteral("Cliquez les deux points de l'échelle et l'origine.");
    if (pixels < minScalePixels)
        return QStringLiteral("Les deux points de l'échelle sont confondus : cliquez deux "
                              "repères éloignés.");
    if (!std::isfinite(scaleDistance) || scaleDistance <= 0.0)
        return QStringLiteral("La distance entre les deux points de l'échelle doit être "
                              "positive.");
    if (!std::isfinite(refractionFactor) || refractionFactor <= 0.0)
        return QStringLiteral("Le facteur de correction de la réfraction n'est pas valable.");
    return QString();
}

double Calibration::metresPerPixel() const
{
    if (!isValid())
        return std::numeric_limits<double>::quiet_NaN();
    return scaleDistance / length(scaleEnd - scaleStart) * refractionFactor;
}

QPointF Calibration::axis() const
{
    QPointF d = scaleEnd - scaleStart;
    const double pixels = length(d);
    if (!(pixels >= minScalePixels))
        return QPointF(0.0, 1.0);
    if (d.y() < 0.0)
        d = -d;
    const double cosine = d.y() / pixels;
    if (cosine < std::cos(nearVerticalDegrees * std::numbers::pi / 180.0))
        return QPointF(0.0, 1.0);
    return d / pixels;
}

double Calibration::positionOf(QPointF p) const
{
    const QPointF a = axis();
    const QPointF d = p - origin;
    return (d.x() * a.x() + d.y() * a.y()) * metresPerPixel();
}

QPointF Calibration::pointAt(double metres) const
{
    return origin + axis() * (metres / metresPerPixel());
}
