// SPDX-License-Identifier: GPL-3.0-or-later
// What the measures window does with a result: copy it, export it, apply it
// to the simulator and say what was applied.
#include "mesuresdialog.h"

#include "measures/measurementholder.h"
#include "mesuresexport.h"

#include "core/atomicsave.h"
#include "core/motion.h"
#include "core/numberformat.h"
#include "core/parameterfields.h"
#include "core/validation.h"
#include "measures/fitreport.h"
#include "platform/platformservices.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

#include <cmath>

namespace {

QString rangeText(int field, const QString &unit)
{
    const ParameterValidator::Range range = ParameterValidator::range(field);
    return QStringLiteral("%1 à %2 %3")
        .arg(NumberFormat::generalDouble(range.minimum), NumberFormat::generalDouble(range.maximum),
             unit);
}

// The field's value in SI units from its text in the field's unit.
double fieldValue(const QString &text, double factor)
{
    const std::optional<double> value = NumberFormat::parse(text);
    return value ? *value * factor : std::nan("");
}

} // namespace

void MesuresDialog::copier_Click()
{
    if (!m_fitted)
        return;
    const QStringList inputs
        = MesuresExport::inputLines(m_holder.set(), m_holder.inputs, m_holder.fitRange());
    m_services.setClipboardText(FitReport::text(m_result) + QLatin1Char('\n')
                                + inputs.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void MesuresDialog::exporter_Click()
{
    if (!m_fitted)
        return;
    FileDialogRequest request;
    request.title = QStringLiteral("Exporter les résultats de l'ajustement");
    request.filter = QStringLiteral("Fichiers CSV (*.csv)");
    request.defaultExtension = QStringLiteral("csv");
    request.directory = m_holder.folder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        : m_holder.folder;
    const std::optional<QString> name = m_services.saveFileName(request);
    if (!name)
        return;
    const QByteArray bytes
        = MesuresExport::bytes(m_holder.set(), m_result, m_holder.inputs, m_holder.fitRange());
    // Through the program's atomic save: on a full disk the previous file
    // stays as it was.
    QString detail;
    if (!AtomicSave::write(*name, bytes, &detail)) {
        error(QStringLiteral("Le fichier « %1 » n'a pas pu être écrit.\n%2")
                  .arg(QDir::toNativeSeparators(*name), detail));
        return;
    }
    say(QStringLiteral("Exporté dans « %1 » : ce fichier se rouvre comme un fichier de mesures.")
            .arg(QFileInfo(*name).fileName()));
}

void MesuresDialog::appliquer_Click()
{
    if (!m_fitted || !m_result.hasEta() || !m_holder.apply)
        return;
    // The wall-corrected η is the fluid's own when a tube was given.
    const double eta = std::isfinite(m_result.etaWall) ? m_result.etaWall : m_result.eta;
    AppliedFit applied;
    applied.viscosity = NumberFormat::threeSignificant(eta);
    applied.radius = NumberFormat::threeSignificant(m_setup.radius * 100.0); // cm
    applied.mass = NumberFormat::threeSignificant(m_setup.mass * 1000.0);    // g
    applied.fluidDensity = NumberFormat::threeSignificant(m_setup.fluidDensity);
    applied.sphereAndFluid = m_setup.outsideAnimation().isEmpty();
    if (applied.viscosity.isEmpty())
        return;
    // The field would clamp it: 495 Pa·s would silently become 5.
    const ParameterValidator::Range range = ParameterValidator::range(ParameterFields::Viscosity);
    const std::optional<double> shown = NumberFormat::parse(applied.viscosity);
    if (!shown || *shown < range.minimum || *shown > range.maximum) {
        say(QStringLiteral("η = %1 Pa·s n'est pas appliquée : la viscosité du simulateur va de %2. "
                           "Rien n'a été changé.")
                .arg(applied.viscosity,
                     rangeText(ParameterFields::Viscosity, QStringLiteral("Pa·s"))));
        return;
    }
    m_holder.apply(applied);
    say(appliedReport(applied));
    emit m_holder.applied();
}

QString MesuresDialog::appliedReport(const AppliedFit &asked) const
{
    QStringList lines;
    QString what = QStringLiteral("Appliqué au simulateur : η = %1 Pa·s").arg(asked.viscosity);
    if (asked.sphereAndFluid)
        what += QStringLiteral(", rayon %1 cm, masse %2 g, masse volumique du fluide %3 kg/m³")
                    .arg(asked.radius, asked.mass, asked.fluidDensity);
    lines << what + QLatin1Char('.');
    if (!asked.sphereAndFluid) {
        lines << QStringLiteral("La bille et le fluide du simulateur sont laissés tels quels :");
        lines << m_setup.outsideAnimation();
    }
    if (!m_holder.fieldTexts)
        return lines.join(QLatin1Char('\n'));

    // What the fields hold now: their validation may have rounded or clamped.
    const MeasureFieldTexts now = m_holder.fieldTexts();
    // what: the field's subject with its verb, "Le rayon est ramené".
    const auto clamped = [&lines](const QString &what, const QString &askedText,
                                  const QString &held, int field, const QString &unit) {
        const std::optional<double> a = NumberFormat::parse(askedText);
        const std::optional<double> h = NumberFormat::parse(held);
        if (a && h && std::abs(*a - *h) > 1e-9 * std::abs(*a))
            lines << QStringLiteral("%1 à %2 %3 (plage du champ : %4).")
                         .arg(what, held, unit, rangeText(field, unit));
    };
    clamped(QStringLiteral("La viscosité est ramenée"), asked.viscosity, now.viscosity,
            ParameterFields::Viscosity, QStringLiteral("Pa·s"));
    if (asked.sphereAndFluid) {
        clamped(QStringLiteral("Le rayon est ramené"), asked.radius, now.radius,
                ParameterFields::Radius, QStringLiteral("cm"));
        clamped(QStringLiteral("La masse est ramenée"), asked.mass, now.mass, ParameterFields::Mass,
                QStringLiteral("g"));
        clamped(QStringLiteral("La masse volumique du fluide est ramenée"), asked.fluidDensity,
                now.fluidDensity, ParameterFields::FluidDensity, QStringLiteral("kg/m³"));
    }

    // The simulator falls by Stokes's law (with no walls): beyond Re 0,3 or
    // in a tube its fall is not the measured one, and a teacher must know by
    // how much.
    const bool wall = std::isfinite(m_result.wallFactor) && std::isfinite(m_result.etaWall);
    if (!(m_result.reynolds > 0.3 || wall) || !std::isfinite(m_result.vlim))
        return lines.join(QLatin1Char('\n'));
    const Motion::FrictionModel unknown {std::nan(""), std::nan(""), std::nan(""), std::nan(""),
                                         false};
    const Motion::FrictionModel simulated = Motion::frictionModel(
        fieldValue(now.radius, 0.01), fieldValue(now.mass, 0.001),
        fieldValue(now.fluidDensity, 1.0), fieldValue(now.viscosity, 1.0), unknown);
    if (!std::isfinite(simulated.vlim) || !(m_result.vlim > 0.0))
        return lines.join(QLatin1Char('\n'));
    const double gap = simulated.vlim / m_result.vlim - 1.0;
    if (std::abs(gap) < 0.01)
        return lines.join(QLatin1Char('\n'));
    QStringList why;
    if (m_result.reynolds > 0.3)
        why << QStringLiteral("à Re = %1 la traînée dépasse celle de Stokes")
                   .arg(NumberFormat::significant(m_result.reynolds, 2));
    if (wall)
        why << QStringLiteral("le tube freine la bille (f = %1), le simulateur n'a pas de paroi")
                   .arg(NumberFormat::significant(m_result.wallFactor, 3));
    lines << QStringLiteral("Le simulateur utilise la loi de Stokes : avec η = %1 Pa·s, sa vitesse "
                            "limite est %2 m/s, la chute mesurée %3 m/s (%4%5 %) : %6.")
                 .arg(now.viscosity, NumberFormat::significant(simulated.vlim, 3),
                      NumberFormat::significant(m_result.vlim, 3),
                      gap > 0 ? QStringLiteral("+") : QStringLiteral("−"),
                      NumberFormat::threeSignificant(std::abs(gap) * 100.0),
                      why.join(QStringLiteral(" ; ")));
    return lines.join(QLatin1Char('\n'));
}
