// SPDX-License-Identifier: GPL-3.0-or-later
// The uncertainties of lorva-mesures: "value±u" inputs, --monte-carlo,
// --glycerine, and the lines they add to a fitted result.
#include "measurecommand.h"

#include "measures/etauncertainty.h"
#include "measures/montecarlo.h"
#include "measures/seriestrial.h"
#include "measures/uncertaintyreport.h"

#include "core/numberformat.h"

#include <cmath>

namespace MeasureCommand {

// The inputs of η's uncertainty as the command was given them; measured is
// the scale the video reader measured the points with (its refraction
// factor), if any.
static EtaUncertainty::Inputs etaInputs(const Options &options,
                                        const VideoScale *measured = nullptr)
{
    const UncertaintyRequest &request = options.uncertainty;
    const UniformInputs &uniform = request.uniform;
    EtaUncertainty::Inputs in;
    in.model = options.fit.model;
    in.radius = options.setup.radius;
    in.uRadius = request.radius;
    in.radiusUniform = uniform.radius;
    if (std::isfinite(options.sphereDensity)) {
        in.sphereDensity = options.sphereDensity;
        in.uSphereDensity = request.sphereDensity;
    } else {
        in.mass = options.setup.mass;
        in.uMass = request.mass;
    }
    in.massUniform = uniform.mass;
    in.fluidDensity = options.setup.fluidDensity;
    in.uFluidDensity = request.fluidDensity;
    in.fluidDensityUniform = uniform.fluidDensity;
    in.tubeDiameter = options.setup.tubeDiameter;
    in.uTubeDiameter = request.tubeDiameter;
    in.tubeDiameterUniform = uniform.tubeDiameter;
    if (options.video && options.video->hasScale) {
        const VideoRequest &video = *options.video;
        VideoScale &scale = in.scale;
        scale.distance = video.scaleDistance;
        scale.uDistance = request.scaleDistance;
        scale.distanceUniform = uniform.scaleDistance;
        scale.clicks = std::hypot(video.scaleEnd.x() - video.scaleStart.x(),
                                  video.scaleEnd.y() - video.scaleStart.y());
        scale.captureRate = video.captureRate;
        scale.uCaptureRate = request.captureRate;
        scale.captureRateUniform = uniform.captureRate;
        if (measured && video.placement != VideoRequest::Placement::Immersed) {
            scale.refraction = measured->refraction;
            scale.index = video.refractiveIndex;
            scale.uIndex = request.index;
            scale.indexUniform = uniform.index;
            scale.tubeRadius = video.tubeRadius;
            scale.uTubeRadius = request.tubeRadius;
            scale.tubeRadiusUniform = uniform.tubeRadius;
            scale.cameraDistance = video.cameraDistance;
            scale.uCameraDistance = request.cameraDistance;
            scale.cameraDistanceUniform = uniform.cameraDistance;
            // --rayon-tube and --diametre-tube name the same tube: one input,
            // whose u is the diameter's, or twice the radius's.
            if (std::isfinite(in.tubeDiameter)) {
                scale.tubeIsWallTube = true;
                if (!(in.uTubeDiameter > 0.0)) {
                    in.uTubeDiameter = 2.0 * request.tubeRadius;
                    in.tubeDiameterUniform = uniform.tubeRadius;
                }
            }
        }
    }
    return in;
}

bool isUncertaintyOption(const QString &option)
{
    return option == QLatin1String("--monte-carlo") || option == QLatin1String("--glycerine");
}

bool parseUncertaintyOption(const QString &option, const QString &value,
                            UncertaintyRequest &request, QString *error)
{
    *error = QStringLiteral("Valeur incorrecte pour %1 : « %2 ».").arg(option, value);
    if (option == QLatin1String("--monte-carlo")) {
        bool ok = false;
        const int draws = value.trimmed().toInt(&ok);
        if (!ok || draws < 2 || draws > MonteCarlo::maxDraws) {
            *error = QStringLiteral("Le nombre de tirages (--monte-carlo) doit être un entier de 2 "
                                    "à %1.")
                         .arg(MonteCarlo::maxDraws);
            return false;
        }
        request.monteCarloDraws = draws;
        return true;
    }
    // T or T:w, in °C and in percent of water.
    const QStringList parts = value.split(QLatin1Char(':'));
    const std::optional<double> celsius = NumberFormat::parse(parts.at(0));
    const std::optional<double> water
        = parts.size() == 2 ? NumberFormat::parse(parts.at(1)) : std::optional<double>(0.0);
    if (parts.size() > 2 || !celsius || !water)
        return false;
    if (!(*celsius >= 0.0 && *celsius <= 100.0 && *water >= 0.0 && *water <= 100.0)) {
        *error = QStringLiteral("La référence de la glycérine (formule de Cheng) couvre de 0 à "
                                "100 °C et de 0 à 100 % d'eau : « %1 ».")
                     .arg(value);
        return false;
    }
    request.glycerine = true;
    request.celsius = *celsius;
    request.waterFraction = *water / 100.0;
    return true;
}

void takeUncertainties(const InputUncertainties &typed, UncertaintyRequest &request)
{
    // The request counts an input without ± as exact: 0.
    const auto or0 = [](double u) { return std::isnan(u) ? 0.0 : u; };
    request.radius = or0(typed.radius);
    request.mass = or0(typed.mass);
    request.sphereDensity = or0(typed.sphereDensity);
    request.fluidDensity = or0(typed.fluidDensity);
    request.tubeDiameter = or0(typed.tubeDiameter);
    request.scaleDistance = or0(typed.scaleDistance);
    request.captureRate = or0(typed.captureRate);
    request.index = or0(typed.index);
    request.tubeRadius = or0(typed.tubeRadius);
    request.cameraDistance = or0(typed.cameraDistance);
    request.uniform = typed.uniform;
}

void addUncertainty(const FitResult &result, const Options &options, QStringList &lines,
                    qsizetype etaLines, const VideoScale *scale)
{
    if (!result.hasEta() || !std::isfinite(result.etaU) || lines.size() < etaLines + 1)
        return;
    const UncertaintyRequest &request = options.uncertainty;
    const EtaUncertainty::Inputs in = etaInputs(options, scale);
    const EtaUncertainty::Combined combined = EtaUncertainty::combine(result, in);
    QStringList added = EtaUncertainty::applyTo(combined, result, lines, etaLines);
    if (request.monteCarloDraws > 0) {
        const MonteCarloResult drawn
            = MonteCarlo::run(combined.inputs, combined.measurand, request.monteCarloDraws);
        added << UncertaintyReport::monteCarloLines(drawn);
    }
    if (request.glycerine)
        added << UncertaintyReport::referenceLines(UncertaintyReport::compare(
            combined.eta, combined.u, request.celsius, request.waterFraction));
    // After the η lines and the file's name.
    for (qsizetype i = 0; i < added.size(); ++i)
        lines.insert(std::min(etaLines + 1 + i, lines.size()), added.at(i));
}

SeriesTrial seriesTrial(const FitResult &result, const Options &options,
                        SeriesTrials::SharedBall sharedBall)
{
    return SeriesTrials::fromFit(result, etaInputs(options), sharedBall);
}

QString uncertaintyHelpText()
{
    return QStringLiteral(
        "\n"
        "Incertitudes : le rayon, la masse, les masses volumiques, le diamètre du tube,\n"
        "la distance de l'étalon, la cadence, l'indice, le rayon du tube et la distance\n"
        "de la caméra peuvent porter leur incertitude-type après « ± » (ou « +- »),\n"
        "l'unité d'un côté ou des deux : --rayon 2mm±0,005mm, --fluide 1,26±0,01g/cm3,\n"
        "--etalon 120,80:120,680=10cm±0,5mm, --cadence 240±1, --indice 1,47±0,01.\n"
        "Une incertitude suivie de « /√3 » (ou « /rac3 ») est la demi-largeur a d'une\n"
        "loi rectangulaire (une résolution) : --rayon 2mm±0,005mm/√3 donne\n"
        "u = 0,005/√3 mm, et Monte-Carlo tire cette grandeur selon une loi uniforme.\n"
        "Sans « ± », la grandeur compte comme exacte ; les clics de l'étalon comptent\n"
        "pour 0,5 px chacun. La première ligne donne alors η avec son incertitude-type\n"
        "composée (type A des points, type B des grandeurs), et le bilan suit, la plus\n"
        "grande contribution d'abord.\n"
        "  --monte-carlo N        tire N fois les grandeurs et donne la moyenne, l'écart\n"
        "                         type et l'intervalle à 95 % de η\n"
        "  --glycerine T[:w]      compare η à celle d'une glycérine à T °C contenant w %\n"
        "                         d'eau en masse (formule de Cheng, 0 à 100 °C) et donne\n"
        "                         l'écart normalisé z\n");
}

} // namespace MeasureCommand
