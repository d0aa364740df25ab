// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fallfit.h"

// The terminal fall of a sphere and its inversion, η from the limit velocity:
// what a falling-ball viscometer computes once the velocity is measured.
// Both laws of FitOptions::Model:
// - DragCurve: (m − ρ_f·V)·g = 3π·η·d·v·φ(Re), Re = ρ_f·v·d/η, φ the standard
//   drag curve (DragCurve::ratio), g = 9,81 m/s²;
// - Stokes: the simulator's law, 6π·η·R·v with g = 9,8 m/s² (its equivalent
//   quadratic regime above Re 250 is not inverted: η does not set v there).
namespace TerminalVelocity {

// Gravity of the law, m/s².
double gravity(FitOptions::Model model);

// The limit velocity in an unbounded fluid, m/s, for viscosity eta (Pa·s).
// With Stokes, the linear one (the simulator's below Re 250).
double of(const FallSetup &setup, double eta, FitOptions::Model model);

// The viscosity that gives the limit velocity vInf in an unbounded fluid.
// NaN when no viscosity does (vInf ≤ 0, or above the Newton regime's
// velocity, which the drag curve reaches only as η → 0).
double freeEta(const FallSetup &setup, double vInf, FitOptions::Model model);

// η from a limit velocity measured in the set-up, in Pa·s: with a tube
// diameter, the velocity is the one in the tube, and η is corrected for the
// walls (Faxén with Stokes, d/D ≤ 0,5; WallFactor with the drag curve) when
// the correction holds; otherwise, and without a tube, freeEta. This is the
// function to propagate the set-up's uncertainties through.
double etaFromTerminalVelocity(const FallSetup &setup, double vInf, FitOptions::Model model);

// The same with the details the result shows.
struct Inversion
{
    double eta = FitResult::nan;       // free-fluid η, Pa·s
    double reynolds = FitResult::nan;  // ρ·v·d/η at vInf with eta
    double dragRatio = FitResult::nan; // φ at that Re
    // With a tube:
    double lambda = FitResult::nan;
    double wallFactor = FitResult::nan;
    double etaWall = FitResult::nan; // NaN when refused
    QString wallCorrelation;
    QString wallMessage; // why refused
};
Inversion invert(const FallSetup &setup, double vInf, FitOptions::Model model);

} // namespace TerminalVelocity
