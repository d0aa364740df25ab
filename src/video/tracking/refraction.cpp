// SPDX-License-Identifier: GPL-3.0-or-later
#include "refraction.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double noValue = std::numeric_limits<double>::quiet_NaN();

// Height in the plane of the fall of the ray leaving the camera at angle theta.
double heightOf(const TubeOptics &o, double theta)
{
    const double phi = std::asin(std::sin(theta) / o.refractiveIndex);
    return (o.cameraDistance - o.innerRadius) * std::tan(theta) + o.innerRadius * std::tan(phi);
}

// Distance from the camera of the plane in which the scale reads heights.
double scalePlaneDistance(ScalePlacement placement, const TubeOptics &o)
{
    switch (placement) {
    case ScalePlacement::FrontWall:
        return o.cameraDistance - o.innerRadius;
    case ScalePlacement::AirAtCentre:
        return o.cameraDistance;
    case ScalePlacement::Immersed:
        break;
    }
    return noValue;
}

} // namespace

QString TubeOptics::problem() const
{
    if (!std::isfinite(refractiveIndex) || refractiveIndex < 1.0 || refractiveIndex > 3.0)
        return QStringLiteral("L'indice de réfraction du liquide doit être compris entre 1 et 3.");
    if (!std::isfinite(innerRadius) || innerRadius <= 0.0)
        return QStringLiteral("Le rayon intérieur du tube doit être positif.");
    if (!std::isfinite(cameraDistance) || cameraDistance <= innerRadius)
        return QStringLiteral("La caméra doit être hors du tube : sa distance à l'axe du tube "
                              "doit dépasser le rayon intérieur.");
    return QString();
}

namespace Refraction {

double rayAngle(const TubeOptics &optics, double height)
{
    if (!optics.problem().isEmpty() || !std::isfinite(height))
        return noValue;
    // h(θ) grows strictly with θ on (−π/2, π/2): Newton from the angle in air,
    // guarded by bisection so that a step never leaves the bracket.
    double lo = -std::numbers::pi / 2 * 0.999, hi = std::numbers::pi / 2 * 0.999;
    if (height <= heightOf(optics, lo) || height >= heightOf(optics, hi))
        return noValue;
    double theta = std::atan(height / optics.cameraDistance);
    for (int i = 0; i < 100; ++i) {
        const double f = heightOf(optics, theta) - height;
        if (f > 0.0)
            hi = theta;
        else
            lo = theta;
        const double n = optics.refractiveIndex;
        const double s = std::sin(theta) / n;
        const double c = std::cos(theta);
        // dh/dθ = (L − R)/cos²θ + R·(cos θ / n)/cos³φ
        const double derivative = (optics.cameraDistance - optics.innerRadius) / (c * c)
            + optics.innerRadius * (c / n) / std::pow(1.0 - s * s, 1.5);
        double next = theta - f / derivative;
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        if (std::abs(next - theta) < 1e-15)
            return next;
        theta = next;
    }
    return theta;
}

double paraxialFactor(ScalePlacement placement, const TubeOptics &optics)
{
    if (!optics.problem().isEmpty())
        return noValue;
    if (placement == ScalePlacement::Immersed)
        return 1.0;
    const double l = optics.cameraDistance, r = optics.innerRadius;
    return ((l - r) + r / optics.refractiveIndex) / scalePlaneDistance(placement, optics);
}

double scaleFactor(ScalePlacement placement, const TubeOptics &optics, double halfSpan)
{
    if (!optics.problem().isEmpty() || !std::isfinite(halfSpan) || halfSpan < 0.0)
        return noValue;
    if (placement == ScalePlacement::Immersed)
        return 1.0;
    // h over the scale's reading d·tan θ; its limit for h → 0 is the
    // paraxial factor, which the tiny rays of the trace reach to 1e-12.
    const double h = halfSpan > 0.0 ? halfSpan : 1e-6 * optics.innerRadius;
    const double theta = rayAngle(optics, h);
    if (!std::isfinite(theta))
        return noValue;
    return h / (scalePlaneDistance(placement, optics) * std::tan(theta));
}

std::function<double(double, double, double)> factorFunction(ScalePlacement placement,
                                                             double halfSpan)
{
    return [placement, halfSpan](double index, double radius, double cameraDistance) {
        TubeOptics optics;
        optics.refractiveIndex = index;
        optics.innerRadius = radius;
        optics.cameraDistance = cameraDistance;
        return scaleFactor(placement, optics, halfSpan);
    };
}

} // namespace Refraction
