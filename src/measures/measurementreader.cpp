// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurementreader.h"

#include "linesource.h"
#include "tablelayout.h"

#include <QBuffer>

#include <cmath>
#include <limits>

using namespace TableLayoutDetection;

namespace {

constexpr double missing = std::numeric_limits<double>::quiet_NaN();

QString defaultName(int column)
{
    return QStringLiteral("colonne %1").arg(column + 1);
}

// Fills the columns' names, units and uncertainty links from the header rows.
void applyHeader(MeasurementTable &table, const std::vector<QString> &sample, const Header &header,
                 const Format &format)
{
    std::vector<QString> names;
    std::vector<QString> units;
    if (header.names >= 0)
        names = headerCells(sample[std::size_t(header.names)], format);
    if (header.units >= 0)
        units = headerCells(sample[std::size_t(header.units)], format);
    while (!names.empty() && names.back().isEmpty())
        names.pop_back();
    while (!units.empty() && units.back().isEmpty())
        units.pop_back();
    const std::size_t count = std::min<std::size_t>(std::max(names.size(), units.size()),
                                                    MeasurementReader::maxColumns);
    if (table.columns.size() < count)
        table.columns.resize(count);

    std::vector<QString> targets(table.columns.size());
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        MeasurementColumn &column = table.columns[i];
        column.name = defaultName(int(i));
        if (i < names.size() && !names[i].isEmpty()) {
            const ColumnHeading heading = parseHeading(names[i]);
            if (!heading.name.isEmpty())
                column.name = heading.name;
            column.unit = heading.unit;
            targets[i] = heading.uncertaintyOf;
        }
        if (i < units.size() && !units[i].isEmpty())
            column.unit = parseUnitCell(units[i]);
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].isEmpty())
            continue;
        for (std::size_t k = 0; k < table.columns.size(); ++k) {
            if (k != i && table.columns[k].name.compare(targets[i], Qt::CaseInsensitive) == 0) {
                table.columns[i].uncertaintyOf = int(k);
                break;
            }
        }
    }
}

} // namespace

bool MeasurementReader::fail(const QString &message)
{
    m_table = MeasurementTable();
    m_error = message;
    return false;
}

bool MeasurementReader::read(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(&buffer);
}

bool MeasurementReader::read(QIODevice *device)
{
    m_table = MeasurementTable();
    m_error.clear();

    LineSource source(device);
    std::vector<QString> sample;
    std::vector<int> sampleLineNumbers;
    QString line;
    while (int(sample.size()) < sampleLines && source.next(line)) {
        sample.push_back(line);
        sampleLineNumbers.push_back(source.lineNumber());
    }
    if (source.failed())
        return fail(source.errorString());

    const std::optional<Guess> found = guess(sample);
    if (!found) {
        if (int(sample.size()) < sampleLines)
            return fail(QStringLiteral("Aucun tableau de nombres (deux colonnes au moins) dans "
                                       "le fichier (%1 lignes lues).")
                            .arg(sample.size()));
        return fail(QStringLiteral("Aucun tableau de nombres (deux colonnes au moins) dans les "
                                   "%1 premières lignes.")
                        .arg(sampleLines));
    }
    const Format format = found->format;
    const Header header = findHeader(sample, *found);
    MeasurementTable &table = m_table;
    table.layout.delimiter = format.delimiter;
    table.layout.decimalMark = format.decimalComma ? u',' : u'.';
    table.layout.titleLines = header.titleLines;
    table.layout.header = header.units >= 0
        ? (header.names >= 0 ? TableLayout::Header::NamesAndUnits : TableLayout::Header::Names)
        : (header.names >= 0 ? TableLayout::Header::Names : TableLayout::Header::None);
    applyHeader(table, sample, header, format);

    Row row;
    bool quoted = false;
    // Adds one line of the table's body; false on an error.
    auto take = [&](QStringView text, int lineNumber) {
        table.lastLine = lineNumber;
        readRow(text, format, row);
        if (!row.data) {
            if (!text.trimmed().isEmpty()) {
                ++table.skippedRows;
                if (table.firstSkippedLine == 0)
                    table.firstSkippedLine = lineNumber;
            }
            return true;
        }
        if (table.rowCount() >= maxPoints)
            return fail(QStringLiteral("Ligne %1 : le tableau dépasse 1 000 000 points, la "
                                       "limite d'une importation.")
                            .arg(lineNumber));
        if (row.filled > maxColumns)
            return fail(QStringLiteral("Ligne %1 : plus de %2 colonnes de nombres.")
                            .arg(lineNumber)
                            .arg(maxColumns));
        const std::size_t rows = table.lines.size();
        while (table.columns.size() < std::size_t(row.filled)) {
            MeasurementColumn column;
            column.name = defaultName(table.columnCount());
            column.values.assign(rows, missing);
            table.columns.push_back(std::move(column));
        }
        if (qint64(rows + 1) * qint64(table.columns.size()) > maxValues)
            return fail(QStringLiteral("Ligne %1 : le tableau dépasse 16 000 000 nombres, la "
                                       "limite d'une importation.")
                            .arg(lineNumber));
        for (std::size_t c = 0; c < table.columns.size(); ++c)
            table.columns[c].values.push_back(c < row.values.size() ? row.values[c] : missing);
        table.lines.push_back(lineNumber);
        quoted = quoted || row.quoted;
        return true;
    };

    for (std::size_t i = std::size_t(found->firstData); i < sample.size(); ++i) {
        if (!take(sample[i], sampleLineNumbers[i]))
            return false;
    }
    sample.clear();
    sample.shrink_to_fit();
    while (source.next(line)) {
        if (!take(line, source.lineNumber()))
            return false;
    }
    if (source.failed())
        return fail(source.errorString());

    if (table.rowCount() < 3)
        return fail(QStringLiteral("Le tableau n'a que %1 ligne(s) de nombres (lu jusqu'à la "
                                   "ligne %2) : il en faut au moins 3.")
                        .arg(table.rowCount())
                        .arg(table.lastLine));
    table.layout.encoding = source.encoding();
    table.layout.quoted = quoted;
    return true;
}
