// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fallfit.h"

#include <Eigen/Core>

#include <vector>

// The least squares of FallFit: the residuals of the law of the fall and
// their Jacobian for Eigen's Levenberg–Marquardt, the start of log η by a
// coarse scan, and the solution with its normal matrices. Internal to the
// measures library.
namespace FitSolver {

// What no step may leave: η between 10⁻⁹ and 10⁶ Pa·s keeps every
// intermediate value of the law finite for the accepted spheres.
inline constexpr double minLogEta = -20.7;
inline constexpr double maxLogEta = 13.8;

struct Sample
{
    double t;
    double y;
    double weight; // 1/σ, or 1 for an unweighted fit
};

// The residuals (model − y)·weight and their Jacobian. Parameters: log η,
// y0, and t0 when it is fitted.
struct FallFunctor
{
    using Scalar = double;
    using InputType = Eigen::VectorXd;
    using ValueType = Eigen::VectorXd;
    using JacobianType = Eigen::MatrixXd;
    enum { InputsAtCompileTime = Eigen::Dynamic, ValuesAtCompileTime = Eigen::Dynamic };

    const FallSetup &setup;
    const std::vector<Sample> &samples;
    bool fitT0;
    double fixedT0;
    FitOptions::Model model = FitOptions::Model::Stokes;

    int inputs() const { return fitT0 ? 3 : 2; }
    int values() const { return int(samples.size()); }
    double t0(const Eigen::VectorXd &x) const { return fitT0 ? x(2) : fixedT0; }
    // The longest time after the release t0 that a sample asks for, s.
    double duration(double release) const;

    int operator()(const Eigen::VectorXd &x, Eigen::VectorXd &residuals) const;
    int df(const Eigen::VectorXd &x, Eigen::MatrixXd &jacobian) const;

private:
    void stokesJacobian(const Eigen::VectorXd &x, Eigen::MatrixXd &jacobian) const;
    void curveJacobian(const Eigen::VectorXd &x, Eigen::MatrixXd &jacobian) const;
};

// y0 that minimises the sum of squares for given log η and t0 (the model is
// linear in y0), and that sum.
std::pair<double, double> profileOffset(const FallFunctor &functor, double logEta, double t0);

// The start value of log η: around logEta, the best of a scan over ± 3
// (a factor 20) on at most a thousand of the samples, each with its best y0.
double scanLogEta(const FallFunctor &functor, double logEta, double t0);

struct Solution
{
    Eigen::VectorXd x;
    bool converged = false;
    Eigen::MatrixXd normal; // JᵀJ at x, weighted
    Eigen::MatrixXd moving; // the same over the points after the release
    double ssr = 0.0;
};

Solution solve(const FallFunctor &functor, Eigen::VectorXd start);

} // namespace FitSolver
