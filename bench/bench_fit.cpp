// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the fall fit: 10 000 filmed points through the transient, with
// the release instant fitted, start values included; with the standard drag
// curve (the default, the useful part found from the points) and with the
// simulator's Stokes law.
#include "measures/fallfit.h"
#include "simulatedfall.h"

#include <benchmark/benchmark.h>

namespace {

SimulatedFall filmedFall(bool dragCurve)
{
    SimulatedFall fall;
    fall.setup.radius = 1e-3;
    fall.setup.mass = FallSetup::massFromDensity(1e-3, 7800.0);
    fall.setup.fluidDensity = 900.0;
    fall.eta = 0.5;
    fall.step = 1e-3;
    fall.count = 10000;
    fall.t0 = 0.0123;
    fall.sigma = 2e-4;
    fall.dragCurve = dragCurve;
    return fall;
}

void fitTenThousandPoints(benchmark::State &state, FitOptions::Model model)
{
    const SimulatedFall fall = filmedFall(model == FitOptions::Model::DragCurve);
    const MeasurementSet set = fall.points(1);
    FitOptions options;
    options.fitReleaseTime = true;
    options.model = model;
    for (auto _ : state) {
        const FitResult result = FallFit::fit(set, fall.setup, options);
        if (!result.t0Fitted || !result.hasEta())
            state.SkipWithError("t0 was not fitted");
        benchmark::DoNotOptimize(result.eta);
    }
}

void dragCurve(benchmark::State &state)
{
    fitTenThousandPoints(state, FitOptions::Model::DragCurve);
}

void stokes(benchmark::State &state)
{
    fitTenThousandPoints(state, FitOptions::Model::Stokes);
}

BENCHMARK(dragCurve)->Unit(benchmark::kMillisecond);
BENCHMARK(stokes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
