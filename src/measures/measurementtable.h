// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// Units a column header can state. Other: the header names a unit that is
// neither a time nor a length (m/s, N), so the column is neither.
enum class MeasureUnit { Unknown, Second, Millisecond, Metre, Centimetre, Millimetre, Other };

// Factor to seconds or metres; 1 for Unknown and Other.
double unitFactor(MeasureUnit unit);
bool isTimeUnit(MeasureUnit unit);
bool isLengthUnit(MeasureUnit unit);
QString unitSymbol(MeasureUnit unit);

// What one header cell says about its column: "Time(sec)", "t (s)", "x [m]",
// "Position in mm", "t/s", "sigma_y", "Δy", "u(y) (m)".
struct ColumnHeading
{
    QString name; // the name without its unit
    MeasureUnit unit = MeasureUnit::Unknown;
    QString uncertaintyOf; // for "sigma_y", "Δy" or "u(y)": "y"; empty otherwise
};
ColumnHeading parseHeading(QStringView cell);
// The unit a cell of a units row holds ("(s)", "[m]", "mm", "m/s"), or Unknown
// when the cell is not a unit at all.
MeasureUnit parseUnitCell(QStringView cell);

struct MeasurementColumn
{
    QString name; // from the header, or "colonne N" (from 1) without one
    MeasureUnit unit = MeasureUnit::Unknown;
    int uncertaintyOf = -1;     // the column whose uncertainty this one holds, or -1
    std::vector<double> values; // one per data row; NaN for an empty or NaN cell
};

// How the file was written, as the reader found it.
struct TableLayout
{
    enum class Encoding { Ascii, Utf8, Utf8Bom, Windows1252 };
    enum class Header { None, Names, NamesAndUnits };

    Encoding encoding = Encoding::Ascii;
    QChar delimiter = u'\t'; // tab, ';', ',' or ' ' for runs of blanks
    QChar decimalMark = u'.';
    bool quoted = false; // some cells were between double quotes
    int titleLines = 0;  // non-empty lines before the header or the first row
    Header header = Header::None;

    // A French one-line summary for the import dialog.
    QString description() const;
};

// A table of numbers read from a file, before the user picks its columns.
struct MeasurementTable
{
    std::vector<MeasurementColumn> columns;
    std::vector<int> lines; // the file line (from 1) of each data row
    int skippedRows = 0;    // lines after the first data row that hold no data (text, a lone value)
    int firstSkippedLine = 0; // the first of them, 0 when none
    int lastLine = 0;         // the last line read
    TableLayout layout;

    int rowCount() const { return int(lines.size()); }
    int columnCount() const { return int(columns.size()); }
};
