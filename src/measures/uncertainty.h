// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The standard uncertainty of a measurand computed from uncertain inputs by the
// law of propagation of uncertainty for uncorrelated inputs:
//     u²(y) = Σ (∂f/∂x_i)² u²(x_i).
// Qt Core only: the command and the Mesures window build the inputs from what
// the user typed and the fit, and show the budget.

// One input quantity of the measurand.
struct UncertainInput
{
    // How the input scatters, for the Monte-Carlo draws: a normal law, or a
    // rectangular law of half-width √3·u (a resolution, the last digit of a
    // display). Its standard uncertainty is u either way.
    enum class Distribution { Normal, Uniform };
    // How u was obtained: type A from the scatter of the measured points (the
    // fit), type B from anything else (a caliper's resolution, a label).
    enum class Type { A, B };

    QString name;             // French, as the budget shows it: "rayon de la bille"
    double value = 0.0;       // SI units
    double uncertainty = 0.0; // standard uncertainty, SI units; 0: none given
    QString unit;             // the unit the budget shows it in: "mm"
    double unitFactor = 1.0;  // SI value of one display unit: 1e-3 for mm
    Distribution distribution = Distribution::Normal;
    Type type = Type::B;
    // A value exact by definition or by convention (g = 9,81 m/s²): never
    // listed among the inputs the user gave no uncertainty.
    bool exact = false;

    bool hasUncertainty() const { return uncertainty > 0.0; }
};

// The measurand: its value from the inputs' values, in the order of the
// inputs. It may return NaN where it is not defined (a sphere lighter than the
// fluid); it must be safe to call from one thread many times.
using Measurand = std::function<double(const std::vector<double> &values)>;

// One input's share of the combined uncertainty.
struct BudgetLine
{
    int input = 0;             // index in the inputs
    double sensitivity = 0.0;  // ∂f/∂x_i, measurand unit per SI unit of the input
    double contribution = 0.0; // |∂f/∂x_i|·u(x_i), in the measurand's unit
    double share = 0.0;        // contribution² / u²(y), from 0 to 1
};

struct Propagation
{
    bool ok = false;
    QString error; // French, when not ok

    double value = 0.0;       // f at the inputs' values
    double uncertainty = 0.0; // combined standard uncertainty u(y)
    double typeA = 0.0;       // the part of u from type A inputs: √Σ_A (c_i u_i)²
    double typeB = 0.0;       // the part from type B inputs
    // The inputs that have an uncertainty, largest contribution first.
    std::vector<BudgetLine> budget;
    // The names of the inputs neither given an uncertainty nor exact.
    QStringList withoutUncertainty;
};

namespace Uncertainty {

// The step of the central difference for an input of this value and
// uncertainty (see the definition for the choice).
double differenceStep(double value, double uncertainty);

// ∂f/∂x_i at the inputs' values by a central difference; NaN when f is not
// finite on either side.
double sensitivity(const std::vector<UncertainInput> &inputs, const Measurand &f, int i);

// The combined standard uncertainty and its budget. Fails (in French) when f
// is not finite at the inputs' values, when an uncertainty is negative or not
// finite, or when a sensitivity cannot be computed.
Propagation propagate(const std::vector<UncertainInput> &inputs, const Measurand &f);

} // namespace Uncertainty
