// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/uncertainty.h"

#include <cmath>
#include <vector>

// A steel ball in glycerine with the Stokes law η = 2r²(ρs − ρf)g/(9v): the
// closed form whose derivatives the uncertainty tests write by hand.
namespace StokesCase {

enum Input { Radius, SphereDensity, FluidDensity, Velocity, Gravity };

inline double stokes(const std::vector<double> &x)
{
    if (!(x[SphereDensity] > x[FluidDensity]) || !(x[Velocity] > 0.0))
        return std::nan("");
    return 2.0 * x[Radius] * x[Radius] * (x[SphereDensity] - x[FluidDensity]) * x[Gravity]
        / (9.0 * x[Velocity]);
}

inline std::vector<UncertainInput> stokesInputs()
{
    using D = UncertainInput::Distribution;
    using T = UncertainInput::Type;
    std::vector<UncertainInput> inputs(5);
    inputs[Radius] = {QStringLiteral("rayon de la bille"),
                      2e-3,
                      1e-5,
                      QStringLiteral("mm"),
                      1e-3,
                      D::Normal,
                      T::B,
                      false};
    inputs[SphereDensity] = {QStringLiteral("masse volumique de la bille"),
                             7800.0,
                             20.0,
                             QStringLiteral("kg/m³"),
                             1.0,
                             D::Normal,
                             T::B,
                             false};
    inputs[FluidDensity] = {QStringLiteral("masse volumique du fluide"),
                            1260.0,
                            3.0,
                            QStringLiteral("kg/m³"),
                            1.0,
                            D::Uniform,
                            T::B,
                            false};
    inputs[Velocity] = {QStringLiteral("vitesse limite"),
                        0.047,
                        2e-4,
                        QStringLiteral("m/s"),
                        1.0,
                        D::Normal,
                        T::A,
                        false};
    inputs[Gravity]
        = {QStringLiteral("g"), 9.81, 0.0, QStringLiteral("m/s²"), 1.0, D::Normal, T::B, true};
    return inputs;
}

// ∂η/∂x_i of the Stokes law, by hand: η·(2/r, 1/(ρs − ρf), −1/(ρs − ρf), −1/v, 1/g).
inline double stokesDerivative(const std::vector<UncertainInput> &in, int i)
{
    std::vector<double> x;
    for (const UncertainInput &input : in)
        x.push_back(input.value);
    const double eta = stokes(x);
    const double difference = x[SphereDensity] - x[FluidDensity];
    switch (i) {
    case Radius:
        return 2.0 * eta / x[Radius];
    case SphereDensity:
        return eta / difference;
    case FluidDensity:
        return -eta / difference;
    case Velocity:
        return -eta / x[Velocity];
    default:
        return eta / x[Gravity];
    }
}

} // namespace StokesCase
