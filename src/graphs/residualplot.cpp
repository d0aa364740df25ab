// SPDX-License-Identifier: GPL-3.0-or-later
#include "residualplot.h"

#include "measuredplot.h"

#include "core/numberformat.h"
#include "platform/drawingsurface.h"
#include "platform/palette.h"

#include <algorithm>
#include <cmath>

namespace ResidualPlot {

namespace {

constexpr double mmPerM = 1000.0;
constexpr double floorMm = 0.001; // below a micrometre a video cannot see
constexpr double labelX = 436;    // value labels, right of the time axis
constexpr int half = 2;           // markers of 5 × 5 pixels, as on the plot

bool hasResidual(const FitPoint &p)
{
    return std::isfinite(p.residual) && std::isfinite(p.t);
}

QString noResiduals(const FitResult *fit)
{
    if (!fit)
        return QStringLiteral("Résidus : aucun ajustement (« Mesures… », puis « Ajuster »).");
    return QStringLiteral("Résidus : l'ajustement n'a pas abouti.");
}

QString signedText(double mm)
{
    const QString text = NumberFormat::generalDouble(std::abs(mm));
    if (mm > 0)
        return QLatin1Char('+') + text;
    if (mm < 0)
        return QChar(0x2212) + text;
    return text;
}

} // namespace

double fullScale(const FitResult &fit)
{
    double largest = -1.0;
    for (const FitPoint &p : fit.points) {
        if (p.used && hasResidual(p))
            largest = std::max(largest, std::abs(p.residual) * mmPerM);
    }
    if (largest < 0.0)
        return 0.0;
    largest = std::max(largest, floorMm);
    const double decade = std::pow(10.0, std::floor(std::log10(largest)));
    for (double k : {1.0, 2.0, 5.0, 10.0}) {
        // A relative margin, so that a residual of exactly 2 mm keeps 2 mm.
        if (k * decade >= largest * (1.0 - 1e-12))
            return k * decade;
    }
    return 10.0 * decade;
}

double y(double r, double fs)
{
    return zeroY - r * halfSpan / fs;
}

void draw(DrawingSurface &s, const FitResult *fit, const GraphScale &scale)
{
    s.clear();
    s.setDrawWidth(1);
    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(8);
    s.setFontBold(false);
    s.setFontItalic(false);
    s.setForeColor(QBColor(0));
    const QColor grey = QBColor(7);
    const QColor black = QBColor(0);
    const double top = zeroY - halfSpan;
    const double bottom = zeroY + halfSpan;
    const double right = originX + timeSpan;

    const double fs = fit ? fullScale(*fit) : 0.0;
    if (fs <= 0.0) {
        s.setCurrentPoint(originX + 4, zeroY - s.textHeight(QStringLiteral("R")) / 2.0);
        s.print(noResiduals(fit));
        return;
    }

    // The plot's time grid, then ± the full scale, then the axes.
    if (scale.isValid()) {
        const double step = scale.timeDivision() * timeSpan / scale.ft();
        for (double x = originX + step; x <= right + 0.5; x += step)
            s.line(x, top, x, bottom, grey);
    }
    s.line(originX, top, right, top, grey);
    s.line(originX, bottom, right, bottom, grey);
    s.line(originX, top - 4, originX, bottom, black);
    s.line(originX, zeroY, right + 10, zeroY, black);

    if (scale.isValid()) {
        const MeasuredPlot::Offset offset = MeasuredPlot::offsetOf(fit);
        // The left-out points first, so that a used one on the same pixel shows.
        for (bool used : {false, true}) {
            for (const FitPoint &p : fit->points) {
                if (p.used != used || !hasResidual(p))
                    continue;
                // Under the points, which the plot shifts by the release.
                const double x = originX + (p.t - offset.t - scale.t0) * timeSpan / scale.ft();
                const double r = p.residual * mmPerM;
                if (x < originX || x > right || std::abs(r) > fs)
                    continue;
                const double py = y(r, fs);
                if (used)
                    s.box(x - half, py - half, x + half, py + half, MeasuredPlot::markerColour,
                          true);
                else
                    s.box(x - half, py - half, x + half, py + half, MeasuredPlot::excludedColour);
            }
        }
    }

    const int h = s.textHeight(QStringLiteral("0"));
    s.setCurrentPoint(originX + 6, 1);
    s.print(QStringLiteral("Résidu = mesure − modèle (mm)"));
    s.setCurrentPoint(labelX, top - h / 2.0);
    s.print(signedText(fs));
    s.setCurrentPoint(labelX, zeroY - h / 2.0);
    s.print(QStringLiteral("0   t (s)"));
    s.setCurrentPoint(labelX, bottom - h / 2.0);
    s.print(signedText(-fs));
}

QString description(const FitResult *fit)
{
    if (!fit || fullScale(*fit) <= 0.0)
        return noResiduals(fit);
    int used = 0;
    double low = 0.0;
    double high = 0.0;
    for (const FitPoint &p : fit->points) {
        if (!p.used || !hasResidual(p))
            continue;
        const double r = p.residual * mmPerM;
        low = used == 0 ? r : std::min(low, r);
        high = used == 0 ? r : std::max(high, r);
        ++used;
    }
    const int left = int(fit->points.size()) - used;
    QString text = QStringLiteral("Résidus de %1 points ajustés, de %2 mm à %3 mm")
                       .arg(used)
                       .arg(NumberFormat::significant(low, 2), NumberFormat::significant(high, 2));
    if (left == 1)
        text += QStringLiteral(" ; 1 point non utilisé");
    else if (left > 1)
        text += QStringLiteral(" ; %1 points non utilisés").arg(left);
    return text + QLatin1Char('.');
}

} // namespace ResidualPlot
