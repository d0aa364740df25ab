// SPDX-License-Identifier: GPL-3.0-or-later
#include "numberio.h"

#include "core/numberscanner.h"

#include <charconv>
#include <cmath>

namespace NumberIo {

std::optional<double> read(QStringView text)
{
    constexpr NumberScanner::Options calculatorText {
        .decimalComma = false, .exponentD = true, .wholeText = false};
    const auto result = NumberScanner::toDouble(text, calculatorText);
    switch (result.status) {
    case NumberScanner::Status::Ok:
    case NumberScanner::Status::Underflow:
        return result.value;
    case NumberScanner::Status::Overflow:
        return std::nullopt;
    case NumberScanner::Status::NoNumber:
        break;
    }
    return 0.0;
}

QString write(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0.0)
        return QStringLiteral(" 0");

    // The general format with 15 digits switches to the exponent form below
    // 1E-04 and from 1E+15, drops trailing zeros and writes at least two
    // exponent digits.
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer).toUpper();

    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    else if (text.startsWith(QLatin1String("-0.")))
        text.remove(1, 1);
    if (!text.startsWith(QLatin1Char('-')))
        text.prepend(QLatin1Char(' '));
    return text;
}

} // namespace NumberIo
