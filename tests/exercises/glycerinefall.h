// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// The measured fall of the lesson "Mesurer la viscosité de la glycérine": a
// glass ball filmed while it falls on the axis of a graduated cylinder full
// of glycerine, tracked frame by frame and exported as a video-analysis tool
// writes its tables. The positions are the program's own law of the fall
// (the functions the animation uses) for the ball slowed by the cylinder's
// walls, with what real tracking adds: noise, a few wild points, the entry
// into the liquid, the bottom of the cylinder and a lost ball.
namespace GlycerineFall {

// The experiment, in SI units. The ball is one the animation can show
// (radius and mass within its fields' ranges).
inline constexpr double radius = 5e-3;         // m
inline constexpr double mass = 1.31e-3;        // kg (glass, about 2500 kg/m³)
inline constexpr double fluidDensity = 1260.0; // kg/m³
inline constexpr double viscosity = 1.41;      // Pa·s, glycerine at 20 °C
inline constexpr double tubeDiameter = 62e-3;  // m, inside a 1 L graduated cylinder

inline constexpr double frameStep = 0.04; // s, 25 frames per second
inline constexpr double noise = 4e-4;     // m, standard deviation of a tracked position

// The viscosity the ball seems to fall in: Faxén's factor f(d/D) slows it
// as η/f would in an unbounded fluid.
double apparentViscosity();

// The file, byte for byte: UTF-8, tab-delimited, decimal commas, LF line
// ends; the same bytes on every run (a fixed seed and a noise drawn from the
// engine's raw output, not from a library's distribution).
QByteArray table();

} // namespace GlycerineFall
