// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the reader of measured tables.
//
// Arbitrary bytes are read as a table of measurements, whole and through a
// device that hands them over a few bytes at a time. The reader must never
// crash, must give the same answer both ways, and either refuse with a
// message and an empty table or return a table whose columns all have one
// value per row, in increasing lines. The table's default choice then gives
// points in increasing finite time, or a message.

#include "measures/columnchoice.h"
#include "measures/measurementreader.h"

#include <QBuffer>
#include <QByteArray>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_measures: %s\n", what);
    std::abort();
}

// A buffer that never returns more than a few bytes per read, so that lines
// and CRLF pairs fall across reads.
class TrickleBuffer : public QBuffer
{
protected:
    qint64 readData(char *data, qint64 size) override
    {
        return QBuffer::readData(data, std::min<qint64>(size, 3));
    }
};

void check(const MeasurementReader &reader, bool ok)
{
    const MeasurementTable &table = reader.table();
    if (!ok) {
        if (reader.errorString().isEmpty())
            fail("refused without a reason");
        if (table.rowCount() != 0 || table.columnCount() != 0)
            fail("refused with a partial table");
        return;
    }
    if (table.rowCount() < 3 || table.rowCount() > MeasurementReader::maxPoints)
        fail("row count out of range");
    if (table.columnCount() < 1 || table.columnCount() > MeasurementReader::maxColumns)
        fail("column count out of range");
    for (const MeasurementColumn &column : table.columns) {
        if (column.values.size() != table.lines.size())
            fail("a column without one value per row");
        if (column.uncertaintyOf >= table.columnCount())
            fail("an uncertainty of no column");
    }
    for (std::size_t i = 1; i < table.lines.size(); ++i) {
        if (table.lines[i] <= table.lines[i - 1])
            fail("lines not increasing");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    MeasurementReader whole;
    const bool ok = whole.read(bytes);
    check(whole, ok);

    TrickleBuffer trickle;
    trickle.setData(bytes);
    trickle.open(QIODevice::ReadOnly);
    MeasurementReader piecewise;
    const bool piecewiseOk = piecewise.read(&trickle);
    check(piecewise, piecewiseOk);
    if (ok != piecewiseOk || whole.errorString() != piecewise.errorString()
        || whole.table().lines != piecewise.table().lines)
        fail("reading in pieces differs from reading whole");
    if (!ok)
        return 0;

    const MeasurementTable &table = whole.table();
    const ColumnChoice choice = defaultChoice(table);
    QString error;
    const std::optional<MeasurementSet> set = toMeasurementSet(table, choice, &error);
    if (!set) {
        if (error.isEmpty())
            fail("points refused without a reason");
        return 0;
    }
    if (set->includedCount() < 3)
        fail("fewer than 3 usable points accepted");
    for (std::size_t i = 0; i < set->points.size(); ++i) {
        const MeasuredPoint &p = set->points[i];
        if (!std::isfinite(p.t) || (i > 0 && p.t <= set->points[i - 1].t))
            fail("times not finite and increasing");
        if (p.included() && !std::isfinite(p.y))
            fail("a usable point without a position");
    }
    return 0;
}
