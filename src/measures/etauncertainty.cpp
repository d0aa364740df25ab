// SPDX-License-Identifier: GPL-3.0-or-later
#include "etauncertainty.h"

#include "fitreport.h"
#include "terminalvelocity.h"
#include "uncertaintyreport.h"

#include "core/motion.h"

#include <cmath>

namespace {

// The measurand on the fit's model: η = (m − ρ_f·V)·g / (6π·r·v_lim), with
// the program's g and π so that it gives the fitted η at the inputs' values;
// the wall factor of Faxén for a tube diameter. For a video, v_lim is in
// proportion to the scale's length over its length in pixels between the two
// clicks (the positions are measured in its units), and to a typed capture
// rate (the times are image numbers over it).
enum Input { Radius, Mass, FluidDensity, Velocity, Tube, Scale, Clicks, Rate, InputCount };

struct Model
{
    FitOptions::Model law = FitOptions::Model::DragCurve;
    bool fromDensity = false;
    bool wall = false;
    double scale = 0.0;  // m; 0 without a video
    double clicks = 0.0; // px between the scale's clicks; 0 without a video
    double rate = 0.0;   // images/s when typed, else 0

    // η from the inputs through the law the points were fitted with: the
    // limit velocity inverted with the drag curve (or Stokes), and with the
    // wall factor for a tube, so that every sensitivity is the real one.
    double operator()(const std::vector<double> &x) const
    {
        const double r = x[Radius];
        const double volume = Motion::sphereVolume(r);
        FallSetup setup;
        setup.radius = r;
        setup.mass = fromDensity ? x[Mass] * volume : x[Mass];
        setup.fluidDensity = x[FluidDensity];
        double velocity = x[Velocity];
        if (scale > 0.0)
            velocity *= x[Scale] / scale * (clicks / x[Clicks]);
        if (rate > 0.0)
            velocity *= x[Rate] / rate;
        if (!(r > 0.0) || !(velocity > 0.0) || !(setup.mass > setup.fluidDensity * volume))
            return std::nan("");
        if (!wall)
            return TerminalVelocity::freeEta(setup, velocity, law);
        setup.tubeDiameter = x[Tube];
        const TerminalVelocity::Inversion inversion
            = TerminalVelocity::invert(setup, velocity, law);
        return inversion.etaWall;
    }
};

UncertainInput input(const char *name, double value, double u, const char *unit, double factor,
                     UncertainInput::Type type = UncertainInput::Type::B, bool exact = false)
{
    return {QString::fromUtf8(name),
            value,
            u,
            QString::fromUtf8(unit),
            factor,
            UncertainInput::Distribution::Normal,
            type,
            exact};
}

// u(v_lim) from the fit's u(η): u(η) / |∂η/∂v| on the free-fluid law, at the
// inputs' values.
double velocityUncertainty(const FitResult &result, const EtaUncertainty::Inputs &in,
                           const Model &model)
{
    Model free = model;
    free.wall = false;
    free.scale = free.clicks = free.rate = 0.0;
    std::vector<double> x(InputCount, 0.0);
    x[Radius] = in.radius;
    x[Mass] = model.fromDensity ? in.sphereDensity : in.mass;
    x[FluidDensity] = in.fluidDensity;
    const double h = 1e-4 * result.vlim;
    x[Velocity] = result.vlim + h;
    const double above = free(x);
    x[Velocity] = result.vlim - h;
    const double below = free(x);
    const double slope = std::abs(above - below) / (2.0 * h);
    if (!(slope > 0.0) || !std::isfinite(slope))
        return result.vlim * result.etaU / result.eta;
    return result.etaU / slope;
}

std::vector<UncertainInput> inputsOf(const FitResult &result, const EtaUncertainty::Inputs &in,
                                     const Model &model)
{
    std::vector<UncertainInput> inputs(InputCount);
    inputs[Radius] = input("rayon de la bille", in.radius, in.uRadius, "mm", 1e-3);
    if (model.fromDensity)
        inputs[Mass] = input("masse volumique de la bille", in.sphereDensity, in.uSphereDensity,
                             "kg/m³", 1.0);
    else
        inputs[Mass] = input("masse de la bille", in.mass, in.uMass, "g", 1e-3);
    inputs[FluidDensity]
        = input("masse volumique du fluide", in.fluidDensity, in.uFluidDensity, "kg/m³", 1.0);
    // The scatter of the points: u(v_lim) such that it alone gives the fit's
    // u(η) through the free-fluid law (η ∝ 1/v_lim with Stokes, steeper as
    // the drag curve rises).
    inputs[Velocity]
        = input("vitesse limite (ajustement des points)", result.vlim,
                velocityUncertainty(result, in, model), "mm/s", 1e-3, UncertainInput::Type::A);
    inputs[Tube] = input("diamètre du tube", model.wall ? in.tubeDiameter : 0.0,
                         model.wall ? in.uTubeDiameter : 0.0, "mm", 1e-3, UncertainInput::Type::B,
                         !model.wall);
    const bool video = model.scale > 0.0;
    inputs[Scale] = input("longueur de l'étalon", model.scale, video ? in.uScaleDistance : 0.0,
                          "cm", 1e-2, UncertainInput::Type::B, !video);
    // The two clicks' errors along the scale add up in quadrature.
    const bool clicked = model.clicks > 0.0;
    inputs[Clicks] = input("clics de l'étalon (0,5 px chacun)", model.clicks,
                           clicked ? std::sqrt(2.0) * EtaUncertainty::clickUncertainty : 0.0, "px",
                           1.0, UncertainInput::Type::B, !clicked);
    const bool rate = model.rate > 0.0;
    inputs[Rate] = input("cadence de prise de vue", model.rate, rate ? in.uCaptureRate : 0.0,
                         "images/s", 1.0, UncertainInput::Type::B, !rate);
    return inputs;
}

// "η = 1,200 ± 0,012 Pa·s (corrigée …)": the new uncertainty, the rest kept.
QString withNewUncertainty(const QString &line, double eta, double u)
{
    const qsizetype rest = line.indexOf(QStringLiteral(" Pa·s"));
    return FitReport::etaLine(eta, u)
        + (rest < 0 ? QString() : line.mid(rest + QStringLiteral(" Pa·s").size()));
}

} // namespace

