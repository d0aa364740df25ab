// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The wall factor f = v_tube / v_free of a sphere of diameter d falling on the
// axis of a tube of diameter D, λ = d/D, at the Reynolds number Re of its fall.
//
// Correlations:
// - Haberman and Sayre (creeping flow, λ ≤ 0,8):
//     f = (1 − 2,105λ + 2,0865λ³ − 1,7068λ⁵ + 0,72603λ⁶) / (1 − 0,75857λ⁵)
// - Di Felice (0,01 < Re < 200, 0,08 < λ < 0,7):
//     f = ((1 − λ)/(1 − 0,33λ))^α, (3,3 − α)/(α − 0,85) = 0,1·Re
//
// Rule: Haberman–Sayre is the theory of creeping flow, Di Felice a fit of
// measurements that misses it by up to 3 % at Re → 0 (λ = 0,3). The factor
// is Di Felice's times (f_HS(λ) / f_DF(λ, 0))^(1/(1 + Re)): Haberman–Sayre
// in creeping flow, Di Felice's dependence on Re once inertia counts, no
// jump in between. Where Di Felice does not hold (λ ≥ 0,7) Haberman–Sayre
// alone serves up to λ = 0,8 while Re ≤ 0,2. Below λ = 0,08 Di Felice's form
// tends to 1 as it should and is kept. Refused: Re ≥ 200, λ > 0,8, and
// 0,7 ≤ λ with Re > 0,2.
namespace WallFactor {

double habermanSayre(double lambda);
double diFelice(double lambda, double reynolds);
double diFeliceExponent(double reynolds);

struct Factor
{
    double value = 0.0;  // f; NaN when refused
    QString correlation; // French name of what was used, for the result
    QString refusal;     // French sentence when refused, naming the ranges
    bool valid() const { return refusal.isEmpty(); }
};

Factor factor(double lambda, double reynolds);

} // namespace WallFactor
