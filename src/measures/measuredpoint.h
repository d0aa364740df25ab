// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "videoscale.h"

#include <QString>

#include <cmath>
#include <vector>

// One measured position of the falling ball, in the program's units and
// orientation: t in s, y the distance fallen in m (growing downwards, the
// fall is positive). Readers convert the file's units and sign before they
// fill it; the fit and the graphs read only this.
struct MeasuredPoint
{
    enum class Exclusion {
        None,     // used by the fit and drawn as a measurement
        LostBall, // a tracker's value after it lost the ball (a run of exact zeros, NaN)
        User,     // left out by the user in the table or on the graph
    };

    double t = 0.0;
    double y = 0.0;
    double sigma = std::nan(""); // standard uncertainty of y in m, NaN when the source gives none
    int source = 0;              // line of the file (from 1), or frame number for a video
    Exclusion exclusion = Exclusion::None;

    bool included() const { return exclusion == Exclusion::None; }
};

// A set of measured points in increasing time, with where it came from.
struct MeasurementSet
{
    std::vector<MeasuredPoint> points;
    QString sourceName; // file name or "presse-papiers", for titles and legends
    // For a video: its scale and the uncertainties of its inputs, which η's
    // uncertainty takes into account.
    VideoScale scale;

    bool isEmpty() const { return points.empty(); }
    int includedCount() const
    {
        int n = 0;
        for (const MeasuredPoint &p : points)
            n += p.included() ? 1 : 0;
        return n;
    }
};
