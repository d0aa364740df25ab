// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of the graphs: one segment of the small graph, as each animation tick
// draws it, and a full redraw of the graph window with its table of values,
// as each change of quantity or of the asymptote box runs it.
#include "graphwindowrig.h"
#include "scenerig.h"

#include "core/motion.h"
#include "graphs/graphes.h"
#include "graphs/smallgraph.h"

#include "offscreenmain.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

void tracegraphe(benchmark::State &run)
{
    DefaultFall fall;
    DrawingSurface frame1(357, 261);
    SmallGraph graph(frame1, fall.state(), fall.optionsSource());
    fall.reset(DisplayOptions::Velocity);
    graph.repgraphe();
    SimulationState &s = fall.state();
    for (auto _ : run) {
        // One tick's step; the fall starts over at its end.
        s.temps += 0.04;
        if (s.temps > s.tfin) {
            s.temps = 0.04;
            graph.repgraphe();
        }
        Motion::evaluate(s);
        graph.tracegraphe();
        benchmark::DoNotOptimize(frame1.currentX());
    }
}
BENCHMARK(tracegraphe);

// One full tick as the main window runs it at the default parameters: the
// clock and the motion law, the scene with its ruler and axis, the small
// graph's segment and the four read-outs.
void tickWithGraph(benchmark::State &run)
{
    SceneRig rig;
    DrawingSurface frame1(357, 261);
    SmallGraph graph(frame1, rig.clock.state(), [&rig] { return rig.options; });
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
BENCHMARK(tickWithGraph)->Repetitions(5)->ReportAggregatesOnly();

void graphWindowRedraw(benchmark::State &run)
{
    GraphWindowRig rig(DisplayOptions::Velocity);
    for (auto _ : run) {
        rig.window.tracegraphe();
        benchmark::DoNotOptimize(rig.window.scale().mantt);
    }
}
BENCHMARK(graphWindowRedraw)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks<QApplication>(argc, argv);
}
