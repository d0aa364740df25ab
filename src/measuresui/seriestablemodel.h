// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/fallseries.h"

#include <QAbstractTableModel>

#include <vector>

// The trials of a series as the Série tab lists them, one row per trial: its
// number, its source, the radius, v∞ (wall-corrected) and η with their u, Re,
// and whether the series uses it. The report prints the same cells.
class SeriesTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, Source, Radius, Velocity, Reynolds, Eta, Used, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setSeries(std::vector<SeriesTrial> trials, SeriesResult result);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The text of a cell, in French; "Retenu" says "oui", "non" or, for a
    // trial named as disagreeing, how far it lies from the others.
    static QString cell(const std::vector<SeriesTrial> &trials, const SeriesResult &result, int row,
                        int column);
    static QString header(int column);

private:
    std::vector<SeriesTrial> m_trials;
    SeriesResult m_result;
};
