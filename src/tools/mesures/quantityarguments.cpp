// SPDX-License-Identifier: GPL-3.0-or-later
// The options of lorva-mesures that take a measured value: its unit, its
// uncertainty after "±", and the checks of plainly wrong units.
#include "measurecommand.h"

#include <iterator>

namespace {

struct Target
{
    const char *name;
    QuantityKind kind;
    bool uncertain; // takes "±"
};

constexpr Target targets[] = {
    {"--rayon", QuantityKind::Length, true},
    {"--masse", QuantityKind::Mass, true},
    {"--masse-volumique", QuantityKind::Density, true},
    {"--fluide", QuantityKind::Density, true},
    {"--diametre-tube", QuantityKind::Length, true},
    {"--de", QuantityKind::Time, false},
    {"--a", QuantityKind::Time, false},
};

const Target *findTarget(const QString &option)
{
    for (const Target &t : targets)
        if (option == QLatin1String(t.name))
            return &t;
    return nullptr;
}

} // namespace

namespace MeasureCommand {

std::optional<double> parseValue(const QString &text, Quantity quantity)
{
    const std::optional<TypedQuantity> read = QuantityText::parse(text, quantity, nullptr);
    if (!read || read->hasUncertainty())
        return std::nullopt;
    return read->value;
}

QString valueError(const QString &option, const QString &value, const QString &reason)
{
    QString message = QStringLiteral("Valeur incorrecte pour %1 : « %2 ».").arg(option, value);
    if (!reason.isEmpty())
        message += QLatin1Char(' ') + reason;
    return message;
}

std::optional<TypedQuantity> optionValue(const QString &option, const QString &value,
                                         QuantityKind kind, bool uncertain, QString *error)
{
    QString why;
    std::optional<TypedQuantity> read = QuantityText::parse(value, kind, &why);
    if (read && read->hasUncertainty() && !uncertain) {
        why = QStringLiteral("Cette option ne prend pas d'incertitude (« ± »).");
        read.reset();
    }
    if (!read)
        *error = valueError(option, value, why);
    return read;
}

bool isQuantityOption(const QString &option)
{
    return findTarget(option) != nullptr;
}

bool parseQuantityOption(const QString &option, const QString &value, Options &options,
                         UnitSanity::TypedInputs &typed, QString *error)
{
    const Target *target = findTarget(option);
    if (!target) {
        *error = QStringLiteral("Option inconnue : « %1 ».").arg(option);
        return false;
    }
    const std::optional<TypedQuantity> read
        = optionValue(option, value, target->kind, target->uncertain, error);
    if (!read)
        return false;
    // Where each of targets goes, in the same order.
    struct Destination
    {
        double *value;
        double *uncertainty; // nullptr: the option takes none
        bool *uniform;
        TypedQuantity *typed;
    };
    InputUncertainties &u = options.uncertainties;
    UniformInputs &law = u.uniform;
    const Destination destinations[] = {
        {&options.setup.radius, &u.radius, &law.radius, &typed.radius},
        {&typed.mass.value, &u.mass, &law.mass, &typed.mass},
        {&options.sphereDensity, &u.sphereDensity, &law.mass, &typed.sphereDensity},
        {&options.setup.fluidDensity, &u.fluidDensity, &law.fluidDensity, &typed.fluidDensity},
        {&options.setup.tubeDiameter, &u.tubeDiameter, &law.tubeDiameter, &typed.tubeDiameter},
        {&options.fit.tMin, nullptr, nullptr, nullptr},
        {&options.fit.tMax, nullptr, nullptr, nullptr},
    };
    static_assert(std::size(destinations) == std::size(targets));
    const Destination &d = destinations[std::size_t(target - targets)];
    if (d.typed)
        *d.typed = *read;
    *d.value = read->value;
    if (d.uncertainty) {
        *d.uncertainty = read->uncertainty;
        *d.uniform = read->uniform;
    }
    return true;
}

QString quantityHelpText()
{
    return QStringLiteral(
        "\n"
        "Les nombres s'écrivent avec une virgule ou un point, suivis d'une unité :\n"
        "µm, mm, cm, dm, m pour les longueurs, mg, g, kg pour les masses, kg/m3, g/cm3,\n"
        "g/mL, kg/L pour les masses volumiques (³ ou 3), ms, s pour les temps ; sans\n"
        "unité, ce sont des m, des kg, des kg/m³ et des s.\n"
        "Une masse volumique de moins de 100 kg/m³, une longueur sans unité trop grande\n"
        "pour un tube ou une masse plus dense que tout solide sont signalées. Des temps\n"
        "sans unité qui sont à l'évidence des millisecondes (une chute de quelques\n"
        "centimètres qui durerait des milliers de secondes) sont convertis en secondes,\n"
        "avec un message.\n");
}

} // namespace MeasureCommand
