// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Tables for a French spreadsheet, as every export of the program writes them.
namespace CsvText {

// Cells separated by semicolons, the blanks at the end of each cell dropped,
// a cell holding a semicolon, a quote or a line break quoted (quotes
// doubled), every line ended by CR LF. Decimal commas are kept as they are.
QString text(const QList<QStringList> &rows);

// The text in UTF-8, after a byte-order mark so that spreadsheets read
// "m/s²" right.
QByteArray bytes(const QString &csv);

} // namespace CsvText
