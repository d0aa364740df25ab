// SPDX-License-Identifier: GPL-3.0-or-later
#include "measuredpointsmodel.h"

#include "measures/measurementholder.h"

#include "core/numberformat.h"

#include <QBrush>
#include <QColor>

MeasuredPointsModel::MeasuredPointsModel(const MeasurementHolder &holder, QObject *parent)
    : QAbstractTableModel(parent)
    , m_holder(holder)
{ }

int MeasuredPointsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_holder.set().points.size());
}

int MeasuredPointsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MeasuredPointsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const MeasuredPoint &p = m_holder.set().points[size_t(index.row())];
    if (role == Qt::ForegroundRole && !p.included())
        return QBrush(QColor(128, 128, 128));
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    switch (index.column()) {
    case Time:
        return NumberFormat::significant(p.t, 6);
    case Position:
        return std::isfinite(p.y) ? NumberFormat::significant(p.y, 6) : QString();
    case Excluded:
        switch (p.exclusion) {
        case MeasuredPoint::Exclusion::User:
            return QStringLiteral("exclu");
        case MeasuredPoint::Exclusion::LostBall:
            return QStringLiteral("perdu");
        default:
            return QString();
        }
    case Line:
        return p.source;
    default:
        return {};
    }
}

QVariant MeasuredPointsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Time:
        return QStringLiteral("t (s)");
    case Position:
        return QStringLiteral("y (m)");
    case Excluded:
        return QStringLiteral("Exclu");
    case Line:
        return QStringLiteral("Ligne");
    default:
        return {};
    }
}

void MeasuredPointsModel::reload()
{
    beginResetModel();
    endResetModel();
}
