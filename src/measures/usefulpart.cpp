// SPDX-License-Identifier: GPL-3.0-or-later
#include "usefulpart.h"

#include "fallcurve.h"
#include "terminalvelocity.h"

#include "core/numberformat.h"

#include <algorithm>
#include <cmath>

namespace {

// Positions within this many noise deviations of each other do not move.
constexpr double restNoise = 4.0;
// …nor within this fraction of the whole drop, for exact (noiseless) tables.
constexpr double restFraction = 1e-7;
constexpr double approach = 0.99;

double restTolerance(const std::vector<FitSolver::Sample> &samples)
{
    double low = samples.front().y, high = low;
    for (const FitSolver::Sample &s : samples) {
        low = std::min(low, s.y);
        high = std::max(high, s.y);
    }
    return std::max(restNoise * UsefulPart::noise(samples), restFraction * (high - low));
}

QString seconds(double value)
{
    return NumberFormat::significant(value, 3) + QStringLiteral(" s");
}

} // namespace

namespace UsefulPart {

double noise(const std::vector<FitSolver::Sample> &samples)
{
    if (samples.size() < 3)
        return 0.0;
    std::vector<double> second;
    for (size_t i = 1; i + 1 < samples.size(); ++i)
        second.push_back(std::fabs(samples[i + 1].y - 2.0 * samples[i].y + samples[i - 1].y));
    const auto middle = second.begin() + std::ptrdiff_t(second.size() / 2);
    std::nth_element(second.begin(), middle, second.end());
    // A second difference of independent noise has the deviation σ·√6, and
    // the median of |N(0, s)| is 0,6745·s.
    return *middle / 0.6745 / std::sqrt(6.0);
}

Ends ends(const std::vector<FitSolver::Sample> &samples, double ballDiameter)
{
    Ends found;
    found.stopIndex = samples.size();
    if (samples.size() < 3)
        return found;
    const double tolerance = restTolerance(samples);
    size_t rest = 1;
    while (rest < samples.size() && std::fabs(samples[rest].y - samples.front().y) <= tolerance)
        ++rest;
    found.restCount = rest >= 2 ? rest : 0;

    const double bottom = samples.back().y;
    size_t stop = samples.size() - 1;
    while (stop > found.restCount && std::fabs(samples[stop - 1].y - bottom) <= tolerance)
        --stop;
    if (samples.size() - stop < 3)
        return found;
    // The bottom slows the ball about a diameter above where it stops.
    while (stop > found.restCount && samples[stop - 1].y > bottom - ballDiameter)
        --stop;
    // Every point lies within a diameter of the bottom, none at rest before:
    // no fall to keep before the end, so none is left out.
    if (stop == 0)
        return found;
    found.stopIndex = stop;
    found.endReason = QStringLiteral("la bille ne bouge plus après %1 (fond du tube ou bord de "
                                     "l'image) : ces points et ceux du dernier diamètre de bille "
                                     "avant l'arrêt sont exclus")
                          .arg(seconds(samples[stop].t));
    return found;
}

double transientEnd(const FallSetup &setup, double eta, double t0, QString *reason)
{
    const FitOptions::Model model = FitOptions::Model::DragCurve;
    const double vInf = TerminalVelocity::of(setup, eta, model);
    const FallCurve curve(setup, eta, model, 0.0);
    // The law's velocity grows monotonically: bisection on its time to 99 %.
    double lo = 0.0, hi = curve.tau();
    while (curve.at(hi).v < approach * vInf && hi < 1e6 * curve.tau())
        hi *= 2.0;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        (curve.at(mid).v < approach * vInf ? lo : hi) = mid;
    }
    const double oseen = eta / setup.fluidDensity / (vInf * vInf);
    if (reason) {
        *reason = oseen > hi
            ? QStringLiteral("début exclu jusqu'à t₀ + ν/v∞² = t₀ + %1 : la force d'histoire "
                             "(Basset), absente du modèle, y ralentit encore la bille")
                  .arg(seconds(oseen))
            : QStringLiteral("début exclu jusqu'à ce que le modèle atteigne 99 % de v∞ (t₀ + "
                             "%1) : la force d'histoire (Basset), absente du modèle, y ralentit "
                             "la bille")
                  .arg(seconds(hi));
    }
    return t0 + std::max(oseen, hi);
}

} // namespace UsefulPart
