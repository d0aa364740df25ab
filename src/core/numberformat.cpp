// SPDX-License-Identifier: GPL-3.0-or-later
#include "numberformat.h"

#include "numberscanner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace NumberFormat {

namespace {

// std::to_chars never looks at the C locale, which Qt sets from the
// environment at start-up; printf and strtod would follow it.
QString toChars(double value, std::chars_format format, int precision)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    if (result.ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, result.ptr - buffer).toUpper();
}

// A field's text: the whole text is the number, with a comma or a point.
constexpr NumberScanner::Options fieldText {
    .decimalComma = true, .exponentD = false, .wholeText = true};

// printf's %G with the decimal point turned into a comma: the exponent form
// below 1E-4 and from 10^precision, trailing zeros dropped, at least two
// exponent digits.
QString printfG(double value, int precision)
{
    if (!std::isfinite(value))
        return QString();
    QString text = toChars(value, std::chars_format::general, precision);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    // "-0" is what a tiny negative value that rounds to zero would show.
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

} // namespace

QString generalSingle(float value)
{
    return printfG(double(value), 7);
}

QString generalDouble(double value)
{
    return printfG(value, 15);
}

std::optional<float> roundThreeSignificant(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // "1.24E-05": read straight back to a single, as the field's text would be.
    const QString text = toChars(value, std::chars_format::scientific, 2);
    const auto result = NumberScanner::toFloat(text, NumberScanner::Options());
    switch (result.status) {
    case NumberScanner::Status::Ok:
    case NumberScanner::Status::Underflow:
        return result.value;
    default:
        return std::nullopt;
    }
}

QString threeSignificant(double value)
{
    const std::optional<float> rounded = roundThreeSignificant(value);
    if (!rounded)
        return QString();
    // Below the normal range a single keeps too few bits to hold the three
    // digits: 2.80E-44 reads back as 2.802597E-44. The digits shown are then
    // the rounded decimal ones, which read back to that same single.
    if (*rounded != 0.0f && std::fabs(*rounded) < std::numeric_limits<float>::min()) {
        const QString digits = toChars(value, std::chars_format::scientific, 2);
        return printfG(NumberScanner::toDouble(digits, NumberScanner::Options()).value, 3);
    }
    return generalSingle(*rounded);
}

QString fixedTwo(double value)
{
    if (!std::isfinite(value))
        return QString();
    QString text = toChars(value, std::chars_format::fixed, 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString();
    QString text = toChars(value, std::chars_format::fixed, std::clamp(decimals, 0, 15));
    // No "-0,000" for a value that rounds to zero.
    const bool zero = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    if (zero && text.startsWith(QLatin1Char('-')))
        text.remove(0, 1);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

Measured withUncertainty(double value, double uncertainty)
{
    if (!(std::isfinite(uncertainty) && uncertainty > 0.0) || !std::isfinite(value))
        return {significant(value, 3), QString()};
    // Two significant digits of the uncertainty fix the last decimal shown;
    // the rounding of the uncertainty may carry it to the next power of ten.
    int decimals = 1 - int(std::floor(std::log10(uncertainty)));
    const double rounded = std::round(uncertainty * std::pow(10.0, decimals));
    if (rounded >= 100.0)
        --decimals;
    const int shown = std::clamp(decimals, 0, 30);
    // Above 100 the last digits shown are zeros: 12345,6 ± 567 reads 12350 ± 570.
    const double step = decimals < 0 ? std::pow(10.0, -decimals) : 1.0;
    auto fixed = [shown, step](double x) {
        const double rounded = step > 1.0 ? std::round(x / step) * step : x;
        QString text = toChars(rounded, std::chars_format::fixed, shown);
        if (text.startsWith(QLatin1Char('-'))
            && text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) + 1 == text.size())
            text.remove(0, 1);
        text.replace(QLatin1Char('.'), QLatin1Char(','));
        return text;
    };
    return {fixed(value), fixed(uncertainty)};
}

QString significant(double value, int digits)
{
    return printfG(value, std::clamp(digits, 1, 17));
}

QString calculatorScientific(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0.0)
        value = 0.0; // no "-0.E+00"
    // Eight significant digits, rounded by to_chars: "1.2000000E+01".
    const QString text = toChars(value, std::chars_format::scientific, 7);
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    QString mantissa = text.left(e);
    while (mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    return mantissa + text.mid(e);
}

int decimalExponent(double value)
{
    if (value == 0.0 || !std::isfinite(value))
        return 0;
    const QString text = toChars(value, std::chars_format::scientific, 0);
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    return e < 0 ? 0 : text.mid(e + 1).toInt();
}

std::optional<double> parse(const QString &text)
{
    const auto result = NumberScanner::toDouble(text, fieldText);
    if (result.status != NumberScanner::Status::Ok)
        return std::nullopt;
    return result.value;
}

std::optional<float> parseSingle(const QString &text)
{
    const auto result = NumberScanner::toFloat(text, fieldText);
    if (result.status != NumberScanner::Status::Ok)
        return std::nullopt;
    return result.value;
}

double leadingValue(const QString &text)
{
    const auto result = NumberScanner::toDouble(text, NumberScanner::Options());
    return result.status == NumberScanner::Status::Ok ? result.value : 0.0;
}

} // namespace NumberFormat
