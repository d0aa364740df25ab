// SPDX-License-Identifier: GPL-3.0-or-later
// The uncertainties of lorva-mesures: "value±u" inputs, --monte-carlo,
// --glycerine, and the lines they add to a fitted result.
#include "measurecommand.h"

#include "measures/fitreport.h"
#include "measures/montecarlo.h"
#include "measures/uncertaintyreport.h"

#include "core/motion.h"
#include "core/numberformat.h"

#include <cmath>

namespace {

// The measurand on the fit's model: η = (m − ρ_f·V)·g / (6π·r·v_lim), with
// the program's g and π so that it gives the fitted η at the inputs' values;
// the wall factor of Faxén for a tube diameter. For a video, v_lim is in
// proportion to the scale's length over its length in pixels between the two
// clicks (the positions are measured in its units), and to a typed capture
// rate (the times are image numbers over it).
enum Input { Radius, Mass, FluidDensity, Velocity, Tube, Scale, Clicks, Rate, InputCount };

// Each click of the scale is good to about half a pixel along the scale.
constexpr double clickUncertainty = 0.5; // px

struct Model
{
    bool fromDensity = false;
    bool wall = false;
    double scale = 0.0;  // m; 0 without a video
    double clicks = 0.0; // px between the scale's clicks; 0 without a video
    double rate = 0.0;   // images/s when typed, else 0

    double operator()(const std::vector<double> &x) const
    {
        const double r = x[Radius];
        const double volume = r * r * r * (4.0 / 3.0 * Motion::pi);
        const double mass = fromDensity ? x[Mass] * volume : x[Mass];
        double velocity = x[Velocity];
        if (scale > 0.0)
            velocity *= x[Scale] / scale * (clicks / x[Clicks]);
        if (rate > 0.0)
            velocity *= x[Rate] / rate;
        if (!(r > 0.0) || !(velocity > 0.0) || !(mass > x[FluidDensity] * volume))
            return std::nan("");
        double eta
            = (mass - x[FluidDensity] * volume) * Motion::g / (6.0 * Motion::pi * r * velocity);
        if (wall) {
            const double lambda = 2.0 * r / x[Tube];
            if (!(lambda > 0.0 && lambda <= FallFit::maxWallLambda))
                return std::nan("");
            eta *= FallFit::faxenFactor(lambda);
        }
        return eta;
    }
};

std::vector<UncertainInput> inputsOf(const FitResult &result, const MeasureCommand::Options &o,
                                     const Model &model)
{
    using D = UncertainInput::Distribution;
    using T = UncertainInput::Type;
    const MeasureCommand::UncertaintyRequest &u = o.uncertainty;
    std::vector<UncertainInput> inputs(InputCount);
    inputs[Radius] = {QStringLiteral("rayon de la bille"),
                      o.setup.radius,
                      u.radius,
                      QStringLiteral("mm"),
                      1e-3,
                      D::Normal,
                      T::B,
                      false};
    if (model.fromDensity)
        inputs[Mass] = {QStringLiteral("masse volumique de la bille"),
                        o.sphereDensity,
                        u.sphereDensity,
                        QStringLiteral("kg/m³"),
                        1.0,
                        D::Normal,
                        T::B,
                        false};
    else
        inputs[Mass] = {QStringLiteral("masse de la bille"),
                        o.setup.mass,
                        u.mass,
                        QStringLiteral("g"),
                        1e-3,
                        D::Normal,
                        T::B,
                        false};
    inputs[FluidDensity] = {QStringLiteral("masse volumique du fluide"),
                            o.setup.fluidDensity,
                            u.fluidDensity,
                            QStringLiteral("kg/m³"),
                            1.0,
                            D::Normal,
                            T::B,
                            false};
    // The scatter of the points: u(v_lim)/v_lim = u(η)/η, as v_lim ∝ 1/η.
    inputs[Velocity] = {QStringLiteral("vitesse limite (ajustement des points)"),
                        result.vlim,
                        result.vlim * result.etaU / result.eta,
                        QStringLiteral("mm/s"),
                        1e-3,
                        D::Normal,
                        T::A,
                        false};
    inputs[Tube] = {QStringLiteral("diamètre du tube"),
                    model.wall ? o.setup.tubeDiameter : 0.0,
                    model.wall ? u.tubeDiameter : 0.0,
                    QStringLiteral("mm"),
                    1e-3,
                    D::Normal,
                    T::B,
                    !model.wall};
    inputs[Scale] = {QStringLiteral("longueur de l'étalon"),
                     model.scale,
                     model.scale > 0.0 ? u.scaleDistance : 0.0,
                     QStringLiteral("cm"),
                     1e-2,
                     D::Normal,
                     T::B,
                     !(model.scale > 0.0)};
    // The two clicks' errors along the scale add up in quadrature.
    inputs[Clicks] = {QStringLiteral("clics de l'étalon (0,5 px chacun)"),
                      model.clicks,
                      model.clicks > 0.0 ? std::sqrt(2.0) * clickUncertainty : 0.0,
                      QStringLiteral("px"),
                      1.0,
                      D::Normal,
                      T::B,
                      !(model.clicks > 0.0)};
    inputs[Rate] = {QStringLiteral("cadence de prise de vue"),
                    model.rate,
                    model.rate > 0.0 ? u.captureRate : 0.0,
                    QStringLiteral("images/s"),
                    1.0,
                    D::Normal,
                    T::B,
                    !(model.rate > 0.0)};
    return inputs;
}

// "η = 1,200 ± 0,012 Pa·s (corrigée …)": the new uncertainty, the rest kept.
QString withNewUncertainty(const QString &line, double eta, double u)
{
    const qsizetype rest = line.indexOf(QStringLiteral(" Pa·s"));
    return FitReport::etaLine(eta, u)
        + (rest < 0 ? QString() : line.mid(rest + QStringLiteral(" Pa·s").size()));
}

} // namespace

