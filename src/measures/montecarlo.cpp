// SPDX-License-Identifier: GPL-3.0-or-later
#include "montecarlo.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

// std::mt19937_64's sequence is fixed by the standard, but the standard
// library's distributions are not: each library draws its own way. These two
// use the engine's raw output only, so the draws are the same everywhere.
class Draws
{
public:
    explicit Draws(std::uint64_t seed)
        : m_engine(seed)
    { }

    // Uniform on the open interval (0, 1): 53 random bits, shifted by half a step.
    double uniform() { return (double(m_engine() >> 11) + 0.5) * 0x1.0p-53; }

    // Standard normal by the Box–Muller transform, both values of a pair used.
    double normal()
    {
        if (m_hasSpare) {
            m_hasSpare = false;
            return m_spare;
        }
        const double radius = std::sqrt(-2.0 * std::log(uniform()));
        const double angle = 2.0 * std::numbers::pi * uniform();
        m_spare = radius * std::sin(angle);
        m_hasSpare = true;
        return radius * std::cos(angle);
    }

private:
    std::mt19937_64 m_engine;
    double m_spare = 0.0;
    bool m_hasSpare = false;
};

} // namespace

namespace MonteCarlo {

double quantile(const std::vector<double> &sorted, double p)
{
    const double position = p * double(sorted.size() - 1);
    const size_t below = size_t(std::floor(position));
    if (below + 1 >= sorted.size())
        return sorted.back();
    const double fraction = position - double(below);
    return sorted[below] + fraction * (sorted[below + 1] - sorted[below]);
}

MonteCarloResult run(const std::vector<UncertainInput> &inputs, const Measurand &f, int draws,
                     std::uint64_t seed, int bins)
{
    MonteCarloResult result;
    result.draws = draws;
    if (draws < 2 || draws > maxDraws) {
        result.error
            = QStringLiteral("Le nombre de tirages doit être compris entre 2 et %1.").arg(maxDraws);
        return result;
    }
    for (const UncertainInput &input : inputs)
        if (!(input.uncertainty >= 0.0 && std::isfinite(input.uncertainty))) {
            result.error = QStringLiteral("L'incertitude de « %1 » doit être un nombre positif.")
                               .arg(input.name);
            return result;
        }

    Draws random(seed);
    std::vector<double> values(inputs.size());
    std::vector<double> results;
    results.reserve(size_t(draws));
    for (int n = 0; n < draws; ++n) {
        for (size_t k = 0; k < inputs.size(); ++k) {
            const UncertainInput &input = inputs[k];
            // Every input takes its draw, even an exact one, so that adding an
            // uncertainty to one input leaves the others' draws as they were.
            const double z = input.distribution == UncertainInput::Distribution::Uniform
                ? std::sqrt(3.0) * (2.0 * random.uniform() - 1.0)
                : random.normal();
            values[k] = input.value + input.uncertainty * z;
        }
        const double y = f(values);
        if (std::isfinite(y))
            results.push_back(y);
    }
    result.rejected = draws - int(results.size());
    if (results.size() < 2 || 2 * results.size() < size_t(draws)) {
        result.error = QStringLiteral("La grandeur n'a pas pu être calculée pour %1 tirages sur "
                                      "%2 : les incertitudes sont trop grandes pour ces valeurs.")
                           .arg(result.rejected)
                           .arg(draws);
        return result;
    }

    // Mean and deviation in two passes: the spread may be 1e-6 of the mean.
    double sum = 0.0;
    for (double y : results)
        sum += y;
    result.mean = sum / double(results.size());
    double squares = 0.0;
    for (double y : results)
        squares += (y - result.mean) * (y - result.mean);
    result.standardDeviation = std::sqrt(squares / double(results.size() - 1));

    std::sort(results.begin(), results.end());
    result.low = quantile(results, 0.025);
    result.high = quantile(results, 0.975);

    const int binCount = std::max(1, bins);
    const double first = results.front();
    const double last = results.back();
    const double width = (last - first) / binCount;
    result.edges.resize(size_t(binCount) + 1);
    for (int b = 0; b <= binCount; ++b)
        result.edges[size_t(b)] = b == binCount ? last : first + b * width;
    result.counts.assign(size_t(binCount), 0);
    for (double y : results) {
        const int b = width > 0.0 ? int((y - first) / width) : 0;
        ++result.counts[size_t(std::clamp(b, 0, binCount - 1))];
    }
    result.ok = true;
    return result;
}

} // namespace MonteCarlo
