// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QStringView>

#include <vector>

// How one line of a measurement table splits into cells, and how one cell
// reads as a number. The number itself is read by NumberScanner; what is
// particular to tables lives here: quotes, NaN, and the non-breaking spaces
// that spreadsheets put between thousands.
namespace TableCells {

struct Cell
{
    QStringView text; // trimmed, without its quotes (a doubled quote inside stays doubled)
    bool quoted = false;
};

// Splits line at delimiter (tab, ';', ','; ' ' splits at runs of spaces and
// tabs). A delimiter inside double quotes belongs to the cell. A trailing
// delimiter gives a trailing empty cell. cells is cleared first.
void split(QStringView line, QChar delimiter, std::vector<Cell> &cells);

enum class Kind {
    Empty,      // nothing in the cell
    Number,     // value holds it
    NotANumber, // "NaN", as trackers pad short or lost columns
    Text,
};

// decimalComma: a comma is the decimal mark (a point is still read as one).
Kind read(QStringView text, bool decimalComma, double &value);

// The text of a header cell: doubled quotes made single.
QString headerText(const Cell &cell);

} // namespace TableCells
