// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of reading a table of measurements: 100 000 rows as a video tool
// writes them (tab, decimal point) and as a French spreadsheet does
// (semicolon, decimal comma, quoted cells), then turning one into points.
#include "measures/columnchoice.h"
#include "measures/measurementreader.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int rows = 100000;

QByteArray table(bool french)
{
    QByteArray bytes = french ? "\"t (s)\";\"x (m)\";\"y (m)\"\r\n" : "t\tx\ty\n(s)\t(m)\t(m)\n";
    for (int i = 0; i < rows; ++i) {
        const double t = i * 0.004;
        const double y = -0.004 * i + 0.1 * (1.0 - 1.0 / (1.0 + i));
        QByteArray row = QByteArray::number(t, 'f', 4) + '\t'
            + QByteArray::number(0.1 + 1e-6 * i, 'g', 6) + '\t' + QByteArray::number(y, 'E', 6)
            + '\n';
        if (french) {
            row.replace('.', ',');
            row.replace('\t', "\";\"");
            row = '"' + row.chopped(1) + "\"\r\n";
        }
        bytes += row;
    }
    return bytes;
}

void readTable(benchmark::State &state, bool french)
{
    const QByteArray bytes = table(french);
    for (auto _ : state) {
        MeasurementReader reader;
        if (!reader.read(bytes)) {
            state.SkipWithError(qPrintable(reader.errorString()));
            return;
        }
        benchmark::DoNotOptimize(reader.table().rowCount());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void readTracker(benchmark::State &state)
{
    readTable(state, false);
}

void readSpreadsheet(benchmark::State &state)
{
    readTable(state, true);
}

void toPoints(benchmark::State &state)
{
    MeasurementReader reader;
    reader.read(table(false));
    const MeasurementTable &measured = reader.table();
    const ColumnChoice choice = defaultChoice(measured);
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(toMeasurementSet(measured, choice, &error));
    }
}

} // namespace

BENCHMARK(readTracker)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(readSpreadsheet)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(toPoints)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
