// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

// Bytes of a record file made by hand, independently of the writer: each
// text (Latin-1 here) in a 128-byte record after its 16-bit little-endian
// length, zeros to the end.
inline QByteArray recordBytes(const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &text : texts) {
        const QByteArray raw = text.toLatin1();
        QByteArray record(128, '\0');
        record[0] = char(raw.size() & 0xFF);
        record[1] = char(raw.size() >> 8);
        record.replace(2, raw.size(), raw);
        bytes += record;
    }
    return bytes;
}

// The 24 texts of a valid configuration, record 1 first.
inline QStringList validTexts()
{
    return {QStringLiteral("LORVA"), QStringLiteral("3,5"),   QStringLiteral("145"),
            QStringLiteral("1"),     QStringLiteral("0,2"),   QStringLiteral("800"),
            QStringLiteral("30"),    QStringLiteral("70"),    QStringLiteral("1000"),
            QStringLiteral("1"),     QStringLiteral("0"),     QStringLiteral("0"),
            QStringLiteral("1"),     QStringLiteral("0"),     QStringLiteral("1"),
            QStringLiteral("1"),     QStringLiteral("0"),     QStringLiteral("0"),
            QStringLiteral("0"),     QStringLiteral("33023"), QStringLiteral("16711935"),
            QStringLiteral("49152"), QStringLiteral("192"),   QStringLiteral("12582912")};
}

// validTexts() with record n (from 1) replaced by text.
inline QStringList textsWith(int record, const QString &text)
{
    QStringList texts = validTexts();
    texts[record - 1] = text;
    return texts;
}
