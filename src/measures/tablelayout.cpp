// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablelayout.h"

#include "measurementtable.h"

#include <array>
#include <cmath>
#include <limits>

namespace TableLayoutDetection {

namespace {

bool isEmptyLine(const QString &line)
{
    return line.trimmed().isEmpty();
}

bool isUnitsRow(QStringView line, const Format &format)
{
    int units = 0;
    for (const QString &cell : headerCells(line, format)) {
        if (cell.isEmpty())
            continue;
        if (parseUnitCell(cell) == MeasureUnit::Unknown)
            return false;
        ++units;
    }
    return units > 0;
}

int filledCells(QStringView line, const Format &format)
{
    int filled = 0;
    for (const QString &cell : headerCells(line, format))
        filled += cell.isEmpty() ? 0 : 1;
    return filled;
}

} // namespace

void readRow(QStringView line, const Format &format, Row &row)
{
    TableCells::split(line, format.delimiter, row.cells);
    row.values.resize(row.cells.size());
    row.data = false;
    row.quoted = false;
    row.filled = 0;
    int nonEmpty = 0;
    int numbers = 0;
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        const TableCells::Cell &cell = row.cells[i];
        row.quoted = row.quoted || cell.quoted;
        double value = std::numeric_limits<double>::quiet_NaN();
        switch (TableCells::read(cell.text, format.decimalComma, value)) {
        case TableCells::Kind::Text:
            return;
        case TableCells::Kind::Empty:
            row.values[i] = std::numeric_limits<double>::quiet_NaN();
            continue;
        case TableCells::Kind::Number:
            ++numbers;
            break;
        case TableCells::Kind::NotANumber:
            break;
        }
        row.values[i] = value;
        ++nonEmpty;
        row.filled = int(i) + 1;
    }
    row.data = nonEmpty >= 2 && numbers >= 1;
}

std::optional<Guess> guess(const std::vector<QString> &sample)
{
    static constexpr std::array formats {
        Format {u'\t', false}, Format {u'\t', true}, Format {u';', false}, Format {u';', true},
        Format {u',', false},  Format {u',', true},  Format {u' ', false}, Format {u' ', true},
    };
    std::optional<Guess> best;
    long long bestRows = 0;
    long long bestNumbers = 0;
    Row row;
    for (const Format &format : formats) {
        long long rows = 0;
        long long numbers = 0;
        int first = -1;
        for (std::size_t i = 0; i < sample.size(); ++i) {
            readRow(sample[i], format, row);
            if (!row.data)
                continue;
            if (first < 0)
                first = int(i);
            ++rows;
            for (std::size_t k = 0; k < row.values.size(); ++k)
                numbers += std::isnan(row.values[k]) ? 0 : 1;
        }
        if (rows > bestRows || (rows == bestRows && rows > 0 && numbers > bestNumbers)) {
            best = Guess {format, first};
            bestRows = rows;
            bestNumbers = numbers;
        }
    }
    return best;
}

Header findHeader(const std::vector<QString> &sample, const Guess &guess)
{
    std::vector<int> before;
    for (int i = 0; i < guess.firstData; ++i) {
        if (!isEmptyLine(sample[std::size_t(i)]))
            before.push_back(i);
    }
    Header header;
    std::size_t used = 0;
    if (!before.empty() && isUnitsRow(sample[std::size_t(before.back())], guess.format)) {
        header.units = before.back();
        used = 1;
        if (before.size() >= 2) {
            header.names = before[before.size() - 2];
            used = 2;
        }
    } else if (!before.empty()
               && filledCells(sample[std::size_t(before.back())], guess.format) >= 2) {
        header.names = before.back();
        used = 1;
    }
    header.titleLines = int(before.size() - used);
    return header;
}

std::vector<QString> headerCells(QStringView line, const Format &format)
{
    std::vector<TableCells::Cell> cells;
    TableCells::split(line, format.delimiter, cells);
    std::vector<QString> texts;
    texts.reserve(cells.size());
    for (const TableCells::Cell &cell : cells) {
        QString text = TableCells::headerText(cell);
        const bool bracketed = text.size() >= 2
            && ((text.front() == u'(' && text.back() == u')')
                || (text.front() == u'[' && text.back() == u']'));
        if (format.delimiter == u' ' && bracketed && !texts.empty()
            && parseUnitCell(text) != MeasureUnit::Unknown
            && parseUnitCell(texts.back()) == MeasureUnit::Unknown) {
            texts.back() += u' ' + text;
            continue;
        }
        texts.push_back(text);
    }
    return texts;
}

} // namespace TableLayoutDetection
