// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fallfit.h"
#include "uncertainty.h"
#include "videoscale.h"

#include <QStringList>

#include <vector>

// The combined standard uncertainty of a fitted η: type A from the scatter of
// the points (the fit's u), type B from the inputs' typed uncertainties,
// propagated through the measurand below. The command and the Mesures window
// both call it, so that they print the same u and the same budget.
namespace EtaUncertainty {

// The inputs of the measurand in SI units, with their standard uncertainties
// (0: none given, the input counts as exact).
struct Inputs
{
    double radius = 0.0;                   // m
    double mass = FallSetup::nan;          // kg; NaN when the density is given instead
    double sphereDensity = FallSetup::nan; // kg/m³; NaN when the mass is given
    double fluidDensity = 0.0;             // kg/m³
    double tubeDiameter = FallSetup::nan;  // m; used when the fit made a wall correction
    // A video's scale with its inputs' uncertainties (the refraction's
    // included); its distance is 0 for points that came from elsewhere.
    VideoScale scale;
    // The law the points were fitted with: η is derived from v_lim through it.
    FitOptions::Model model = FitOptions::Model::DragCurve;

    double uRadius = 0.0;
    double uMass = 0.0;
    double uSphereDensity = 0.0;
    double uFluidDensity = 0.0;
    double uTubeDiameter = 0.0;
    // The inputs whose u is the a/√3 of a rectangular law of half-width a
    // (a resolution): Monte-Carlo draws them uniform. The mass's covers the
    // sphere's density when that is given instead.
    bool radiusUniform = false;
    bool massUniform = false;
    bool fluidDensityUniform = false;
    bool tubeDiameterUniform = false;

    bool fromDensity() const { return std::isfinite(sphereDensity); }
};

struct Combined
{
    bool ok = false;
    QString error; // French, when not ok

    bool wall = false; // the uncertainty is that of the wall-corrected η
    // The measurand's inputs and the measurand itself (the corrected one with
    // a wall), for the budget's lines and the Monte-Carlo draws.
    std::vector<UncertainInput> inputs;
    Measurand measurand;
    Propagation plain; // of the uncorrected η
    Propagation final; // of the η the result gives last (corrected with a wall)

    double eta = 0.0; // the η the uncertainty belongs to, Pa·s
    double u = 0.0;   // its combined standard uncertainty; the fit's when the propagation failed
};

// The propagation for a fit with an η and a finite u; not ok otherwise.
Combined combine(const FitResult &result, const Inputs &inputs);

// A fit report's lines (FitReport::text split in lines) with the combined u:
// the first etaLines lines ("η = … ± … Pa·s …", and the corrected η with a
// wall) take the new u, the rest of each line kept. Returns the lines to show
// after them: the budget, or why the propagation failed.
QStringList applyTo(const Combined &combined, const FitResult &result, QStringList &lines,
                    qsizetype etaLines);

} // namespace EtaUncertainty
