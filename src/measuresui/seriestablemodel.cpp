// SPDX-License-Identifier: GPL-3.0-or-later
#include "seriestablemodel.h"

#include "core/numberformat.h"
#include "platform/palette.h"

#include <QBrush>

#include <algorithm>
#include <cmath>

void SeriesTableModel::setSeries(std::vector<SeriesTrial> trials, SeriesResult result)
{
    beginResetModel();
    m_trials = std::move(trials);
    m_result = std::move(result);
    endResetModel();
}

int SeriesTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_trials.size());
}

int SeriesTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SeriesTableModel::header(int column)
{
    switch (column) {
    case Number:
        return QStringLiteral("N°");
    case Source:
        return QStringLiteral("Essai");
    case Radius:
        return QStringLiteral("Rayon (mm)");
    case Velocity:
        return QStringLiteral("v∞ (mm/s)");
    case Reynolds:
        return QStringLiteral("Re");
    case Eta:
        return QStringLiteral("η (Pa·s)");
    case Used:
        return QStringLiteral("Retenu");
    default:
        return {};
    }
}

QString SeriesTableModel::cell(const std::vector<SeriesTrial> &trials, const SeriesResult &result,
                               int row, int column)
{
    if (row < 0 || row >= int(trials.size()))
        return {};
    const SeriesTrial &t = trials[size_t(row)];
    const auto finite = [](double v) { return std::isfinite(v); };
    switch (column) {
    case Number:
        return QString::number(row + 1);
    case Source:
        return t.label;
    case Radius:
        return FallSeries::measured(1e3 * t.radius, 1e3 * t.radiusU);
    case Velocity:
        return finite(t.velocity) ? FallSeries::measured(1e3 * t.velocity, 1e3 * t.velocityU)
                                  : QStringLiteral("—");
    case Reynolds:
        return finite(t.reynolds) ? NumberFormat::significant(t.reynolds, 2) : QStringLiteral("—");
    case Eta:
        return finite(t.eta) ? FallSeries::measured(t.eta, t.etaU) : QStringLiteral("—");
    case Used:
        if (!t.used)
            return QStringLiteral("non");
        if (FallSeries::isOutlier(result, row)) {
            const TrialAgreement *a = FallSeries::agreementOf(result, row);
            return QStringLiteral("oui, écart de %1 u")
                .arg(a ? NumberFormat::significant(a->gap, 2) : QStringLiteral("?"));
        }
        return QStringLiteral("oui");
    default:
        return {};
    }
}

QVariant SeriesTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_trials.size()))
        return {};
    const SeriesTrial &t = m_trials[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cell(m_trials, m_result, index.row(), index.column());
    case Qt::ForegroundRole:
        if (!t.used)
            return QBrush(QBColor(8));
        if (FallSeries::isOutlier(m_result, index.row()))
            return QBrush(QBColor(12));
        return {};
    case Qt::ToolTipRole:
        return t.used ? QStringLiteral("Clic sur « Retenu », Espace ou Entrée : laisser cet essai "
                                       "de côté")
                      : QStringLiteral("Clic sur « Retenu », Espace ou Entrée : reprendre cet "
                                       "essai");
    case Qt::TextAlignmentRole:
        return index.column() == Source || index.column() == Used
            ? int(Qt::AlignLeft | Qt::AlignVCenter)
            : int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant SeriesTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return header(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
