// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "montecarlo.h"
#include "uncertainty.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the uncertainty of η says, in French with units and a decimal comma:
// lines for the result block, "Copier les résultats" and the command, and
// rows for the CSV export (CsvText). The measurand is the viscosity η in Pa·s.
namespace UncertaintyReport {

// The split of u(η) into type A and type B, the budget one input a line
// (largest contribution first), and the inputs given no uncertainty:
//   Incertitude-type composée : u(η) = 0,012 Pa·s (type A : 1,7E-05 Pa·s ; type B : 0,012 Pa·s)
//   Bilan d'incertitude (contributions à u(η), la plus grande d'abord) :
//     rayon de la bille : 2,000 ± 0,010 mm → 0,012 Pa·s (99 % de u²)
//   Sans incertitude donnée (comptées comme exactes) : masse volumique du fluide
// A type A line ends with ", type A", an input of a rectangular law with
// ", loi rectangulaire" (its ± is still the standard uncertainty a/√3).
// Nothing for a failed propagation.
QStringList budgetLines(const std::vector<UncertainInput> &inputs, const Propagation &propagation);

// A header row, one row per input (those without uncertainty last), and η.
QList<QStringList> budgetCsvRows(const std::vector<UncertainInput> &inputs,
                                 const Propagation &propagation);

// The draws' mean and standard deviation, then the 95 % interval:
//   Monte-Carlo (10000 tirages) : η = 1,200 ± 0,012 Pa·s (moyenne ± écart type)
//   Intervalle à 95 % : [1,176 ; 1,224] Pa·s
// A failed run gives one line with the reason.
QStringList monteCarloLines(const MonteCarloResult &result);

// The summary (name, value, unit), then the histogram's bins.
QList<QStringList> monteCarloCsvRows(const MonteCarloResult &result);

// A measured η against the glycerine–water reference.
struct Comparison
{
    double celsius = 0.0;
    double waterFraction = 0.0;            // of the reference, from 0 to 1
    double reference = 0.0;                // η_réf, Pa·s (NaN outside the formula's range)
    double eta = 0.0, uncertainty = 0.0;   // the measurement, Pa·s
    double z = 0.0;                        // |η − η_réf| / u(η); NaN when u is not positive
    std::optional<double> explainingWater; // the water fraction whose η is the measured one
    double perKelvin = 0.0;                // relative change of η_réf for +1 K
    double perPercentWater = 0.0;          // relative change of η_réf for +1 % of water
};
Comparison compare(double eta, double uncertainty, double celsius, double waterFraction);

// "Référence : η = … Pa·s (…)", "Écart normalisé : z = …" with its reading
// (z ≤ 2 : compatible), then the water fraction that explains the measured η.
QStringList referenceLines(const Comparison &comparison);

QList<QStringList> referenceCsvRows(const Comparison &comparison);

} // namespace UncertaintyReport
