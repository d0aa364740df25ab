// SPDX-License-Identifier: GPL-3.0-or-later
#include "dragcurve.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double blendFrom = 15.0;
constexpr double blendTo = 27.0;
constexpr double newtonDrag = 0.44;
constexpr double ln10 = 2.302585092994046;

double fromDragCoefficient(double logDrag, double reynolds)
{
    return std::pow(10.0, logDrag) * reynolds / 24.0;
}

} // namespace

namespace DragCurve {

double oseen(double reynolds)
{
    return 1.0 + 3.0 * reynolds / 16.0;
}

// Written with exp and log rather than pow: the fit evaluates the curve four
// times per integration step, and glibc's pow is several times slower.
double lowReynolds(double reynolds)
{
    const double l = std::log(reynolds);
    return 1.0 + 0.1315 * std::exp((0.82 - 0.05 / ln10 * l) * l);
}

double midReynolds(double reynolds)
{
    return 1.0 + 0.1935 * std::exp(0.6305 * std::log(reynolds));
}

double highReynolds(double reynolds)
{
    const double w = std::log10(reynolds);
    if (reynolds <= 1500.0)
        return fromDragCoefficient(1.6435 - 1.1242 * w + 0.1558 * w * w, reynolds);
    if (reynolds <= 1.2e4)
        return fromDragCoefficient(-2.4571 + 2.5558 * w - 0.9295 * w * w + 0.1049 * w * w * w,
                                   reynolds);
    return newtonDrag * reynolds / 24.0;
}

double ratio(double reynolds)
{
    if (!(reynolds > 0.01))
        return reynolds > 0.0 ? oseen(reynolds) : 1.0;
    if (reynolds <= blendFrom)
        return lowReynolds(reynolds);
    if (reynolds < blendTo) {
        const double x = std::log(reynolds / blendFrom) / std::log(blendTo / blendFrom);
        const double s = x * x * (3.0 - 2.0 * x);
        return (1.0 - s) * lowReynolds(reynolds) + s * midReynolds(reynolds);
    }
    if (reynolds <= 260.0)
        return midReynolds(reynolds);
    return highReynolds(reynolds);
}

} // namespace DragCurve
