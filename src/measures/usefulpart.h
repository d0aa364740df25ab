// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fitsolver.h"

#include <QString>

#include <vector>

// Where the measured fall follows the law of the drag curve, found from the
// points alone, for a fit without a range given:
// - the rest before the release: the first points that do not move (a video
//   starts with the ball held); the release is then fitted from there;
// - the end: the last points that no longer move (the ball on the bottom of
//   the tube, or held at the edge of the picture it leaves), with one ball
//   diameter above them, where the bottom already slows it;
// - the entry transient, once the release is known: the history (Basset)
//   force, which the law leaves out, slows the approach to the limit
//   velocity until about the Oseen time ν/v∞² after the release, and the law
//   itself is still accelerating until 99 % of v∞.
// Samples are in time order. Internal to the measures library.
namespace UsefulPart {

// The standard deviation of the positions' noise, m, from the median of the
// absolute second differences (robust to the transient's curvature); 0 for
// fewer than three samples.
double noise(const std::vector<FitSolver::Sample> &samples);

struct Ends
{
    size_t restCount = 0; // samples at rest at the start (0 or at least 2)
    size_t stopIndex = 0; // first sample of the end left out (samples.size(): none)
    QString endReason;    // French, when some were left out
};

Ends ends(const std::vector<FitSolver::Sample> &samples, double ballDiameter);

// The time after which the law holds, s: t0 plus the later of the time the
// law reaches 99 % of v∞ and the Oseen time ν/v∞². reason says which, in French.
double transientEnd(const FallSetup &setup, double eta, double t0, QString *reason);

} // namespace UsefulPart
