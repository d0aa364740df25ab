// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows1252.h"

namespace {

// The characters of 0x80..0x9F; 0 marks the five bytes without one.
constexpr char16_t high1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

namespace Windows1252 {

int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    if (c < 0xA0 && high1252[c - 0x80] == 0)
        return c;
    for (int i = 0; i < 32; ++i) {
        if (high1252[i] == c)
            return 0x80 + i;
    }
    return -1;
}

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        const int byte = c.isSurrogate() ? -1 : byteOf(c.unicode());
        bytes.append(byte < 0 ? '?' : char(byte));
    }
    return bytes;
}

bool fits(const QString &text)
{
    for (QChar c : text) {
        if (c.isSurrogate() || byteOf(c.unicode()) < 0)
            return false;
    }
    return true;
}

QString decode(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u < 0xA0 && high1252[u - 0x80] != 0)
            text.append(QChar(high1252[u - 0x80]));
        else
            text.append(QChar(char16_t(u)));
    }
    return text;
}

} // namespace Windows1252
