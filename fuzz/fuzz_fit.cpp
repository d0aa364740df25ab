// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the fit of the fall's law to measured points.
//
// The input chooses a sphere and a fluid, the fit's options and up to 64
// points. Most points follow the law itself with a viscosity, an offset, a
// release time and noise the input chooses, so that the fit converges as
// often as it fails; any point may instead take raw values (huge positions,
// infinite or negative uncertainties), and times may be as close as two
// doubles can be, within the readers' contract. The fit must never crash,
// must report a viscosity only when it is finite and positive with an
// uncertainty that is not negative, and, once it reads the points, must
// describe every point of the set once, in order.

#include "measures/fallfit.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_fit: %s\n", what);
    std::abort();
}

// A value of the physical range [low, high] spread over its decades, or now
// and then a raw double.
double value(FuzzedDataProvider &data, double low, double high)
{
    if (data.ConsumeIntegralInRange<int>(0, 15) == 0)
        return data.ConsumeFloatingPoint<double>();
    const double x = data.ConsumeFloatingPointInRange<double>(std::log10(low), std::log10(high));
    return std::pow(10.0, x);
}

void check(const MeasurementSet &set, const FitResult &result)
{
    if (result.status == FitResult::Status::Failed && result.message.isEmpty())
        fail("a failure without a reason");
    // A setup that cannot be fitted is refused before any point is read.
    if (result.status == FitResult::Status::Failed && result.points.empty())
        return;
    if (result.points.size() != set.points.size())
        fail("not one fitted point per measured point");
    for (size_t i = 0; i < result.points.size(); ++i) {
        if (result.points[i].index != int(i))
            fail("fitted points out of order");
    }
    if (result.used + result.excluded != int(set.points.size()))
        fail("used and excluded points do not add up");
    if (result.status == FitResult::Status::NotDetermined && result.message.isEmpty())
        fail("an undetermined viscosity without a reason");
    if (!result.hasEta())
        return;
    if (!(std::isfinite(result.eta) && result.eta > 0.0))
        fail("a viscosity reported as fitted that is not finite and positive");
    if (result.etaU < 0.0)
        fail("a negative uncertainty of the viscosity");
    if (!std::isfinite(result.y0) || !std::isfinite(result.t0))
        fail("a fit without a finite offset or release time");
    for (const FitPoint &point : result.points) {
        if (point.used && !std::isfinite(point.model))
            fail("a used point without a finite model");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    FallSetup setup;
    setup.radius = value(data, 1e-4, 0.5);
    setup.mass = value(data, 1e-6, 50.0);
    setup.fluidDensity = value(data, 1.0, 2e4);
    if (data.ConsumeBool())
        setup.tubeDiameter = value(data, 1e-4, 2.0);

    FitOptions options;
    options.fitReleaseTime = data.ConsumeBool();
    if (data.ConsumeBool())
        options.tMin = data.ConsumeFloatingPoint<double>();
    if (data.ConsumeBool())
        options.tMax = data.ConsumeFloatingPoint<double>();

    // The law the points follow, when they follow it.
    const double eta = value(data, 1e-6, 1e3);
    const double y0 = data.ConsumeFloatingPointInRange<double>(-1.0, 1.0);
    const double t0 = data.ConsumeFloatingPointInRange<double>(-1.0, 1.0);
    const double step = value(data, 1e-4, 10.0);
    const double noise = data.ConsumeBool() ? value(data, 1e-9, 1.0) : 0.0;
    const bool sigmas = data.ConsumeBool();

    // The readers' contract: finite times in increasing order, a finite
    // position for every included point.
    MeasurementSet set;
    const int count = data.ConsumeIntegralInRange<int>(0, 64);
    double t = data.ConsumeFloatingPointInRange<double>(-1.0, 1.0);
    for (int i = 0; i < count && data.remaining_bytes() > 0; ++i) {
        MeasuredPoint point;
        point.source = i + 1;
        const double advance = step * data.ConsumeFloatingPointInRange<double>(0.5, 1.5);
        t = data.ConsumeIntegralInRange<int>(0, 15) == 0 ? std::nextafter(t, HUGE_VAL)
                                                         : t + advance;
        if (!std::isfinite(t))
            break;
        point.t = t;
        point.exclusion = static_cast<MeasuredPoint::Exclusion>(
            data.ConsumeIntegralInRange<int>(0, 9) == 0 ? data.ConsumeIntegralInRange<int>(1, 2)
                                                        : 0);
        if (data.ConsumeIntegralInRange<int>(0, 7) == 0) { // raw values
            point.y = data.ConsumeFloatingPoint<double>();
            point.sigma = data.ConsumeFloatingPoint<double>();
            if (point.included() && !std::isfinite(point.y))
                point.y = 0.0;
        } else { // on the law, with noise
            point.y = FallFit::modelAt(setup, eta, y0, t0, t)
                + noise * data.ConsumeFloatingPointInRange<double>(-1.0, 1.0);
            if (!std::isfinite(point.y))
                point.y = 0.0;
            if (sigmas)
                point.sigma = noise > 0.0 ? noise : 1e-6;
        }
        set.points.push_back(point);
    }
    check(set, FallFit::fit(set, setup, options));
    return 0;
}
