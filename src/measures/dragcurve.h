// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The standard drag curve of a rigid sphere, as the ratio of its drag to
// Stokes's: φ(Re) = C_D·Re/24 = F / (3π·η·d·v), with Re = ρ·v·d/η.
//
// Pieces (Clift, Grace and Weber, "Bubbles, Drops and Particles", table 5.2):
//   Re ≤ 0,01         φ = 1 + 3Re/16 (Oseen)
//   0,01 < Re ≤ 20    φ = 1 + 0,1315·Re^(0,82 − 0,05·log₁₀Re)
//   20 < Re ≤ 260     φ = 1 + 0,1935·Re^0,6305
//   260 < Re ≤ 1500   log₁₀C_D = 1,6435 − 1,1242w + 0,1558w²   (w = log₁₀Re)
//   1500 < Re ≤ 1,2·10⁴  log₁₀C_D = −2,4571 + 2,5558w − 0,9295w² + 0,1049w³
//   above             C_D = 0,44 (Newton's regime)
// Below Re 0,5 the second piece stays within 0,1 % of the low-Re theory of
// Proudman and Pearson, 1 + 3Re/16 + (9/160)·Re²·ln(Re/2), which is why it
// is kept there rather than Schiller–Naumann's 1 + 0,15·Re^0,687 (1,5 % off
// at Re 0,2). The two pieces around Re 20 differ by 0,75 %: a jump would
// make the drag at a given velocity fall as η grows, so that two viscosities
// could give one limit velocity. They are blended on log Re between 15 and
// 27 (a smooth step), where both fit the measurements equally well.
namespace DragCurve {

double ratio(double reynolds);

// The pieces alone, for the blend and for the tests.
double oseen(double reynolds);
double lowReynolds(double reynolds);  // 0,01 … 20
double midReynolds(double reynolds);  // 20 … 260
double highReynolds(double reynolds); // 260 … 1,2·10⁴, and Newton's beyond

} // namespace DragCurve
