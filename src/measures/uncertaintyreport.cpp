// SPDX-License-Identifier: GPL-3.0-or-later
#include "uncertaintyreport.h"

#include "glycerinereference.h"

#include "core/numberformat.h"

#include <cmath>

namespace {

const QString pascalSecond = QStringLiteral("Pa·s");

// Two significant digits in the fixed form, as an uncertainty is written:
// 0,0012 / 0,43 / 62 / 100 / 1200 (the general form would give 1E+02 for
// 99,6). Zero is "0".
QString two(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return NumberFormat::significant(value, 2);
    const QString digits = NumberFormat::withUncertainty(0.0, std::abs(value)).uncertainty;
    return value < 0.0 ? QLatin1Char('-') + digits : digits;
}

// Full precision for a spreadsheet; an empty cell for what is not a number.
QString cell(double value)
{
    return std::isfinite(value) ? NumberFormat::generalDouble(value) : QString();
}

QString measured(double value, double uncertainty, const QString &unit)
{
    const NumberFormat::Measured shown = NumberFormat::withUncertainty(value, uncertainty);
    // A pure number (an index) has no unit to write after it.
    const QString after = unit.isEmpty() ? QString() : QLatin1Char(' ') + unit;
    if (shown.uncertainty.isEmpty())
        return shown.value + after;
    return QStringLiteral("%1 ± %2").arg(shown.value, shown.uncertainty) + after;
}

QString percentOfVariance(double share)
{
    // Below a thousandth the figure is noise of the rounding, not information.
    if (share < 1e-3)
        return QStringLiteral("< 0,1");
    return two(share * 100.0);
}

QString typeName(const UncertainInput &input)
{
    return input.type == UncertainInput::Type::A ? QStringLiteral("A") : QStringLiteral("B");
}

QString lawName(const UncertainInput &input)
{
    return input.distribution == UncertainInput::Distribution::Uniform
        ? QStringLiteral("rectangulaire")
        : QStringLiteral("normale");
}

} // namespace

