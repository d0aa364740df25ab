// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurecommand.h"

#include "measures/fitreport.h"

#include "core/atomicsave.h"
#include "core/numberformat.h"

#include <QFileInfo>
#include <QTextStream>

#include <cmath>

namespace {

QString mean(const std::vector<double> &values, double *deviation)
{
    double sum = 0.0;
    for (double v : values)
        sum += v;
    const double m = sum / double(values.size());
    double squares = 0.0;
    for (double v : values)
        squares += (v - m) * (v - m);
    *deviation = std::sqrt(squares / double(values.size() - 1));
    return NumberFormat::significant(m, 3);
}

} // namespace

namespace MeasureCommand {

std::optional<Options> parseArguments(const QStringList &arguments, QString *error)
{
    Options options;
    UnitSanity::TypedInputs typed;
    auto fail = [error](const QString &message) {
        *error = message;
        return std::nullopt;
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString option = arguments.at(i);
        QString value;
        bool hasValue = false;
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option = option.left(equals);
            hasValue = true;
        }
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (option == QLatin1String("--t0")) {
            options.fit.fitReleaseTime = true;
            continue;
        }
        if (!option.startsWith(QLatin1Char('-')) || option == QLatin1String("-")) {
            options.files << option;
            continue;
        }
        const bool quantity = isQuantityOption(option);
        const bool video = isVideoOption(option);
        const bool uncertainty = isUncertaintyOption(option);
        const bool model = option == QLatin1String("--modele");
        if (!quantity && !video && !uncertainty && !model && option != QLatin1String("--colonne"))
            return fail(QStringLiteral("Option inconnue : « %1 ».").arg(option));
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("L'option %1 attend une valeur.").arg(option));
            value = arguments.at(++i);
        }
        if (uncertainty) {
            QString why;
            if (!parseUncertaintyOption(option, value, options.uncertainty, &why))
                return fail(why);
            continue;
        }
        if (video) {
            if (!options.video)
                options.video.emplace();
            QString why;
            if (!parseVideoOption(option, value, *options.video, options.uncertainties, &why))
                return fail(why);
            continue;
        }
        if (model) {
            if (value == QLatin1String("stokes"))
                options.fit.model = FitOptions::Model::Stokes;
            else if (value == QLatin1String("trainee") || value == QStringLiteral("traînée"))
                options.fit.model = FitOptions::Model::DragCurve;
            else
                return fail(QStringLiteral("Valeur incorrecte pour --modele : « %1 » (stokes ou "
                                           "trainee).")
                                .arg(value));
            continue;
        }
        if (!quantity) {
            options.column = value;
            continue;
        }
        QString why;
        if (!parseQuantityOption(option, value, options, typed, &why))
            return fail(why);
    }
    if (options.help)
        return options;
    if (options.video) {
        const QString problem = videoProblem(*options.video);
        if (!problem.isEmpty())
            return fail(problem);
    } else if (options.files.isEmpty()) {
        return fail(QStringLiteral("Aucun fichier de mesures."));
    }
    if (std::isnan(options.setup.radius))
        return fail(QStringLiteral("Le rayon de la bille manque (--rayon)."));
    if (std::isnan(options.setup.fluidDensity))
        return fail(QStringLiteral("La masse volumique du fluide manque (--fluide)."));
    const double mass = typed.mass.value;
    if (std::isnan(mass) == std::isnan(options.sphereDensity))
        return fail(QStringLiteral("Donner soit la masse de la bille (--masse), soit sa masse "
                                   "volumique (--masse-volumique)."));
    options.setup.mass = std::isnan(mass)
        ? FallSetup::massFromDensity(options.setup.radius, options.sphereDensity)
        : mass;
    options.warnings = UnitSanity::inputWarnings(typed);
    takeUncertainties(options.uncertainties, options.uncertainty);
    if (!(options.fit.tMin <= options.fit.tMax))
        return fail(QStringLiteral("L'intervalle d'ajustement est vide (--de après --a)."));
    return options;
}

