// SPDX-License-Identifier: GPL-3.0-or-later
// The options of lorva-mesures --video, and the tracked table it writes.
#include "measurecommand.h"

#include "core/csvtext.h"
#include "core/numberformat.h"

#include <cmath>

namespace {

// "X,Y" in picture pixels (a point as the decimal mark: the comma separates).
std::optional<QPointF> pixel(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(','));
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<double> x = NumberFormat::parse(parts.at(0));
    const std::optional<double> y = NumberFormat::parse(parts.at(1));
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y) || *x < 0.0 || *y < 0.0)
        return std::nullopt;
    return QPointF(*x, *y);
}

// A positive value of kind, with its uncertainty and law when uncertainty
// is not null (NaN when none is typed); nothing with the reason in *error.
bool positive(const QString &option, const QString &value, QuantityKind kind, double *out,
              QString *error, double *uncertainty = nullptr, bool *uniform = nullptr)
{
    const std::optional<TypedQuantity> v
        = MeasureCommand::optionValue(option, value, kind, uncertainty != nullptr, error);
    if (!v)
        return false;
    if (!(v->value > 0.0)) {
        *error = MeasureCommand::valueError(option, value,
                                            QStringLiteral("La valeur doit être positive."));
        return false;
    }
    *out = v->value;
    if (uncertainty) {
        *uncertainty = v->uncertainty;
        *uniform = v->uniform;
    }
    return true;
}

const char *const videoOptions[] = {
    "--video",   "--etalon",  "--bille",  "--origine",    "--image",           "--cadence",
    "--tableau", "--echelle", "--indice", "--rayon-tube", "--distance-camera",
};

} // namespace

