// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measuredpoint.h"

#include <QString>
#include <QStringList>

#include <limits>
#include <vector>

// Fitting the program's own law of the fall (Motion::frictionModel and
// Motion::at, the functions the animation uses) to measured positions, to
// measure the fluid's viscosity as a falling-ball viscometer does.
//
// Model: y(t) = y0 for t ≤ t0 (the ball at rest), and
//        y(t) = y0 + y_law(t − t0) after the release at t0,
// with vlim and tau from the sphere, the fluid's density and η.
// Fitted: log η (η > 0 by construction, and the steps of the least squares
// are relative ones, which η's six decades need), y0, and t0 on request.

// The sphere and the fluid, in SI units (m, kg, kg/m³).
struct FallSetup
{
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    double radius = nan;       // m, from 0,1 mm to 50 cm
    double mass = nan;         // kg, from 1 mg to 50 kg
    double fluidDensity = nan; // kg/m³
    double tubeDiameter = nan; // inner diameter of the tube, m; NaN: no wall correction

    // The mass of a sphere of this radius and density (the program's volume).
    static double massFromDensity(double radius, double density);
    double sphereDensity() const;

    // Why these values cannot be fitted, in French; empty when they can.
    QString problem() const;
    // The values the animation cannot show (its fields' ranges), in French;
    // with a viscosity eta in Pa·s, that one too.
    QStringList outsideAnimation(double eta = nan) const;
};

struct FitOptions
{
    // The fit range: only the included points with tMin ≤ t ≤ tMax are used.
    double tMin = -std::numeric_limits<double>::infinity();
    double tMax = std::numeric_limits<double>::infinity();
    // Fit the release instant t0 too; otherwise t0 is the time of the first
    // included point of the set.
    bool fitReleaseTime = false;
    // The law fitted: the standard drag curve with added mass (default), or
    // the simulator's own Stokes law (today's results, for comparison).
    enum class Model { DragCurve, Stokes };
    Model model = Model::DragCurve;
};

// One measured point against the fitted model, for a residuals plot.
struct FitPoint
{
    int index = 0;         // in MeasurementSet::points
    double t = 0.0;        // s
    double y = 0.0;        // measured, m
    double model = 0.0;    // fitted model at t, m (NaN when no model was fitted)
    double residual = 0.0; // y − model, m
    bool used = false;     // included and inside the fit range
};

struct FitResult
{
    enum class Status {
        Fitted,        // eta holds the viscosity
        NotDetermined, // the points cannot give η (message says why: regime, Re)
        Failed,        // no fit at all (message says why)
    };
    Status status = Status::Failed;
    // French: for Failed, a sentence; for NotDetermined, the reason that
    // follows "η non déterminée : ", in lower case.
    QString message;

    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    double eta = nan, etaU = nan; // Pa·s, with its standard uncertainty
    double y0 = nan, y0U = nan;   // m
    double t0 = nan, t0U = nan;   // s; t0U is NaN when t0 was fixed
    bool t0Fitted = false;
    bool t0Unidentifiable = false; // t0 was asked for but could not be told from y0, so fixed

    double vlim = nan;     // m/s
    double tau = nan;      // s
    double reynolds = nan; // at vlim, as the program computes it
    bool quadratic = false;

    // Wall correction (Faxén): applied when the setup has a tube diameter.
    double lambda = nan;     // d / D
    double wallFactor = nan; // f(λ), the ratio of the velocity in the tube to the free one
    double etaWall = nan, etaWallU = nan;
    QString wallMessage; // why the correction was refused, empty when applied or not asked

    int used = 0;             // points the fit used
    int excluded = 0;         // points of the set it did not use
    bool weighted = false;    // every used point had an uncertainty
    double rmsResidual = nan; // m
    double chi2Reduced = nan; // χ²/(N − p), weighted fits only
    bool converged = false;
    std::vector<FitPoint> points;
    QStringList warnings; // a poor fit, Re above 1, no convergence
    QStringList notes;    // t0 fixed, values the animation cannot show

    bool hasEta() const { return status == Status::Fitted; }
};

namespace FallFit {

// Faxén's factor f(λ) = 1 − 2,104λ + 2,09λ³ − 0,95λ⁵: the velocity of a
// sphere of diameter d in creeping flow on the axis of a tube of diameter D,
// over its velocity in an unbounded fluid, with λ = d/D.
double faxenFactor(double lambda);
inline constexpr double maxWallLambda = 0.5;

// The model's position at t for viscosity eta, with offset y0 and release t0.
double modelAt(const FallSetup &setup, double eta, double y0, double t0, double t);

// Fits the model to the included points of set inside the range.
FitResult fit(const MeasurementSet &set, const FallSetup &setup, const FitOptions &options);

} // namespace FallFit
