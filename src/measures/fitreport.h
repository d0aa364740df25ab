// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fallfit.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// What a fit says, in French with units and a decimal comma: as text for
// the command and for "copy the results", and as a spreadsheet of the points
// with the model and the residuals.
namespace FitReport {

// "η = 0,967 ± 0,012 Pa·s": value, uncertainty rounded to two significant
// digits, unit. Scripts read the first line of a result in this form.
QString etaLine(double eta, double uncertainty);

// The results, one per line. A fitted result starts with etaLine, then the
// wall-corrected η in the same form when a tube diameter was given, then the
// law fitted ("Modèle : …", with g), the wall correlation and the range the
// fit chose and why; the drag curve's block gives φ at vlim. A result
// without η starts with "η non déterminée : " or "Ajustement impossible : "
// and the reason.
QString text(const FitResult &result);

// The points of set with the fitted model and the residuals: a header row,
// then t (s), y measured (m), y model (m), residual (m), used ("oui"/"non").
QList<QStringList> csvRows(const MeasurementSet &set, const FitResult &result);

// csvRows in the program's CSV form (semicolons, decimal comma, UTF-8 with a
// byte-order mark, CR LF).
QByteArray csvBytes(const MeasurementSet &set, const FitResult &result);

// Writes csvBytes to fileName atomically: the file is replaced only when
// every byte was written, otherwise it is left as it was and error holds
// the French reason.
bool writeCsv(const QString &fileName, const MeasurementSet &set, const FitResult &result,
              QString *error);

} // namespace FitReport