namespace MeasureCommand {

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
}

void addUncertainty(const FitResult &result, const Options &options, QStringList &lines,
                    qsizetype etaLines)
{
    if (!result.hasEta() || !std::isfinite(result.etaU) || lines.size() < etaLines + 1)
        return;
    Model model;
    model.fromDensity = std::isfinite(options.sphereDensity);
    if (options.video && options.video->hasScale) {
        const VideoRequest &video = *options.video;
        model.scale = video.scaleDistance;
        model.clicks = std::hypot(video.scaleEnd.x() - video.scaleStart.x(),
                                  video.scaleEnd.y() - video.scaleStart.y());
        model.rate = video.captureRate;
    }
    const Propagation plain = Uncertainty::propagate(inputsOf(result, options, model), model);
    Model corrected = model;
    corrected.wall = std::isfinite(result.etaWall);
    const std::vector<UncertainInput> inputs = inputsOf(result, options, corrected);
    const Propagation final = corrected.wall ? Uncertainty::propagate(inputs, corrected) : plain;
    QStringList added;
    if (!plain.ok || !final.ok) {
        added << QStringLiteral("Incertitude composée impossible : ")
                + (plain.ok ? final.error : plain.error);
    } else {
        // A zero u (points exactly on the model, nothing given) leaves the
        // lines as the fit wrote them.
        if (plain.uncertainty > 0.0)
            lines[0] = withNewUncertainty(lines[0], result.eta, plain.uncertainty);
        if (corrected.wall && final.uncertainty > 0.0)
            lines[1] = withNewUncertainty(lines[1], result.etaWall, final.uncertainty);
        added << UncertaintyReport::budgetLines(inputs, final);
    }
    const double eta = corrected.wall ? result.etaWall : result.eta;
    const double u
        = final.ok ? final.uncertainty : (corrected.wall ? result.etaWallU : result.etaU);
    const UncertaintyRequest &request = options.uncertainty;
    if (request.monteCarloDraws > 0) {
        const MonteCarloResult drawn = MonteCarlo::run(inputs, corrected, request.monteCarloDraws);
        added << UncertaintyReport::monteCarloLines(drawn);
    }
    if (request.glycerine)
        added << UncertaintyReport::referenceLines(
            UncertaintyReport::compare(eta, u, request.celsius, request.waterFraction));
    // After the η lines and the file's name.
    for (qsizetype i = 0; i < added.size(); ++i)
        lines.insert(std::min(etaLines + 1 + i, lines.size()), added.at(i));
}

CombinedEta combinedEta(const FitResult &result, const Options &options, SharedBall sharedBall)
{
    CombinedEta combined;
    if (!result.hasEta())
        return combined;
    const bool wall = std::isfinite(result.etaWall);
    combined.eta = wall ? result.etaWall : result.eta;
    combined.u = wall ? result.etaWallU : result.etaU;
    if (!std::isfinite(result.etaU))
        return combined;
    Model model;
    model.fromDensity = std::isfinite(options.sphereDensity);
    model.wall = wall;
    const Propagation p = Uncertainty::propagate(inputsOf(result, options, model), model);
    if (!p.ok || !(p.uncertainty > 0.0))
        return combined;
    combined.u = p.uncertainty;
    double shared = 0.0;
    for (const BudgetLine &line : p.budget)
        if (line.input == FluidDensity || line.input == Tube
            || (line.input == Radius && sharedBall.radius)
            || (line.input == Mass && sharedBall.mass))
            shared += line.contribution * line.contribution;
    combined.shared = std::sqrt(shared);
    return combined;
}

QString uncertaintyHelpText()
{
    return QStringLiteral(
        "\n"
        "Incertitudes : le rayon, la masse, les masses volumiques, le diamètre du tube,\n"
        "la distance de l'étalon et la cadence peuvent porter leur incertitude-type\n"
        "après « ± » (ou « +- »), l'unité d'un côté ou des deux : --rayon 2mm±0,005mm,\n"
        "--fluide 1,26±0,01g/cm3, --etalon 120,80:120,680=10cm±0,5mm, --cadence 240±1.\n"
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
