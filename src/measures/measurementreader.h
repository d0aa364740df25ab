// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measurementtable.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// Reads a table of measurements as video-analysis tools, data loggers and
// spreadsheets write it, finding its layout alone: the encoding, the
// delimiter, the decimal mark, title lines, a names row with or without a
// units row. Rows that hold no data are skipped and counted.
//
// read() either fills table() completely and returns true, or leaves it empty
// and returns false with a French errorString() naming the line where it
// stopped. The device is read in chunks with bounded memory: at most
// maxPoints rows, maxColumns columns and maxValues numbers are kept.
class MeasurementReader
{
public:
    static constexpr int maxPoints = 1'000'000;
    static constexpr int maxColumns = 32;
    static constexpr qint64 maxValues = 16'000'000;
    // Lines in which the layout is looked for: title lines and the header
    // must end within them.
    static constexpr int sampleLines = 256;

    bool read(QIODevice *device);
    bool read(const QByteArray &bytes);

    const MeasurementTable &table() const { return m_table; }
    MeasurementTable takeTable() { return std::move(m_table); }
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &message);

    MeasurementTable m_table;
    QString m_error;
};
