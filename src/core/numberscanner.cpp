// SPDX-License-Identifier: GPL-3.0-or-later
#include "numberscanner.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace NumberScanner {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The exponent's digits saturate far beyond any floating-point range, so
// that no digit string can overflow the counter.
constexpr long long exponentCap = 1000000;

// The number found in a text, rewritten for std::from_chars: plain ASCII
// digits, a point, "e" and the exponent, without the sign.
struct Scanned
{
    bool found = false;
    bool negative = false;
    std::string integer;
    std::string fraction;
    long long exponent = 0;

    std::string ascii() const
    {
        std::string text = integer.empty() ? std::string("0") : integer;
        if (!fraction.empty())
            text += '.' + fraction;
        return text + 'e' + std::to_string(exponent);
    }

    // Decimal order of magnitude of the first non-zero digit, exponent
    // included (0 for an all-zero number): tells an overflow from an underflow.
    long long order() const
    {
        for (std::size_t k = 0; k < integer.size(); ++k) {
            if (integer[k] != '0')
                return static_cast<long long>(integer.size() - k) - 1 + exponent;
        }
        for (std::size_t k = 0; k < fraction.size(); ++k) {
            if (fraction[k] != '0')
                return -static_cast<long long>(k) - 1 + exponent;
        }
        return 0;
    }
};

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

Scanned scan(QStringView text, Options options)
{
    Scanned number;
    qsizetype n = text.size();
    qsizetype i = 0;
    if (options.wholeText) {
        while (i < n && text[i].isSpace())
            ++i;
        while (n > i && text[n - 1].isSpace())
            --n;
    } else {
        while (i < n && isBlank(text[i].unicode()))
            ++i;
    }
    auto at = [&](qsizetype k) { return k < n ? text[k].unicode() : char16_t(0); };

    if (at(i) == u'+' || at(i) == u'-')
        number.negative = text[i++] == u'-';
    while (isDigit(at(i)))
        number.integer.push_back(char(at(i++)));
    if (at(i) == u'.' || (options.decimalComma && at(i) == u',')) {
        ++i;
        while (isDigit(at(i)))
            number.fraction.push_back(char(at(i++)));
    }
    if (number.integer.empty() && number.fraction.empty())
        return number;

    const char16_t marker = at(i);
    const bool isMarker = marker == u'E' || marker == u'e'
        || (options.exponentD && (marker == u'D' || marker == u'd'));
    if (isMarker) {
        qsizetype k = i + 1;
        bool exponentNegative = false;
        if (at(k) == u'+' || at(k) == u'-')
            exponentNegative = text[k++] == u'-';
        if (isDigit(at(k))) {
            while (isDigit(at(k))) {
                if (number.exponent < exponentCap)
                    number.exponent = number.exponent * 10 + (at(k) - u'0');
                ++k;
            }
            if (exponentNegative)
                number.exponent = -number.exponent;
            i = k;
        }
    }

    number.found = !options.wholeText || i == n;
    return number;
}

template<typename T>
Result<T> convert(QStringView text, Options options)
{
    const Scanned number = scan(text, options);
    if (!number.found)
        return {};

    const std::string ascii = number.ascii();
    T value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (number.order() > 0)
            return {Status::Overflow, T(0)};
        return {Status::Underflow, number.negative ? -T(0) : T(0)};
    }
    if (result.ec != std::errc() || !std::isfinite(value))
        return {Status::Overflow, T(0)};
    return {Status::Ok, number.negative ? -value : value};
}

} // namespace

Result<double> toDouble(QStringView text, Options options)
{
    return convert<double>(text, options);
}

Result<float> toFloat(QStringView text, Options options)
{
    return convert<float>(text, options);
}

} // namespace NumberScanner
