// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// The program's number formats, all written with a decimal comma as the French
// interface shows them. Every text the user sees that holds a number goes
// through one of these functions.
namespace NumberFormat {

// General form of a single-precision value: 7 significant digits, trailing
// zeros dropped, exponent form below 1E-4 and from 1E+07 with at least two
// exponent digits ("1E-06", "1,23E-05", "0,0984", "1160").
QString generalSingle(float value);

// General form of a double: the same rules with 15 significant digits.
QString generalDouble(double value);

// The value rounded to three significant digits (as the "0.00E+00" pattern
// writes it) and read back as a single, as a field's text is. Returns nothing
// when the value is not finite or does not fit a single; one too small for a
// single reads back as 0.
std::optional<float> roundThreeSignificant(double value);

// Three significant digits shown in the general form: 3,5 / 145 / 1E-06.
// A value below the single's normal range shows its three rounded digits
// (2,8E-44), never the seven of the single it reads back as; one too small
// for any single shows 0. A value that cannot be rounded gives an empty text.
QString threeSignificant(double value);

// Fixed form with two decimals ("#########0.00"): 0,00 / 11,27 / 1234,50.
QString fixedTwo(double value);

// Fixed form with the given number of decimals (0 to 15), so that values
// shown one after the other keep one precision: (0.9, 3) gives "0,900".
QString fixed(double value, int decimals);

// A measured value with its standard uncertainty, as a physicist writes it:
// the uncertainty rounded to two significant digits and the value to the same
// decimal place, both with a decimal comma: (0.96712, 0.01234) gives
// {"0,967", "0,012"}. Large or small magnitudes keep the fixed form
// (0,000123); an uncertainty that is zero or not finite gives the value with
// three significant digits and an empty uncertainty.
struct Measured
{
    QString value;
    QString uncertainty;
};
Measured withUncertainty(double value, double uncertainty);

// The value with the given number of significant digits, in the general
// form with a decimal comma: (0.0983712, 3) gives "0,0984".
QString significant(double value, int digits);
// Three significant digits of a double, for the sentences of results and
// warnings: significant(value, 3).
inline QString significant3(double value)
{
    return significant(value, 3);
}

// The calculator's "Scientifique" display ("#.#######E+00"), written with a
// decimal point so that the text can be typed back into an expression: one
// digit before the point, at most seven after it with trailing zeros dropped,
// the point kept when no digit follows, a signed exponent of at least two
// digits: 12 -> "1.2E+01", 1 -> "1.E+00", 0 -> "0.E+00",
// -0.000123 -> "-1.23E-04". A value that is not finite gives an empty text.
QString calculatorScientific(double value);

// Decimal exponent of the value written with one mantissa digit ("0E+00"),
// rounding included: 1.42 -> 0, 0.0123 -> -2, 9.6 -> 1; 0 for zero.
int decimalExponent(double value);

// Reads a field's text: optional sign, digits with a comma or a point as the
// decimal separator, optional exponent ("E" or "e", optional sign, digits).
// Blanks around the number are ignored. Anything else, an empty text or a
// value outside the double range gives nothing.
std::optional<double> parse(const QString &text);

// How every parameter field is read: the same text as parse, rounded straight
// to the nearest single (never through a double, which could round a second
// time). A value outside the single range gives nothing.
std::optional<float> parseSingle(const QString &text);

// The number a text starts with, as stored files and the interval field are
// read: leading blanks (spaces, tabs) skipped, optional sign, digits with a
// decimal point (never a comma) and an optional exponent, reading stopped at
// the first character that does not fit. A text without a leading number, or
// one beyond the double range, gives 0. Callers that need an integer round it
// themselves (to the nearest, ties to even).
double leadingValue(const QString &text);

} // namespace NumberFormat
