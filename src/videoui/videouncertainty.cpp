// SPDX-License-Identifier: GPL-3.0-or-later
// The video dialog's "±" fields: the standard uncertainties of the scale's
// length, of each click, of the tube's optics and of a typed capture rate,
// handed over with the points so that η's uncertainty takes them through
// the real measurand (the refraction factor as traced here included).
#include "videodialog.h"

#include "calibrationtexts.h"
#include "core/numberformat.h"
#include "measures/quantity.h"
#include "platform/namedwidgets.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

void VideoDialog::createUncertaintyFields()
{
    const QString half = QStringLiteral(" ; une demi-largeur a s'écrit a/√3 (loi rectangulaire)");
    distanceU = NamedWidgets::uncertaintyEdit(
        QStringLiteral("distance entre les deux points (cm)"),
        QStringLiteral("Règle au millimètre : la moitié d'une graduation, 0,05/√3 cm ; vide si "
                       "exacte ; unité permise : 0,5mm")
            + half,
        this);
    clickU = NamedWidgets::uncertaintyEdit(
        QStringLiteral("position de chaque clic de l'échelle (px)"),
        QStringLiteral("De combien un clic peut manquer un repère le long de l'échelle : "
                       "environ un demi-pixel, plus si les repères sont flous"),
        this);
    clickU->setText(NumberFormat::significant(VideoScale().uClick, 2));
    indexU = NamedWidgets::uncertaintyEdit(
        QStringLiteral("indice du liquide"),
        QStringLiteral("Indice lu dans une table : la moitié de son dernier chiffre ; "
                       "environ 0,01 pour un mélange mal connu")
            + half,
        this);
    tubeDiameterU = NamedWidgets::uncertaintyEdit(
        QStringLiteral("diamètre du tube (mm)"),
        QStringLiteral("Réglet au millimètre : 0,5 mm / √3, soit 0,3 mm ; pied à coulisse : la "
                       "moitié du dernier chiffre (le même que dans « Mesures »)"),
        this);
    cameraDistanceU = NamedWidgets::uncertaintyEdit(
        QStringLiteral("distance de la caméra (cm)"),
        QStringLiteral("Mètre ruban de l'objectif à l'axe du tube : environ 0,5 cm, plus si "
                       "l'objectif est mal repéré")
            + half,
        this);
    captureRateU = NamedWidgets::uncertaintyEdit(
        QStringLiteral("cadence de prise de vue (images/s)"),
        QStringLiteral("Cadence annoncée par le téléphone : souvent à 1 % près ; vide si la "
                       "vidéo donne ses instants")
            + half,
        this);
}

std::optional<VideoScale> VideoDialog::videoScale(QString *why) const
{
    struct Read
    {
        const QLineEdit *edit;
        QuantityKind kind;
        const char16_t *unit; // of the value beside it
        const char *what;
        double *u;
        bool *uniform;
    };
    VideoScale scale;
    bool clickUniform = false;
    const Read fields[] = {
        {distanceU, QuantityKind::Length, u"cm", "de la distance entre les deux points",
         &scale.uDistance, &scale.distanceUniform},
        {clickU, QuantityKind::Plain, u"", "des clics", &scale.uClick, &clickUniform},
        {indexU, QuantityKind::Plain, u"", "de l'indice", &scale.uIndex, &scale.indexUniform},
        {cameraDistanceU, QuantityKind::Length, u"cm", "de la distance de la caméra",
         &scale.uCameraDistance, &scale.cameraDistanceUniform},
        {captureRateU, QuantityKind::Plain, u"", "de la cadence", &scale.uCaptureRate,
         &scale.captureRateUniform},
    };
    for (const Read &field : fields) {
        const std::optional<TypedQuantity> u = QuantityText::parseUncertainty(
            field.edit->text(), field.kind, QString::fromUtf8(field.what), why,
            QStringView(field.unit));
        if (!u)
            return std::nullopt;
        *field.u = u->uncertainty;
        *field.uniform = u->uniform;
    }
    scale.distance = m_calibration.scaleDistance;
    scale.clicks = std::hypot(m_calibration.scaleEnd.x() - m_calibration.scaleStart.x(),
                              m_calibration.scaleEnd.y() - m_calibration.scaleStart.y());
    // The rate matters where it times the frames: a video file's.
    const std::optional<double> rate = NumberFormat::parse(captureRate->text());
    scale.captureRate = m_video && rate && *rate > 0.0 && std::isfinite(*rate) ? *rate : 0.0;

    const auto where = static_cast<ScalePlacement>(placement->currentIndex());
    if (where != ScalePlacement::Immersed) {
        const CalibrationTexts::TypedOptics typed = CalibrationTexts::readOptics(
            index->text(), tubeDiameter->text(), cameraDistance->text());
        if (typed.problem.isEmpty()) {
            scale.refraction = Refraction::factorFunction(where, halfSpan());
            scale.index = typed.optics.refractiveIndex;
            scale.tubeRadius = typed.optics.innerRadius;
            scale.cameraDistance = typed.optics.cameraDistance;
            // The session's tube: its u is the one "Mesures" gives the
            // wall correction, typed in either window.
            scale.tubeIsWallTube = true;
        }
    }
    return scale;
}

void VideoDialog::uncertaintyTyped()
{
    QString why;
    const std::optional<VideoScale> scale = videoScale(&why);
    if (!scale) {
        status->setText(why);
        return;
    }
    // The points stay as they are, and so does their fit: only its budget
    // changes.
    if (m_linked)
        m_holder.setScale(*scale);
}
