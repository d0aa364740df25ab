// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// The one reader of decimal numbers in texts. Every text that holds a number
// (a parameter field, a stored file, a calculator expression) is read here,
// with options for the few ways those texts differ. It never looks at the C
// locale.
//
// A number is: an optional sign, digits with an optional decimal separator
// (at least one digit on either side of it), then an optional exponent: a
// marker, an optional sign and at least one digit. A marker or a sign without
// digits after it is not part of the number.
namespace NumberScanner {

struct Options
{
    // A comma reads as the decimal separator as well as a point.
    bool decimalComma = false;
    // "D" or "d" marks the exponent as well as "E" or "e".
    bool exponentD = false;
    // The whole text must be the number, with any white space around it;
    // otherwise spaces and tabs before the number are skipped and reading
    // stops at the first character that does not fit.
    bool wholeText = false;
};

enum class Status {
    NoNumber,  // no number where one was expected (or, for a whole text, junk around it)
    Ok,        // value holds the number, correctly rounded
    Overflow,  // beyond the type's range; value is 0
    Underflow, // non-zero but too small for the type; value is a zero of the number's sign
};

template<typename T>
struct Result
{
    Status status = Status::NoNumber;
    T value = 0;
};

Result<double> toDouble(QStringView text, Options options);
// Rounds the decimal text straight to a single, never through a double.
Result<float> toFloat(QStringView text, Options options);

} // namespace NumberScanner
