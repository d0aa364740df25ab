// SPDX-License-Identifier: GPL-3.0-or-later
#include "fallfit.h"

#include "fitchecks.h"

#include "core/motion.h"
#include "core/numberformat.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/NonLinearOptimization>

#include <algorithm>
#include <cmath>

namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;

// What no step may leave: η between 10⁻⁹ and 10⁶ Pa·s keeps every
// intermediate value of the law finite for the accepted spheres.
constexpr double minLogEta = -20.7;
constexpr double maxLogEta = 13.8;

// Below this reciprocal condition of the normal matrix of the moving points
// (normalised), t0 and y0 move together: the transient is over before the
// next point, so the points see only y0 − vlim·t0.
constexpr double minReciprocalCondition = 1e-9;

// Points of the coarse scan for the start value of η.
constexpr size_t maxScanPoints = 1000;

Motion::FrictionModel frictionAt(const FallSetup &setup, double eta)
{
    Motion::FrictionModel unknown;
    unknown.vlim = unknown.reynolds = unknown.tau = FitResult::nan;
    return Motion::frictionModel(setup.radius, setup.mass, setup.fluidDensity, eta, unknown);
}

struct Sample
{
    double t;
    double y;
    double weight; // 1/σ, or 1 for an unweighted fit
};

// The residuals (model − y)·weight and their Jacobian for Eigen's
// Levenberg–Marquardt. Parameters: log η, y0, and t0 when it is fitted.
struct FallFunctor
{
    using Scalar = double;
    using InputType = VectorXd;
    using ValueType = VectorXd;
    using JacobianType = MatrixXd;
    enum { InputsAtCompileTime = Eigen::Dynamic, ValuesAtCompileTime = Eigen::Dynamic };

    const FallSetup &setup;
    const std::vector<Sample> &samples;
    bool fitT0;
    double fixedT0;

    int inputs() const { return fitT0 ? 3 : 2; }
    int values() const { return int(samples.size()); }
    double t0(const VectorXd &x) const { return fitT0 ? x(2) : fixedT0; }

    int operator()(const VectorXd &x, VectorXd &residuals) const
    {
        const double logEta = std::clamp(x(0), minLogEta, maxLogEta);
        const Motion::FrictionModel model = frictionAt(setup, std::exp(logEta));
        const double release = t0(x);
        for (size_t i = 0; i < samples.size(); ++i) {
            const double s = samples[i].t - release;
            const double y = s > 0.0 ? x(1) + Motion::at(model.vlim, model.tau, s).y : x(1);
            residuals(Eigen::Index(i)) = (y - samples[i].y) * samples[i].weight;
        }
        return 0;
    }

    // With linear friction vlim and tau are both proportional to 1/η, so
    // ∂y/∂(log η) = −vlim·s·(1 + e) + 2·vlim·tau·(1 − e), e = exp(−s/tau).
    // In the quadratic regime the motion does not depend on η at all.
    int df(const VectorXd &x, MatrixXd &jacobian) const
    {
        const double logEta = std::clamp(x(0), minLogEta, maxLogEta);
        const Motion::FrictionModel model = frictionAt(setup, std::exp(logEta));
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
        return 0;
    }
};

// y0 that minimises the sum of squares for given η and t0 (the model is
// linear in y0), and that sum.
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

struct Solution
{
    VectorXd x;
    bool converged = false;
    MatrixXd normal; // JᵀJ at x, weighted
    MatrixXd moving; // the same over the points after the release
    double ssr = 0.0;
};

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

} // namespace

double FallFit::faxenFactor(double lambda)
{
    const double l2 = lambda * lambda;
    return 1.0 - 2.104 * lambda + 2.09 * lambda * l2 - 0.95 * lambda * l2 * l2;
}

double FallFit::modelAt(const FallSetup &setup, double eta, double y0, double t0, double t)
{
    const Motion::FrictionModel model = frictionAt(setup, eta);
    const double s = t - t0;
    return s > 0.0 ? y0 + Motion::at(model.vlim, model.tau, s).y : y0;
}

