// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one animation tick as the main window runs it: advance the clock,
// write the four read-outs and redraw the scene with its ruler and axis.
#include "scenerig.h"

#include "offscreenmain.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace {

void tick(benchmark::State &state)
{
    SceneRig rig;
    rig.clock.command15_Click();
    for (auto _ : state) {
        rig.clock.Timer1_Timer();
        if (!rig.clock.timerEnabled()) {
            // The fall has ended: start again just after the release.
            rig.clock.state().temps = 0.04;
            rig.clock.setTimerEnabled(true);
        }
        benchmark::DoNotOptimize(rig.picture2.image().constBits());
    }
}
BENCHMARK(tick)->Repetitions(5)->ReportAggregatesOnly();

// The same tick with the four vectors drawn and a chronophotography running
// at one mark per second, each mark freezing a whole sphere and its vectors.
void tickWithVectorsAndRecording(benchmark::State &state)
{
    SceneRig rig;
    rig.options.showForces = true;
    rig.options.showVelocity = true;
    rig.clock.command12_Click();
    for (auto _ : state) {
        rig.clock.Timer1_Timer();
        // The fall has ended, and the recording with it: the camera again
        // starts a new one from the release, over the marks already taken.
        if (!rig.clock.timerEnabled())
            rig.clock.command12_Click();
        benchmark::DoNotOptimize(rig.picture2.image().constBits());
    }
}
BENCHMARK(tickWithVectorsAndRecording);

} // namespace

int main(int argc, char **argv)
{
    return runOffscreenBenchmarks<QApplication>(argc, argv);
}
