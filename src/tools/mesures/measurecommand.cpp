// SPDX-License-Identifier: GPL-3.0-or-later
#include "measurecommand.h"

#include "measures/fitreport.h"

#include "core/atomicsave.h"
#include "core/numberformat.h"

#include <QFileInfo>
#include <QTextStream>

#include <cmath>

namespace {

struct Unit
{
    const char *symbol;
    double factor;
};

constexpr Unit lengthUnits[] = {{"mm", 1e-3}, {"cm", 1e-2}, {"m", 1.0}};
constexpr Unit massUnits[] = {{"mg", 1e-6}, {"g", 1e-3}, {"kg", 1.0}};
constexpr Unit timeUnits[] = {{"ms", 1e-3}, {"s", 1.0}};

template<size_t N>
std::optional<double> factorOf(const QString &unit, const Unit (&units)[N])
{
    for (const Unit &u : units)
        if (unit == QLatin1String(u.symbol))
            return u.factor;
    return std::nullopt;
}

QString valueError(const QString &option, const QString &value)
{
    return QStringLiteral("Valeur incorrecte pour %1 : « %2 ».").arg(option, value);
}

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

std::optional<double> parseValue(const QString &text, Quantity quantity)
{
    const QString trimmed = text.trimmed();
    qsizetype end = trimmed.size();
    while (end > 0 && trimmed.at(end - 1).isLetter())
        --end;
    const QString unit = trimmed.mid(end);
    const std::optional<double> number = NumberFormat::parse(trimmed.left(end));
    if (!number)
        return std::nullopt;
    if (unit.isEmpty())
        return number;
    std::optional<double> factor;
    switch (quantity) {
    case Quantity::Length:
        factor = factorOf(unit, lengthUnits);
        break;
    case Quantity::Mass:
        factor = factorOf(unit, massUnits);
        break;
    case Quantity::Time:
        factor = factorOf(unit, timeUnits);
        break;
    case Quantity::Plain:
        break;
    }
    if (!factor)
        return std::nullopt;
    return *number * *factor;
}

std::optional<Options> parseArguments(const QStringList &arguments, QString *error)
{
    Options options;
    double mass = FallSetup::nan;
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
        struct Target
        {
            const char *name;
            Quantity quantity;
            double *value;
        };
        const Target targets[] = {
            {"--rayon", Quantity::Length, &options.setup.radius},
            {"--masse", Quantity::Mass, &mass},
            {"--masse-volumique", Quantity::Plain, &options.sphereDensity},
            {"--fluide", Quantity::Plain, &options.setup.fluidDensity},
            {"--diametre-tube", Quantity::Length, &options.setup.tubeDiameter},
            {"--de", Quantity::Time, &options.fit.tMin},
            {"--a", Quantity::Time, &options.fit.tMax},
        };
        const Target *target = nullptr;
        for (const Target &t : targets)
            if (option == QLatin1String(t.name))
                target = &t;
        const bool video = isVideoOption(option);
        const bool uncertainty = isUncertaintyOption(option);
        if (!target && !video && !uncertainty && option != QLatin1String("--colonne"))
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
        if (target || option == QLatin1String("--etalon") || option == QLatin1String("--cadence")) {
            QString why;
            if (!takeUncertainty(option, value, target ? target->quantity : Quantity::Length,
                                 options.uncertainty, &why))
                return fail(why);
        }
        if (video) {
            if (!options.video)
                options.video.emplace();
            QString why;
            if (!parseVideoOption(option, value, *options.video, &why))
                return fail(why);
            continue;
        }
        if (!target) {
            options.column = value;
            continue;
        }
        const std::optional<double> parsed = parseValue(value, target->quantity);
        if (!parsed || !std::isfinite(*parsed))
            return fail(valueError(option, value));
        *target->value = *parsed;
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
    if (std::isnan(mass) == std::isnan(options.sphereDensity))
        return fail(QStringLiteral("Donner soit la masse de la bille (--masse), soit sa masse "
                                   "volumique (--masse-volumique)."));
    options.setup.mass = std::isnan(mass)
        ? FallSetup::massFromDensity(options.setup.radius, options.sphereDensity)
        : mass;
    if (!(options.fit.tMin <= options.fit.tMax))
        return fail(QStringLiteral("L'intervalle d'ajustement est vide (--de après --a)."));
    return options;
}

QString helpText()
{
    return QStringLiteral(
               "Usage : lorva-mesures FICHIER… --rayon R (--masse-volumique ρs | --masse m)\n"
               "                      --fluide ρ [--diametre-tube D] [--de t1] [--a t2] [--t0]\n"
               "                      [--colonne NOM]\n"
               "        lorva-mesures --video FICHIER --etalon X1,Y1:X2,Y2=D --bille X,Y\n"
               "                      [--origine X,Y] [--cadence C] [--tableau SORTIE.csv] …\n"
               "\n"
               "Mesure la viscosité d'un fluide à partir des positions d'une bille qui y tombe\n"
               "(viscosimètre à chute de bille) : ajuste la loi de chute du simulateur aux points\n"
               "de chaque fichier et affiche η avec son incertitude-type.\n"
               "\n"
               "  --rayon R              rayon de la bille (0,1 mm à 50 cm)\n"
               "  --masse-volumique ρs   masse volumique de la bille, en kg/m³\n"
               "  --masse m              masse de la bille (1 mg à 50 kg), au lieu de ρs\n"
               "  --fluide ρ             masse volumique du fluide, en kg/m³\n"
               "  --diametre-tube D      diamètre intérieur du tube : η corrigée de l'effet de\n"
               "                         paroi (formule de Faxén, d/D ≤ 0,5, Re ≤ 1)\n"
               "  --de t1, --a t2        n'ajuster que les points entre t1 et t2 (entrée dans le\n"
               "                         liquide, fond du tube exclus)\n"
               "  --t0                   ajuster aussi l'instant du lâcher (sinon le premier\n"
               "                         instant mesuré)\n"
               "  --colonne NOM          colonne des positions, par son nom ou son numéro (sinon\n"
               "                         celle qui varie le plus)\n"
               "  --help                 affiche cette aide\n"
               "%1%2%3"
               "\n"
               "Les nombres s'écrivent avec une virgule ou un point, suivis d'une unité : mm, cm, "
               "m\n"
               "pour les longueurs, mg, g, kg pour les masses, ms, s pour les temps ; sans unité,\n"
               "ce sont des m, des kg et des s.\n"
               "\n"
               "Chaque bloc de résultats commence par une ligne « η = valeur ± incertitude Pa·s "
               "»,\n"
               "suivie, avec --diametre-tube, de la même ligne pour η corrigée. Avec plusieurs\n"
               "fichiers, la moyenne et l'écart type de η terminent l'affichage.\n"
               "\n"
               "Code de retour : 0 si chaque fichier a donné η, 1 si un fichier n'a pas pu être "
               "lu\n"
               "ou ajusté, 2 si les options sont incorrectes.\n")
        .arg(videoHelpText(), uncertaintyHelpText(), seriesHelpText());
}

QStringList resultLines(const QString &path, const FitResult &result, const Options &options)
{
    QStringList lines = FitReport::text(result).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const qsizetype etaLines = std::isfinite(result.etaWall) ? 2 : 1;
    lines.insert(std::min(etaLines, lines.size()), QStringLiteral("Fichier : ") + path);
    addUncertainty(result, options, lines, etaLines);
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
        if (!video)
            set = readFile(path, options->column, &error);
        else if (!readVideo)
            error = QStringLiteral("Ce programme ne lit pas les vidéos.");
        else
            set = readVideo(*options->video, &error, err);
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
        const QStringList lines = resultLines(path, result, *options);
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
