#include "displayformat.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace DisplayFormat {

QString scientific(double value)
{
    if (!std::isfinite(value))
        return QString();
    if (value == 0.0)
        value = 0.0; // no "-0.E+00"

    // Eight significant digits, rounded by to_chars, which also writes the
    // exponent with its sign and at least two digits: "1.2000000e+01".
    char buffer[64];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 7);
    const std::string_view text(buffer, result.ptr - buffer);
    const std::size_t e = text.find('e');
    std::string_view mantissa = text.substr(0, e);
    while (mantissa.ends_with('0'))
        mantissa.remove_suffix(1);

    QString shown = QString::fromLatin1(mantissa.data(), qsizetype(mantissa.size()));
    shown += QLatin1Char('E');
    shown += QLatin1String(text.data() + e + 1, qsizetype(text.size() - e - 1));
    return shown;
}

} // namespace DisplayFormat
