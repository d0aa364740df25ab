// SPDX-License-Identifier: GPL-3.0-or-later
#include "fallfit.h"

#include "core/motion.h"
#include "core/numberformat.h"
#include "core/parameterfields.h"
#include "core/validation.h"

#include <cmath>

namespace {

// "0,158 cm" with three significant digits; the bounds of a range as they are.
QString shown(double value, const char *unit)
{
    return NumberFormat::significant(value, 3) + QLatin1Char(' ') + QString::fromUtf8(unit);
}

QString bound(double value, const char *unit)
{
    return NumberFormat::generalDouble(value) + QLatin1Char(' ') + QString::fromUtf8(unit);
}

// A note when value (in the field's unit) lies outside the field's range.
void checkField(QStringList &notes, int field, double value, const char *what, const char *unit)
{
    const ParameterValidator::Range range = ParameterValidator::range(field);
    if (value >= range.minimum && value <= range.maximum)
        return;
    notes << QStringLiteral("%1 (%2) est hors de la plage de l'animation (%3 à %4) : "
                            "le simulateur ne peut pas montrer cette chute.")
                 .arg(QString::fromUtf8(what), shown(value, unit), bound(range.minimum, unit),
                      bound(range.maximum, unit));
}

} // namespace

double FallSetup::massFromDensity(double radius, double density)
{
    return density * Motion::sphereVolume(radius);
}

double FallSetup::sphereDensity() const
{
    return mass / Motion::sphereVolume(radius);
}

QString FallSetup::problem() const
{
    if (!(radius >= 1e-4 && radius <= 0.5))
        return QStringLiteral("Le rayon de la bille doit être compris entre 0,1 mm et 50 cm.");
    if (!(mass >= 1e-6 && mass <= 50.0))
        return QStringLiteral("La masse de la bille doit être comprise entre 1 mg et 50 kg.");
    if (!(fluidDensity > 0.0 && std::isfinite(fluidDensity)))
        return QStringLiteral("La masse volumique du fluide doit être un nombre positif.");
    if (!(sphereDensity() > fluidDensity))
        return QStringLiteral("La bille est moins dense que le fluide : elle ne tombe pas.");
    if (!std::isnan(tubeDiameter) && !(tubeDiameter > 0.0 && std::isfinite(tubeDiameter)))
        return QStringLiteral("Le diamètre du tube doit être un nombre positif.");
    return QString();
}

QStringList FallSetup::outsideAnimation(double eta) const
{
    QStringList notes;
    checkField(notes, ParameterFields::Radius, radius * 100.0, "Le rayon", "cm");
    checkField(notes, ParameterFields::Mass, mass * 1000.0, "La masse", "g");
    checkField(notes, ParameterFields::FluidDensity, fluidDensity, "La masse volumique du fluide",
               "kg/m³");
    checkField(notes, ParameterFields::SphereDensity, sphereDensity(),
               "La masse volumique de la bille", "kg/m³");
    if (!std::isnan(eta))
        checkField(notes, ParameterFields::Viscosity, eta, "La viscosité", "Pa·s");
    return notes;
}
