// SPDX-License-Identifier: GPL-3.0-or-later
#include "fallfit.h"

#include "fallcurve.h"
#include "fitchecks.h"
#include "fitsolver.h"
#include "terminalvelocity.h"
#include "usefulpart.h"

#include "core/motion.h"
#include "core/numberformat.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>

namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;
using FitSolver::FallFunctor;
using FitSolver::Sample;
using Model = FitOptions::Model;

// Below this reciprocal condition of the normal matrix of the moving points
// (normalised), t0 and y0 move together: the transient is over before the
// next point, so the points see only y0 − vlim·t0.
constexpr double minReciprocalCondition = 1e-9;

// Above this Reynolds number the drag curve flattens towards Newton's
// regime: the limit velocity hardly depends on η any more.
constexpr double maxDragReynolds = 800.0;

// The useful part found after the transient must keep this many points and
// this share of the moving ones; otherwise the whole fall is fitted.
constexpr size_t minUsefulPoints = 10;
constexpr double minUsefulShare = 0.25;

// The samples of the points marked used, in time order of the set.
std::vector<Sample> samplesOf(const FitResult &result, const MeasurementSet &set)
{
    std::vector<Sample> samples;
    for (const FitPoint &point : result.points) {
        if (!point.used)
            continue;
        const double sigma = set.points[size_t(point.index)].sigma;
        samples.push_back({point.t, point.y, result.weighted ? 1.0 / sigma : 1.0});
    }
    return samples;
}

// The used points with t outside [from, to] are no longer used.
void keepOnly(FitResult &result, double from, double to)
{
    for (FitPoint &point : result.points)
        point.used = point.used && point.t >= from && point.t <= to;
}

struct Pass
{
    FitSolver::Solution solution;
    bool fitT0 = false;
    bool unidentifiable = false;
    double t0 = 0.0;
};

// One least-squares fit from the scan's start (or from logEta itself without
// the scan), with the fallback to a fixed t0 when the points cannot tell it
// from y0.
Pass runPass(const FallSetup &setup, const std::vector<Sample> &samples, Model model, bool fitT0,
             double t0, double logEta, bool scan = true)
{
    FallFunctor functor {setup, samples, fitT0, t0, model};
    const double bestLog = scan ? FitSolver::scanLogEta(functor, logEta, t0) : logEta;
    VectorXd start(functor.inputs());
    start(0) = bestLog;
    start(1) = FitSolver::profileOffset(functor, bestLog, t0).first;
    if (fitT0)
        start(2) = t0;
    Pass pass;
    pass.solution = FitSolver::solve(functor, start);
    if (fitT0 && FitChecks::reciprocalCondition(pass.solution.moving) < minReciprocalCondition) {
        // The transient is too short for the sampling: fix t0 and refit.
        pass.unidentifiable = true;
        functor.fitT0 = false;
        VectorXd reduced = pass.solution.x.head(2);
        reduced(1) = FitSolver::profileOffset(functor, reduced(0), t0).first;
        pass.solution = FitSolver::solve(functor, reduced);
    }
    pass.fitT0 = functor.fitT0;
    pass.t0 = functor.t0(pass.solution.x);
    return pass;
}

// (JᵀJ)⁻¹ of a pass, scaled by s² = SSR/(N − p) without uncertainties.
std::optional<MatrixXd> covariance(const FitSolver::Solution &solution, bool weighted, size_t count)
{
    std::optional<MatrixXd> inverse = FitChecks::inverseNormal(solution.normal);
    const double dof = double(count) - double(solution.x.size());
    if (inverse && !weighted)
        *inverse *= solution.ssr / dof;
    return inverse;
}

QString newtonMessage(double velocity, double reynolds)
{
    return QStringLiteral("avec la courbe de traînée standard, la vitesse mesurée (%1 m/s) donne "
                          "Re = %2 > 800 ; la traînée n'y dépend presque plus de η (elle tend "
                          "vers le régime de Newton) et la vitesse limite ne permet pas de la "
                          "mesurer.")
        .arg(NumberFormat::significant3(velocity),
             std::isfinite(reynolds) ? NumberFormat::significant3(reynolds) : QStringLiteral("∞"));
}