namespace EtaUncertainty {

Combined combine(const FitResult &result, const Inputs &in)
{
    Combined c;
    if (!result.hasEta() || !std::isfinite(result.etaU)) {
        c.error = QStringLiteral("Pas de viscosité ajustée dont donner l'incertitude.");
        return c;
    }
    Model model;
    model.law = in.model;
    model.fromDensity = in.fromDensity();
    model.scale = in.scaleDistance;
    model.clicks = in.scaleClicks;
    model.rate = in.captureRate;
    c.plain = Uncertainty::propagate(inputsOf(result, in, model), model);
    Model corrected = model;
    corrected.wall = std::isfinite(result.etaWall);
    c.wall = corrected.wall;
    c.inputs = inputsOf(result, in, corrected);
    c.measurand = corrected;
    c.final = corrected.wall ? Uncertainty::propagate(c.inputs, corrected) : c.plain;
    c.ok = c.plain.ok && c.final.ok;
    if (!c.ok)
        c.error = c.plain.ok ? c.final.error : c.plain.error;
    c.eta = c.wall ? result.etaWall : result.eta;
    c.u = c.ok ? c.final.uncertainty : (c.wall ? result.etaWallU : result.etaU);
    return c;
}

QStringList applyTo(const Combined &c, const FitResult &result, QStringList &lines,
                    qsizetype etaLines)
{
    if (!c.ok)
        return {QStringLiteral("Incertitude composée impossible : ") + c.error};
    // A zero u (points exactly on the model, nothing given) leaves the lines
    // as the fit wrote them.
    if (c.plain.uncertainty > 0.0 && !lines.isEmpty())
        lines[0] = withNewUncertainty(lines[0], result.eta, c.plain.uncertainty);
    if (c.wall && etaLines > 1 && lines.size() > 1 && c.final.uncertainty > 0.0)
        lines[1] = withNewUncertainty(lines[1], result.etaWall, c.final.uncertainty);
    return UncertaintyReport::budgetLines(c.inputs, c.final);
}

} // namespace EtaUncertainty
