// SPDX-License-Identifier: GPL-3.0-or-later
#include "fallseries.h"

#include "core/numberformat.h"

#include <algorithm>
#include <cmath>

namespace {

bool positive(double value)
{
    return std::isfinite(value) && value > 0.0;
}

// A used trial as the estimate sees it.
struct Point
{
    int trial = 0;
    double eta = 0.0, own = 0.0, shared = 0.0; // η and the two parts of its u
    double x = 0.0, xU = 0.0;                  // the line's abscissa, m²
    double v = 0.0, vU = 0.0;                  // v∞, m/s
};

struct Mean
{
    double value = SeriesTrial::nan;
    double internal = SeriesTrial::nan; // 1/√Σw
    double shared = 0.0; // Σ w·u_shared / Σ w: fully correlated parts add linearly
    double chi2 = 0.0;
    int count = 0;
};

// The weighted mean of the η of the points where take is true (all of them
// when take is empty).
Mean weightedMean(const std::vector<Point> &points, const std::vector<bool> &take = {})
{
    Mean m;
    double sw = 0.0, swEta = 0.0, swShared = 0.0;
    auto taken = [&take](size_t i) { return take.empty() || take[i]; };
    for (size_t i = 0; i < points.size(); ++i) {
        if (!taken(i))
            continue;
        const double w = 1.0 / (points[i].own * points[i].own);
        sw += w;
        swEta += w * points[i].eta;
        swShared += w * points[i].shared;
        ++m.count;
    }
    if (m.count == 0)
        return m;
    m.value = swEta / sw;
    m.internal = 1.0 / std::sqrt(sw);
    m.shared = swShared / sw;
    for (size_t i = 0; i < points.size(); ++i)
        if (taken(i))
            m.chi2 += std::pow((points[i].eta - m.value) / points[i].own, 2);
    return m;
}

// Point i against the mean of the retained points other than itself.
void compare(const std::vector<Point> &points, std::vector<bool> retained, size_t i,
             TrialAgreement &a)
{
    retained[i] = false;
    const Mean others = weightedMean(points, retained);
    a.othersEta = others.value;
    a.othersU = others.internal;
    a.gap = std::abs(points[i].eta - others.value) / std::hypot(points[i].own, others.internal);
}

QString two(double value)
{
    return NumberFormat::significant(value, 2);
}

// "bille de 4,72 mm": a ball is named by its diameter, as it is sold.
QString ball(const SeriesTrial &trial)
{
    return QStringLiteral("bille de %1 mm").arg(NumberFormat::significant(2e3 * trial.radius, 3));
}

QString signedPercent(double relative)
{
    const QString text = NumberFormat::significant(100.0 * relative, 2);
    return (relative > 0.0 ? QStringLiteral("+") : QString()) + text + QStringLiteral(" %");
}

} // namespace

