// SPDX-License-Identifier: GPL-3.0-or-later
// The series table as CSV.
#include "fallseries.h"

#include "core/atomicsave.h"
#include "core/csvtext.h"
#include "core/numberformat.h"

#include <cmath>

namespace {

QString cell(double value)
{
    return std::isfinite(value) ? NumberFormat::generalDouble(value) : QString();
}

} // namespace

namespace FallSeries {

QList<QStringList> csvRows(const std::vector<SeriesTrial> &trials, const SeriesResult &result)
{
    QList<QStringList> rows;
    rows << QStringList {QStringLiteral("Essai"),
                         QStringLiteral("Fichier"),
                         QStringLiteral("Rayon (mm)"),
                         QStringLiteral("u(rayon) (mm)"),
                         QStringLiteral("Masse volumique de la bille (kg/m³)"),
                         QStringLiteral("u (kg/m³)"),
                         QStringLiteral("Re"),
                         QStringLiteral("v∞ (m/s)"),
                         QStringLiteral("u(v∞) (m/s)"),
                         QStringLiteral("η (Pa·s)"),
                         QStringLiteral("u(η) (Pa·s)"),
                         QStringLiteral("Écart à la droite (%)"),
                         QStringLiteral("Écart aux autres (u)"),
                         QStringLiteral("Retenu")};
    for (qsizetype i = 0; i < qsizetype(trials.size()); ++i) {
        const SeriesTrial &t = trials[i];
        double departure = SeriesTrial::nan, gap = SeriesTrial::nan;
        for (const TrialAgreement &a : result.agreement)
            if (a.trial == i) {
                departure = 100.0 * a.lineDeparture;
                gap = a.gap;
            }
        rows << QStringList {QString::number(i + 1),
                             t.label,
                             cell(t.radius * 1e3),
                             cell(t.radiusU * 1e3),
                             cell(t.density),
                             cell(t.densityU),
                             cell(t.reynolds),
                             cell(t.velocity),
                             cell(t.velocityU),
                             cell(t.eta),
                             cell(t.etaU),
                             cell(departure),
                             cell(gap),
                             t.used ? QStringLiteral("oui") : QStringLiteral("non")};
    }
    rows << QStringList();
    if (!result.ok) {
        rows << QStringList {QStringLiteral("Série impossible"), result.error};
        return rows;
    }
    rows << QStringList {QStringLiteral("Grandeur"), QStringLiteral("Valeur"),
                         QStringLiteral("Incertitude-type"), QStringLiteral("Unité")};
    rows << QStringList {QStringLiteral("η (série, moyenne pondérée)"), cell(result.eta),
                         cell(result.etaU), QStringLiteral("Pa·s")};
    rows << QStringList {QStringLiteral("u interne"), cell(result.etaUInternal), QString(),
                         QStringLiteral("Pa·s")};
    rows << QStringList {QStringLiteral("u commune aux essais"), cell(result.etaUShared), QString(),
                         QStringLiteral("Pa·s")};
    rows << QStringList {QStringLiteral("Rapport de Birge"), cell(result.birge), QString(),
                         QString()};
    rows << QStringList {QStringLiteral("Pente de v∞ en fonction de r²"), cell(result.slope),
                         cell(result.slopeU), QStringLiteral("m⁻¹·s⁻¹")};
    rows << QStringList {QStringLiteral("η (loi de Stokes sur la pente)"), cell(result.lineEta),
                         cell(result.lineEtaU), QStringLiteral("Pa·s")};
    return rows;
}

bool writeCsv(const QString &path, const std::vector<SeriesTrial> &trials,
              const SeriesResult &result, QString *error)
{
    QString why;
    if (AtomicSave::write(path, CsvText::bytes(CsvText::text(csvRows(trials, result))), &why))
        return true;
    *error = QStringLiteral("Le tableau de la série « %1 » n'a pas pu être écrit.").arg(path)
        + (why.isEmpty() ? QString() : QLatin1Char(' ') + why);
    return false;
}

} // namespace FallSeries
