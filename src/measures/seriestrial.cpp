// SPDX-License-Identifier: GPL-3.0-or-later
#include "seriestrial.h"

#include "terminalvelocity.h"

#include <cmath>

namespace SeriesTrials {

SeriesTrial fromFit(const FitResult &fit, const EtaUncertainty::Inputs &inputs, SharedBall shared)
{
    SeriesTrial t;
    t.radius = inputs.radius;
    t.radiusU = inputs.uRadius;
    if (inputs.fromDensity()) {
        t.density = inputs.sphereDensity;
        t.densityU = inputs.uSphereDensity;
    } else {
        t.density = inputs.mass / FallSetup::massFromDensity(inputs.radius, 1.0);
        t.densityU = t.density * inputs.uMass / inputs.mass;
    }
    t.used = false;
    if (!fit.hasEta())
        return t;
    const bool wall = std::isfinite(fit.etaWall);
    t.eta = wall ? fit.etaWall : fit.eta;
    t.etaU = wall ? fit.etaWallU : fit.etaU;
    // v∞ in an unbounded fluid: the tube slows the ball by the wall factor.
    t.velocity = wall ? fit.vlim / fit.wallFactor : fit.vlim;
    t.velocityU = t.velocity * fit.etaU / fit.eta; // the fit's scatter
    t.reynolds = fit.reynolds;
    t.used = true;
    if (!std::isfinite(fit.etaU))
        return t;
    const EtaUncertainty::Combined c = EtaUncertainty::combine(fit, inputs);
    if (!c.ok || !(c.final.uncertainty > 0.0))
        return t;
    t.etaU = c.final.uncertainty;
    double common = 0.0;
    for (const BudgetLine &line : c.final.budget) {
        const QString &name = c.inputs.at(size_t(line.input)).name;
        const bool radius = name == QLatin1String("rayon de la bille");
        const bool mass = name.startsWith(QLatin1String("masse de la bille"))
            || name == QLatin1String("masse volumique de la bille");
        if (name == QLatin1String("masse volumique du fluide")
            || name == QLatin1String("diamètre du tube") || (radius && shared.radius)
            || (mass && shared.mass))
            common += line.contribution * line.contribution;
    }
    t.etaUShared = std::sqrt(common);
    return t;
}

std::vector<CurvePoint> dragCurve(double eta, double sphereDensity, double fluidDensity,
                                  double xMax, int steps)
{
    std::vector<CurvePoint> curve;
    if (!(eta > 0.0) || !(sphereDensity > fluidDensity) || !(fluidDensity > 0.0) || !(xMax > 0.0)
        || !std::isfinite(xMax) || steps < 1)
        return curve;
    curve.push_back({0.0, 0.0});
    for (int i = 1; i <= steps; ++i) {
        const double x = xMax * i / steps;
        FallSetup setup;
        setup.radius = std::sqrt(x);
        setup.mass = FallSetup::massFromDensity(setup.radius, sphereDensity);
        setup.fluidDensity = fluidDensity;
        const double v = TerminalVelocity::of(setup, eta, FitOptions::Model::DragCurve);
        if (std::isfinite(v))
            curve.push_back({x, v});
    }
    return curve;
}

} // namespace SeriesTrials
