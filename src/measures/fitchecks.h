// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fallfit.h"

#include "core/motion.h"

#include <Eigen/Core>

#include <optional>

// The judgements around the least squares of FallFit: the start line, the
// regime in which η cannot be known, the wall correction and the warnings
// on a poor fit. Internal to the measures library.
namespace FitChecks {

struct Line
{
    double intercept = 0.0; // m
    double slope = 0.0;     // m/s
};

// The inverse of a normal matrix JᵀJ, computed on its correlation form so
// that parameters of very different scales (log η, metres, seconds) do not
// make it look singular; nothing when it is singular.
std::optional<Eigen::MatrixXd> inverseNormal(const Eigen::MatrixXd &normal);

// Smallest over largest eigenvalue of the correlation form of JᵀJ: near 0
// when two parameters move together.
double reciprocalCondition(const Eigen::MatrixXd &normal);

// Least-squares straight line through the used points.
Line straightLine(const std::vector<FitPoint> &points);

// Whether the fitted motion is the one of the equivalent quadratic regime,
// where the limit velocity does not depend on η: the regime itself, or the
// one linear motion that coincides with it (Re = 24/Cd, where Stokes's drag
// equals the quadratic one) within three standard uncertainties.
bool quadraticMotion(const Motion::FrictionModel &model, const FitResult &result,
                     const Eigen::MatrixXd &normal, double ssr, int dof);

// Why η cannot be determined, with the regime and the Reynolds number:
// reynolds is the one the measured velocity would give with Stokes's law
// when it exceeds 250; NaN when the points follow the quadratic motion.
QString quadraticMessage(const FallSetup &setup, double velocity, double reynolds);

// The wall correction into result (etaWall…), or the reason it is refused
// into result.wallMessage: Faxén's for Stokes's law (d/D ≤ 0,5, Re ≤ 1),
// TerminalVelocity::invert's at the fitted vlim for the drag curve.
void wallCorrection(const FallSetup &setup, FitResult &result);

// The warnings of a fitted result: no convergence, Re above 1, a trend in
// the residuals (runs test), χ²/(N − p) far from 1, and the t0 note.
void warnings(FitResult &result);

// Wald–Wolfowitz runs test on the signs of the residuals in time order:
// the z score of the number of runs (very negative: residuals with a trend).
// NaN when there are too few residuals of either sign.
double runsZ(const std::vector<double> &residuals, int *runs = nullptr, double *expected = nullptr);

} // namespace FitChecks
