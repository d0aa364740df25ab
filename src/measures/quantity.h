// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <cmath>
#include <limits>
#include <optional>

// A measured input typed as a physicist writes it: a number with its unit,
// and optionally its standard uncertainty after "±" (or "+-", "+/-"):
// "3,155mm", "1,26g/cm3", "2mm±0,005mm", "7800±20", "1,26±0,01g/cm3",
// "(1,26 ± 0,01) g/cm³", "10cm±0,5mm". A comma or a point is the decimal
// separator; the numbers are read by NumberScanner. A unit written once,
// after the uncertainty or after the value, applies to both; each side may
// also carry its own.
//
// An uncertainty followed by "/√3" (or "/rac3") is the half-width a of a
// rectangular law, a resolution: "2mm±0,01mm/√3" reads u = a/√3 as
// written, and the law is kept for the Monte-Carlo draws.

enum class QuantityKind {
    Length,  // µm, mm, cm, dm, m
    Mass,    // mg, g, kg
    Density, // kg/m3, kg.m-3, g/cm3, g.cm-3, g/mL, kg/L, kg/dm3, g/L (³ or 3, · or .)
    Time,    // ms, s
    Plain,   // a number without a unit (a rate, an index)
};

struct TypedQuantity
{
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    double value = nan;       // in SI units: m, kg, kg/m³, s
    double uncertainty = nan; // standard uncertainty, SI, ≥ 0; NaN: none typed (exact)
    bool unitTyped = false;   // a unit was written; false: the default unit was assumed
    bool uniform = false;     // "a/√3": uncertainty is a/√3 of a rectangular law

    bool hasUncertainty() const { return !std::isnan(uncertainty); }
};

namespace QuantityText {

// Reads text as a quantity of kind. Without a unit, the value is in
// unitWhenUnsaid (one of the kind's units, such as "mm"), or in the SI unit
// when it is empty. Nothing on failure, with a French sentence in *error
// (unless error is null) naming what is wrong: the unit, the number, the
// uncertainty.
std::optional<TypedQuantity> parse(QStringView text, QuantityKind kind, QString *error,
                                   QStringView unitWhenUnsaid = {});

// A "±" field's text: the standard uncertainty alone, as in
// "0,01mm", "±0,01mm" or "0,01mm/√3" (a leading "±" or "+-" is allowed).
// uncertainty is 0 for an empty text (the input is exact). Without a unit
// the number is in unitWhenUnsaid. Nothing on failure, with a French
// sentence about the uncertainty of what ("du rayon") in *error.
std::optional<TypedQuantity> parseUncertainty(QStringView text, QuantityKind kind,
                                              const QString &what, QString *error,
                                              QStringView unitWhenUnsaid = {});

// Strips a trailing "/√3" or "/rac3" (spaces allowed around "/") from text,
// the mark of a half-width; says whether there was one.
bool takeRootThree(QStringView *text);

// The units of kind as a French list for help texts and messages:
// "µm, mm, cm, dm ou m".
QString unitList(QuantityKind kind);

// The factor to SI of one of the kind's units (spellings as parse accepts
// them); nothing when it is not one.
std::optional<double> unitFactor(QStringView unit, QuantityKind kind);

} // namespace QuantityText
