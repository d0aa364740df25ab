// SPDX-License-Identifier: GPL-3.0-or-later
#include "calibrationtexts.h"

#include "core/numberformat.h"

#include <cmath>
#include <optional>

namespace CalibrationTexts {

namespace {

// Non-breaking space: French typography puts one before ":" and around "=".
const QChar nbsp(0x00A0);

enum class FieldState { Empty, NotANumber, Value };

FieldState read(const QString &text, double *value)
{
    if (text.trimmed().isEmpty())
        return FieldState::Empty;
    const std::optional<double> v = NumberFormat::parse(text);
    if (!v || !std::isfinite(*v))
        return FieldState::NotANumber;
    *value = *v;
    return FieldState::Value;
}

} // namespace

TypedOptics readOptics(const QString &index, const QString &diameterMm, const QString &cameraCm)
{
    TypedOptics typed;
    double n = 0.0;
    switch (read(index, &n)) {
    case FieldState::Empty:
        typed.problem = QStringLiteral("L'indice de réfraction du liquide n'est pas indiqué.");
        return typed;
    case FieldState::NotANumber:
        typed.problem = QStringLiteral("L'indice du liquide n'est pas un nombre.");
        return typed;
    case FieldState::Value:
        break;
    }
    if (n < 1.0 || n > 3.0) {
        typed.problem
            = QStringLiteral("L'indice de réfraction du liquide doit être compris entre 1 et 3.");
        return typed;
    }
    double d = 0.0;
    switch (read(diameterMm, &d)) {
    case FieldState::Empty:
        typed.problem = QStringLiteral("Le diamètre intérieur du tube (mm) n'est pas indiqué.");
        return typed;
    case FieldState::NotANumber:
        typed.problem = QStringLiteral("Le diamètre du tube n'est pas un nombre.");
        return typed;
    case FieldState::Value:
        break;
    }
    if (d <= 0.0) {
        typed.problem = QStringLiteral("Le diamètre intérieur du tube doit être positif.");
        return typed;
    }
    double l = 0.0;
    switch (read(cameraCm, &l)) {
    case FieldState::Empty:
        typed.problem
            = QStringLiteral("La distance de la caméra à l'axe du tube (cm) n'est pas indiquée.");
        return typed;
    case FieldState::NotANumber:
        typed.problem = QStringLiteral("La distance de la caméra n'est pas un nombre.");
        return typed;
    case FieldState::Value:
        break;
    }
    typed.optics.refractiveIndex = n;
    typed.optics.innerRadius = d / 2.0 / 1000.0;
    typed.optics.cameraDistance = l / 100.0;
    if (!(typed.optics.cameraDistance > typed.optics.innerRadius))
        typed.problem = QStringLiteral("La caméra doit être hors du tube : sa distance à l'axe "
                                       "du tube doit dépasser la moitié de son diamètre.");
    else
        typed.problem = typed.optics.problem();
    return typed;
}

QString scaleStatus(int clicks, const QString &distanceCm)
{
    if (clicks <= 0)
        return QStringLiteral("Cliquer les deux extrémités de l'échelle.");
    if (clicks == 1)
        return QStringLiteral("Cliquer la seconde extrémité de l'échelle.");
    double cm = 0.0;
    switch (read(distanceCm, &cm)) {
    case FieldState::Empty:
        return QStringLiteral("Échelle cliquée : taper la distance entre les deux points (cm).");
    case FieldState::NotANumber:
        return QStringLiteral("La distance entre les deux points n'est pas un nombre.");
    case FieldState::Value:
        break;
    }
    if (cm <= 0.0)
        return QStringLiteral("La distance entre les deux points doit être positive.");
    return QStringLiteral("Échelle placée.");
}

QString factorText(bool immersed, double factor)
{
    const QString f = QStringLiteral("f%1=%1%2").arg(nbsp).arg(NumberFormat::fixed(factor, 3));
    if (immersed)
        return QStringLiteral("Échelle dans le plan de chute%1: aucune correction (%2).")
            .arg(nbsp)
            .arg(f);
    return QStringLiteral("Facteur de réfraction appliqué à l'échelle%1:%1%2").arg(nbsp).arg(f);
}

QString ballSizeText(double radiusPx, double metresPerPixel, double index)
{
    if (!(radiusPx > 0.0) || !std::isfinite(radiusPx))
        return QString();
    const QString px = NumberFormat::significant(radiusPx, 2);
    if (!(metresPerPixel > 0.0) || !std::isfinite(metresPerPixel))
        return QStringLiteral("Rayon apparent de la bille%1: %2%1px (placer l'échelle pour le "
                              "lire en mm).")
            .arg(nbsp)
            .arg(px);
    const double mm = radiusPx * metresPerPixel * 1000.0;
    QString text = QStringLiteral("Rayon apparent de la bille%1: %2%1mm (%3%1px). ")
                       .arg(nbsp)
                       .arg(NumberFormat::significant(mm, 2))
                       .arg(px);
    if (!(index >= 1.0) || !std::isfinite(index))
        return text + QStringLiteral("Le tube grossit les largeurs d'environ l'indice du liquide.");
    return text
        + QStringLiteral("Le tube grossit les largeurs d'environ n%1=%1%2 (pas les "
                         "hauteurs)%1: rayon vrai entre %3 et %4%1mm.")
              .arg(nbsp)
              .arg(NumberFormat::significant(index, 3))
              .arg(NumberFormat::significant(mm / index, 2))
              .arg(NumberFormat::significant(mm, 2));
}

} // namespace CalibrationTexts
