// SPDX-License-Identifier: GPL-3.0-or-later
#include "uncertainty.h"

#include <algorithm>
#include <cmath>

namespace Uncertainty {

double differenceStep(double value, double uncertainty)
{
    // A central difference errs by h²·f'''/6 (truncation) plus δ·|f|/h, where δ
    // is the relative noise of f: about 1e-16 for a closed form, but up to
    // 1e-10 for a measurand computed through an integrated fall or an inner
    // solver. For the power laws of a fall (f varies on the scale of |x|), a
    // step of 1e-4·|x| keeps both terms near 1e-6 of the sensitivity or below,
    // whatever that noise, with no tuning per input. An input whose value is 0
    // (an offset) is scaled by its uncertainty instead.
    constexpr double relativeStep = 1e-4;
    const double scale = std::max(std::abs(value), std::abs(uncertainty));
    return scale > 0.0 ? relativeStep * scale : relativeStep;
}

double sensitivity(const std::vector<UncertainInput> &inputs, const Measurand &f, int i)
{
    std::vector<double> values(inputs.size());
    for (size_t k = 0; k < inputs.size(); ++k)
        values[k] = inputs[k].value;
    const double x = inputs[size_t(i)].value;
    const double h = differenceStep(x, inputs[size_t(i)].uncertainty);
    // The steps actually taken, as the doubles x ± h hold them.
    const double above = x + h;
    const double below = x - h;
    values[size_t(i)] = above;
    const double fAbove = f(values);
    values[size_t(i)] = below;
    const double fBelow = f(values);
    if (!std::isfinite(fAbove) || !std::isfinite(fBelow))
        return std::nan("");
    return (fAbove - fBelow) / (above - below);
}

Propagation propagate(const std::vector<UncertainInput> &inputs, const Measurand &f)
{
    Propagation result;
    std::vector<double> values(inputs.size());
    for (size_t k = 0; k < inputs.size(); ++k)
        values[k] = inputs[k].value;
    result.value = f(values);
    if (!std::isfinite(result.value)) {
        result.error = QStringLiteral("La grandeur ne peut pas être calculée avec ces valeurs.");
        return result;
    }
    double varianceA = 0.0, varianceB = 0.0;
    for (size_t k = 0; k < inputs.size(); ++k) {
        const UncertainInput &input = inputs[k];
        if (!(input.uncertainty >= 0.0 && std::isfinite(input.uncertainty))) {
            result.error = QStringLiteral("L'incertitude de « %1 » doit être un nombre positif.")
                               .arg(input.name);
            return result;
        }
        if (!input.hasUncertainty()) {
            if (!input.exact)
                result.withoutUncertainty << input.name;
            continue;
        }
        BudgetLine line;
        line.input = int(k);
        line.sensitivity = sensitivity(inputs, f, int(k));
        if (!std::isfinite(line.sensitivity)) {
            result.error = QStringLiteral("La grandeur ne peut pas être calculée autour de la "
                                          "valeur de « %1 ».")
                               .arg(input.name);
            return result;
        }
        line.contribution = std::abs(line.sensitivity) * input.uncertainty;
        (input.type == UncertainInput::Type::A ? varianceA : varianceB)
            += line.contribution * line.contribution;
        result.budget.push_back(line);
    }
    const double variance = varianceA + varianceB;
    result.uncertainty = std::sqrt(variance);
    result.typeA = std::sqrt(varianceA);
    result.typeB = std::sqrt(varianceB);
    for (BudgetLine &line : result.budget)
        line.share = variance > 0.0 ? line.contribution * line.contribution / variance : 0.0;
    // Largest first; equal contributions keep the inputs' order.
    std::stable_sort(
        result.budget.begin(), result.budget.end(),
        [](const BudgetLine &a, const BudgetLine &b) { return a.contribution > b.contribution; });
    result.ok = true;
    return result;
}

} // namespace Uncertainty
