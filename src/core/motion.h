// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simulationstate.h"

class ParameterFields;

// The physics of the fall: a sphere released without speed at the top of a
// column of fluid, under its weight, Archimedes' thrust and a friction force
// proportional to its velocity (Stokes), or an equivalent one at high
// Reynolds numbers. Lengths in m, velocities in m/s, forces in N.
namespace Motion {

inline constexpr double g = 9.8;
inline constexpr double pi = 3.1415927;
// The quadratic friction of the vectors was always computed with this shorter pi.
inline constexpr double piShort = 3.14;
inline constexpr double dragCoefficient = 0.44;
inline constexpr double quadraticMotionThreshold = 250.0;
inline constexpr double quadraticForceThreshold = 100.0;

struct Point
{
    double y = 0.0; // distance fallen, m
    double v = 0.0; // velocity, m/s
    double a = 0.0; // acceleration, m/s²
};

// Volume of the sphere in m³, from the radius field in cm.
double sphereVolume(const ParameterFields &fields);

// 4/3·π·r³ in m³ for a radius in m, with the program's π: the one volume of
// the sphere that the animation and the measurements share.
double sphereVolume(double radius);

// (m − ρ·V)·gravity, the weight less Archimedes' thrust, in N, for a radius
// in m, a mass in kg, the fluid's density in kg/m³ and gravity in m/s².
double excessWeight(double radius, double mass, double fluidDensity, double gravity = g);

// What the friction law makes of a sphere in a fluid: the values the motion
// law needs, the Reynolds number that chose the regime, and the regime.
struct FrictionModel
{
    double k = 0.0;         // friction coefficient (equivalent linear one when quadratic), kg/s
    double vlim = 0.0;      // limit velocity, m/s; negative when the thrust exceeds the weight
    double reynolds = 0.0;  // ρ·v·D/η with the limit velocity of linear friction
    double tau = 0.0;       // time constant, s
    bool quadratic = false; // reynolds > 250: the limit velocity no longer depends on η
};

// Friction coefficient, limit velocity, Reynolds number with the switch to the
// quadratic regime above 250, and time constant, from the radius in m, the
// mass in kg, the fluid's density in kg/m³ and its viscosity in Pa·s. Every
// step whose arithmetic fails (not finite) keeps the value of previous: the
// animation passes its state so that a failed step leaves it as it was; the
// fit passes NaNs so that a failure shows.
FrictionModel frictionModel(double radius, double mass, double fluidDensity, double viscosity,
                            const FrictionModel &previous);

// The closed-form law y, v, a at time t for limit velocity vlim and time
// constant tau (same form in both friction regimes).
Point at(double vlim, double tau, double t);

// Stores the law at state.temps into ypos, vit, acc. A value that cannot be
// computed or does not fit a single leaves its target unchanged.
void evaluate(SimulationState &state);

// Weight exponent: writes state.expoids from the mass field.
void computeExpoids(const ParameterFields &fields, SimulationState &state);

// The friction model of the fields (radius in cm, mass in g, viscosity, fluid
// density): writes vlim, reynolds, tau. A step whose arithmetic fails leaves
// its target unchanged.
void computeModel(const ParameterFields &fields, SimulationState &state);

// End-of-fall time by bisection: writes tfin and expvit. Does nothing when
// vlim < 0. When no time within 10^9 s brings the fallen distance within
// h/1000 of h, tfin becomes 0 so that starting reports an absence of motion.
void dichotemps(const ParameterFields &fields, SimulationState &state);

struct Forces
{
    double weight = 0.0;   // P
    double thrust = 0.0;   // Π
    double friction = 0.0; // f, quadratic when reynolds > 100, Stokes otherwise
};

// Force magnitudes at velocity v, from the fields and the Reynolds number.
Forces forcesAt(const ParameterFields &fields, double reynolds, double v);

} // namespace Motion