namespace FallSeries {

const TrialAgreement *agreementOf(const SeriesResult &result, int trial)
{
    const auto a = std::find_if(result.agreement.begin(), result.agreement.end(),
                                [trial](const TrialAgreement &x) { return x.trial == trial; });
    return a == result.agreement.end() ? nullptr : &*a;
}

bool isOutlier(const SeriesResult &result, int trial)
{
    return std::find(result.outliers.begin(), result.outliers.end(), trial)
        != result.outliers.end();
}

QString measured(double value, double u)
{
    const NumberFormat::Measured shown = NumberFormat::withUncertainty(value, u);
    return shown.uncertainty.isEmpty() ? shown.value
                                       : shown.value + QStringLiteral(" ± ") + shown.uncertainty;
}

SeriesResult estimate(const std::vector<SeriesTrial> &trials, const SeriesSetup &setup)
{
    SeriesResult result;
    if (qsizetype(trials.size()) > maxTrials) {
        result.error = QStringLiteral("Une série compte au plus %1 essais.").arg(maxTrials);
        return result;
    }
    if (!positive(setup.fluidDensity) || !positive(setup.gravity)) {
        result.error = QStringLiteral("La masse volumique du fluide manque.");
        return result;
    }
    std::vector<Point> points;
    double densities = 0.0, densityU = 0.0;
    for (qsizetype i = 0; i < qsizetype(trials.size()); ++i) {
        const SeriesTrial &t = trials[i];
        if (!t.used)
            continue;
        if (!positive(t.eta) || !positive(t.etaU) || !positive(t.velocity) || !positive(t.velocityU)
            || !positive(t.radius) || !(t.density > setup.fluidDensity) || !(t.etaUShared >= 0.0)
            || !(t.radiusU >= 0.0) || !(t.densityU >= 0.0)) {
            result.error = QStringLiteral("L'essai %1 n'a pas de résultat utilisable : il faut "
                                          "η, v∞, le rayon et la masse volumique de la bille, "
                                          "avec leurs incertitudes.")
                               .arg(i + 1);
            return result;
        }
        Point p;
        p.trial = int(i);
        p.eta = t.eta;
        p.shared = std::min(t.etaUShared, t.etaU);
        p.own = std::sqrt(t.etaU * t.etaU - p.shared * p.shared);
        if (!positive(p.own)) {
            result.error = QStringLiteral("L'incertitude de l'essai %1 est toute commune à la "
                                          "série : les essais ne peuvent pas être pondérés.")
                               .arg(i + 1);
            return result;
        }
        p.v = t.velocity;
        p.vU = t.velocityU;
        points.push_back(p);
        densities += t.density;
        densityU += t.densityU;
    }
    if (points.empty()) {
        result.error = QStringLiteral("Aucun essai n'est retenu dans la série.");
        return result;
    }
    const double n = double(points.size());
    result.used = int(points.size());
    result.meanDensity = densities / n;
    for (const Point &p : points)
        if (std::abs(trials[p.trial].density - result.meanDensity) > 1e-9 * result.meanDensity)
            result.sameDensity = false;

    const Mean all = weightedMean(points);
    result.eta = all.value;
    result.etaUInternal = all.internal;
    result.etaUShared = all.shared;
    if (points.size() >= 2) {
        result.birge = std::sqrt(all.chi2 / (n - 1.0));
        result.scaled = result.birge > 1.0;
    }
    const double internal = all.internal * (result.scaled ? result.birge : 1.0);
    result.etaU = std::hypot(internal, all.shared);

    // The line's abscissa: with one density, r² and the u of r; with several,
    // r² reduced to the mean density, whose densities' u enter x.
    const double meanDifference = result.meanDensity - setup.fluidDensity;
    for (Point &p : points) {
        const SeriesTrial &t = trials[p.trial];
        const double difference = t.density - setup.fluidDensity;
        double relative = 2.0 * t.radiusU / t.radius;
        if (!result.sameDensity)
            relative = std::hypot(relative, t.densityU / difference);
        p.x = t.radius * t.radius * (result.sameDensity ? 1.0 : difference / meanDifference);
        p.xU = p.x * relative;
    }
    // Effective variance: u² = u²(v) + (slope·u(x))², which needs the slope;
    // a few passes from the weights of v alone settle it.
    double slope = 0.0, sxx = 0.0;
    for (int pass = 0; pass < 4; ++pass) {
        double sxv = 0.0;
        sxx = 0.0;
        for (const Point &p : points) {
            const double w = 1.0 / (p.vU * p.vU + std::pow(slope * p.xU, 2));
            sxv += w * p.x * p.v;
            sxx += w * p.x * p.x;
        }
        slope = sxv / sxx;
    }
    double chi2 = 0.0;
    for (const Point &p : points) {
        const double u = std::sqrt(p.vU * p.vU + std::pow(slope * p.xU, 2));
        const double line = slope * p.x;
        chi2 += std::pow((p.v - line) / u, 2);
        TrialAgreement a;
        a.trial = p.trial;
        a.lineDeparture = (p.v - line) / line;
        a.lineGap = (p.v - line) / u;
        result.agreement.push_back(a);
    }
    result.slope = slope;
    result.slopeU = 1.0 / std::sqrt(sxx);
    if (points.size() >= 2) {
        result.lineBirge = std::sqrt(chi2 / (n - 1.0));
        if (result.lineBirge > 1.0)
            result.slopeU *= result.lineBirge;
    }
    // With one density, its u is common to the whole line; with several it
    // went into x.
    const double differenceU
        = std::hypot(result.sameDensity ? densityU / n : 0.0, setup.fluidDensityU);
    result.lineEta = 2.0 * meanDifference * setup.gravity / (9.0 * slope);
    result.lineEtaU
        = result.lineEta * std::hypot(result.slopeU / slope, differenceU / meanDifference);

    // Leave-one-out, repeated: the trial farthest from the mean of the others
    // is named when beyond outlierGap, then set aside so that it no longer
    // pulls the others' means, until none is beyond or fewer than three
    // remain (with two, each is as far from the other: none can be named).
    // Each trial is finally compared with the retained trials but itself.
    std::vector<bool> retained(points.size(), true);
    for (qsizetype left = qsizetype(points.size()); left >= 3; --left) {
        size_t worst = 0;
        double worstGap = -1.0;
        for (size_t i = 0; i < points.size(); ++i) {
            if (!retained[i])
                continue;
            TrialAgreement a;
            compare(points, retained, i, a);
            if (a.gap > worstGap) {
                worstGap = a.gap;
                worst = i;
            }
        }
        if (!(worstGap > SeriesResult::outlierGap))
            break;
        retained[worst] = false;
    }
    for (size_t i = 0; i < points.size() && points.size() >= 2; ++i) {
        compare(points, retained, i, result.agreement[i]);
        if (!retained[i])
            result.outliers.push_back(points[i].trial);
    }
    result.ok = true;
    return result;
}

QStringList lines(const std::vector<SeriesTrial> &trials, const SeriesResult &result)
{
    if (!result.ok)
        return {QStringLiteral("Série impossible : ") + result.error};
    QStringList out;
    out << QStringLiteral("η (série) = %1 Pa·s").arg(measured(result.eta, result.etaU));
    out << QStringLiteral("Méthode : moyenne pondérée des η des %1 essais retenus sur %2 "
                          "(poids 1/u², u propre à chaque essai)")
               .arg(result.used)
               .arg(trials.size());
    out << QStringLiteral("Incertitude : u interne = %1 Pa·s ; u commune à tous les essais = "
                          "%2 Pa·s")
               .arg(two(result.etaUInternal), two(result.etaUShared));
    if (std::isnan(result.birge))
        out << QStringLiteral("Un seul essai : l'accord entre essais ne peut pas être jugé.");
    else if (result.scaled)
        out << QStringLiteral("Accord entre essais : rapport de Birge R_B = %1 > 1 : les essais "
                              "s'écartent plus que leurs incertitudes ne l'expliquent ; la u "
                              "interne est multipliée par R_B.")
                   .arg(two(result.birge));
    else
        out << QStringLiteral("Accord entre essais : rapport de Birge R_B = %1 ≤ 1 : leurs "
                              "écarts sont expliqués par leurs incertitudes.")
                   .arg(two(result.birge));

    const QString axis = result.sameDensity
        ? QStringLiteral("r²")
        : QStringLiteral("r²·(ρs − ρf)/(ρ̄s − ρf), ρ̄s = %1 kg/m³")
              .arg(NumberFormat::significant(result.meanDensity, 4));
    out << QStringLiteral("Pente de v∞ en fonction de %1 : %2 m⁻¹·s⁻¹ (droite passant par "
                          "l'origine, moindres carrés pondérés)")
               .arg(axis, measured(result.slope, result.slopeU));
    out << QStringLiteral("η (loi de Stokes sur la pente) = %1 Pa·s")
               .arg(measured(result.lineEta, result.lineEtaU));
    double maxReynolds = 0.0;
    for (const TrialAgreement &a : result.agreement) {
        const SeriesTrial &t = trials[a.trial];
        maxReynolds = std::max(maxReynolds, t.reynolds);
        out << QStringLiteral("  Essai %1 (%2, Re = %3) : v∞ = %4 m/s, écart à la droite %5 "
                              "(%6 u)")
                   .arg(a.trial + 1)
                   .arg(ball(t), two(t.reynolds), measured(t.velocity, t.velocityU),
                        signedPercent(a.lineDeparture), two(a.lineGap));
    }
    if (maxReynolds >= 0.1)
        out << QStringLiteral("Quand Re croît, la traînée dépasse celle de la loi de Stokes et "
                              "v∞ passe sous la droite : l'η de la pente (loi de Stokes) en est "
                              "surestimée.");
    for (int index : result.outliers) {
        const TrialAgreement *a = agreementOf(result, index);
        out << QStringLiteral("L'essai %1 (%2) s'écarte de %3 u de la moyenne des autres "
                              "(%4 Pa·s) : vérifier son rayon, sa masse et ses points, ou le "
                              "laisser de côté.")
                   .arg(index + 1)
                   .arg(ball(trials[index]), two(a->gap), measured(a->othersEta, a->othersU));
    }
    if (result.outliers.empty() && result.used >= 3)
        out << QStringLiteral("Aucun essai ne s'écarte des autres de plus de 3 u.");
    return out;
}

} // namespace FallSeries
