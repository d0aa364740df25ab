// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameterfields.h"

#include "numberformat.h"

#include <algorithm>

float ParameterFields::value(int index) const
{
    return NumberFormat::parseSingle(text(index)).value_or(0.0f);
}

double ParameterFields::intervalMs(const QString &text)
{
    return std::clamp(NumberFormat::leadingValue(text), minIntervalMs, maxIntervalMs);
}