// The drag curve without a range given: the rest and the end found in the
// points, the release fitted on the whole fall, then η on the part after
// the entry transient with that release. Marks the points used in result.
Pass usefulPartFit(const MeasurementSet &set, const FallSetup &setup, double firstTime,
                   double startEta, FitResult &result)
{
    std::vector<Sample> samples = samplesOf(result, set);
    const UsefulPart::Ends ends = UsefulPart::ends(samples, 2.0 * setup.radius);
    QStringList reasons;
    if (ends.stopIndex < samples.size()) {
        keepOnly(result, -std::numeric_limits<double>::infinity(), samples[ends.stopIndex - 1].t);
        reasons << ends.endReason;
        samples = samplesOf(result, set);
    }
    const double restEnd = ends.restCount > 0 ? samples[ends.restCount - 1].t : firstTime;
    const Pass release
        = runPass(setup, samples, Model::DragCurve, true, restEnd, std::log(startEta));
    result.t0Fitted = release.fitT0;
    result.t0Unidentifiable = release.unidentifiable;
    if (release.fitT0) {
        if (const std::optional<MatrixXd> c
            = covariance(release.solution, result.weighted, samples.size()))
            result.t0U = std::sqrt((*c)(2, 2));
    }

    QString why;
    const double eta = std::exp(release.solution.x(0));
    const double from = UsefulPart::transientEnd(setup, eta, release.t0, &why);
    size_t moving = 0, after = 0;
    for (const Sample &s : samples) {
        moving += s.t > release.t0 ? 1 : 0;
        after += s.t >= from ? 1 : 0;
    }
    Pass pass = release;
    if (after >= minUsefulPoints && double(after) >= minUsefulShare * double(moving)) {
        keepOnly(result, from, std::numeric_limits<double>::infinity());
        samples = samplesOf(result, set);
        pass = runPass(setup, samples, Model::DragCurve, false, release.t0, release.solution.x(0),
                       false);
        pass.solution.converged = pass.solution.converged && release.solution.converged;
        reasons.prepend(why);
    } else {
        reasons.prepend(QStringLiteral("la bille n'atteint pas sa vitesse limite assez longtemps "
                                       "pour en exclure le début : toute la chute est ajustée, et "
                                       "la force d'histoire (Basset), absente du modèle, peut y "
                                       "biaiser η"));
    }
    result.rangeReason = reasons.join(QStringLiteral(" ; "));
    return pass;
}

} // namespace

double FallFit::faxenFactor(double lambda)
{
    const double l2 = lambda * lambda;
    return 1.0 - 2.104 * lambda + 2.09 * lambda * l2 - 0.95 * lambda * l2 * l2;
}

double FallFit::modelAt(const FallSetup &setup, double eta, double y0, double t0, double t,
                        FitOptions::Model model)
{
    const double s = t - t0;
    return s > 0.0 ? y0 + FallCurve(setup, eta, model, s).at(s).y : y0;
}

