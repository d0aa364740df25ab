// SPDX-License-Identifier: GPL-3.0-or-later
#include "mesuresexport.h"

#include "core/csvtext.h"
#include "core/numberformat.h"
#include "measures/fitreport.h"
#include "measures/quantity.h"

#include <cmath>

namespace {

// A text typed with its own unit ("0,01mm") is kept as typed.
bool hasOwnUnit(const QString &text)
{
    return !text.isEmpty() && !text.back().isDigit();
}

QString typed(const QString &text, const QString &unit, const QString &u = {})
{
    const QString value = text.trimmed();
    if (value.isEmpty())
        return QStringLiteral("non indiqué");
    QString uncertainty = u.trimmed();
    if (uncertainty.startsWith(QChar(0x00B1)))
        uncertainty = uncertainty.mid(1).trimmed();
    else if (uncertainty.startsWith(QLatin1String("+-")))
        uncertainty = uncertainty.mid(2).trimmed();
    if (uncertainty.isEmpty())
        return value + QLatin1Char(' ') + unit;
    // A half-width a typed as "a/√3" keeps its mark after the unit, and
    // says its law as the budget does.
    QStringView half = uncertainty;
    const bool rectangular = QuantityText::takeRootThree(&half);
    const QString a = half.toString();
    return value + QLatin1Char(' ') + unit + QStringLiteral(" ± ") + a
        + (hasOwnUnit(a) ? QString() : QLatin1Char(' ') + unit)
        + (rectangular ? QStringLiteral("/√3, loi rectangulaire") : QString());
}

QString cell(double value)
{
    return std::isfinite(value) ? NumberFormat::generalDouble(value) : QString();
}

} // namespace

QStringList MesuresExport::inputLines(const MeasurementSet &set, const MeasureInputs &inputs,
                                      const FitRange &range)
{
    QStringList lines;
    lines << QStringLiteral("Mesures : %1 (%2 points)")
                 .arg(set.sourceName.isEmpty() ? QStringLiteral("sans nom") : set.sourceName)
                 .arg(set.points.size());
    lines << QStringLiteral("Rayon de la bille : ")
            + typed(inputs.radius, QStringLiteral("mm"), inputs.radiusU);
    if (inputs.massKind == 0)
        lines << QStringLiteral("Masse de la bille : ")
                + typed(inputs.mass, QStringLiteral("mg"), inputs.massU);
    else
        lines << QStringLiteral("Masse volumique de la bille : ")
                + typed(inputs.mass, QStringLiteral("kg/m³"), inputs.massU);
    lines << QStringLiteral("Masse volumique du fluide : ")
            + typed(inputs.fluidDensity, QStringLiteral("kg/m³"), inputs.fluidDensityU);
    lines << (inputs.tube.trimmed().isEmpty()
                  ? QStringLiteral("Diamètre du tube : non indiqué (sans correction de paroi)")
                  : QStringLiteral("Diamètre du tube : ")
                      + typed(inputs.tube, QStringLiteral("mm"), inputs.tubeU));
    const auto bound = [](double t, const char *open) {
        return std::isfinite(t) ? NumberFormat::generalDouble(t) + QStringLiteral(" s")
                                : QString::fromUtf8(open);
    };
    lines << QStringLiteral("Plage d'ajustement : de %1 à %2")
                 .arg(bound(range.tMin, "premier point"), bound(range.tMax, "dernier point"));
    lines << (inputs.releaseTime ? QStringLiteral("Instant du lâcher t0 : ajusté")
                                 : QStringLiteral("Instant du lâcher t0 : premier point retenu"));
    lines << (inputs.model == FitOptions::Model::Stokes
                  ? QStringLiteral("Modèle : loi de Stokes (celle du simulateur)")
                  : QStringLiteral("Modèle : courbe de traînée standard"));
    QStringList left;
    for (const MeasuredPoint &p : set.points) {
        if (p.exclusion == MeasuredPoint::Exclusion::User)
            left << QString::number(p.source);
    }
    if (!left.isEmpty())
        lines << QStringLiteral("Points exclus (lignes de la source) : ")
                + left.join(QStringLiteral(", "));
    return lines;
}

QList<QStringList> MesuresExport::rows(const MeasurementSet &set, const FitResult &result,
                                       const MeasureInputs &inputs, const FitRange &range)
{
    return rows(set, result, FitReport::text(result).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                inputs, range);
}

QList<QStringList> MesuresExport::rows(const MeasurementSet &set, const FitResult &result,
                                       const QStringList &resultLines, const MeasureInputs &inputs,
                                       const FitRange &range)
{
    QList<QStringList> rows;
    rows << QStringList {QStringLiteral("Lorva avec frottement : ajustement d'une chute mesurée")};
    for (const QString &line : inputLines(set, inputs, range))
        rows << QStringList {line};
    for (const QString &line : resultLines)
        rows << QStringList {line};
    rows << QStringList {QStringLiteral("t"), QStringLiteral("y"), QStringLiteral("résidu")};
    rows << QStringList {QStringLiteral("s"), QStringLiteral("m"), QStringLiteral("mm")};
    // The residual of each point the fit used, by its index in the set.
    std::vector<double> residual(set.points.size(), std::nan(""));
    for (const FitPoint &p : result.points) {
        if (p.used && p.index >= 0 && size_t(p.index) < residual.size())
            residual[size_t(p.index)] = p.residual * 1000.0;
    }
    for (size_t i = 0; i < set.points.size(); ++i) {
        const MeasuredPoint &p = set.points[i];
        const bool lost = p.exclusion == MeasuredPoint::Exclusion::LostBall;
        rows << QStringList {cell(p.t), lost ? QString() : cell(p.y), cell(residual[i])};
    }
    return rows;
}

QByteArray MesuresExport::bytes(const MeasurementSet &set, const FitResult &result,
                                const MeasureInputs &inputs, const FitRange &range)
{
    return CsvText::bytes(CsvText::text(rows(set, result, inputs, range)));
}

QByteArray MesuresExport::bytes(const MeasurementSet &set, const FitResult &result,
                                const QStringList &resultLines, const MeasureInputs &inputs,
                                const FitRange &range)
{
    return CsvText::bytes(CsvText::text(rows(set, result, resultLines, inputs, range)));
}
