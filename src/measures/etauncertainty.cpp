// SPDX-License-Identifier: GPL-3.0-or-later
#include "etauncertainty.h"

#include "fitreport.h"
#include "terminalvelocity.h"
#include "uncertaintyreport.h"

#include "core/motion.h"
#include "core/numberformat.h"

#include <cmath>

namespace {

// The measurand on the fit's model: η = (m − ρ_f·V)·g / (6π·r·v_lim), with
// the program's g and π so that it gives the fitted η at the inputs' values;
// the wall factor of Faxén for a tube diameter. For a video, v_lim is in
// proportion to the scale's length over its length in pixels between the two
// clicks (the positions are measured in its units), to the refraction factor
// applied to the scale, and to a typed capture rate (the times are image
// numbers over it).
enum Input {
    Radius,
    Mass,
    FluidDensity,
    Velocity,
    Tube,
    Scale,
    Clicks,
    Rate,
    Index,
    TubeRadius,
    Camera,
    InputCount
};

struct Model
{
    FitOptions::Model law = FitOptions::Model::DragCurve;
    bool fromDensity = false;
    bool wall = false;
    double scale = 0.0;  // m; 0 without a video
    double clicks = 0.0; // px between the scale's clicks; 0 without a video
    double rate = 0.0;   // images/s when typed, else 0
    // The refraction factor as a function of (n, R, L), and its value at the
    // inputs' values, by which the points were scaled; empty: none applied.
    VideoScale::RefractionFactor refraction;
    double factor = 1.0;
    // With the wall's tube, the refraction's radius follows its diameter:
    // R = radius·D/diameter, radius and diameter at the inputs' values.
    bool tubeIsWallTube = false;
    double radius = 0.0;
    double diameter = 0.0;

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
        if (refraction) {
            const double tubeRadius = tubeIsWallTube ? radius * x[Tube] / diameter : x[TubeRadius];
            velocity *= refraction(x[Index], tubeRadius, x[Camera]) / factor;
        }
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

UncertainInput input(const QString &name, double value, double u, const char *unit, double factor,
                     bool uniform = false, UncertainInput::Type type = UncertainInput::Type::B,
                     bool exact = false)
{
    return {name,
            value,
            u,
            QString::fromUtf8(unit),
            factor,
            uniform ? UncertainInput::Distribution::Uniform : UncertainInput::Distribution::Normal,
            type,
            exact};
}

// An input the measurand does not use here: exact, never listed.
UncertainInput unused(const char *name)
{
    return input(QString::fromUtf8(name), 0.0, 0.0, "", 1.0, false, UncertainInput::Type::B, true);
}

// u(v_lim) from the fit's u(η): u(η) / |∂η/∂v| on the free-fluid law, at the
// inputs' values.
double velocityUncertainty(const FitResult &result, const EtaUncertainty::Inputs &in,
                           const Model &model)
{
    Model free = model;
    free.wall = false;
    free.scale = free.clicks = free.rate = 0.0;
    free.refraction = nullptr;
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
    const VideoScale &video = in.scale;
    std::vector<UncertainInput> inputs(InputCount);
    inputs[Radius] = input(QStringLiteral("rayon de la bille"), in.radius, in.uRadius, "mm", 1e-3,
                           in.radiusUniform);
    if (model.fromDensity)
        inputs[Mass] = input(QStringLiteral("masse volumique de la bille"), in.sphereDensity,
                             in.uSphereDensity, "kg/m³", 1.0, in.massUniform);
    else
        inputs[Mass] = input(QStringLiteral("masse de la bille"), in.mass, in.uMass, "g", 1e-3,
                             in.massUniform);
    inputs[FluidDensity] = input(QStringLiteral("masse volumique du fluide"), in.fluidDensity,
                                 in.uFluidDensity, "kg/m³", 1.0, in.fluidDensityUniform);
    // The scatter of the points: u(v_lim) such that it alone gives the fit's
    // u(η) through the free-fluid law (η ∝ 1/v_lim with Stokes, steeper as
    // the drag curve rises).
    inputs[Velocity] = input(QStringLiteral("vitesse limite (ajustement des points)"), result.vlim,
                             velocityUncertainty(result, in, model), "mm/s", 1e-3, false,
                             UncertainInput::Type::A);
    const bool refracted = bool(model.refraction);
    const bool tube = model.wall || (refracted && model.tubeIsWallTube);
    inputs[Tube] = tube ? input(QStringLiteral("diamètre du tube"), model.diameter,
                                in.uTubeDiameter, "mm", 1e-3, in.tubeDiameterUniform)
                        : unused("diamètre du tube");
    if (model.scale > 0.0) {
        inputs[Scale] = input(QStringLiteral("longueur de l'étalon"), model.scale, video.uDistance,
                              "cm", 1e-2, video.distanceUniform);
        // The two clicks' errors along the scale add up in quadrature.
        inputs[Clicks] = input(QStringLiteral("clics de l'étalon (%1 px chacun)")
                                   .arg(NumberFormat::significant(video.uClick, 2)),
                               model.clicks, std::sqrt(2.0) * video.uClick, "px", 1.0);
    } else {
        inputs[Scale] = unused("longueur de l'étalon");
        inputs[Clicks] = unused("clics de l'étalon");
    }
    inputs[Rate] = model.rate > 0.0
        ? input(QStringLiteral("cadence de prise de vue"), model.rate, video.uCaptureRate,
                "images/s", 1.0, video.captureRateUniform)
        : unused("cadence de prise de vue");
    if (refracted) {
        inputs[Index] = input(QStringLiteral("indice du liquide"), video.index, video.uIndex, "",
                              1.0, video.indexUniform);
        inputs[TubeRadius] = model.tubeIsWallTube
            ? unused("rayon intérieur du tube")
            : input(QStringLiteral("rayon intérieur du tube"), video.tubeRadius, video.uTubeRadius,
                    "mm", 1e-3, video.tubeRadiusUniform);
        inputs[Camera] = input(QStringLiteral("distance de la caméra"), video.cameraDistance,
                               video.uCameraDistance, "cm", 1e-2, video.cameraDistanceUniform);
    } else {
        inputs[Index] = unused("indice du liquide");
        inputs[TubeRadius] = unused("rayon intérieur du tube");
        inputs[Camera] = unused("distance de la caméra");
    }
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
    const VideoScale &video = in.scale;
    if (video.isVideo()) {
        model.scale = video.distance;
        model.clicks = video.clicks;
        model.rate = video.captureRate;
    }
    model.diameter = in.tubeDiameter;
    if (video.refracted()) {
        model.tubeIsWallTube = video.tubeIsWallTube;
        model.radius = video.tubeRadius;
        // Without a wall correction the tube is the refraction's alone.
        if (!std::isfinite(model.diameter) || !(model.diameter > 0.0))
            model.diameter = 2.0 * video.tubeRadius;
        model.factor = video.refraction(video.index, video.tubeRadius, video.cameraDistance);
        if (std::isfinite(model.factor) && model.factor > 0.0)
            model.refraction = video.refraction;
    }
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
