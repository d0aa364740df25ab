// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/fallfit.h"

class QPainter;
class QRectF;

// A trial's graph for the report: the measured positions (cm) against time
// with the fitted model's curve, and under it the residuals (mm) of the
// points the fit used, on the same time axis.
namespace TrialPlot {

// Paints fit's points and curve inside rect (white background); a fit
// without points paints the frame alone.
void paint(QPainter &painter, const QRectF &rect, const FitResult &fit);

} // namespace TrialPlot
