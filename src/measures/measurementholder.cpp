// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurementholder.h"

#include <QStringList>

void MeasurementHolder::setSet(MeasurementSet set)
{
    // A range in the old points' times would leave the new ones out (a 42 s
    // table's range makes a 5 s video unfittable): it goes with them.
    QStringList dropped;
    if (!m_range.isOpen())
        dropped << QStringLiteral("plage d'ajustement");
    if (m_fit)
        dropped << QStringLiteral("résultats");
    bool userExclusions = false;
    for (const MeasuredPoint &p : m_set.points)
        userExclusions |= p.exclusion == MeasuredPoint::Exclusion::User;
    if (userExclusions)
        dropped << QStringLiteral("points exclus");
    m_resetNote = dropped.isEmpty()
        ? QString()
        : QStringLiteral("Nouvelles mesures : ce qui appartenait aux précédentes est effacé (%1).")
              .arg(dropped.join(QStringLiteral(", ")));
    m_set = std::move(set);
    clearFit();
    const bool rangeDropped = !m_range.isOpen();
    m_range = FitRange();
    emit replaced();
    emit changed();
    if (rangeDropped)
        emit rangeChanged();
}

void MeasurementHolder::setScale(const VideoScale &scale)
{
    m_set.scale = scale;
    emit scaleChanged();
}

bool MeasurementHolder::setUserExcluded(int index, bool excluded)
{
    if (index < 0 || index >= int(m_set.points.size()))
        return false;
    MeasuredPoint &p = m_set.points[size_t(index)];
    if (p.exclusion == MeasuredPoint::Exclusion::LostBall)
        return false;
    const auto wanted = excluded ? MeasuredPoint::Exclusion::User : MeasuredPoint::Exclusion::None;
    if (p.exclusion == wanted)
        return false;
    p.exclusion = wanted;
    clearFit();
    emit changed();
    return true;
}

void MeasurementHolder::setFitRange(const FitRange &range)
{
    // A bound that is not a number leaves its side open.
    FitRange wanted = range;
    if (std::isnan(wanted.tMin))
        wanted.tMin = FitRange().tMin;
    if (std::isnan(wanted.tMax))
        wanted.tMax = FitRange().tMax;
    if (wanted == m_range)
        return;
    m_range = wanted;
    emit rangeChanged();
}

void MeasurementHolder::setZoomedOnRange(bool zoomed)
{
    if (zoomed == m_zoomed)
        return;
    m_zoomed = zoomed;
    emit viewChanged();
}

void MeasurementHolder::setFit(FitResult fit)
{
    m_fit = std::move(fit);
    emit fitChanged();
}

void MeasurementHolder::clearFit()
{
    if (!m_fit)
        return;
    m_fit.reset();
    emit fitChanged();
}

void MeasurementHolder::setTubeDiameter(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == m_tubeDiameter)
        return;
    m_tubeDiameter = trimmed;
    inputs.tube = trimmed;
    emit tubeChanged();
}

void MeasurementHolder::setTubeUncertainty(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == inputs.tubeU)
        return;
    inputs.tubeU = trimmed;
    emit tubeChanged();
}
