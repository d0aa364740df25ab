// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "uncertainty.h"

#include <cstdint>
#include <vector>

// The propagation of distributions by Monte-Carlo draws: each input drawn from
// its law (normal, or rectangular for a resolution) around its value with its
// standard uncertainty, the measurand computed for every draw, and the values
// drawn described by their mean, deviation and quantiles. A run repeats
// itself: the same inputs and seed give the same figures on every machine.
struct MonteCarloResult
{
    bool ok = false;
    QString error; // French, when not ok

    int draws = 0;    // asked for
    int rejected = 0; // draws where the measurand was not finite (left out)
    double mean = 0.0;
    double standardDeviation = 0.0;
    // The probabilistically symmetric 95 % coverage interval: the 2,5 % and
    // 97,5 % quantiles of the kept results.
    double low = 0.0;
    double high = 0.0;
    // A histogram of the kept results, from the smallest to the largest:
    // edges.size() == counts.size() + 1, counts summing to draws − rejected.
    std::vector<double> edges;
    std::vector<int> counts;
};

namespace MonteCarlo {

inline constexpr int maxDraws = 10'000'000;
inline constexpr std::uint64_t defaultSeed = 20080328;

// N draws of the inputs; bins is the histogram's number of bins (at least 1).
// Fails when draws is outside 2..maxDraws, when an uncertainty is negative or
// not finite, or when fewer than half the draws give a finite result.
MonteCarloResult run(const std::vector<UncertainInput> &inputs, const Measurand &f, int draws,
                     std::uint64_t seed = defaultSeed, int bins = 40);

// The p-quantile (0 ≤ p ≤ 1) of sorted values by linear interpolation between
// order statistics at (n − 1)·p; sorted must not be empty.
double quantile(const std::vector<double> &sorted, double p);

} // namespace MonteCarlo
