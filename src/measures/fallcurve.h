// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fallfit.h"

#include "core/motion.h"

#include <vector>

// The fall of a sphere released at rest, for one viscosity, tabulated once:
// the fit builds one per iteration and reads every point from it.
//
// DragCurve: m_eff·dv/dt = (m − ρ_f·V)·g − 3π·η·d·v·φ(Re), with the added
// mass m_eff = m + ½·ρ_f·V, Re = ρ_f·v·d/η, g = 9,81 m/s². Integrated with
// the classical fourth-order Runge–Kutta method at a step of τ/32 (τ =
// m_eff·v∞ / ((m − ρ_f·V)·g)), the positions between steps by cubic Hermite
// interpolation on the tabulated positions and velocities: both errors are
// below 10⁻⁸ of v∞·τ, far below any measurement. Once the
// velocity is within 10⁻¹² of v∞ the fall goes on at v∞.
// Stokes: the simulator's closed form (Motion::frictionModel and Motion::at).
// The history (Basset) force is not in the law: UsefulPart leaves out the
// part of the fall where it counts.
class FallCurve
{
public:
    struct State
    {
        double y = 0.0; // distance fallen since the release, m
        double v = 0.0; // m/s
    };

    // duration: the longest time after the release that will be asked, s;
    // 0: until the velocity has settled.
    FallCurve(const FallSetup &setup, double eta, FitOptions::Model model, double duration);

    // At s seconds after the release; at rest before it.
    State at(double s) const;

    double vlim() const { return m_vlim; }
    double tau() const { return m_tau; }
    double reynolds() const { return m_reynolds; }
    double dragRatio() const { return m_dragRatio; }
    bool quadratic() const { return m_stokes.quadratic; }
    bool valid() const { return std::isfinite(m_vlim) && m_vlim > 0.0 && std::isfinite(m_tau); }

private:
    void tabulate(const FallSetup &setup, double eta, double duration);

    FitOptions::Model m_model;
    Motion::FrictionModel m_stokes;
    double m_vlim = FitResult::nan;
    double m_tau = FitResult::nan;
    double m_reynolds = FitResult::nan;
    double m_dragRatio = FitResult::nan;
    double m_step = 0.0;
    std::vector<State> m_table; // at 0, h, 2h…
};
