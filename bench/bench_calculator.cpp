// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one evaluation of typical calculator expressions, in degrees mode,
// copy of the display text included.

#include "calculator/evaluator.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

void BM_evalue(benchmark::State &state, const char *expression)
{
    Evaluator evaluator;
    const QString text = QString::fromLatin1(expression);
    int code = 0;
    for (auto _ : state) {
        QString working = text;
        evaluator.evalue(working, code, Evaluator::Degrees);
        benchmark::DoNotOptimize(working);
    }
    if (code != Evaluator::Success)
        state.SkipWithError("evaluation failed");
}

} // namespace

BENCHMARK_CAPTURE(BM_evalue, sum, "2 + 3");
BENCHMARK_CAPTURE(BM_evalue, four_operators, "12.5 * 4 - 3 / 2 + 7");
BENCHMARK_CAPTURE(BM_evalue, powers, "2 ^ 3 ^ 2");
BENCHMARK_CAPTURE(BM_evalue, sine, "sin 30");
BENCHMARK_CAPTURE(BM_evalue, function_of_group, "2 * sin (60 + 30)");
BENCHMARK_CAPTURE(BM_evalue, logarithm_of_group, "ln (2 + 3)");
BENCHMARK_CAPTURE(BM_evalue, signed_group, "3 - (-5)");
BENCHMARK_CAPTURE(BM_evalue, unit_prefixes, "9.81 * 2E-3 * 5 ^ 2 / 2");
BENCHMARK_CAPTURE(BM_evalue, pythagoras, "SQR (3 ^ 2 + 4 ^ 2)");
BENCHMARK_CAPTURE(BM_evalue, inverse_functions, "invSIN 0.5 + invCOS 0.5");
BENCHMARK_CAPTURE(BM_evalue, two_groups, "(1.5E+3 - 2.5E+2) / (4.7E-6 * 3.14159265358979)");
BENCHMARK_CAPTURE(BM_evalue, nested, "exp (-2 / (0.5 + log 100)) * 10 ^ 3");

BENCHMARK_MAIN();