FitResult FallFit::fit(const MeasurementSet &set, const FallSetup &setup, const FitOptions &options)
{
    FitResult result;
    result.model = options.model;
    result.gravity = TerminalVelocity::gravity(options.model);
    const QString problem = setup.problem();
    if (!problem.isEmpty()) {
        result.message = problem;
        return result;
    }
    result.notes = setup.outsideAnimation();

    // The points used, and the release instant by default.
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
        if (point.used)
            everySigma = everySigma && std::isfinite(p.sigma) && p.sigma > 0.0;
        result.points.push_back(point);
    }
    result.weighted = everySigma;
    std::vector<Sample> samples = samplesOf(result, set);
    result.weighted = everySigma && !samples.empty();
    result.used = int(samples.size());

    const bool automatic
        = options.model == Model::DragCurve && std::isinf(options.tMin) && std::isinf(options.tMax);
    const int parameters = options.fitReleaseTime || automatic ? 3 : 2;
    if (result.used < parameters + 1) {
        result.excluded = int(set.points.size()) - result.used;
        result.message = QStringLiteral("Trop peu de points dans l'intervalle d'ajustement : "
                                        "il en faut au moins %1.")
                             .arg(parameters + 1);
        return result;
    }

    const FitChecks::Line line = FitChecks::straightLine(result.points);
    if (!(line.slope > 0.0)) {
        result.excluded = int(set.points.size()) - result.used;
        result.message
            = QStringLiteral("Les positions ne croissent pas avec le temps : la bille "
                             "ne tombe pas dans ces points (colonne ou sens de l'axe ?).");
        return result;
    }

    // Start: the slope taken as the limit velocity gives η, refined on a
    // coarse scan with the best offset for each η.
    double startEta = FitResult::nan;
    if (options.model == Model::Stokes) {
        const double excessWeight
            = Motion::excessWeight(setup.radius, setup.mass, setup.fluidDensity);
        startEta = excessWeight / (6.0 * Motion::pi * setup.radius * line.slope);
        const FallCurve stokes(setup, startEta, Model::Stokes, 0.0);
        if (stokes.quadratic()) {
            result.excluded = int(set.points.size()) - result.used;
            result.status = FitResult::Status::NotDetermined;
            result.reynolds = stokes.reynolds();
            result.quadratic = true;
            result.message = FitChecks::quadraticMessage(setup, line.slope, stokes.reynolds());
            return result;
        }
    } else {
        startEta = TerminalVelocity::freeEta(setup, line.slope, Model::DragCurve);
        const double reynolds = 2.0 * setup.radius * setup.fluidDensity * line.slope / startEta;
        if (!(reynolds <= maxDragReynolds)) {
            result.excluded = int(set.points.size()) - result.used;
            result.status = FitResult::Status::NotDetermined;
            result.reynolds = reynolds;
            result.message = newtonMessage(line.slope, reynolds);
            return result;
        }
    }

    Pass pass;
    if (automatic) {
        pass = usefulPartFit(set, setup, firstTime, startEta, result);
    } else {
        pass = runPass(setup, samples, options.model, options.fitReleaseTime, firstTime,
                       std::log(startEta));
        result.t0Fitted = pass.fitT0;
        result.t0Unidentifiable = pass.unidentifiable;
    }
    samples = samplesOf(result, set);
    result.used = int(samples.size());
    result.excluded = int(set.points.size()) - result.used;
    result.converged = pass.solution.converged;
    const int p = int(pass.solution.x.size());
    const int dof = result.used - p;

    const double eta = std::exp(pass.solution.x(0));
    const FallCurve curve(setup, eta, options.model, 0.0);
    result.vlim = curve.vlim();
    result.tau = curve.tau();
    result.reynolds = curve.reynolds();
    result.dragRatio = curve.dragRatio();
    result.quadratic = curve.quadratic();
    result.y0 = pass.solution.x(1);
    result.t0 = pass.t0;

    // Residuals of every point against the fitted model, from one table.
    double lastTime = result.t0;
    for (const FitPoint &point : result.points)
        if (std::isfinite(point.t))
            lastTime = std::max(lastTime, point.t);
    const FallCurve fitted(setup, eta, options.model, lastTime - result.t0);
    double sumSquares = 0.0;
    for (FitPoint &point : result.points) {
        const double s = point.t - result.t0;
        point.model = result.y0 + (s > 0.0 ? fitted.at(s).y : 0.0);
        point.residual = point.y - point.model;
        if (point.used)
            sumSquares += point.residual * point.residual;
    }
    result.rmsResidual = std::sqrt(sumSquares / result.used);
    if (!result.rangeReason.isEmpty()) {
        result.rangeFrom = std::numeric_limits<double>::infinity();
        result.rangeTo = -std::numeric_limits<double>::infinity();
        for (const FitPoint &point : result.points) {
            if (point.used) {
                result.rangeFrom = std::min(result.rangeFrom, point.t);
                result.rangeTo = std::max(result.rangeTo, point.t);
            }
        }
    }

    if (options.model == Model::Stokes) {
        Motion::FrictionModel model;
        model.vlim = result.vlim;
        model.tau = result.tau;
        model.reynolds = result.reynolds;
        model.quadratic = result.quadratic;
        if (FitChecks::quadraticMotion(model, result, pass.solution.normal, pass.solution.ssr,
                                       dof)) {
            result.status = FitResult::Status::NotDetermined;
            result.message = FitChecks::quadraticMessage(setup, result.vlim, FitResult::nan);
            return result;
        }
    } else if (!(result.reynolds <= maxDragReynolds)) {
        result.status = FitResult::Status::NotDetermined;
        result.message = newtonMessage(result.vlim, result.reynolds);
        return result;
    }

    const std::optional<MatrixXd> c = covariance(pass.solution, result.weighted, samples.size());
    if (!c && options.model == Model::DragCurve && !(pass.solution.normal(0, 0) > 0.0)) {
        result.status = FitResult::Status::NotDetermined;
        result.message = QStringLiteral("les points ne montrent pas la chute assez nettement : "
                                        "η n'y change rien.");
        return result;
    }
    if (!c) {
        result.message = QStringLiteral("L'ajustement n'a pas pu estimer les incertitudes "
                                        "(paramètres non identifiables).");
        return result;
    }
    if (result.weighted)
        result.chi2Reduced = pass.solution.ssr / dof;
    // A column that hardly moves fits any large η: the points do not show it.
    const double uLogEta = std::sqrt((*c)(0, 0));
    if (!(uLogEta < 1.0) || pass.solution.x(0) >= FitSolver::maxLogEta
        || pass.solution.x(0) <= FitSolver::minLogEta) {
        result.status = FitResult::Status::NotDetermined;
        result.message = QStringLiteral("les points ne montrent pas la chute assez nettement : "
                                        "l'incertitude sur η dépasse sa valeur.");
        return result;
    }
    result.status = FitResult::Status::Fitted;
    result.eta = eta;
    result.etaU = eta * uLogEta;
    result.y0U = std::sqrt((*c)(1, 1));
    if (result.t0Fitted && !automatic)
        result.t0U = std::sqrt((*c)(2, 2));

    result.notes = setup.outsideAnimation(eta);
    FitChecks::wallCorrection(setup, result);
    FitChecks::warnings(result);
    return result;
}
