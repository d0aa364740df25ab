// SPDX-License-Identifier: GPL-3.0-or-later
#include "fitsolver.h"

#include "fallcurve.h"

#include "core/motion.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/NonLinearOptimization>

#include <algorithm>
#include <cmath>

namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;

// Points of the coarse scan for the start value of η.
constexpr size_t maxScanPoints = 1000;
// Step of log η for the drag curve's forward differences: the error of the
// derivative, of order 10⁻⁴ of it, only moves the Gauss–Newton steps and the
// uncertainties by as little.
constexpr double logEtaStep = 1e-4;

bool lmConverged(Eigen::LevenbergMarquardtSpace::Status status)
{
    using namespace Eigen::LevenbergMarquardtSpace;
    switch (status) {
    case RelativeReductionTooSmall:
    case RelativeErrorTooSmall:
    case RelativeErrorAndReductionTooSmall:
    case CosinusTooSmall:
    case FtolTooSmall:
    case XtolTooSmall:
    case GtolTooSmall:
        return true;
    default:
        return false;
    }
}

} // namespace

namespace FitSolver {

double FallFunctor::duration(double release) const
{
    double longest = 0.0;
    for (const Sample &s : samples)
        longest = std::max(longest, s.t - release);
    return longest;
}

int FallFunctor::operator()(const VectorXd &x, VectorXd &residuals) const
{
    const double logEta = std::clamp(x(0), minLogEta, maxLogEta);
    const double release = t0(x);
    const FallCurve curve(setup, std::exp(logEta), model, duration(release));
    for (size_t i = 0; i < samples.size(); ++i) {
        const double s = samples[i].t - release;
        const double y = s > 0.0 ? x(1) + curve.at(s).y : x(1);
        residuals(Eigen::Index(i)) = (y - samples[i].y) * samples[i].weight;
    }
    return 0;
}

int FallFunctor::df(const VectorXd &x, MatrixXd &jacobian) const
{
    if (model == FitOptions::Model::Stokes)
        stokesJacobian(x, jacobian);
    else
        curveJacobian(x, jacobian);
    return 0;
}

// With linear friction vlim and tau are both proportional to 1/η, so
// ∂y/∂(log η) = −vlim·s·(1 + e) + 2·vlim·tau·(1 − e), e = exp(−s/tau).
// In the quadratic regime the motion does not depend on η at all.
void FallFunctor::stokesJacobian(const VectorXd &x, MatrixXd &jacobian) const
{
    const double logEta = std::clamp(x(0), minLogEta, maxLogEta);
    Motion::FrictionModel unknown;
    unknown.vlim = unknown.reynolds = unknown.tau = FitResult::nan;
    const Motion::FrictionModel model = Motion::frictionModel(
        setup.radius, setup.mass, setup.fluidDensity, std::exp(logEta), unknown);
    const double release = t0(x);
    const double vlim = model.vlim;
    const double tau = model.tau;
    for (size_t i = 0; i < samples.size(); ++i) {
        const Eigen::Index row = Eigen::Index(i);
        const double w = samples[i].weight;
        const double s = samples[i].t - release;
        double dEta = 0.0;
        double dT0 = 0.0;
        if (s > 0.0) {
            const double e = std::exp(-s / tau);
            if (!model.quadratic)
                dEta = -vlim * s * (1.0 + e) + 2.0 * vlim * tau * (1.0 - e);
            dT0 = -vlim * (1.0 - e);
        }
        jacobian(row, 0) = dEta * w;
        jacobian(row, 1) = w;
        if (fitT0)
            jacobian(row, 2) = dT0 * w;
    }
}

// The drag curve: ∂y/∂(log η) by forward differences of two tabulated falls,
// ∂y/∂t0 = −v(t − t0) from the fall itself.
void FallFunctor::curveJacobian(const VectorXd &x, MatrixXd &jacobian) const
{
    const double logEta = std::clamp(x(0), minLogEta, maxLogEta);
    const double release = t0(x);
    const double span = duration(release);
    const FallCurve curve(setup, std::exp(logEta), model, span);
    const FallCurve above(setup, std::exp(logEta + logEtaStep), model, span);
    for (size_t i = 0; i < samples.size(); ++i) {
        const Eigen::Index row = Eigen::Index(i);
        const double w = samples[i].weight;
        const double s = samples[i].t - release;
        double dEta = 0.0;
        double dT0 = 0.0;
        if (s > 0.0) {
            const FallCurve::State here = curve.at(s);
            dEta = (above.at(s).y - here.y) / logEtaStep;
            dT0 = -here.v;
        }
        jacobian(row, 0) = dEta * w;
        jacobian(row, 1) = w;
        if (fitT0)
            jacobian(row, 2) = dT0 * w;
    }
}

std::pair<double, double> profileOffset(const FallFunctor &functor, double logEta, double t0)
{
    VectorXd x(functor.inputs());
    x(0) = logEta;
    x(1) = 0.0;
    if (functor.fitT0)
        x(2) = t0;
    VectorXd r(functor.values());
    functor(x, r);
    double sw2 = 0.0, swr = 0.0;
    for (size_t i = 0; i < functor.samples.size(); ++i) {
        const double w = functor.samples[i].weight;
        sw2 += w * w;
        swr += w * r(Eigen::Index(i));
    }
    const double y0 = -swr / sw2;
    double ssr = 0.0;
    for (size_t i = 0; i < functor.samples.size(); ++i) {
        const double d = r(Eigen::Index(i)) + y0 * functor.samples[i].weight;
        ssr += d * d;
    }
    return {y0, ssr};
}

double scanLogEta(const FallFunctor &functor, double logEta, double t0)
{
    // The scan needs the shape of the fall only: a thousand points show it.
    std::vector<Sample> sparse;
    const size_t stride = functor.samples.size() / maxScanPoints + 1;
    for (size_t i = 0; i < functor.samples.size(); i += stride)
        sparse.push_back(functor.samples[i]);
    const FallFunctor scan {functor.setup, sparse, functor.fitT0, functor.fixedT0, functor.model};
    double bestLog = logEta;
    double bestSsr = std::numeric_limits<double>::infinity();
    // From the largest η down, so that a tie between the linear motion and
    // the quadratic one (which is the same for every small η) keeps the linear.
    // The drag curve's falls cost an integration each: half as many, twice
    // as far apart, are enough for the least squares to start from.
    const bool stokes = functor.model == FitOptions::Model::Stokes;
    const int reach = stokes ? 12 : 6;
    const double spacing = stokes ? 0.25 : 0.5;
    for (int k = reach; k >= -reach; --k) {
        const double candidate = logEta + spacing * k;
        const double ssr = profileOffset(scan, candidate, t0).second;
        if (ssr < bestSsr) {
            bestSsr = ssr;
            bestLog = candidate;
        }
    }
    return bestLog;
}

Solution solve(const FallFunctor &functor, VectorXd start)
{
    FallFunctor copy = functor;
    Eigen::LevenbergMarquardt<FallFunctor> lm(copy);
    lm.parameters.maxfev = 400;
    Solution solution;
    solution.converged = lmConverged(lm.minimize(start));

    start(0) = std::clamp(start(0), minLogEta, maxLogEta);
    solution.x = start;
    MatrixXd jacobian(functor.values(), functor.inputs());
    functor.df(start, jacobian);
    solution.normal = jacobian.transpose() * jacobian;
    // Points at rest before the release pin y0 by themselves; whether t0 can
    // be told from y0 is seen in the points that move. The first of them does
    // not count: moving t0 can always put one point anywhere in the transient.
    const double release = functor.t0(start);
    bool first = true;
    for (size_t i = 0; i < functor.samples.size(); ++i) {
        if (functor.samples[i].t <= release || first)
            jacobian.row(Eigen::Index(i)).setZero();
        first = first && functor.samples[i].t <= release;
    }
    solution.moving = jacobian.transpose() * jacobian;
    VectorXd r(functor.values());
    functor(start, r);
    solution.ssr = r.squaredNorm();
    return solution;
}

} // namespace FitSolver
