// SPDX-License-Identifier: GPL-3.0-or-later
#include "frametimes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A stretch long enough that one dropped or doubled frame cannot move its
// median, short enough to catch a ramp of a quarter of a second at 60 images/s.
constexpr int kStretch = 15;
// Phones vary their rate in dim light by up to about a quarter; a gallery ramp
// changes it by the slow-motion factor, 2 at the very least.
constexpr double kRampRatio = 1.8;

double medianOf(QList<double> values)
{
    if (values.isEmpty())
        return 0.0;
    const auto middle = values.begin() + values.size() / 2;
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

QList<double> intervals(const QList<double> &times)
{
    QList<double> gaps;
    for (qsizetype i = 1; i < times.size(); ++i)
        gaps.append(times[i] - times[i - 1]);
    return gaps;
}

} // namespace

namespace FrameTimes {

double medianInterval(const QList<double> &times)
{
    return medianOf(intervals(times));
}

bool hasSpeedRamps(const QList<double> &times)
{
    const QList<double> gaps = intervals(times);
    if (gaps.size() < 2 * kStretch)
        return false;
    double slowest = 0.0;
    double fastest = std::numeric_limits<double>::infinity();
    // Overlapping stretches, so that a ramp is seen wherever it starts.
    for (qsizetype start = 0; start + kStretch <= gaps.size(); start += kStretch / 3) {
        const double median = medianOf(gaps.mid(start, kStretch));
        slowest = std::max(slowest, median);
        fastest = std::min(fastest, median);
    }
    if (!(fastest > 0.0))
        return fastest == 0.0 && slowest > 0.0;
    return slowest / fastest > kRampRatio;
}

double realTimeFactor(double playbackRate, double captureRate)
{
    if (!(captureRate > 0.0) || !(playbackRate > 0.0) || !std::isfinite(captureRate))
        return 1.0;
    const double factor = playbackRate / captureRate;
    return std::abs(factor - 1.0) <= 0.05 ? 1.0 : factor;
}

} // namespace FrameTimes
