// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurementholder.h"

void MeasurementHolder::setSet(MeasurementSet set)
{
    m_set = std::move(set);
    clearFit();
    emit changed();
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
