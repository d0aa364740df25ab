// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <QtGlobal>

// The main() of the benchmarks that paint: an App (QGuiApplication, or
// QApplication for widgets) on the off-screen platform, so that they run
// without a display, then the benchmarks the command line selects. Returns
// 1 for an argument neither Qt nor Google Benchmark knows.
template<typename App>
int runOffscreenBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
