#include "numberformat.h"

#include <cfloat>
#include <charconv>
#include <cmath>

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

std::optional<double> fromChars(const QByteArray &ascii)
{
    double value = 0.0;
    const char *begin = ascii.constData();
    const char *end = begin + ascii.size();
    // from_chars takes no leading plus sign.
    if (begin != end && *begin == '+')
        ++begin;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

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

bool fitsSingle(double value)
{
    return std::isfinite(value) && std::fabs(value) <= double(FLT_MAX);
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
    const std::optional<double> rounded
        = fromChars(toChars(value, std::chars_format::scientific, 2).toLatin1());
    if (!rounded || !fitsSingle(*rounded))
        return std::nullopt;
    return float(*rounded);
}

QString threeSignificant(double value)
{
    const std::optional<float> rounded = roundThreeSignificant(value);
    return rounded ? generalSingle(*rounded) : QString();
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
    const QString trimmed = text.trimmed();
    QByteArray ascii;
    ascii.reserve(trimmed.size());
    int i = 0;
    const int n = int(trimmed.size());
    auto at = [&](int k) { return k < n ? trimmed.at(k).unicode() : char16_t(0); };
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };

    if (at(i) == u'+' || at(i) == u'-')
        ascii.append(char(trimmed.at(i++).unicode()));
    int mantissaDigits = 0;
    while (isDigit(at(i))) {
        ascii.append(char(at(i++)));
        ++mantissaDigits;
    }
    if (at(i) == u',' || at(i) == u'.') {
        ascii.append('.');
        ++i;
        while (isDigit(at(i))) {
            ascii.append(char(at(i++)));
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (at(i) == u'E' || at(i) == u'e') {
        ascii.append('E');
        ++i;
        if (at(i) == u'+' || at(i) == u'-')
            ascii.append(char(at(i++)));
        int exponentDigits = 0;
        while (isDigit(at(i))) {
            ascii.append(char(at(i++)));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;

    return fromChars(ascii);
}

double leadingValue(const QString &text)
{
    QByteArray ascii;
    int i = 0;
    const int n = int(text.size());
    auto at = [&](int k) { return k < n ? text.at(k).unicode() : char16_t(0); };
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    while (at(i) == u' ' || at(i) == u'\t')
        ++i;
    if (at(i) == u'+' || at(i) == u'-')
        ascii.append(char(at(i++)));
    int digits = 0;
    while (isDigit(at(i))) {
        ascii.append(char(at(i++)));
        ++digits;
    }
    if (at(i) == u'.') {
        ascii.append('.');
        ++i;
        while (isDigit(at(i))) {
            ascii.append(char(at(i++)));
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    if (at(i) == u'E' || at(i) == u'e') {
        int k = i + 1;
        QByteArray exponent("E");
        if (at(k) == u'+' || at(k) == u'-')
            exponent.append(char(at(k++)));
        if (isDigit(at(k))) {
            while (isDigit(at(k)))
                exponent.append(char(at(k++)));
            ascii.append(exponent);
        }
    }
    return fromChars(ascii).value_or(0.0);
}

std::optional<float> parseSingle(const QString &text)
{
    const std::optional<double> value = parse(text);
    if (!value || !fitsSingle(*value))
        return std::nullopt;
    return float(*value);
}

} // namespace NumberFormat
