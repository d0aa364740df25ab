// SPDX-License-Identifier: GPL-3.0-or-later
#include "csvtext.h"

namespace {

QString trimmedEnd(const QString &cell)
{
    qsizetype end = cell.size();
    while (end > 0 && cell.at(end - 1).isSpace())
        --end;
    return cell.left(end);
}

QString csvCell(const QString &text)
{
    const QString cell = trimmedEnd(text);
    const bool quoted = cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"'))
        || cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
    if (!quoted)
        return cell;
    QString escaped = cell;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString CsvText::text(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList cells;
        cells.reserve(row.size());
        for (const QString &cell : row)
            cells.append(csvCell(cell));
        text += cells.join(QLatin1Char(';'));
        text += QStringLiteral("\r\n");
    }
    return text;
}

QByteArray CsvText::bytes(const QString &csv)
{
    return QByteArrayLiteral("\xEF\xBB\xBF") + csv.toUtf8();
}
