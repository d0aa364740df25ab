#pragma once

#include <QString>

// How the calculator's display writes a result, always with a decimal point
// whatever the locale, so that the text can be typed back into an expression.
namespace DisplayFormat {

// The "#.#######E+00" form of the "Scientifique" display: one digit before
// the point, at most seven after it with trailing zeros dropped, the point
// kept when no digit follows, a signed exponent of at least two digits:
// 12 -> "1.2E+01", 1 -> "1.E+00", 0 -> "0.E+00", -0.000123 -> "-1.23E-04".
// A value that is not finite gives an empty text.
QString scientific(double value);

} // namespace DisplayFormat
