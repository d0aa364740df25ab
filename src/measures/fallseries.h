// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <limits>
#include <vector>

// A class's series of falls: several balls (or one ball several times) in the
// same fluid and tube, each fall fitted on its own, combined here into one
// viscosity and the line of v∞ against r². Qt Core only, and built on the
// trials' values alone (η, v∞, radius, density with their uncertainties), so
// that it does not depend on the model the fit of each fall uses.
//
// The series' η is the weighted mean of the trials' η (weights 1/u²): every
// trial's η already went through the full measurement model, so the mean
// inherits the model, whatever it is, while the line through the origin shows
// how far Stokes's law holds. The uncertainty of a trial is split into the
// part it shares with every other trial (the fluid's density, the tube: one
// error for the whole series, which averaging cannot reduce) and its own part
// (its points, its ball's radius and density). The weights and the scatter
// use the own parts; the shared part is added once at the end.
struct SeriesTrial
{
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();

    QString label;                          // how the output names it: the file's name
    double radius = nan, radiusU = 0.0;     // m
    double density = nan, densityU = 0.0;   // of the ball, kg/m³
    double eta = nan, etaU = nan;           // Pa·s (wall-corrected in a tube), combined u
    double etaUShared = 0.0;                // the part of etaU common to every trial, Pa·s
    double velocity = nan, velocityU = nan; // v∞ in an unbounded fluid (wall-corrected), m/s
    double reynolds = nan;
    bool used = true; // false: the user left it out of the series
};

struct SeriesSetup
{
    double fluidDensity = std::numeric_limits<double>::quiet_NaN(); // kg/m³
    double fluidDensityU = 0.0; // its standard uncertainty, kg/m³
    double gravity = 9.81;      // m/s², the g of Stokes's law for the line's η
};

// How far a trial lies from the others and from the line.
struct TrialAgreement
{
    int trial = 0; // index in the trials
    // The weighted mean of the other used trials not named as outliers, Pa·s.
    double othersEta = SeriesTrial::nan;
    double othersU = SeriesTrial::nan;
    double gap = SeriesTrial::nan; // |η − othersEta| in units of the combined u of both
    double lineDeparture = SeriesTrial::nan; // (v∞ − line)/line, relative
    double lineGap = SeriesTrial::nan;       // (v∞ − line) in units of u(v∞)
};

struct SeriesResult
{
    static constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    static constexpr double outlierGap = 3.0; // a trial farther than 3 u is named

    bool ok = false;
    QString error; // French, when not ok

    int used = 0;
    // Weighted mean of η: internal u (from the own parts), the Birge ratio
    // R_B = √(χ²/(n − 1)) of the scatter against those u (NaN for one trial),
    // the combined u = √((u_int·max(1, R_B))² + u_shared²).
    double eta = nan;
    double etaUInternal = nan;
    double etaUShared = nan;
    double etaU = nan;
    double birge = nan;
    bool scaled = false; // u_int was multiplied by R_B > 1

    // The line v∞ = slope·x through the origin by weighted least squares,
    // x = r²·(ρs − ρf)/(ρ̄s − ρf): r² itself when every ball has the same
    // density, reduced to the mean density ρ̄s otherwise. The weights take the
    // u of x into account (effective variance). u(slope) is scaled by the
    // line's own Birge ratio when it exceeds 1.
    bool sameDensity = true;
    double meanDensity = nan;         // ρ̄s, kg/m³
    double slope = nan, slopeU = nan; // m⁻¹·s⁻¹
    double lineBirge = nan;
    // Stokes's law on the line: η = 2(ρ̄s − ρf)·g/(9·slope).
    double lineEta = nan, lineEtaU = nan;

    std::vector<TrialAgreement> agreement; // one per used trial, in the trials' order
    // Used trials farther than outlierGap from the others (found one at a
    // time, the farthest first, each then set aside from the others' means),
    // in the trials' order.
    std::vector<int> outliers;
};

namespace FallSeries {

inline constexpr int maxTrials = 200;

// The series of the used trials. Fails (in French) without a used trial,
// or when a used trial has no finite positive η, u(η), v∞, radius or density.
SeriesResult estimate(const std::vector<SeriesTrial> &trials, const SeriesSetup &setup);

// The agreement of trial (its index in the trials); nullptr when it is not
// a used trial of result.
const TrialAgreement *agreementOf(const SeriesResult &result, int trial);
// Whether trial is named as disagreeing with the others.
bool isOutlier(const SeriesResult &result, int trial);

// "0,967 ± 0,012": value and u as NumberFormat::withUncertainty writes
// them; the value alone when u is not given.
QString measured(double value, double u);

// What the series says, in French, one line each: the method, the line
// "η (série) = value ± u Pa·s", the Birge ratio, the slope and its η, each
// trial's departure from the line, the named outliers.
QStringList lines(const std::vector<SeriesTrial> &trials, const SeriesResult &result);

// The series table for a French spreadsheet (CsvText): a header, one row per
// trial (left-out ones too), an empty row, then the series' figures.
QList<QStringList> csvRows(const std::vector<SeriesTrial> &trials, const SeriesResult &result);

// csvRows written to path through the atomic save; false with a French error.
bool writeCsv(const QString &path, const std::vector<SeriesTrial> &trials,
              const SeriesResult &result, QString *error);

} // namespace FallSeries
