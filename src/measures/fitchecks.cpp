// SPDX-License-Identifier: GPL-3.0-or-later
#include "fitchecks.h"

#include "terminalvelocity.h"

#include "core/numberformat.h"

#include <Eigen/Dense>

#include <cmath>

namespace {

// A z score of the runs below this (0,13 % one-sided) is a trend.
constexpr double runsThreshold = -3.0;
// Stokes's law 24/Re equals the drag coefficient of the quadratic regime.
constexpr double coincidentReynolds = 24.0 / Motion::dragCoefficient;

double excessWeight(const FallSetup &setup)
{
    return Motion::excessWeight(setup.radius, setup.mass, setup.fluidDensity);
}

} // namespace

namespace FitChecks {

namespace {

std::optional<Eigen::VectorXd> scales(const Eigen::MatrixXd &normal)
{
    const Eigen::VectorXd diagonal = normal.diagonal();
    if (!(diagonal.array() > 0.0).all() || !diagonal.allFinite())
        return std::nullopt;
    return diagonal.cwiseSqrt().cwiseInverse();
}

} // namespace

std::optional<Eigen::MatrixXd> inverseNormal(const Eigen::MatrixXd &normal)
{
    const std::optional<Eigen::VectorXd> scale = scales(normal);
    if (!scale)
        return std::nullopt;
    const Eigen::MatrixXd correlation = scale->asDiagonal() * normal * scale->asDiagonal();
    const Eigen::FullPivLU<Eigen::MatrixXd> lu(correlation);
    if (!lu.isInvertible())
        return std::nullopt;
    return Eigen::MatrixXd(scale->asDiagonal() * lu.inverse() * scale->asDiagonal());
}

double reciprocalCondition(const Eigen::MatrixXd &normal)
{
    const std::optional<Eigen::VectorXd> scale = scales(normal);
    if (!scale)
        return 0.0;
    const Eigen::MatrixXd correlation = scale->asDiagonal() * normal * scale->asDiagonal();
    const Eigen::VectorXd eigen
        = Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd>(correlation).eigenvalues();
    return eigen.maxCoeff() > 0.0 ? std::max(0.0, eigen.minCoeff()) / eigen.maxCoeff() : 0.0;
}

Line straightLine(const std::vector<FitPoint> &points)
{
    double n = 0.0, st = 0.0, sy = 0.0;
    for (const FitPoint &p : points) {
        if (p.used) {
            n += 1.0;
            st += p.t;
            sy += p.y;
        }
    }
    const double tm = st / n, ym = sy / n;
    double stt = 0.0, sty = 0.0;
    for (const FitPoint &p : points) {
        if (p.used) {
            stt += (p.t - tm) * (p.t - tm);
            sty += (p.t - tm) * (p.y - ym);
        }
    }
    Line line;
    line.slope = sty / stt;
    line.intercept = ym - line.slope * tm;
    return line;
}

bool quadraticMotion(const Motion::FrictionModel &model, const FitResult &result,
                     const Eigen::MatrixXd &normal, double ssr, int dof)
{
    if (model.quadratic)
        return true;
    double uLogEta = 0.0;
    if (const std::optional<Eigen::MatrixXd> inverse = inverseNormal(normal))
        uLogEta = std::sqrt((*inverse)(0, 0) * (result.weighted ? 1.0 : ssr / dof));
    // Re ∝ 1/η², so u(Re)/Re = 2·u(log η).
    const double uReynolds = 2.0 * model.reynolds * uLogEta;
    const double tolerance = std::max(3.0 * uReynolds, 1e-3 * coincidentReynolds);
    return std::fabs(model.reynolds - coincidentReynolds) <= tolerance;
}

QString quadraticMessage(const FallSetup &setup, double velocity, double reynolds)
{
    if (std::isfinite(reynolds)) {
        return QStringLiteral("avec la loi de Stokes, la vitesse "
                              "mesurée (%1 m/s) donnerait Re = %2 > 250 ; le modèle est alors "
                              "dans le régime quadratique équivalent, où la vitesse limite ne "
                              "dépend pas de η.")
            .arg(NumberFormat::significant3(velocity), NumberFormat::significant3(reynolds));
    }
    // Linear Reynolds number 2ρ·R·vlim/η with vlim = (m − ρV)g / (6πηR):
    // it reaches 250 at this viscosity.
    const double c = excessWeight(setup) / (6.0 * Motion::pi * setup.radius);
    const double critical
        = std::sqrt(2.0 * setup.fluidDensity * setup.radius * c / Motion::quadraticMotionThreshold);
    return QStringLiteral("les points suivent la chute du régime "
                          "quadratique équivalent (vitesse limite %1 m/s), la même pour toute "
                          "viscosité inférieure à %2 Pa·s, où Re > 250 ; la vitesse limite n'y "
                          "dépend pas de η.")
        .arg(NumberFormat::significant3(velocity), NumberFormat::significant3(critical));
}

void wallCorrection(const FallSetup &setup, FitResult &result)
{
    if (std::isnan(setup.tubeDiameter))
        return;
    if (result.model == FitOptions::Model::DragCurve) {
        const TerminalVelocity::Inversion inversion
            = TerminalVelocity::invert(setup, result.vlim, result.model);
        result.lambda = inversion.lambda;
        result.wallMessage = inversion.wallMessage;
        if (std::isfinite(inversion.etaWall)) {
            result.wallFactor = inversion.wallFactor;
            result.wallCorrelation = inversion.wallCorrelation;
            result.etaWall = inversion.etaWall;
            result.etaWallU = result.etaU * inversion.etaWall / result.eta;
        }
        return;
    }
    result.lambda = 2.0 * setup.radius / setup.tubeDiameter;
    if (!(result.lambda <= FallFit::maxWallLambda)) {
        result.wallMessage = QStringLiteral("Correction de paroi refusée : d/D = %1 dépasse 0,5, "
                                            "la formule de Faxén n'est plus valable.")
                                 .arg(NumberFormat::significant3(result.lambda));
        return;
    }
    if (!(result.reynolds <= 1.0)) {
        result.wallMessage = QStringLiteral("Correction de paroi refusée : Re = %1 > 1, hors du "
                                            "régime de Stokes où vaut la formule de Faxén.")
                                 .arg(NumberFormat::significant3(result.reynolds));
        return;
    }
    // The tube slows the ball by f: the free velocity is v/f, and η, inversely
    // proportional to the velocity, is f times the one fitted.
    result.wallFactor = FallFit::faxenFactor(result.lambda);
    result.wallCorrelation = QStringLiteral("Faxén");
    result.etaWall = result.eta * result.wallFactor;
    result.etaWallU = result.etaU * result.wallFactor;
}

double runsZ(const std::vector<double> &residuals, int *runs, double *expected)
{
    int positive = 0, negative = 0, count = 0;
    int previous = 0;
    for (double r : residuals) {
        const int sign = r > 0.0 ? 1 : (r < 0.0 ? -1 : 0);
        if (sign == 0)
            continue;
        (sign > 0 ? positive : negative) += 1;
        if (sign != previous)
            ++count;
        previous = sign;
    }
    const double n = positive + negative;
    if (positive < 2 || negative < 2)
        return std::nan("");
    const double mean = 2.0 * positive * negative / n + 1.0;
    const double variance = (mean - 1.0) * (mean - 2.0) / (n - 1.0);
    if (runs)
        *runs = count;
    if (expected)
        *expected = mean;
    return variance > 0.0 ? (count - mean) / std::sqrt(variance) : std::nan("");
}

void warnings(FitResult &result)
{
    if (!result.converged)
        result.warnings << QStringLiteral("L'ajustement n'a pas convergé : les valeurs sont celles "
                                          "de la dernière itération.");
    if (result.model == FitOptions::Model::Stokes && result.reynolds > 1.0)
        result.warnings << QStringLiteral("Re = %1 > 1 : la loi de Stokes n'est plus exacte et "
                                          "surestime η (la traînée réelle dépasse 6πηRv).")
                               .arg(NumberFormat::significant3(result.reynolds));

    std::vector<double> residuals;
    for (const FitPoint &p : result.points)
        if (p.used)
            residuals.push_back(p.residual);
    int runs = 0;
    double expected = 0.0;
    if (runsZ(residuals, &runs, &expected) < runsThreshold)
        result.warnings << QStringLiteral("Les résidus ont une tendance (%1 suites de signes pour "
                                          "%2 attendues) : le modèle ne suit pas ces points ; "
                                          "réduire l'intervalle d'ajustement ?")
                               .arg(runs)
                               .arg(NumberFormat::significant3(expected));

    const int dof = result.used - (result.t0Fitted ? 3 : 2);
    if (result.weighted && dof > 0) {
        const double spread = 3.0 * std::sqrt(2.0 / dof);
        if (std::fabs(result.chi2Reduced - 1.0) > spread)
            result.warnings << QStringLiteral("χ²/(N − p) = %1, loin de 1 : les incertitudes "
                                              "données %2, ou le modèle ne convient pas.")
                                   .arg(NumberFormat::significant3(result.chi2Reduced),
                                        result.chi2Reduced > 1.0
                                            ? QStringLiteral("sont sous-estimées")
                                            : QStringLiteral("sont surestimées"));
    }

    if (result.t0Unidentifiable)
        result.notes << QStringLiteral("t₀ n'est pas identifiable : le régime transitoire "
                                       "(τ = %1 s) est bien plus court que l'intervalle entre deux "
                                       "mesures. t₀ est fixé au premier instant mesuré (%2 s) et "
                                       "y₀ en tient compte.")
                            .arg(NumberFormat::significant3(result.tau),
                                 NumberFormat::generalDouble(result.t0));
}

} // namespace FitChecks
