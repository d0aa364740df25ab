// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows1252.h"

namespace Windows1252 {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; 0 marks the five
// bytes that have no character.
constexpr char16_t high1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    if (c >= 0x80 && c < 0xA0 && high1252[c - 0x80] == 0)
        return char(c);
    for (int i = 0; i < 32; ++i) {
        if (high1252[i] != 0 && high1252[i] == c)
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        bytes.append(c.isSurrogate() ? '?' : encodeOne(c.unicode()));
    }
    return bytes;
}

bool fits(const QString &text)
{
    for (QChar c : text) {
        if (c.isSurrogate() || (encodeOne(c.unicode()) == '?' && c != u'?'))
            return false;
    }
    return true;
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0)
            *out++ = QChar(high1252[u - 0x80] ? high1252[u - 0x80] : char16_t(u));
        else
            *out++ = QChar(char16_t(u));
    }
    return text;
}

} // namespace Windows1252
