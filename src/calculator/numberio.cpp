#include "numberio.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace NumberIo {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Decimal order of magnitude of the first non-zero digit of a mantissa
// written as integer digits, a point and fraction digits; 0 for an all-zero
// mantissa. Used to tell an overflow from an underflow.
long long leadingOrder(const std::string &integer, const std::string &fraction)
{
    for (std::size_t k = 0; k < integer.size(); ++k) {
        if (integer[k] != '0')
            return static_cast<long long>(integer.size() - k) - 1;
    }
    for (std::size_t k = 0; k < fraction.size(); ++k) {
        if (fraction[k] != '0')
            return -static_cast<long long>(k) - 1;
    }
    return 0;
}

} // namespace

std::optional<double> read(QStringView text)
{
    const qsizetype n = text.size();
    auto at = [&](qsizetype k) { return k < n ? text[k].unicode() : char16_t(0); };

    qsizetype i = 0;
    while (at(i) == u' ')
        ++i;
    bool negative = false;
    if (at(i) == u'+' || at(i) == u'-')
        negative = text[i++] == u'-';

    std::string integer;
    std::string fraction;
    while (isDigit(at(i)))
        integer.push_back(char(text[i++].unicode()));
    if (at(i) == u'.') {
        ++i;
        while (isDigit(at(i)))
            fraction.push_back(char(text[i++].unicode()));
    }
    if (integer.empty() && fraction.empty())
        return 0.0;

    // The exponent only counts when digits follow the marker and its sign. It
    // saturates far beyond the double range so that no digit string overflows it.
    long long exponent = 0;
    const char16_t marker = at(i);
    if (marker == u'E' || marker == u'e' || marker == u'D' || marker == u'd') {
        qsizetype k = i + 1;
        bool exponentNegative = false;
        if (at(k) == u'+' || at(k) == u'-')
            exponentNegative = text[k++] == u'-';
        if (isDigit(at(k))) {
            while (isDigit(at(k))) {
                if (exponent < 1000000)
                    exponent = exponent * 10 + (text[k].unicode() - u'0');
                ++k;
            }
            if (exponentNegative)
                exponent = -exponent;
        }
    }

    std::string ascii = integer.empty() ? std::string("0") : integer;
    if (!fraction.empty())
        ascii += '.' + fraction;
    ascii += 'e' + std::to_string(exponent);

    // std::from_chars never looks at the C locale, which Qt sets from the
    // environment; strtod would read the point as a separator only in some.
    double value = 0.0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (leadingOrder(integer, fraction) + exponent > 0)
            return std::nullopt;
        value = 0.0;
    } else if (result.ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
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
