// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

class MeasurementHolder;

// The holder's points as a read-only table: time (s), position (m), whether
// the point is left out, and its line in the source. A model rather than
// one item per cell, so that a set of a million points costs nothing to show.
class MeasuredPointsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Position, Excluded, Line, ColumnCount };

    explicit MeasuredPointsModel(const MeasurementHolder &holder, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The holder's set changed: every row is read again.
    void reload();

private:
    const MeasurementHolder &m_holder;
};
