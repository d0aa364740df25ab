// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/measurementholder.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// What the measures window writes out: the inputs a fit was made with, for
// "Copier les résultats" and the export, and the export itself, a table
// that the window and lorva-mesures read back as they read a tracker's.
namespace MesuresExport {

// One French line per input: the data, the ball, the fluid, the tube (each
// with its "±" when one is typed, and ", loi rectangulaire" after a
// half-width typed "a/√3"), the range, the release, the model and
// the points left out, as typed in the window's units.
QStringList inputLines(const MeasurementSet &set, const MeasureInputs &inputs,
                       const FitRange &range);

// The export: the title, inputLines and the results' lines as one-cell
// lines before the table (a reader takes them for the title), then a names
// row "t;y;résidu", a units row "s;m;mm" and one row per point: its time,
// its measured position (empty where the ball was lost) and the fit's
// residual (empty for a point the fit did not use). Semicolons and decimal
// commas (the program's CSV form).
QList<QStringList> rows(const MeasurementSet &set, const FitResult &result,
                        const MeasureInputs &inputs, const FitRange &range);
QByteArray bytes(const MeasurementSet &set, const FitResult &result, const MeasureInputs &inputs,
                 const FitRange &range);
// The same with the result's lines as the window shows them (the combined
// uncertainty, its budget, the Monte-Carlo result, the reference) in place
// of the fit's own.
QList<QStringList> rows(const MeasurementSet &set, const FitResult &result,
                        const QStringList &resultLines, const MeasureInputs &inputs,
                        const FitRange &range);
QByteArray bytes(const MeasurementSet &set, const FitResult &result, const QStringList &resultLines,
                 const MeasureInputs &inputs, const FitRange &range);

} // namespace MesuresExport
