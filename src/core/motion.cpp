// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion.h"

#include "numberformat.h"
#include "parameterfields.h"

#include <cfloat>
#include <cmath>

namespace Motion {

namespace {

// A computation that fails (division by zero, overflow, square root of a
// negative number) leaves its target as it was, and the next step goes on.
void assign(double &target, double value)
{
    if (std::isfinite(value))
        target = value;
}

void assign(float &target, double value)
{
    if (std::isfinite(value) && std::fabs(value) <= double(FLT_MAX))
        target = float(value);
}

// Radius in m from the field in cm.
double radius(const ParameterFields &fields)
{
    return double(fields.value(ParameterFields::Radius)) / 100.0;
}

// Mass in kg from the field in g.
double mass(const ParameterFields &fields)
{
    return double(fields.value(ParameterFields::Mass)) / 1000.0;
}

constexpr int maxHalvings = 200;

} // namespace

double sphereVolume(double r)
{
    return r * r * r * (4.0 / 3.0 * pi);
}

double sphereVolume(const ParameterFields &fields)
{
    return sphereVolume(radius(fields));
}

double excessWeight(double r, double m, double rho, double gravity)
{
    return (m - rho * sphereVolume(r)) * gravity;
}

Point at(double vlim, double tau, double t)
{
    const double e = std::exp(-t / tau);
    return {-tau * vlim + vlim * t + tau * vlim * e, vlim - vlim * e, vlim / tau * e};
}

void evaluate(SimulationState &state)
{
    const Point p = at(state.vlim, state.tau, state.temps);
    assign(state.ypos, p.y);
    assign(state.vit, p.v);
    assign(state.acc, p.a);
}

void computeExpoids(const ParameterFields &fields, SimulationState &state)
{
    const double weight = double(fields.value(ParameterFields::Mass)) * g / 1000.0;
    state.expoids = std::int16_t(NumberFormat::decimalExponent(weight));
}

FrictionModel frictionModel(double r, double m, double rho, double eta,
                            const FrictionModel &previous)
{
    FrictionModel model = previous;
    model.quadratic = false;

    // Stokes: k = 6·π·η·R, kg/s.
    double k = 0.0;
    assign(k, (6.0 * pi) * r * eta);

    // Displaced fluid mass ρV, kg, and the limit velocity (P − Π) / k.
    double displaced = 0.0;
    // Written as the animation always computed it: the floating sphere's
    // weight and thrust cancel exactly only in this order of the products.
    assign(displaced, r * r * r * (rho * 4.0 / 3.0 * pi));
    assign(model.vlim, (m - displaced) * g / k);

    // Reynolds number ρ·v·D/η of the terminal motion with linear friction.
    assign(model.reynolds, 2.0 * rho * model.vlim * r / eta);

    if (model.reynolds > quadraticMotionThreshold) {
        // Fast motion: the terminal velocity balances P − Π with the quadratic
        // drag ½·Cd·ρ·πR²·v², so v² = 8·R·g·(ρs − ρ) / (3·Cd·ρ). The density
        // difference is taken from the mass, (m − ρV) / V, not from the
        // rounded density field, so that the balance is exact. The law keeps
        // its exponential form with an equivalent linear coefficient.
        model.quadratic = true;
        const double vlin = model.vlim;
        double excessDensity = 0.0;
        assign(excessDensity, (m - displaced) / sphereVolume(r));
        const double square = 8.0 * r * excessDensity * g / (rho * (3.0 * dragCoefficient));
        if (square >= 0.0)
            assign(model.vlim, std::sqrt(square));
        assign(k, k * vlin / model.vlim);
    }

    assign(model.tau, m / k);
    model.k = k;
    return model;
}

void computeModel(const ParameterFields &fields, SimulationState &state)
{
    const double eta = double(fields.value(ParameterFields::Viscosity));
    const double rho = double(fields.value(ParameterFields::FluidDensity));
    FrictionModel previous;
    previous.vlim = state.vlim;
    previous.reynolds = state.reynolds;
    previous.tau = state.tau;
    const FrictionModel model = frictionModel(radius(fields), mass(fields), rho, eta, previous);
    state.vlim = model.vlim;
    state.reynolds = model.reynolds;
    state.tau = model.tau;
}

void dichotemps(const ParameterFields &fields, SimulationState &state)
{
    if (state.vlim < 0.0)
        return;

    double lo = 0.0;
    double hi = 1e9;
    double t = 10.0;
    bool reached = false;
    for (int halvings = 0;; ++halvings) {
        const float y = float(at(state.vlim, state.tau, t).y);
        // The height is read on every pass, as the field may be the only store.
        const double h = double(fields.value(ParameterFields::Height));
        const double tolerance = h / 1000.0;
        if (std::isfinite(y) && !(std::fabs(h - double(y)) > tolerance)) {
            reached = true;
            break;
        }
        if (halvings >= maxHalvings)
            break;
        if (!std::isfinite(y) || double(y) > h)
            hi = t;
        else
            lo = t;
        const double next = (hi + lo) / 2.0;
        // The bracket cannot shrink any more: the height is out of reach.
        if (next == t)
            break;
        t = next;
    }
    state.tfin = reached ? t : 0.0;

    const double v = at(state.vlim, state.tau, state.tfin).v;
    if (std::isfinite(v))
        state.expvit = std::int16_t(NumberFormat::decimalExponent(double(float(v))));
}

Forces forcesAt(const ParameterFields &fields, double reynolds, double v)
{
    const double r = radius(fields);
    const double rho = double(fields.value(ParameterFields::FluidDensity));
    const double eta = double(fields.value(ParameterFields::Viscosity));

    Forces forces;
    assign(forces.weight, mass(fields) * g);
    assign(forces.thrust, rho * sphereVolume(r) * g);
    if (reynolds > quadraticForceThreshold)
        assign(forces.friction, rho * dragCoefficient * v * v * piShort * r * r / 2.0);
    else
        assign(forces.friction, 6.0 * pi * r * eta * v);
    return forces;
}

} // namespace Motion
