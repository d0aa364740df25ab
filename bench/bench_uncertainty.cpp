// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the Monte-Carlo propagation: 10 000 draws of a steel ball in
// glycerine, η re-derived from v_lim at every draw, with a closed form and
// with a measurand that solves for η itself (60 halvings per draw, as a
// drag-curve model inverted numerically would).
#include "measures/montecarlo.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

std::vector<UncertainInput> steelInGlycerine()
{
    using D = UncertainInput::Distribution;
    using T = UncertainInput::Type;
    return {
        {QStringLiteral("rayon de la bille"), 2e-3, 1e-5, QStringLiteral("mm"), 1e-3, D::Normal,
         T::B, false},
        {QStringLiteral("masse volumique de la bille"), 7800.0, 20.0, QStringLiteral("kg/m³"), 1.0,
         D::Normal, T::B, false},
        {QStringLiteral("masse volumique du fluide"), 1260.0, 3.0, QStringLiteral("kg/m³"), 1.0,
         D::Uniform, T::B, false},
        {QStringLiteral("vitesse limite"), 0.047, 2e-4, QStringLiteral("m/s"), 1.0, D::Normal, T::A,
         false},
    };
}

double stokes(const std::vector<double> &x)
{
    return 2.0 * x[0] * x[0] * (x[1] - x[2]) * 9.81 / (9.0 * x[3]);
}

// η such that the terminal velocity with the drag 3πηd·v·(1 + 0,15·Re^0,687)
// is the drawn one, by bisection on log η.
double solved(const std::vector<double> &x)
{
    const double r = x[0], v = x[3];
    const double weight = (x[1] - x[2]) * 9.81 * 4.0 / 3.0 * std::numbers::pi * r * r * r;
    double low = std::log(1e-5), high = std::log(1e3);
    for (int i = 0; i < 60; ++i) {
        const double eta = std::exp(0.5 * (low + high));
        const double re = x[2] * v * 2.0 * r / eta;
        const double drag
            = 6.0 * std::numbers::pi * eta * r * v * (1.0 + 0.15 * std::pow(re, 0.687));
        (drag > weight ? high : low) = std::log(eta);
    }
    return std::exp(0.5 * (low + high));
}

void tenThousandDraws(benchmark::State &state, double (*measurand)(const std::vector<double> &))
{
    const std::vector<UncertainInput> inputs = steelInGlycerine();
    for (auto _ : state) {
        const MonteCarloResult result = MonteCarlo::run(inputs, measurand, 10000);
        if (!result.ok)
            state.SkipWithError("the draws failed");
        benchmark::DoNotOptimize(result.high);
    }
}
BENCHMARK_CAPTURE(tenThousandDraws, stokes, stokes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(tenThousandDraws, solved, solved)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
