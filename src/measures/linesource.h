// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measurementtable.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

class QIODevice;

// Reads a device line by line with bounded memory: the device is read in
// chunks, a line may not pass maxLineBytes, the whole read may not pass
// maxBytes nor maxLines. Lines end at LF, CRLF or CR. A line that is valid
// UTF-8 is read as UTF-8, any other as Windows-1252; after a UTF-8 byte-order
// mark, every line is UTF-8. Bytes that no text holds (NUL, a UTF-16 mark)
// stop the reading with a French message naming the line.
class LineSource
{
public:
    static constexpr qsizetype maxLineBytes = 64 * 1024;
    static constexpr qint64 maxBytes = 128LL * 1024 * 1024;
    static constexpr int maxLines = 2'000'000;

    explicit LineSource(QIODevice *device);

    // The next line, without its end; false at the end of the device or on an
    // error (then failed() is true).
    bool next(QString &line);
    bool failed() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }
    // The line last returned, from 1.
    int lineNumber() const { return m_line; }
    // The encoding met so far.
    TableLayout::Encoding encoding() const;

private:
    bool fill();
    bool fail(const QString &message);
    void decode(const char *bytes, qsizetype size, QString &line);

    QIODevice *m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_total = 0;
    qint64 m_chunk = 0; // bytes asked of the device at the last read
    int m_line = 0;
    bool m_started = false;
    bool m_atEnd = false;
    bool m_bom = false;
    bool m_utf8 = false;
    bool m_windows1252 = false;
    QString m_error;
    QStringDecoder m_utf8Decoder {QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
};
