// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measuredpoint.h"
#include "measurementtable.h"

#include <QString>

#include <optional>

// Which columns of a table are the time, the position and its uncertainty, in
// which units, and whether the position must change sign to grow downwards.
struct ColumnChoice
{
    int time = -1;
    int position = -1;
    int uncertainty = -1; // -1: none
    MeasureUnit timeUnit = MeasureUnit::Second;
    MeasureUnit lengthUnit
        = MeasureUnit::Metre; // of the position and, unless its header says, of the uncertainty
    bool flip = false;        // the column grows upwards: its values are negated
};

// The choice the table suggests: the time column by its unit or its name
// ("t", "Time", "temps"), else the first; the position column that moves most
// (in metres, units converted) among the others that are neither a time, an
// uncertainty, a column of another quantity nor a frame index (named
// "image", "frame", "n", "i", "#"…; integers stepping by one without a
// length unit are taken only when no other column is left); units from the
// header, else seconds and lengthWhenUnsaid; the sign from the data.
ColumnChoice defaultChoice(const MeasurementTable &table,
                           MeasureUnit lengthWhenUnsaid = MeasureUnit::Metre);

// choice with column as the position: its uncertainty column, its unit (the
// header's, else lengthWhenUnsaid) and its sign follow.
ColumnChoice withPosition(const MeasurementTable &table, ColumnChoice choice, int column,
                          MeasureUnit lengthWhenUnsaid = MeasureUnit::Metre);

// Whether the values of column decrease over the fall (an upward axis), from
// its first and last usable values.
bool growsUpwards(const MeasurementTable &table, int column);

// The points of the table under choice, in s and m with the fall positive.
// Rows without a time are left out. Positions that a tracker writes when it
// has lost the ball (NaN or empty, a run of exact zeros after a moving
// ball) are kept, marked LostBall. Fails with a French message naming a line
// when the times do not increase, are all equal, or when fewer than 3 points
// are usable; the set's sourceName is left to the caller.
std::optional<MeasurementSet> toMeasurementSet(const MeasurementTable &table,
                                               const ColumnChoice &choice, QString *error);
