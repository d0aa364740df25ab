// SPDX-License-Identifier: GPL-3.0-or-later
#include "plotpicking.h"

#include <algorithm>
#include <cmath>

namespace PlotPicking {

double timeAt(const GraphGeometry &geometry, const GraphScale &scale, double x)
{
    return scale.t0 + (x - geometry.originX) * scale.ft() / geometry.timeSpan;
}

bool overTimeAxis(const GraphGeometry &geometry, double x)
{
    return x >= geometry.originX && x <= geometry.originX + geometry.timeSpan;
}

bool isClick(QPoint press, QPoint release)
{
    return std::abs(release.x() - press.x()) <= clickSlop
        && std::abs(release.y() - press.y()) <= clickSlop;
}

int pointAt(const GraphGeometry &geometry, const GraphScale &scale,
            const std::vector<MeasuredPlot::Sample> &samples, QPointF position)
{
    if (!scale.isValid())
        return -1;
    double best = hitRadius * hitRadius;
    int found = -1;
    bool any = false;
    for (const MeasuredPlot::Sample &s : samples) {
        const double dx = geometry.x(s.t, scale) - position.x();
        const double dy = geometry.y(s.value, scale) - position.y();
        const double d2 = dx * dx + dy * dy;
        // Ties go to the first: the earlier point of two on the same pixel.
        if (std::isfinite(d2) && (d2 < best || (!any && d2 <= best))) {
            best = d2;
            found = s.index;
            any = true;
        }
    }
    return found;
}

Range rangeFromDrag(const GraphGeometry &geometry, const GraphScale &scale, double x1, double x2)
{
    const double left = geometry.originX;
    const double right = geometry.originX + geometry.timeSpan;
    const auto held = [left, right](double x) { return std::clamp(x, left, right); };
    const double from = timeAt(geometry, scale, held(std::min(x1, x2)));
    const double to = timeAt(geometry, scale, held(std::max(x1, x2)));
    const double pixel = scale.ft() / geometry.timeSpan;
    const double step = std::pow(10.0, std::floor(std::log10(pixel)));
    const auto rounded = [step](double t) { return std::round(t / step) * step; };
    return {rounded(from), rounded(to)};
}

} // namespace PlotPicking
