// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class PlatformServices;
class QIODevice;
class QImage;

// Saving the program's tables and pictures to files other programs open: a
// table as CSV for a French spreadsheet, a picture as PNG. The user chooses
// the file through PlatformServices (the format's extension is added to a
// name typed without one); a file that exists is replaced only
// after a confirmation; the file is written whole or not at all (AtomicSave);
// a failure is shown in a French message box.
namespace FileExport {

enum class Result { Saved, Cancelled, Failed };

// The rows of a table as CSV for a French spreadsheet: cells separated by
// semicolons, the blanks at the end of each cell dropped, a cell holding a
// semicolon, a quote or a line break quoted (quotes doubled), every line
// ended by CR LF. Decimal commas are kept as they are.
QString csvText(const QList<QStringList> &rows);

// The CSV text in UTF-8, after a byte-order mark so that spreadsheets read
// "m/s²" right.
QByteArray csvBytes(const QString &csv);

// Writes the picture as PNG on device; false with error set on failure.
bool writePng(const QImage &image, QIODevice *device, QString *error);

// Asks for a file name (title of the dialog, default name "tableau.csv") and
// saves the CSV text there.
Result saveCsv(const QString &csv, PlatformServices &services, const QString &title);

// Asks for a file name (title of the dialog, default name defaultName) and
// saves the picture there as PNG, at its pixel size.
Result savePng(const QImage &image, PlatformServices &services, const QString &title,
               const QString &defaultName = QStringLiteral("graphe.png"));

} // namespace FileExport
