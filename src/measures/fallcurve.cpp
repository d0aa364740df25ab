// SPDX-License-Identifier: GPL-3.0-or-later
#include "fallcurve.h"

#include "dragcurve.h"
#include "terminalvelocity.h"

#include <cmath>

namespace {

constexpr double stepsPerTau = 32.0;
constexpr double settledVelocity = 1e-12;
// A table never holds more states than this. The velocity settles within
// about 30 τ (a thousand steps) whatever the regime: this only bounds memory.
constexpr size_t maxStates = 200000;

} // namespace

FallCurve::FallCurve(const FallSetup &setup, double eta, FitOptions::Model model, double duration)
    : m_model(model)
{
    if (model == FitOptions::Model::Stokes) {
        Motion::FrictionModel unknown;
        unknown.vlim = unknown.reynolds = unknown.tau = FitResult::nan;
        m_stokes
            = Motion::frictionModel(setup.radius, setup.mass, setup.fluidDensity, eta, unknown);
        m_vlim = m_stokes.vlim;
        m_tau = m_stokes.tau;
        m_reynolds = m_stokes.reynolds;
        m_dragRatio = 1.0;
        return;
    }
    tabulate(setup, eta, duration);
}

void FallCurve::tabulate(const FallSetup &setup, double eta, double duration)
{
    const double g = TerminalVelocity::gravity(FitOptions::Model::DragCurve);
    const double volume = Motion::sphereVolume(setup.radius);
    const double weight = Motion::excessWeight(setup.radius, setup.mass, setup.fluidDensity, g);
    const double inertia = setup.mass + 0.5 * setup.fluidDensity * volume;
    const double d = 2.0 * setup.radius;
    m_vlim = TerminalVelocity::of(setup, eta, FitOptions::Model::DragCurve);
    if (!(m_vlim > 0.0) || !std::isfinite(m_vlim))
        return;
    m_reynolds = setup.fluidDensity * m_vlim * d / eta;
    m_dragRatio = DragCurve::ratio(m_reynolds);
    m_tau = inertia * m_vlim / weight;
    if (!std::isfinite(m_tau) || !(m_tau > 0.0))
        return;

    const double stokes = 3.0 * Motion::pi * eta * d;
    const double reynoldsPerVelocity = setup.fluidDensity * d / eta;
    auto acceleration = [&](double v) {
        return (weight - stokes * v * DragCurve::ratio(reynoldsPerVelocity * v)) / inertia;
    };
    m_step = m_tau / stepsPerTau;
    m_table.clear();
    m_table.push_back({0.0, 0.0});
    const double h = m_step;
    while (true) {
        const State s = m_table.back();
        if (m_vlim - s.v <= settledVelocity * m_vlim
            || (duration > 0.0 && double(m_table.size() - 1) * h > duration)
            || m_table.size() >= maxStates)
            break;
        // dy/dt = v, dv/dt = a(v): the classical Runge–Kutta stages.
        const double k1 = acceleration(s.v);
        const double k2 = acceleration(s.v + 0.5 * h * k1);
        const double k3 = acceleration(s.v + 0.5 * h * k2);
        const double k4 = acceleration(s.v + h * k3);
        const double y = s.y + h * (s.v + h / 6.0 * (k1 + k2 + k3));
        const double v = s.v + h / 6.0 * (k1 + 2.0 * k2 + 2.0 * k3 + k4);
        m_table.push_back({y, v});
    }
}

FallCurve::State FallCurve::at(double s) const
{
    if (!(s > 0.0))
        return {};
    if (m_model == FitOptions::Model::Stokes) {
        const Motion::Point p = Motion::at(m_vlim, m_tau, s);
        return {p.y, p.v};
    }
    if (m_table.empty())
        return {FitResult::nan, FitResult::nan};
    const double position = s / m_step;
    const size_t last = m_table.size() - 1;
    if (!(position < double(last))) {
        // Past the table: the velocity has settled (or the time was not asked
        // for when tabulating); the ball goes on at its last velocity.
        const State end = m_table.back();
        const double v = m_vlim - end.v <= settledVelocity * m_vlim ? m_vlim : end.v;
        return {end.y + v * (s - double(last) * m_step), v};
    }
    const size_t k = size_t(position);
    const double x = position - double(k);
    const State a = m_table[k];
    const State b = m_table[k + 1];
    const double h = m_step;
    const double x2 = x * x, x3 = x2 * x;
    const double y = (2.0 * x3 - 3.0 * x2 + 1.0) * a.y + (x3 - 2.0 * x2 + x) * h * a.v
        + (-2.0 * x3 + 3.0 * x2) * b.y + (x3 - x2) * h * b.v;
    const double v = (6.0 * x2 - 6.0 * x) * (a.y - b.y) / h + (3.0 * x2 - 4.0 * x + 1.0) * a.v
        + (3.0 * x2 - 2.0 * x) * b.v;
    return {y, v};
}
