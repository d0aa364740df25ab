// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminalvelocity.h"

#include "dragcurve.h"
#include "fitchecks.h"
#include "wallfactor.h"

#include "core/motion.h"
#include "core/numberformat.h"

#include <cmath>

namespace {

using Model = FitOptions::Model;

constexpr double measuredGravity = 9.81;
// Bounds of the searches on log Re: far beyond any sphere the setup accepts.
constexpr double minLogReynolds = -40.0;
constexpr double maxLogReynolds = 25.0;
// Above this Re the drag curve is Newton's C_D = 0,44: the velocity no longer
// depends on η at all.
constexpr double newtonReynolds = 1.2e4;
constexpr int wallIterations = 60;
// Below this Re, φ(Re) = 1 + 3·Re/16 rounds to 1: the balance is Stokes'
// to the last bit. Far above the searches' lower bound, so that a slow
// ball in a very viscous fluid (the fit tries such viscosities) is not
// held at that bound.
constexpr double stokesReynolds = 1e-16;

double diameter(const FallSetup &setup)
{
    return 2.0 * setup.radius;
}

// The x in [lo, hi] where increasing(x) crosses target, by bisection: 200
// halvings take any bracket of these widths to the last bit.
template<typename F>
double bisect(F increasing, double target, double lo, double hi)
{
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (mid == lo || mid == hi)
            break;
        (increasing(mid) < target ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

} // namespace

namespace TerminalVelocity {

double gravity(Model model)
{
    return model == Model::Stokes ? Motion::g : measuredGravity;
}

double of(const FallSetup &setup, double eta, Model model)
{
    const double w
        = Motion::excessWeight(setup.radius, setup.mass, setup.fluidDensity, gravity(model));
    const double d = diameter(setup);
    if (model == Model::Stokes)
        return w / (3.0 * Motion::pi * eta * d);
    // With Re = ρvd/η the balance reads Re·φ(Re) = W·ρ / (3π·η²), increasing in Re.
    const double target = w * setup.fluidDensity / (3.0 * Motion::pi * eta * eta);
    if (!(target > 0.0) || !std::isfinite(target))
        return FitResult::nan;
    if (target < stokesReynolds)
        return w / (3.0 * Motion::pi * eta * d);
    const double logRe = bisect(
        [](double x) {
            const double re = std::exp(x);
            return std::log(re * DragCurve::ratio(re));
        },
        std::log(target), minLogReynolds, maxLogReynolds);
    return std::exp(logRe) * eta / (setup.fluidDensity * d);
}

double freeEta(const FallSetup &setup, double vInf, Model model)
{
    const double w
        = Motion::excessWeight(setup.radius, setup.mass, setup.fluidDensity, gravity(model));
    const double d = diameter(setup);
    if (!(vInf > 0.0) || !std::isfinite(vInf) || !(w > 0.0))
        return FitResult::nan;
    if (model == Model::Stokes)
        return w / (3.0 * Motion::pi * d * vInf);
    // With η = ρvd/Re the balance reads φ(Re)/Re = W / (3π·ρ·d²·v²) = C_D/24,
    // decreasing in Re up to Newton's regime.
    const double target = w / (3.0 * Motion::pi * setup.fluidDensity * d * d * vInf * vInf);
    if (!(target > DragCurve::ratio(newtonReynolds) / newtonReynolds))
        return FitResult::nan;
    if (target > 1.0 / stokesReynolds)
        return w / (3.0 * Motion::pi * d * vInf);
    const double logRe = bisect(
        [](double x) {
            const double re = std::exp(x);
            return -std::log(DragCurve::ratio(re) / re);
        },
        -std::log(target), minLogReynolds, std::log(newtonReynolds));
    return setup.fluidDensity * vInf * d / std::exp(logRe);
}

Inversion invert(const FallSetup &setup, double vInf, Model model)
{
    Inversion inversion;
    inversion.eta = freeEta(setup, vInf, model);
    if (std::isnan(inversion.eta))
        return inversion;
    const double d = diameter(setup);
    inversion.reynolds = setup.fluidDensity * vInf * d / inversion.eta;
    inversion.dragRatio = model == Model::Stokes ? 1.0 : DragCurve::ratio(inversion.reynolds);
    if (std::isnan(setup.tubeDiameter))
        return inversion;
    inversion.lambda = d / setup.tubeDiameter;
    if (model == Model::Stokes) {
        FitResult stokes;
        stokes.model = Model::Stokes;
        stokes.reynolds = inversion.reynolds;
        stokes.eta = inversion.eta;
        stokes.etaU = 0.0;
        FitChecks::wallCorrection(setup, stokes);
        inversion.wallFactor = stokes.wallFactor;
        inversion.etaWall = stokes.etaWall;
        inversion.wallCorrelation = stokes.wallCorrelation;
        inversion.wallMessage = stokes.wallMessage;
        return inversion;
    }
    // The tube slows the ball by f(λ, Re): the free fall would reach vInf/f.
    // Re is the free fall's, which f itself sets: a fixed point, reached in
    // a few steps since f hardly depends on Re.
    double eta = inversion.eta;
    double freeVelocity = vInf;
    WallFactor::Factor factor;
    for (int i = 0; i < wallIterations; ++i) {
        factor = WallFactor::factor(inversion.lambda, setup.fluidDensity * d * freeVelocity / eta);
        if (!factor.valid())
            break;
        freeVelocity = vInf / factor.value;
        const double next = freeEta(setup, freeVelocity, model);
        if (!std::isfinite(next))
            break;
        const bool settled = std::fabs(next - eta) <= 1e-13 * eta;
        eta = next;
        if (settled)
            break;
    }
    if (!factor.valid()) {
        inversion.wallMessage = factor.refusal;
        return inversion;
    }
    inversion.wallFactor = factor.value;
    inversion.etaWall = eta;
    inversion.wallCorrelation = factor.correlation;
    return inversion;
}

double etaFromTerminalVelocity(const FallSetup &setup, double vInf, Model model)
{
    const Inversion inversion = invert(setup, vInf, model);
    return std::isfinite(inversion.etaWall) ? inversion.etaWall : inversion.eta;
}

} // namespace TerminalVelocity
