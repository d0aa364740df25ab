// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the graph window's redraw with a large measured fall: 10 000
// points over the model's curve, with the residuals of a fit under the plot,
// as each change of quantity, exclusion or fit range runs it; and of the
// main window's tick while the small graph shows those points.
#include "fakefields.h"
#include "graphwindowrig.h"
#include "scenerig.h"
#include "scriptedservices.h"

#include "core/motion.h"
#include "graphs/smallgraph.h"
#include "measures/measurementholder.h"

#include "offscreenmain.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <random>

namespace {

constexpr int pointCount = 10000;

// The default fall sampled pointCount times, with 0,2 mm of noise; every
// hundredth point left out, as a user's clicks would.
MeasurementSet noisyFall(const SimulationState &s)
{
    std::mt19937 engine(7);
    std::normal_distribution<double> noise(0.0, 2e-4);
    MeasurementSet set;
    set.sourceName = QStringLiteral("chute.csv");
    for (int i = 0; i < pointCount; ++i) {
        MeasuredPoint p;
        p.t = s.tfin * i / (pointCount - 1);
        p.y = Motion::at(s.vlim, s.tau, p.t).y + noise(engine);
        p.source = i + 2;
        if (i % 100 == 99)
            p.exclusion = MeasuredPoint::Exclusion::User;
        set.points.push_back(p);
    }
    return set;
}

// The residuals against the model the points were made with.
FitResult residualsOf(const MeasurementSet &set, const SimulationState &s)
{
    FitResult fit;
    fit.status = FitResult::Status::Fitted;
    for (size_t i = 0; i < set.points.size(); ++i) {
        const MeasuredPoint &p = set.points[i];
        const double model = Motion::at(s.vlim, s.tau, p.t).y;
        fit.points.push_back({int(i), p.t, p.y, model, p.y - model, p.included()});
    }
    return fit;
}

void redrawWithMeasures(benchmark::State &run, int quantity)
{
    MeasurementHolder holder; // outlives the window that draws it
    GraphWindowRig rig(quantity, false, GraphWindowRig::Show::Later);
    const SimulationState &state = rig.state();
    rig.window.setMeasurements(&holder);
    holder.setSet(noisyFall(state));
    holder.setFit(residualsOf(holder.set(), state));
    holder.setFitRange({0.1 * state.tfin, 0.9 * state.tfin});
    rig.window.show();
    for (auto _ : run) {
        rig.window.tracegraphe();
        benchmark::DoNotOptimize(rig.image().constBits());
    }
}

void positionWith10000Points(benchmark::State &run)
{
    redrawWithMeasures(run, DisplayOptions::Position);
}
BENCHMARK(positionWith10000Points)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void velocityWith10000Points(benchmark::State &run)
{
    redrawWithMeasures(run, DisplayOptions::Velocity);
}
BENCHMARK(velocityWith10000Points)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// One full tick of the main window (clock, motion law, scene, read-outs and
// the small graph's segment) with the 10 000 points on the small graph. The
// points are drawn by repgraphe, at each start of the fall, and that cost is
// spread over the fall's ticks as the user sees it; the aim is the same
// ~100 µs as the tick without points (bench_graphs' tickWithGraph).
void tickWith10000Points(benchmark::State &run)
{
    SceneRig rig;
    MeasurementHolder holder;
    holder.setSet(noisyFall(rig.clock.state()));
    DrawingSurface frame1(357, 261);
    SmallGraph graph(frame1, rig.clock.state(), [&rig] { return rig.options; });
    graph.setMeasurements(&holder);
    rig.scene.setTracegraphe([&graph] { graph.tracegraphe(); });
    graph.repgraphe();
    rig.clock.command15_Click();
    for (auto _ : run) {
        rig.clock.Timer1_Timer();
        if (!rig.clock.timerEnabled()) {
            rig.clock.state().temps = 0.04;
            rig.clock.setTimerEnabled(true);
            graph.repgraphe();
        }
        benchmark::DoNotOptimize(frame1.image().constBits());
    }
}
BENCHMARK(tickWith10000Points)->Repetitions(5)->ReportAggregatesOnly();

// The small graph's redraw with the points, as a reset or a new fit runs it.
void smallGraphRedrawWith10000Points(benchmark::State &run)
{
    FakeFields fields;
    AnimationView view;
    AnimationClock clock(fields, view);
    clock.command18_Click();
    MeasurementHolder holder;
    holder.setSet(noisyFall(clock.state()));
    DrawingSurface frame1(357, 261);
    DisplayOptions options;
    SmallGraph graph(frame1, clock.state(), [&] { return options; });
    graph.setMeasurements(&holder);
    for (auto _ : run) {
        graph.repgraphe();
        benchmark::DoNotOptimize(frame1.image().constBits());
    }
}
BENCHMARK(smallGraphRedrawWith10000Points)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks<QApplication>(argc, argv);
}
