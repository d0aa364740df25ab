// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/fallfit.h"
#include "referencefall.h"

#include <cmath>
#include <random>

// Measured points of a fall with Gaussian noise, for the tests and the
// benchmark of the fit, reckoned here rather than by the code they test:
// - by default the simulator's law, Stokes's closed form with its constants
//   (g = 9,8, π = 3,1415927, the equivalent quadratic drag with C_D = 0,44
//   above Re 250);
// - with dragCurve, ReferenceFall's integration of the standard drag curve
//   with the added mass, g = 9,81, and the wall factor wall.
struct SimulatedFall
{
    FallSetup setup;
    double eta = 1.0; // Pa·s
    double y0 = 0.02; // m
    double t0 = 0.0;  // release, s
    double firstTime = 0.0;
    double step = 0.5; // s between points
    int count = 40;
    double sigma = 2e-4;    // noise, m
    bool giveSigma = false; // fill MeasuredPoint::sigma
    bool dragCurve = false;
    double wall = 1.0; // with dragCurve: the limit velocity over the free one

    ReferenceFall::Ball ball() const
    {
        ReferenceFall::Ball b;
        b.radius = setup.radius;
        b.fluidDensity = setup.fluidDensity;
        b.density = setup.mass / b.volume();
        b.eta = eta;
        b.wall = wall;
        return b;
    }

    // The simulator's law: y = v·(s − τ·(1 − e^(−s/τ))).
    double stokesFallen(double s) const
    {
        const double pi = 3.1415927, g = 9.8;
        const double r = setup.radius;
        const double excess = setup.mass - setup.fluidDensity * 4.0 / 3.0 * pi * r * r * r;
        double v = excess * g / (6.0 * pi * eta * r);
        if (2.0 * setup.fluidDensity * v * r / eta > 250.0)
            v = std::sqrt(8.0 * r * g * excess / (4.0 / 3.0 * pi * r * r * r)
                          / (3.0 * 0.44 * setup.fluidDensity));
        const double tau = setup.mass * v / (excess * g);
        return v * (s - tau * (1.0 - std::exp(-s / tau)));
    }

    double time(int i) const { return firstTime + i * step; }

    // The distances fallen at the points' times, without noise.
    std::vector<double> fallen() const
    {
        std::vector<double> after, out;
        for (int i = 0; i < count; ++i)
            after.push_back(std::max(0.0, time(i) - t0));
        if (dragCurve)
            return ball().fallen(after);
        for (double s : after)
            out.push_back(s > 0.0 ? stokesFallen(s) : 0.0);
        return out;
    }

    MeasurementSet points(unsigned seed) const { return points(seed, fallen()); }

    // The points with the noise of seed on distances reckoned once.
    MeasurementSet points(unsigned seed, const std::vector<double> &fallen) const
    {
        std::mt19937 engine(seed);
        std::normal_distribution<double> noise(0.0, sigma);
        MeasurementSet set;
        for (int i = 0; i < count; ++i) {
            MeasuredPoint p;
            p.t = time(i);
            p.y = y0 + fallen[size_t(i)] + noise(engine);
            if (giveSigma)
                p.sigma = sigma;
            p.source = i + 2;
            set.points.push_back(p);
        }
        return set;
    }
};

// Glass balls in glycerol, sampled by hand: the transient lasts about 1 ms.
inline FallSetup glassInGlycerol(double radius = 1.5e-3)
{
    FallSetup setup;
    setup.radius = radius;
    setup.mass = FallSetup::massFromDensity(radius, 2500.0);
    setup.fluidDensity = 1260.0;
    return setup;
}
