// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurementholder.h"

void MeasurementHolder::setSet(MeasurementSet set)
{
    m_set = std::move(set);
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
    emit changed();
    return true;
}
