// SPDX-License-Identifier: GPL-3.0-or-later
#include "glycerinereference.h"

#include "core/numberformat.h"

#include <cmath>

namespace GlycerineReference {

namespace {

// log μ in mPa·s, which the bisection of the inverse works on.
double logViscosity(double celsius, double waterFraction)
{
    const double t = celsius;
    const double glycerine = 1.0 - waterFraction;
    const double logWater = std::log(1.790) + (-1230.0 - t) * t / (36100.0 + 360.0 * t);
    const double logGlycerine = std::log(12100.0) + (-1233.0 + t) * t / (9900.0 + 70.0 * t);
    const double a = 0.705 - 0.0017 * t;
    const double b = (4.9 + 0.036 * t) * std::pow(a, 2.5);
    const double alpha = 1.0 - glycerine
        + a * b * glycerine * (1.0 - glycerine) / (a * glycerine + b * (1.0 - glycerine));
    return alpha * logWater + (1.0 - alpha) * logGlycerine;
}

} // namespace

bool covers(double celsius, double waterFraction)
{
    return celsius >= minCelsius && celsius <= maxCelsius && waterFraction >= 0.0
        && waterFraction <= 1.0;
}

double viscosity(double celsius, double waterFraction)
{
    if (!covers(celsius, waterFraction))
        return std::nan("");
    return 1e-3 * std::exp(logViscosity(celsius, waterFraction));
}

std::optional<double> waterFraction(double celsius, double eta)
{
    if (!covers(celsius, 0.0) || !(eta > 0.0) || !std::isfinite(eta))
        return std::nullopt;
    const double target = std::log(eta * 1e3);
    double glycerine = 0.0, water = 1.0; // the bracket, as water fractions
    if (target > logViscosity(celsius, glycerine) || target < logViscosity(celsius, water))
        return std::nullopt;
    // 60 halvings bring the bracket below 1e-18, past a double's resolution.
    for (int i = 0; i < 60; ++i) {
        const double middle = 0.5 * (glycerine + water);
        if (logViscosity(celsius, middle) > target)
            glycerine = middle;
        else
            water = middle;
    }
    return 0.5 * (glycerine + water);
}

QString description(double celsius, double waterFraction)
{
    const QString temperature = NumberFormat::significant(celsius, 4);
    if (waterFraction == 0.0)
        return QStringLiteral("glycérine pure à %1 °C").arg(temperature);
    return QStringLiteral("glycérine à %1 % d'eau (en masse) à %2 °C")
        .arg(NumberFormat::significant(waterFraction * 100.0, 3), temperature);
}

} // namespace GlycerineReference
