// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphscale.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int firstExponent = -7;
constexpr int lastExponent = 10;
constexpr int firstMantissa = 3;
constexpr int lastMantissa = 29;
constexpr double amplitudeThreshold = 1e-6;

// Division step for a mantissa of 3 … 29: 1 up to 9, 2 from 10 to 19, 5 from 20.
int divisionStep(int mantissa)
{
    if (mantissa <= 9)
        return 1;
    if (mantissa <= 19)
        return 2;
    return 5;
}

// Rounds the mantissa up to a multiple of its step (13 -> 14, 29 -> 30).
void roundToStep(std::int16_t &mantissa, int &step)
{
    step = divisionStep(mantissa);
    if (mantissa % step != 0)
        mantissa = std::int16_t((mantissa / step + 1) * step);
}

} // namespace

double GraphScale::ft() const
{
    return mantt * std::pow(10.0, expt);
}

double GraphScale::fv() const
{
    return mantv * std::pow(10.0, expv);
}

double GraphScale::timeDivision() const
{
    return d * std::pow(10.0, expt);
}

double GraphScale::valueDivision() const
{
    return dv * std::pow(10.0, expv);
}

GraphScale chooseScale(double timeRange, double extreme, const ScaleRules &rules)
{
    GraphScale scale;
    const double lo = std::min(0.0, extreme);
    const double hi = std::max(0.0, extreme);
    scale.negatif = lo != 0.0;
    double amplitude = std::max(hi, std::fabs(lo));
    if (amplitude < amplitudeThreshold)
        amplitude = rules.amplitudeFloor;

    for (int e = firstExponent; e <= lastExponent; ++e) {
        const double power = std::pow(10.0, e);
        for (int k = firstMantissa; k <= lastMantissa; ++k) {
            if (scale.mantt == 0 && k * power / timeRange >= 1.0) {
                scale.mantt = std::int16_t(k);
                scale.expt = std::int16_t(e);
            }
        }
        for (int k = firstMantissa; k <= lastMantissa; ++k) {
            if (scale.mantv == 0 && k * power / amplitude >= 1.0) {
                scale.mantv = std::int16_t(k);
                scale.expv = std::int16_t(e);
            }
        }
    }
    if (scale.mantt != 0)
        roundToStep(scale.mantt, scale.d);
    if (scale.mantv != 0) {
        roundToStep(scale.mantv, scale.dv);
        if (scale.negatif && rules.doubleWhenNegative)
            scale.mantv = std::int16_t(scale.mantv * 2);
    }
    return scale;
}
