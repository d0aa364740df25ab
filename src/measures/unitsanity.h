// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fallfit.h"
#include "quantity.h"

#include <QString>
#include <QStringList>

// Values that are plainly a slip of unit: a density typed in g/cm³ but read
// in kg/m³, times in milliseconds read as seconds. Pure functions for the
// command and the Mesures window: they say what they found in French and
// leave the values as they are, except where a function says otherwise.
namespace UnitSanity {

// The inputs as typed, in SI units; a value that was not given is NaN.
struct TypedInputs
{
    TypedQuantity radius;        // m
    TypedQuantity mass;          // kg
    TypedQuantity sphereDensity; // kg/m³
    TypedQuantity fluidDensity;  // kg/m³
    TypedQuantity tubeDiameter;  // m
};

// Below this, a density in kg/m³ is a gas's: no liquid and no ball that
// sinks in one is that light (water: 1000, petrol: 700).
inline constexpr double gasDensity = 100.0;
// Above this, no solid: osmium, the densest, is 22 590 kg/m³.
inline constexpr double solidDensity = 25'000.0;

// One French sentence per input that is plainly in the wrong unit: a fluid
// or sphere density below gasDensity ("1,26 kg/m³ est la masse volumique
// d'un gaz ; en g/cm³, écrivez 1,26g/cm3"), a mass that makes the ball
// denser than any solid, a radius or a tube diameter typed without a unit
// that reads as metres no tube holds. Empty when all look right.
QStringList inputWarnings(const TypedInputs &inputs);

// Limits of the times check. Read as seconds, times in milliseconds make a
// fall of a few centimetres last thousands of seconds and the viscosity a
// thousand times the fluid's; a real fall of that length is as slow only in
// a fluid far more viscous than any a falling-ball tube is used with
// (glycerine: 1,4 Pa·s, honey: about 10).
inline constexpr double longFall = 100.0;   // s
inline constexpr double thickFluid = 100.0; // Pa·s

// For the points of a table whose time column states no unit, read as
// seconds: a French remark when they are plainly milliseconds, empty
// otherwise. Plainly: the included points span at least longFall and
// Stokes's law at their mean velocity gives η ≥ thickFluid with the
// setup's radius and densities. The remark says what was assumed (the
// times are milliseconds, converted) and how to say they are seconds; the
// caller converts with toSeconds. Empty too when the setup has a problem.
QString millisecondTimes(const MeasurementSet &set, const FallSetup &setup);

// The times of set divided by a thousand: milliseconds made seconds.
void toSeconds(MeasurementSet &set);

} // namespace UnitSanity
