// SPDX-License-Identifier: GPL-3.0-or-later
#include "unitsanity.h"

#include "core/numberformat.h"

#include <algorithm>
#include <cmath>

namespace {

// The acceleration of gravity of a measurement (not the simulator's 9,8):
// the check only needs the order of magnitude of η.
constexpr double g = 9.81;

// Lengths typed without a unit that no falling-ball tube holds, in metres.
constexpr double largestRadius = 0.1;
constexpr double largestTube = 1.0;

// Three significant digits without an exponent below 10⁷: "4900", "30000".
QString roundedNumber(double value)
{
    return NumberFormat::generalDouble(QString::number(value, 'g', 3).toDouble());
}

// "1,26 kg/m³ est … ; en g/cm³, écrivez 1,26g/cm3": the number as typed,
// read back in g/cm³.
QString lightDensity(double density, const char *what)
{
    const QString typed = NumberFormat::generalDouble(density);
    return QStringLiteral("%1 kg/m³ est la masse volumique %2 ; en g/cm³, écrivez %1g/cm3")
        .arg(typed, QString::fromUtf8(what));
}

// "Sans unité, le rayon est en mètres : 2 m ; en millimètres, écrivez 2mm".
QString metresUnsaid(const TypedQuantity &length, double largest, const char *what)
{
    if (length.unitTyped || !(length.value >= largest))
        return {};
    const QString typed = NumberFormat::generalDouble(length.value);
    return QStringLiteral("Sans unité, %1 est en mètres : %2 m ; en millimètres, écrivez %2mm")
        .arg(QString::fromUtf8(what), typed);
}

} // namespace

namespace UnitSanity {

QStringList inputWarnings(const TypedInputs &inputs)
{
    QStringList warnings;
    const double fluid = inputs.fluidDensity.value;
    if (fluid > 0.0 && fluid < gasDensity)
        warnings << lightDensity(fluid, "d'un gaz");
    const double sphere = inputs.sphereDensity.value;
    if (sphere > 0.0 && sphere < gasDensity)
        warnings << lightDensity(sphere, "d'une mousse : une telle bille flotte");
    const QString radius = metresUnsaid(inputs.radius, largestRadius, "le rayon");
    if (!radius.isEmpty())
        warnings << radius;
    const QString tube = metresUnsaid(inputs.tubeDiameter, largestTube, "le diamètre du tube");
    if (!tube.isEmpty())
        warnings << tube;

    FallSetup ball;
    ball.radius = inputs.radius.value;
    ball.mass = inputs.mass.value;
    const double density = ball.sphereDensity();
    if (ball.radius > 0.0 && ball.mass > 0.0 && density > solidDensity) {
        QString warning = QStringLiteral("Une bille de %1 mm de rayon et de %2 g aurait une masse "
                                         "volumique de %3 kg/m³, plus que tout solide (osmium : "
                                         "22 590 kg/m³)")
                              .arg(roundedNumber(ball.radius * 1e3), roundedNumber(ball.mass * 1e3),
                                   NumberFormat::significant(density, 3));
        if (!inputs.mass.unitTyped) {
            const QString typed = NumberFormat::generalDouble(ball.mass);
            warning += density / 1e3 <= solidDensity
                ? QStringLiteral(" ; sans unité, la masse est en kg : en grammes, écrivez %1g")
                      .arg(typed)
                : QStringLiteral(" ; sans unité, la masse est en kg : en milligrammes, écrivez "
                                 "%1mg")
                      .arg(typed);
        }
        warnings << warning;
    }
    return warnings;
}

QString millisecondTimes(const MeasurementSet &set, const FallSetup &setup)
{
    if (!setup.problem().isEmpty())
        return {};
    double first = NAN, last = NAN;
    double low = INFINITY, high = -INFINITY;
    for (const MeasuredPoint &p : set.points) {
        if (!p.included())
            continue;
        if (std::isnan(first))
            first = p.t;
        last = p.t;
        low = std::min(low, p.y);
        high = std::max(high, p.y);
    }
    const double duration = last - first;
    const double distance = high - low;
    if (!(duration >= longFall) || !(distance > 0.0))
        return {};
    // Stokes's law at the mean velocity: v = 2r²(ρs − ρf)g / 9η.
    const double velocity = distance / duration;
    const double eta = 2.0 * setup.radius * setup.radius
        * (setup.sphereDensity() - setup.fluidDensity) * g / (9.0 * velocity);
    if (!(eta >= thickFluid))
        return {};
    return QStringLiteral("Les temps n'ont pas d'unité : lus en secondes, la chute de %1 cm "
                          "durerait %2 s et η vaudrait environ %3 Pa·s, bien plus que le miel. "
                          "Ce sont des millisecondes : les temps ont été convertis en secondes "
                          "(si ce sont des secondes, écrivez « t (s) » en tête de la colonne "
                          "des temps).")
        .arg(roundedNumber(distance * 100.0), roundedNumber(duration), roundedNumber(eta));
}

void toSeconds(MeasurementSet &set)
{
    for (MeasuredPoint &p : set.points)
        p.t *= 1e-3;
}

} // namespace UnitSanity
