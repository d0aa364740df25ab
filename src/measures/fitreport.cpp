// SPDX-License-Identifier: GPL-3.0-or-later
#include "fitreport.h"

#include "core/atomicsave.h"
#include "core/csvtext.h"
#include "core/numberformat.h"
#include "platform/filemessages.h"

#include <cmath>

namespace {

QString significant(double value)
{
    return NumberFormat::significant(value, 3);
}

QString withUncertainty(const QString &name, double value, double uncertainty, const QString &unit)
{
    const NumberFormat::Measured shown = NumberFormat::withUncertainty(value, uncertainty);
    return QStringLiteral("%1 = %2 ± %3 %4").arg(name, shown.value, shown.uncertainty, unit);
}

QString modelLine(const FitResult &result)
{
    const QString g = NumberFormat::generalDouble(result.gravity);
    return result.model == FitOptions::Model::Stokes
        ? QStringLiteral("Modèle : loi de Stokes (celle du simulateur), g = %1 m/s²").arg(g)
        : QStringLiteral("Modèle : courbe de traînée standard (Clift, Grace et Weber) avec la "
                         "masse ajoutée, g = %1 m/s²")
              .arg(g);
}

QString cell(double value)
{
    return std::isfinite(value) ? NumberFormat::generalDouble(value) : QString();
}

} // namespace

QString FitReport::etaLine(double eta, double uncertainty)
{
    return withUncertainty(QStringLiteral("η"), eta, uncertainty, QStringLiteral("Pa·s"));
}

QString FitReport::text(const FitResult &result)
{
    QStringList lines;
    switch (result.status) {
    case FitResult::Status::Failed:
        lines << QStringLiteral("Ajustement impossible : ") + result.message;
        break;
    case FitResult::Status::NotDetermined:
        lines << QStringLiteral("η non déterminée : ") + result.message;
        break;
    case FitResult::Status::Fitted:
        lines << etaLine(result.eta, result.etaU);
        if (std::isfinite(result.etaWall))
            lines << etaLine(result.etaWall, result.etaWallU)
                    + QStringLiteral(" (corrigée de l'effet de paroi : d/D = %1, f = %2)")
                          .arg(significant(result.lambda), significant(result.wallFactor));
        else if (!result.wallMessage.isEmpty())
            lines << result.wallMessage;
        lines << modelLine(result);
        if (std::isfinite(result.etaWall) && !result.wallCorrelation.isEmpty())
            lines << QStringLiteral("Correction de paroi : ") + result.wallCorrelation;
        if (!result.rangeReason.isEmpty())
            lines << QStringLiteral("Intervalle ajusté : de %1 s à %2 s (%3)")
                         .arg(significant(result.rangeFrom), significant(result.rangeTo),
                              result.rangeReason);
        lines << withUncertainty(QStringLiteral("y₀"), result.y0, result.y0U, QStringLiteral("m"));
        if (result.t0Fitted)
            lines << withUncertainty(QStringLiteral("t₀"), result.t0, result.t0U,
                                     QStringLiteral("s"));
        else
            lines << QStringLiteral("t₀ = %1 s (fixé au premier instant mesuré)")
                         .arg(NumberFormat::generalDouble(result.t0));
        lines << QStringLiteral("Vitesse limite : v_lim = %1 m/s").arg(significant(result.vlim));
        lines << QStringLiteral("Constante de temps : τ = %1 s").arg(significant(result.tau));
        if (result.model == FitOptions::Model::Stokes) {
            lines << QStringLiteral("Nombre de Reynolds à v_lim : Re = %1 (%2)")
                         .arg(significant(result.reynolds),
                              result.quadratic ? QStringLiteral("régime quadratique équivalent")
                                               : QStringLiteral("régime linéaire, loi de Stokes"));
        } else {
            lines << QStringLiteral("Nombre de Reynolds à v_lim : Re = %1")
                         .arg(significant(result.reynolds));
            lines << QStringLiteral("Rapport de la traînée à celle de Stokes à v_lim : "
                                    "φ = C_D·Re/24 = %1")
                         .arg(significant(result.dragRatio));
        }
        break;
    }
    lines << QStringLiteral("Points utilisés : %1, exclus : %2")
                 .arg(result.used)
                 .arg(result.excluded);
    if (result.status != FitResult::Status::Failed) {
        lines << QStringLiteral("Résidu quadratique moyen : %1 m")
                     .arg(significant(result.rmsResidual));
        if (result.weighted && std::isfinite(result.chi2Reduced))
            lines << QStringLiteral("χ²/(N − p) = %1 (incertitudes des points prises en compte)")
                         .arg(significant(result.chi2Reduced));
    }
    for (const QString &warning : result.warnings)
        lines << QStringLiteral("Attention : ") + warning;
    for (const QString &note : result.notes)
        lines << QStringLiteral("Remarque : ") + note;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QList<QStringList> FitReport::csvRows(const MeasurementSet &set, const FitResult &result)
{
    QList<QStringList> rows;
    rows << QStringList {QStringLiteral("t (s)"), QStringLiteral("y mesuré (m)"),
                         QStringLiteral("y modèle (m)"), QStringLiteral("résidu (m)"),
                         QStringLiteral("utilisé")};
    for (const FitPoint &p : result.points) {
        if (p.index < 0 || size_t(p.index) >= set.points.size())
            continue;
        rows << QStringList {cell(p.t), cell(p.y), cell(p.model), cell(p.residual),
                             p.used ? QStringLiteral("oui") : QStringLiteral("non")};
    }
    return rows;
}

QByteArray FitReport::csvBytes(const MeasurementSet &set, const FitResult &result)
{
    return CsvText::bytes(CsvText::text(csvRows(set, result)));
}

bool FitReport::writeCsv(const QString &fileName, const MeasurementSet &set,
                         const FitResult &result, QString *error)
{
    // Through the program's atomic save: on a full disk the previous file
    // stays as it was, which a plain QSaveFile commit does not promise.
    QString detail;
    if (AtomicSave::write(fileName, csvBytes(set, result), &detail))
        return true;
    if (error)
        *error = FileMessages::notWritten(fileName, detail);
    return false;
}
