// SPDX-License-Identifier: GPL-3.0-or-later
#include "wallfactor.h"

#include "core/numberformat.h"

#include <cmath>
#include <limits>

namespace {

constexpr double maxCreepingLambda = 0.8;
constexpr double maxFiniteLambda = 0.7;
constexpr double maxCreepingReynolds = 0.2;
constexpr double maxReynolds = 200.0;

} // namespace

namespace WallFactor {

double habermanSayre(double lambda)
{
    const double l2 = lambda * lambda;
    const double l3 = l2 * lambda;
    const double l5 = l3 * l2;
    return (1.0 - 2.105 * lambda + 2.0865 * l3 - 1.7068 * l5 + 0.72603 * l5 * lambda)
        / (1.0 - 0.75857 * l5);
}

double diFeliceExponent(double reynolds)
{
    return (3.3 + 0.085 * reynolds) / (1.0 + 0.1 * reynolds);
}

double diFelice(double lambda, double reynolds)
{
    return std::pow((1.0 - lambda) / (1.0 - 0.33 * lambda), diFeliceExponent(reynolds));
}

Factor factor(double lambda, double reynolds)
{
    Factor f;
    f.value = std::numeric_limits<double>::quiet_NaN();
    const QString ranges = QStringLiteral(
        "Haberman–Sayre vaut en écoulement rampant (Re ≤ 0,2) jusqu'à d/D = 0,8, Di Felice "
        "pour 0,01 < Re < 200 et d/D < 0,7");
    if (!(lambda > 0.0 && lambda <= maxCreepingLambda) || !(reynolds >= 0.0)) {
        f.refusal = QStringLiteral("Correction de paroi refusée : d/D = %1 ; %2.")
                        .arg(NumberFormat::significant3(lambda), ranges);
        return f;
    }
    if (!(reynolds < maxReynolds)) {
        f.refusal = QStringLiteral("Correction de paroi refusée : Re = %1 ; %2.")
                        .arg(NumberFormat::significant3(reynolds), ranges);
        return f;
    }
    if (lambda >= maxFiniteLambda) {
        if (reynolds > maxCreepingReynolds) {
            f.refusal = QStringLiteral("Correction de paroi refusée : d/D = %1 avec Re = %2 ; %3.")
                            .arg(NumberFormat::significant3(lambda),
                                 NumberFormat::significant3(reynolds), ranges);
            return f;
        }
        f.value = habermanSayre(lambda);
        f.correlation = QStringLiteral("Haberman–Sayre (écoulement rampant)");
        return f;
    }
    const double creeping = habermanSayre(lambda) / diFelice(lambda, 0.0);
    f.value = diFelice(lambda, reynolds) * std::pow(creeping, 1.0 / (1.0 + reynolds));
    f.correlation = reynolds <= 0.01
        ? QStringLiteral("Haberman–Sayre (écoulement rampant)")
        : QStringLiteral("Di Felice, raccordée à Haberman–Sayre en écoulement rampant");
    return f;
}

} // namespace WallFactor
