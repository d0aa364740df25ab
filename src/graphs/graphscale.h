// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Full scales and division steps of a graph of one quantity against time.
// A full scale is mantissa x 10^exponent; the mantissa is a multiple of its
// division step (1, 2 or 5), so an axis has between 3 and 10 divisions.
struct GraphScale
{
    std::int16_t mantt = 0; // time full scale Ft = mantt x 10^expt s
    std::int16_t expt = 0;
    std::int16_t mantv = 0; // value full scale Fv = mantv x 10^expv (m, m/s or m/s²)
    std::int16_t expv = 0;
    int d = 0;            // time division step, in units of 10^expt
    int dv = 0;           // value division step, in units of 10^expv
    bool negatif = false; // the quantity takes negative values over the range
    // Time (s) and value at the axes' origin: 0, but in a zoomed view of the
    // graph window, whose axes then start there.
    double t0 = 0.0;
    double v0 = 0.0;

    // Both axes found a full scale; a scale that is not valid must not be drawn.
    bool isValid() const { return mantt > 0 && mantv > 0; }
    double ft() const;
    double fv() const;
    // Worth of one division: d x 10^expt s and dv x 10^expv.
    double timeDivision() const;
    double valueDivision() const;
};

// The two graphs choose their scales by the same rule and differ only here.
struct ScaleRules
{
    // An amplitude below 1e-6 is raised to this value.
    double amplitudeFloor = 1e-5;
    // The value full scale is doubled (after rounding) when the quantity goes negative.
    bool doubleWhenNegative = true;
};

// Rules of the small graph of the main window and of the graph window.
inline constexpr ScaleRules smallGraphRules {1e-5, true};
inline constexpr ScaleRules graphWindowRules {1e-6, false};

// Chooses the scales for a time range (s, > 0) and the extreme value of the
// quantity over that range (its value farthest from 0, of either sign). Each
// full scale is the first value of the series 3, 4 ... 29, 30, 40 ... 290,
// 300 ... (from 3e-7 up to 2.9e11) that reaches its range, the test being
// made on the double quotient k x 10^e / range, so that a range equal to a
// series value may select the next one when the product rounds below it.
// A range beyond the series, or not a number, leaves its mantissa at 0 and
// the scale not valid.
GraphScale chooseScale(double timeRange, double extreme, const ScaleRules &rules);
