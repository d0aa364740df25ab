// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The viscosity of glycerine–water mixtures after Cheng's formula (N.-S. Cheng,
// "Formula for viscosity of glycerol–water mixture", Ind. Eng. Chem. Res. 47,
// 3285, 2008), for a reference value to compare a measurement with:
//     μ = μ_w^α · μ_g^(1 − α),
//     α = 1 − C + a·b·C·(1 − C) / (a·C + b·(1 − C)),
//     a = 0,705 − 0,0017·T,   b = (4,9 + 0,036·T)·a^2,5,
//     μ_g = 12100·exp((−1233 + T)·T / (9900 + 70·T)) mPa·s (glycerine),
//     μ_w = 1,790·exp((−1230 − T)·T / (36100 + 360·T)) mPa·s (water),
// with T in °C and C the glycerine mass fraction. Valid from 0 to 100 °C
// and for every fraction.
namespace GlycerineReference {

inline constexpr double minCelsius = 0.0;
inline constexpr double maxCelsius = 100.0;

// The formula's accuracy as a relative figure: against the usual tables of
// glycerine–water viscosities (pure glycerine from 0 to 100 °C, mixtures at
// 20 °C) it stays within 3,5 %; the reference is quoted "à 4 % près".
inline constexpr double relativeAccuracy = 0.04;

// Whether Cheng's formula covers this temperature (°C) and water mass
// fraction (from 0 to 1).
bool covers(double celsius, double waterFraction);

// The mixture's viscosity in Pa·s; NaN where the formula does not apply.
double viscosity(double celsius, double waterFraction);

// The water mass fraction (0 to 1) whose mixture has the viscosity eta (Pa·s)
// at this temperature: the inverse of viscosity, which falls monotonically
// with the water fraction. Nothing when eta lies outside the range from pure
// water to pure glycerine at that temperature, or the temperature outside the
// formula's.
std::optional<double> waterFraction(double celsius, double eta);

// What the reference is, in French: "glycérine pure à 20 °C" or "glycérine à
// 5 % d'eau (en masse) à 20 °C".
QString description(double celsius, double waterFraction);

} // namespace GlycerineReference