FitResult FallFit::fit(const MeasurementSet &set, const FallSetup &setup, const FitOptions &options)
{
    FitResult result;
    const QString problem = setup.problem();
    if (!problem.isEmpty()) {
        result.message = problem;
        return result;
    }
    result.notes = setup.outsideAnimation();

    // The points used, and the release instant by default.
    std::vector<Sample> samples;
    double firstTime = FitResult::nan;
    bool everySigma = true;
    for (size_t i = 0; i < set.points.size(); ++i) {
        const MeasuredPoint &p = set.points[i];
        FitPoint point {int(i), p.t, p.y, FitResult::nan, FitResult::nan, false};
        if (p.included() && std::isfinite(p.t) && std::isfinite(p.y)) {
            if (std::isnan(firstTime))
                firstTime = p.t;
            point.used = p.t >= options.tMin && p.t <= options.tMax;
        }
        if (point.used) {
            everySigma = everySigma && std::isfinite(p.sigma) && p.sigma > 0.0;
            samples.push_back({p.t, p.y, 1.0});
        }
        result.points.push_back(point);
    }
    result.used = int(samples.size());
    result.excluded = int(set.points.size()) - result.used;
    result.weighted = everySigma && !samples.empty();
    if (result.weighted) {
        size_t k = 0;
        for (const FitPoint &point : result.points)
            if (point.used)
                samples[k++].weight = 1.0 / set.points[size_t(point.index)].sigma;
    }

    const int parameters = options.fitReleaseTime ? 3 : 2;
    if (result.used < parameters + 1) {
        result.message = QStringLiteral("Trop peu de points dans l'intervalle d'ajustement : "
                                        "il en faut au moins %1.")
                             .arg(parameters + 1);
        return result;
    }

    const FitChecks::Line line = FitChecks::straightLine(result.points);
    if (!(line.slope > 0.0)) {
        result.message
            = QStringLiteral("Les positions ne croissent pas avec le temps : la bille "
                             "ne tombe pas dans ces points (colonne ou sens de l'axe ?).");
        return result;
    }

    // Start: the slope taken as the limit velocity gives Stokes's η, refined
    // on a coarse scan with the best offset for each η.
    const double excessWeight
        = (setup.mass
           - setup.fluidDensity
               * (setup.radius * setup.radius * setup.radius * (4.0 / 3.0 * Motion::pi)))
        * Motion::g;
    const double stokesEta = excessWeight / (6.0 * Motion::pi * setup.radius * line.slope);
    const Motion::FrictionModel stokes = frictionAt(setup, stokesEta);
    if (stokes.quadratic) {
        result.status = FitResult::Status::NotDetermined;
        result.reynolds = stokes.reynolds;
        result.quadratic = true;
        result.message = FitChecks::quadraticMessage(setup, line.slope, stokes.reynolds);
        return result;
    }

    FallFunctor functor {setup, samples, options.fitReleaseTime, firstTime};
    // The scan needs the shape of the fall only: a thousand points show it.
    std::vector<Sample> sparse;
    const size_t stride = samples.size() / maxScanPoints + 1;
    for (size_t i = 0; i < samples.size(); i += stride)
        sparse.push_back(samples[i]);
    const FallFunctor scan {setup, sparse, options.fitReleaseTime, firstTime};
    double bestLog = std::log(stokesEta);
    double bestSsr = std::numeric_limits<double>::infinity();
    // From the largest η down, so that a tie between the linear motion and
    // the quadratic one (which is the same for every small η) keeps the linear.
    for (int k = 12; k >= -12; --k) {
        const double logEta = std::log(stokesEta) + 0.25 * k;
        const double ssr = profileOffset(scan, logEta, firstTime).second;
        if (ssr < bestSsr) {
            bestSsr = ssr;
            bestLog = logEta;
        }
    }
    VectorXd start(parameters);
    start(0) = bestLog;
    start(1) = profileOffset(functor, bestLog, firstTime).first;
    if (options.fitReleaseTime)
        start(2) = firstTime;

    Solution solution = solve(functor, start);
    if (options.fitReleaseTime
        && FitChecks::reciprocalCondition(solution.moving) < minReciprocalCondition) {
        // The transient is too short for the sampling: fix t0 and refit.
        result.t0Unidentifiable = true;
        functor.fitT0 = false;
        VectorXd reduced = solution.x.head(2);
        reduced(1) = profileOffset(functor, reduced(0), firstTime).first;
        solution = solve(functor, reduced);
    }
    result.t0Fitted = functor.fitT0;
    result.converged = solution.converged;
    const int p = functor.inputs();
    const int dof = result.used - p;

    const double eta = std::exp(solution.x(0));
    const Motion::FrictionModel model = frictionAt(setup, eta);
    result.vlim = model.vlim;
    result.tau = model.tau;
    result.reynolds = model.reynolds;
    result.quadratic = model.quadratic;
    result.y0 = solution.x(1);
    result.t0 = functor.t0(solution.x);

    // Residuals of every point against the fitted model.
    double sumSquares = 0.0;
    for (FitPoint &point : result.points) {
        point.model = modelAt(setup, eta, result.y0, result.t0, point.t);
        point.residual = point.y - point.model;
        if (point.used)
            sumSquares += point.residual * point.residual;
    }
    result.rmsResidual = std::sqrt(sumSquares / result.used);

    if (FitChecks::quadraticMotion(model, result, solution.normal, solution.ssr, dof)) {
        result.status = FitResult::Status::NotDetermined;
        result.message = FitChecks::quadraticMessage(setup, result.vlim, FitResult::nan);
        return result;
    }

    // Covariance: (JᵀJ)⁻¹, scaled by s² = SSR/(N − p) without uncertainties.
    const std::optional<MatrixXd> inverse = FitChecks::inverseNormal(solution.normal);
    if (!inverse) {
        result.message = QStringLiteral("L'ajustement n'a pas pu estimer les incertitudes "
                                        "(paramètres non identifiables).");
        return result;
    }
    MatrixXd covariance = *inverse;
    if (result.weighted)
        result.chi2Reduced = solution.ssr / dof;
    else
        covariance *= solution.ssr / dof;
    // A column that hardly moves fits any large η: the points do not show it.
    const double uLogEta = std::sqrt(covariance(0, 0));
    if (!(uLogEta < 1.0) || solution.x(0) >= maxLogEta || solution.x(0) <= minLogEta) {
        result.status = FitResult::Status::NotDetermined;
        result.message = QStringLiteral("les points ne montrent pas la chute assez nettement : "
                                        "l'incertitude sur η dépasse sa valeur.");
        return result;
    }
    result.status = FitResult::Status::Fitted;
    result.eta = eta;
    result.etaU = eta * uLogEta;
    result.y0U = std::sqrt(covariance(1, 1));
    if (result.t0Fitted)
        result.t0U = std::sqrt(covariance(2, 2));

    result.notes = setup.outsideAnimation(eta);
    FitChecks::wallCorrection(setup, result);
    FitChecks::warnings(result);
    return result;
}
