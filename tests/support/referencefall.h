// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <functional>
#include <vector>

// An independent reckoning of a sphere's fall, for the tests' expected values:
// written from the published laws, sharing no code with the measures library.
namespace ReferenceFall {

inline constexpr double pi = 3.14159265358979;

// The standard drag curve, C_D·Re/24 (Clift, Grace and Weber), the pieces
// around Re 20 joined by the smooth step on log Re from 15 to 27 that the
// program states it uses.
inline double dragRatio(double re)
{
    const auto low
        = [](double r) { return 1.0 + 0.1315 * std::pow(r, 0.82 - 0.05 * std::log10(r)); };
    const auto mid = [](double r) { return 1.0 + 0.1935 * std::pow(r, 0.6305); };
    if (re <= 0.01)
        return 1.0 + 3.0 * re / 16.0;
    if (re <= 15.0)
        return low(re);
    if (re < 27.0) {
        const double x = std::log(re / 15.0) / std::log(27.0 / 15.0);
        const double s = x * x * (3.0 - 2.0 * x);
        return (1.0 - s) * low(re) + s * mid(re);
    }
    if (re <= 260.0)
        return mid(re);
    const double w = std::log10(re);
    return std::pow(10.0, 1.6435 - 1.1242 * w + 0.1558 * w * w) * re / 24.0;
}

// A ball released at rest: m_eff·dv/dt = (m − ρV)·g − 3π·η·d·(v/f)·φ(ρ·(v/f)·d/η),
// m_eff = m + ½ρV. f is the wall factor: it makes the limit velocity f times
// the free one.
struct Ball
{
    double radius = 1e-3;         // m
    double density = 7800.0;      // kg/m³
    double fluidDensity = 1260.0; // kg/m³
    double eta = 1.0;             // Pa·s
    double wall = 1.0;            // f
    double g = 9.81;

    double volume() const { return 4.0 / 3.0 * pi * radius * radius * radius; }
    double mass() const { return density * volume(); }
    double drag(double v) const
    {
        const double free = v / wall;
        return 3.0 * pi * eta * 2.0 * radius * free
            * dragRatio(fluidDensity * free * 2.0 * radius / eta);
    }
    double acceleration(double v) const
    {
        return ((mass() - fluidDensity * volume()) * g - drag(v))
            / (mass() + 0.5 * fluidDensity * volume());
    }
    // The free fall's limit velocity, by bisection on the drag.
    double freeLimit() const
    {
        Ball free = *this;
        free.wall = 1.0;
        double lo = 0.0, hi = 1e3;
        const double weight = (mass() - fluidDensity * volume()) * g;
        for (int i = 0; i < 200; ++i)
            (free.drag(0.5 * (lo + hi)) < weight ? lo : hi) = 0.5 * (lo + hi);
        return 0.5 * (lo + hi);
    }
    double reynolds() const { return fluidDensity * freeLimit() * 2.0 * radius / eta; }

    // Distances fallen at the times (s after the release, increasing), by
    // Runge–Kutta steps of at most a thousandth of the start's time scale,
    // each time reached exactly.
    std::vector<double> fallen(const std::vector<double> &times) const
    {
        const double limit = freeLimit();
        const double scale = limit / std::fabs(acceleration(0.0));
        const double h = scale / 1000.0;
        std::vector<double> out;
        double t = 0.0, y = 0.0, v = 0.0;
        for (double target : times) {
            while (t < target) {
                const double step = std::min(h, target - t);
                const double a1 = acceleration(v);
                const double a2 = acceleration(v + 0.5 * step * a1);
                const double a3 = acceleration(v + 0.5 * step * a2);
                const double a4 = acceleration(v + step * a3);
                y += step * (v + step * (a1 + a2 + a3) / 6.0);
                v += step * (a1 + 2.0 * a2 + 2.0 * a3 + a4) / 6.0;
                t += step;
                // Settled: the rest is a straight line.
                if (std::fabs(a1) * scale < 1e-13 * limit) {
                    y += v * (target - t);
                    t = target;
                }
            }
            out.push_back(target > 0.0 ? y : 0.0);
        }
        return out;
    }
};

} // namespace ReferenceFall
