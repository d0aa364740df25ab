// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurecommand.h"

#include "measures/columnchoice.h"
#include "measures/measurementreader.h"

#include <QFile>
#include <QFileInfo>

namespace MeasureCommand {

namespace {

// The column named name (letter case aside), else the one numbered so (from
// 1); -1 when neither.
int findColumn(const MeasurementTable &table, const QString &name)
{
    for (int i = 0; i < table.columnCount(); ++i)
        if (table.columns[size_t(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    bool isNumber = false;
    const int number = name.toInt(&isNumber);
    return isNumber && number >= 1 && number <= table.columnCount() ? number - 1 : -1;
}

} // namespace

std::optional<MeasurementSet> readFile(const QString &path, const QString &column,
                                       const FallSetup &setup, QString *error, QString *remark)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Le fichier ne peut pas être ouvert (%1).").arg(file.errorString());
        return std::nullopt;
    }
    MeasurementReader reader;
    if (!reader.read(&file)) {
        *error = reader.errorString();
        return std::nullopt;
    }
    const MeasurementTable &table = reader.table();
    ColumnChoice choice = defaultChoice(table);
    if (!column.isEmpty()) {
        const int index = findColumn(table, column);
        if (index < 0) {
            QStringList names;
            for (const MeasurementColumn &c : table.columns)
                names << c.name;
            *error
                = QStringLiteral("La colonne « %1 » n'existe pas dans ce fichier (colonnes : %2).")
                      .arg(column, names.join(QStringLiteral(", ")));
            return std::nullopt;
        }
        choice = withPosition(table, choice, index);
    }
    std::optional<MeasurementSet> set = toMeasurementSet(table, choice, error);
    if (!set)
        return set;
    set->sourceName = QFileInfo(path).fileName();
    if (!isTimeUnit(table.columns[size_t(choice.time)].unit)) {
        *remark = UnitSanity::millisecondTimes(*set, setup);
        if (!remark->isEmpty())
            UnitSanity::toSeconds(*set);
    }
    return set;
}

} // namespace MeasureCommand
