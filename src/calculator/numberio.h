// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The calculator's number reader and writer. Both use a decimal point whatever
// the locale. The evaluator writes every intermediate value back into its text
// with write(), so intermediate results carry 15 significant digits.
namespace NumberIo {

// Reads the longest leading number of the text: leading blanks skipped, an
// optional sign, digits with an optional point, an optional exponent ("E" or
// "D" in either case, optional sign, digits). Reading stops at the first other
// character, so a trailing ")" or space is ignored. A text that does not start
// with a number reads as 0, an exponent marker without digits is left unread
// and a value too small for a double reads as 0. Returns nothing when the value
// lies beyond the double range.
std::optional<double> read(QStringView text);

// Writes a finite value with at most 15 significant digits: no zero before the
// point below 1 (" .5", "-.5"), a leading minus for negative values and one
// leading space for the others, the exponent form with a sign and at least two
// digits from 1E+15 and below 1E-04 (" 1E+20", " 1.5E-07"). A value that is not
// finite gives an empty text.
QString write(double value);

} // namespace NumberIo
