// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tablecells.h"

#include <QString>

#include <optional>
#include <vector>

// Finding how a table is written from its first lines, and reading its rows
// once that is known.
namespace TableLayoutDetection {

struct Format
{
    QChar delimiter;
    bool decimalComma = false;
};

// One row read under a format: its numbers (NaN for empty and NaN cells).
struct Row
{
    std::vector<TableCells::Cell> cells;
    std::vector<double> values;
    bool data = false;   // two filled cells or more, all numbers or NaN, one number at least
    bool quoted = false; // a cell was quoted
    int filled = 0;      // index after the last non-empty cell
};
void readRow(QStringView line, const Format &format, Row &row);

struct Guess
{
    Format format;
    int firstData = 0; // index in the sample of the first data row
};
// The format under which most sample lines are data rows (then most numbers
// per row; then the order tab, ';', ',', runs of blanks, point before comma).
std::optional<Guess> guess(const std::vector<QString> &sample);

// The header lines found before the first data row.
struct Header
{
    int titleLines = 0;
    int names = -1; // index in the sample of the names row, or -1
    int units = -1; // index in the sample of the units row, or -1
};
Header findHeader(const std::vector<QString> &sample, const Guess &guess);

// The cells of a names or units row; with blanks as delimiter, a bracketed
// unit alone ("(s)") joins the name before it.
std::vector<QString> headerCells(QStringView line, const Format &format);

} // namespace TableLayoutDetection
