// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/fallfit.h"

#include <random>

// Measured points made with the program's own law of the fall and Gaussian
// noise, for the tests and the benchmark of the fit.
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

    MeasurementSet points(unsigned seed) const
    {
        std::mt19937 engine(seed);
        std::normal_distribution<double> noise(0.0, sigma);
        MeasurementSet set;
        for (int i = 0; i < count; ++i) {
            MeasuredPoint p;
            p.t = firstTime + i * step;
            p.y = FallFit::modelAt(setup, eta, y0, t0, p.t) + noise(engine);
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
