// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The six physical parameters have no variables of their own: their only
// store is the text of the six fields of the parameter panel. Computations
// read a field's text when they need a value. The chronophotography interval
// (ms) is a text field too. The main window implements this over its line
// edits; tests implement it over plain strings.
class ParameterFields
{
public:
    enum Index {
        Radius = 0,        // cm
        Mass = 1,          // g
        Height = 2,        // m
        Viscosity = 3,     // N·s·m⁻²
        FluidDensity = 4,  // kg·m⁻³
        SphereDensity = 5, // kg·m⁻³
    };
    static constexpr int Count = 6;

    virtual ~ParameterFields() = default;
    virtual QString text(int index) const = 0;
    virtual void setText(int index, const QString &text) = 0;
    virtual QString intervalText() const = 0;
    virtual void setIntervalText(const QString &text) = 0;

    // The field's value as a single; an empty or unparsable text, or one
    // beyond the single range, counts as 0. Every computation reads the
    // fields through this one rule.
    float value(int index) const;

    // Range of the chronophotography interval, ms.
    static constexpr double minIntervalMs = 10.0;
    static constexpr double maxIntervalMs = 5000.0;

    // The interval in ms as its text reads: the number the text starts with
    // (0 when none), kept in minIntervalMs..maxIntervalMs. The same rule
    // serves the field's validation and the clock, which reads the text at
    // each mark, even while it is being typed.
    static double intervalMs(const QString &text);
};