namespace UncertaintyReport {

QStringList budgetLines(const std::vector<UncertainInput> &inputs, const Propagation &propagation)
{
    QStringList lines;
    if (!propagation.ok)
        return lines;
    lines << QStringLiteral("Incertitude-type composée : u(η) = %1 Pa·s (type A : %2 Pa·s ; "
                            "type B : %3 Pa·s)")
                 .arg(two(propagation.uncertainty), two(propagation.typeA), two(propagation.typeB));
    if (!propagation.budget.empty())
        lines << QStringLiteral("Bilan d'incertitude (contributions à u(η), la plus grande "
                                "d'abord) :");
    for (const BudgetLine &line : propagation.budget) {
        const UncertainInput &input = inputs[size_t(line.input)];
        lines << QStringLiteral("  %1 : %2 → %3 Pa·s (%4 % de u²)%5")
                     .arg(input.name,
                          measured(input.value / input.unitFactor,
                                   input.uncertainty / input.unitFactor, input.unit),
                          two(line.contribution), percentOfVariance(line.share),
                          input.type == UncertainInput::Type::A ? QStringLiteral(", type A")
                              : input.distribution == UncertainInput::Distribution::Uniform
                              ? QStringLiteral(", loi rectangulaire")
                              : QString());
    }
    if (!propagation.withoutUncertainty.isEmpty())
        lines << QStringLiteral("Sans incertitude donnée (comptées comme exactes) : ")
                + propagation.withoutUncertainty.join(QStringLiteral(", "));
    return lines;
}

QList<QStringList> budgetCsvRows(const std::vector<UncertainInput> &inputs,
                                 const Propagation &propagation)
{
    QList<QStringList> rows;
    if (!propagation.ok)
        return rows;
    rows << QStringList {QStringLiteral("grandeur"),
                         QStringLiteral("valeur"),
                         QStringLiteral("incertitude-type"),
                         QStringLiteral("unité"),
                         QStringLiteral("type"),
                         QStringLiteral("loi"),
                         QStringLiteral("sensibilité (Pa·s par unité SI)"),
                         QStringLiteral("contribution à u(η) (Pa·s)"),
                         QStringLiteral("part de u² (%)")};
    std::vector<bool> listed(inputs.size(), false);
    for (const BudgetLine &line : propagation.budget) {
        const UncertainInput &input = inputs[size_t(line.input)];
        listed[size_t(line.input)] = true;
        rows << QStringList {input.name,
                             cell(input.value / input.unitFactor),
                             cell(input.uncertainty / input.unitFactor),
                             input.unit,
                             typeName(input),
                             lawName(input),
                             cell(line.sensitivity),
                             cell(line.contribution),
                             cell(line.share * 100.0)};
    }
    for (size_t k = 0; k < inputs.size(); ++k) {
        if (listed[k])
            continue;
        const UncertainInput &input = inputs[k];
        rows << QStringList {input.name, cell(input.value / input.unitFactor),
                             input.exact ? QStringLiteral("exacte") : QStringLiteral("non donnée"),
                             input.unit};
    }
    rows << QStringList {QStringLiteral("η"), cell(propagation.value),
                         cell(propagation.uncertainty), pascalSecond};
    return rows;
}

QStringList monteCarloLines(const MonteCarloResult &result)
{
    if (!result.ok)
        return {QStringLiteral("Monte-Carlo impossible : ") + result.error};
    QStringList lines;
    QString rejected;
    if (result.rejected > 0)
        rejected
            = QStringLiteral(", %1 tirages écartés où η n'est pas définie").arg(result.rejected);
    lines << QStringLiteral("Monte-Carlo (%1 tirages%2) : %3 (moyenne ± écart type)")
                 .arg(QString::number(result.draws), rejected,
                      measured(result.mean, result.standardDeviation, pascalSecond)
                          .prepend(QStringLiteral("η = ")));
    // The bounds to the decimal place the deviation's two digits fix.
    const QString low = NumberFormat::withUncertainty(result.low, result.standardDeviation).value;
    const QString high = NumberFormat::withUncertainty(result.high, result.standardDeviation).value;
    lines << QStringLiteral("Intervalle à 95 % : [%1 ; %2] Pa·s").arg(low, high);
    return lines;
}

QList<QStringList> monteCarloCsvRows(const MonteCarloResult &result)
{
    QList<QStringList> rows;
    if (!result.ok)
        return rows;
    rows << QStringList {QStringLiteral("Monte-Carlo"), QStringLiteral("valeur"),
                         QStringLiteral("unité")};
    rows << QStringList {QStringLiteral("tirages"), QString::number(result.draws), QString()};
    rows << QStringList {QStringLiteral("tirages écartés"), QString::number(result.rejected),
                         QString()};
    rows << QStringList {QStringLiteral("moyenne de η"), cell(result.mean), pascalSecond};
    rows << QStringList {QStringLiteral("écart type de η"), cell(result.standardDeviation),
                         pascalSecond};
    rows << QStringList {QStringLiteral("borne basse à 95 %"), cell(result.low), pascalSecond};
    rows << QStringList {QStringLiteral("borne haute à 95 %"), cell(result.high), pascalSecond};
    rows << QStringList {QStringLiteral("classe de (Pa·s)"), QStringLiteral("à (Pa·s)"),
                         QStringLiteral("effectif")};
    for (size_t b = 0; b < result.counts.size(); ++b)
        rows << QStringList {cell(result.edges[b]), cell(result.edges[b + 1]),
                             QString::number(result.counts[b])};
    return rows;
}

Comparison compare(double eta, double uncertainty, double celsius, double waterFraction)
{
    Comparison c;
    c.celsius = celsius;
    c.waterFraction = waterFraction;
    c.eta = eta;
    c.uncertainty = uncertainty;
    c.reference = GlycerineReference::viscosity(celsius, waterFraction);
    c.z = uncertainty > 0.0 && std::isfinite(uncertainty)
        ? std::abs(eta - c.reference) / uncertainty
        : std::nan("");
    c.explainingWater = GlycerineReference::waterFraction(celsius, eta);
    // One kelvin or one percent towards the inside of the formula's range.
    const double dt = celsius + 1.0 <= GlycerineReference::maxCelsius ? 1.0 : -1.0;
    const double dw = waterFraction + 0.01 <= 1.0 ? 0.01 : -0.01;
    const double rate
        = std::log(GlycerineReference::viscosity(celsius + dt, waterFraction) / c.reference) / dt;
    c.perKelvin = std::expm1(rate);
    const double rateWater
        = std::log(GlycerineReference::viscosity(celsius, waterFraction + dw) / c.reference)
        / (dw * 100.0);
    c.perPercentWater = std::expm1(rateWater);
    return c;
}

QStringList referenceLines(const Comparison &c)
{
    if (!std::isfinite(c.reference))
        return {QStringLiteral("Référence : la formule de Cheng couvre de 0 à 100 °C et de 0 à "
                               "100 % d'eau.")};
    QStringList lines;
    lines << QStringLiteral("Référence : η = %1 Pa·s (%2, formule de Cheng 2008, à %3 % près)")
                 .arg(NumberFormat::significant(c.reference, 4),
                      GlycerineReference::description(c.celsius, c.waterFraction),
                      NumberFormat::significant(GlycerineReference::relativeAccuracy * 100.0, 2));
    if (std::isfinite(c.z))
        lines << QStringLiteral("Écart normalisé : z = |η − η_réf| / u(η) = %1 (%2)")
                     .arg(two(c.z),
                          c.z <= 2.0 ? QStringLiteral("z ≤ 2 : mesure compatible avec la référence")
                                     : QStringLiteral("z > 2 : mesure non compatible avec la "
                                                      "référence"));
    else
        lines << QStringLiteral("Écart normalisé : non calculable sans incertitude sur η.");
    const QString temperature = NumberFormat::significant(c.celsius, 4);
    if (c.explainingWater)
        lines << QStringLiteral("À %1 °C, η mesurée est celle d'une glycérine à %2 % d'eau (en "
                                "masse) ; η de la glycérine y baisse de %3 % par kelvin et de "
                                "%4 % par point d'eau de plus.")
                     .arg(temperature, two(*c.explainingWater * 100.0), two(-c.perKelvin * 100.0),
                          two(-c.perPercentWater * 100.0));
    else
        lines << QStringLiteral("À %1 °C, aucun mélange d'eau et de glycérine n'a la viscosité "
                                "mesurée (de %2 Pa·s pour l'eau à %3 Pa·s pour la glycérine).")
                     .arg(temperature,
                          NumberFormat::significant(GlycerineReference::viscosity(c.celsius, 1.0),
                                                    3),
                          NumberFormat::significant(GlycerineReference::viscosity(c.celsius, 0.0),
                                                    3));
    return lines;
}

QList<QStringList> referenceCsvRows(const Comparison &c)
{
    QList<QStringList> rows;
    rows << QStringList {QStringLiteral("référence (Cheng 2008)"), QStringLiteral("valeur"),
                         QStringLiteral("unité")};
    rows << QStringList {QStringLiteral("température"), cell(c.celsius), QStringLiteral("°C")};
    rows << QStringList {QStringLiteral("fraction massique d'eau"), cell(c.waterFraction * 100.0),
                         QStringLiteral("%")};
    rows << QStringList {QStringLiteral("η_réf"), cell(c.reference), pascalSecond};
    rows << QStringList {QStringLiteral("précision relative de la référence"),
                         cell(GlycerineReference::relativeAccuracy * 100.0), QStringLiteral("%")};
    rows << QStringList {QStringLiteral("écart normalisé z"), cell(c.z), QString()};
    rows << QStringList {QStringLiteral("fraction massique d'eau qui donne η mesurée"),
                         c.explainingWater ? cell(*c.explainingWater * 100.0) : QString(),
                         QStringLiteral("%")};
    return rows;
}

} // namespace UncertaintyReport