namespace MeasureCommand {

bool isVideoOption(const QString &option)
{
    for (const char *name : videoOptions)
        if (option == QLatin1String(name))
            return true;
    return false;
}

bool parseVideoOption(const QString &option, const QString &value, VideoRequest &request,
                      InputUncertainties &uncertainties, QString *error)
{
    const auto wrong = [&] {
        *error = valueError(option, value);
        return false;
    };
    if (option == QLatin1String("--video")) {
        request.path = value;
    } else if (option == QLatin1String("--etalon")) {
        // X1,Y1:X2,Y2=10cm, or =10cm±0,5mm
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        const QStringList ends = value.left(equals).split(QLatin1Char(':'));
        if (equals < 0 || ends.size() != 2)
            return wrong();
        const std::optional<QPointF> a = pixel(ends.at(0));
        const std::optional<QPointF> b = pixel(ends.at(1));
        if (!a || !b || *a == *b)
            return wrong();
        QString why;
        const std::optional<TypedQuantity> distance
            = QuantityText::parse(value.mid(equals + 1), QuantityKind::Length, &why);
        if (distance && !(distance->value > 0.0))
            why = QStringLiteral("La distance doit être positive.");
        if (!distance || !why.isEmpty()) {
            *error = valueError(option, value, why);
            return false;
        }
        request.scaleDistance = distance->value;
        uncertainties.scaleDistance = distance->uncertainty;
        uncertainties.uniform.scaleDistance = distance->uniform;
        request.scaleStart = *a;
        request.scaleEnd = *b;
        request.hasScale = true;
    } else if (option == QLatin1String("--bille") || option == QLatin1String("--origine")) {
        const std::optional<QPointF> p = pixel(value);
        if (!p)
            return wrong();
        const bool ball = option == QLatin1String("--bille");
        (ball ? request.ball : request.origin) = *p;
        (ball ? request.hasBall : request.hasOrigin) = true;
    } else if (option == QLatin1String("--image")) {
        bool ok = false;
        request.frame = value.trimmed().toInt(&ok);
        if (!ok || request.frame < 0)
            return wrong();
    } else if (option == QLatin1String("--cadence")) {
        // A typed rate may carry its uncertainty: 240±1.
        if (!positive(option, value, QuantityKind::Plain, &request.captureRate, error,
                      &uncertainties.captureRate, &uncertainties.uniform.captureRate))
            return false;
    } else if (option == QLatin1String("--tableau")) {
        request.table = value;
    } else if (option == QLatin1String("--echelle")) {
        const QString v = value.trimmed().toLower();
        if (v == QLatin1String("immergee") || v == QStringLiteral("immergée"))
            request.placement = VideoRequest::Placement::Immersed;
        else if (v == QLatin1String("paroi"))
            request.placement = VideoRequest::Placement::FrontWall;
        else if (v == QLatin1String("air"))
            request.placement = VideoRequest::Placement::AirAtCentre;
        else
            return wrong();
    } else if (option == QLatin1String("--indice")) {
        if (!positive(option, value, QuantityKind::Plain, &request.refractiveIndex, error,
                      &uncertainties.index, &uncertainties.uniform.index))
            return false;
    } else if (option == QLatin1String("--rayon-tube")) {
        if (!positive(option, value, QuantityKind::Length, &request.tubeRadius, error,
                      &uncertainties.tubeRadius, &uncertainties.uniform.tubeRadius))
            return false;
    } else if (option == QLatin1String("--distance-camera")) {
        if (!positive(option, value, QuantityKind::Length, &request.cameraDistance, error,
                      &uncertainties.cameraDistance, &uncertainties.uniform.cameraDistance))
            return false;
    } else {
        return wrong();
    }
    return true;
}

QString videoProblem(const VideoRequest &request)
{
    if (request.path.isEmpty())
        return QStringLiteral("La vidéo manque (--video FICHIER).");
    if (!request.hasScale)
        return QStringLiteral("L'échelle manque (--etalon X1,Y1:X2,Y2=distance).");
    if (!request.hasBall)
        return QStringLiteral("La position de la bille manque (--bille X,Y).");
    if (request.placement != VideoRequest::Placement::Immersed
        && (std::isnan(request.tubeRadius) || std::isnan(request.cameraDistance)))
        return QStringLiteral("Une échelle hors du plan de chute demande le rayon du tube "
                              "(--rayon-tube) et la distance de la caméra (--distance-camera).");
    return {};
}

QString videoHelpText()
{
    return QStringLiteral(
        "\n"
        "Avec une vidéo de la chute (MP4, MOV, AVI, WebM) au lieu de fichiers :\n"
        "  --video FICHIER        la vidéo ; la bille y est suivie image par image\n"
        "  --etalon X1,Y1:X2,Y2=D deux points de l'image (en pixels) distants de D\n"
        "                         (par exemple 120,80:120,680=10cm±0,5mm)\n"
        "  --bille X,Y            le centre de la bille dans l'image où le suivi commence\n"
        "  --image N              cette image (par défaut la première, numéro 0)\n"
        "  --origine X,Y          le point de position 0 (par défaut, la bille cliquée)\n"
        "  --cadence C            la cadence de prise de vue d'un ralenti, en images/s\n"
        "  --echelle OÙ           où l'échelle a été prise : immergee (dans le plan de\n"
        "                         chute, par défaut), paroi (repères sur le tube), air\n"
        "                         (règle dans l'air au niveau de l'axe du tube)\n"
        "  --indice n             indice de réfraction du liquide (1,47 par défaut)\n"
        "  --rayon-tube R         rayon intérieur du tube\n"
        "  --distance-camera L    distance de l'objectif à l'axe du tube\n"
        "                         (avec --diametre-tube, c'est le même tube : une seule\n"
        "                         grandeur dans le bilan, l'incertitude du diamètre, ou\n"
        "                         le double de celle du rayon)\n"
        "  --tableau SORTIE.csv   écrit le tableau temps-position suivi (pour un tableur)\n");
}

QByteArray tableBytes(const MeasurementSet &set, const QString &sourceTitle)
{
    QList<QStringList> rows;
    rows.append({QStringLiteral("t (s)"), QStringLiteral("y (m)"), sourceTitle});
    for (const MeasuredPoint &p : set.points)
        rows.append({NumberFormat::significant(p.t, 7), NumberFormat::significant(p.y, 7),
                     QString::number(p.source)});
    return CsvText::bytes(CsvText::text(rows));
}

} // namespace MeasureCommand