QString helpText()
{
    return QStringLiteral(
               "Usage : lorva-mesures FICHIER… --rayon R (--masse-volumique ρs | --masse m)\n"
               "                      --fluide ρ [--diametre-tube D] [--de t1] [--a t2] [--t0]\n"
               "                      [--colonne NOM] [--modele trainee|stokes]\n"
               "        lorva-mesures --video FICHIER --etalon X1,Y1:X2,Y2=D --bille X,Y\n"
               "                      [--origine X,Y] [--cadence C] [--tableau SORTIE.csv] …\n"
               "\n"
               "Mesure la viscosité d'un fluide à partir des positions d'une bille qui y tombe\n"
               "(viscosimètre à chute de bille) : ajuste une loi de chute aux points de chaque\n"
               "fichier et affiche η avec son incertitude-type.\n"
               "\n"
               "  --rayon R              rayon de la bille (0,1 mm à 50 cm)\n"
               "  --masse-volumique ρs   masse volumique de la bille (en kg/m³ sans unité)\n"
               "  --masse m              masse de la bille (1 mg à 50 kg), au lieu de ρs\n"
               "  --fluide ρ             masse volumique du fluide (en kg/m³ sans unité)\n"
               "  --diametre-tube D      diamètre intérieur du tube : η corrigée de l'effet de\n"
               "                         paroi (Haberman–Sayre et Di Felice ; avec --modele\n"
               "                         stokes, formule de Faxén, d/D ≤ 0,5, Re ≤ 1)\n"
               "  --de t1, --a t2        n'ajuster que les points entre t1 et t2 (sinon, avec la\n"
               "                         courbe de traînée, le lâcher, le début du mouvement et\n"
               "                         le fond du tube sont trouvés dans les points)\n"
               "  --t0                   ajuster aussi l'instant du lâcher (sinon le premier\n"
               "                         instant mesuré, sauf avec la courbe de traînée sans\n"
               "                         --de ni --a, où il est ajusté dès que les points le\n"
               "                         montrent)\n"
               "  --modele trainee       loi ajustée : la courbe de traînée standard avec la "
               "masse\n"
               "                         ajoutée et g = 9,81 m/s² (par défaut)\n"
               "  --modele stokes        la loi de Stokes du simulateur (g = 9,8 m/s²), pour\n"
               "                         comparer avec lui\n"
               "  --colonne NOM          colonne des positions, par son nom ou son numéro (sinon\n"
               "                         celle qui varie le plus, jamais un numéro d'image)\n"
               "  --help                 affiche cette aide\n"
               "%1"
               "%2"
               "%3"
               "%4"
               "\n"
               "Chaque bloc de résultats commence par une ligne « η = valeur ± incertitude Pa·s "
               "»,\n"
               "suivie, avec --diametre-tube, de la même ligne pour η corrigée. Avec plusieurs\n"
               "fichiers, la moyenne et l'écart type de η terminent l'affichage.\n"
               "\n"
               "Code de retour : 0 si chaque fichier a donné η, 1 si un fichier n'a pas pu être "
               "lu\n"
               "ou ajusté, 2 si les options sont incorrectes.\n")
        .arg(videoHelpText(), quantityHelpText(), uncertaintyHelpText(), seriesHelpText());
}

QStringList resultLines(const QString &path, const FitResult &result, const Options &options,
                        const VideoScale *scale)
{
    QStringList lines = FitReport::text(result).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const qsizetype etaLines = std::isfinite(result.etaWall) ? 2 : 1;
    lines.insert(std::min(etaLines, lines.size()), QStringLiteral("Fichier : ") + path);
    addUncertainty(result, options, lines, etaLines, scale);
    return lines;
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err,
        const VideoReader &readVideo)
{
    if (arguments.contains(QStringLiteral("--serie")))
        return runSeries(arguments, out, err);
    QString error;
    const std::optional<Options> options = parseArguments(arguments, &error);
    if (!options) {
        err << error << "\nVoir « lorva-mesures --help ».\n";
        err.flush();
        return 2;
    }
    if (options->help) {
        out << helpText();
        out.flush();
        return 0;
    }
    for (const QString &warning : options->warnings)
        err << warning << '\n';
    const QString problem = options->setup.problem();
    if (!problem.isEmpty()) {
        err << problem << '\n';
        err.flush();
        return 2;
    }

    int status = 0;
    std::vector<double> etas, corrected;
    bool first = true;
    QStringList sources = options->files;
    if (options->video)
        sources.append(options->video->path);
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QString &path = sources.at(i);
        const bool video = options->video && i == sources.size() - 1;
        std::optional<MeasurementSet> set;
        QString remark;
        if (!video)
            set = readFile(path, options->column, options->setup, &error, &remark);
        else if (!readVideo)
            error = QStringLiteral("Ce programme ne lit pas les vidéos.");
        else
            set = readVideo(*options->video, &error, err);
        if (!remark.isEmpty())
            err << path << " : " << remark << '\n';
        if (!set) {
            err << path << " : " << error << '\n';
            err.flush();
            status = 1;
            continue;
        }
        if (video && !options->video->table.isEmpty()) {
            QString why;
            if (!AtomicSave::write(options->video->table, tableBytes(*set, QStringLiteral("image")),
                                   &why)) {
                err << QStringLiteral("Le tableau « %1 » n'a pas pu être écrit.")
                           .arg(options->video->table)
                    << (why.isEmpty() ? QString() : QStringLiteral(" ") + why) << '\n';
                err.flush();
                status = 1;
            }
        }
        const FitResult result = FallFit::fit(*set, options->setup, options->fit);
        const QStringList lines
            = resultLines(path, result, *options, video ? &set->scale : nullptr);
        if (!first)
            out << '\n';
        first = false;
        out << lines.join(QLatin1Char('\n')) << '\n';
        if (result.hasEta()) {
            etas.push_back(result.eta);
            if (std::isfinite(result.etaWall))
                corrected.push_back(result.etaWall);
        } else {
            status = 1;
        }
    }
    if (etas.size() >= 2) {
        double deviation = 0.0;
        const QString m = mean(etas, &deviation);
        out << QStringLiteral("\nSur %1 fichiers : η moyenne = %2 Pa·s, écart type = %3 Pa·s\n")
                   .arg(etas.size())
                   .arg(m, NumberFormat::significant(deviation, 2));
        if (corrected.size() == etas.size()) {
            const QString mc = mean(corrected, &deviation);
            out << QStringLiteral("η corrigée de l'effet de paroi : moyenne = %1 Pa·s, écart "
                                  "type = %2 Pa·s\n")
                       .arg(mc, NumberFormat::significant(deviation, 2));
        }
    }
    out.flush();
    return status;
}

} // namespace MeasureCommand
