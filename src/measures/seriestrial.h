// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "etauncertainty.h"
#include "fallseries.h"

#include <vector>

// A fall fitted on its own, as a trial of a series: what the command and the
// Mesures window both hand to FallSeries::estimate, and the drag curve the
// series' plot compares with its line.
namespace SeriesTrials {

// The ball's values given once for several trials: their uncertainty is one
// error common to the whole series, not one per trial.
struct SharedBall
{
    bool radius = false;
    bool mass = false; // the mass or the density
};

// The trial of fit with the inputs of its η's uncertainty: η (wall-corrected
// in a tube) with its combined u and the part of that u shared by every trial
// (the fluid, the tube, the ball when shared), v∞ in an unbounded fluid (the
// velocity in the tube over the wall factor) with the fit's relative u, Re,
// the radius and the ball's density with their u. A fit without η gives a
// trial left out, with a NaN η.
SeriesTrial fromFit(const FitResult &fit, const EtaUncertainty::Inputs &inputs,
                    SharedBall shared = {});

struct CurvePoint
{
    double x = 0.0; // r², m²
    double v = 0.0; // v∞ in an unbounded fluid, m/s
};

// v∞ against r² for radii from 0 to √xMax, in steps points, by the standard
// drag curve for a ball of density sphereDensity in a fluid of density
// fluidDensity and viscosity eta (SI units): Stokes's straight line at small
// radii, bending under it as Re grows. Empty when an input is not usable.
std::vector<CurvePoint> dragCurve(double eta, double sphereDensity, double fluidDensity,
                                  double xMax, int steps = 60);

} // namespace SeriesTrials
