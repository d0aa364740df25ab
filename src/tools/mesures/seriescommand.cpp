// SPDX-License-Identifier: GPL-3.0-or-later
// lorva-mesures --serie: a class's series of falls, one η for all of them.
#include "measurecommand.h"

#include "measures/fallseries.h"
#include "measures/seriesfile.h"

#include "core/motion.h"
#include "core/numberformat.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>

namespace {

using Argument = std::pair<QString, QString>; // an option and its value

// The options of one ball, which may differ from trial to trial.
const QStringList ballOptions
    = {QStringLiteral("--rayon"), QStringLiteral("--masse"), QStringLiteral("--masse-volumique")};

struct SeriesArguments
{
    QStringList files;
    QStringList common;                     // the options every trial shares
    std::vector<std::vector<QString>> ball; // per option of ballOptions, its values in order
    bool hasFluid = false, hasTube = false;
    QString csv, save;
    bool help = false;
};

bool takesNoValue(const QString &option)
{
    return option == QLatin1String("--help") || option == QLatin1String("-h")
        || option == QLatin1String("--t0") || option == QLatin1String("--serie");
}

std::optional<SeriesArguments> split(const QStringList &arguments, QString *error)
{
    SeriesArguments a;
    a.ball.resize(ballOptions.size());
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString option = arguments.at(i);
        if (option == QLatin1String("--serie"))
            continue;
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            a.help = true;
            continue;
        }
        if (!option.startsWith(QLatin1Char('-')) || option == QLatin1String("-")) {
            a.files << option;
            continue;
        }
        if (takesNoValue(option)) {
            a.common << option;
            continue;
        }
        QString value;
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (option.startsWith(QLatin1String("--")) && equals > 0) {
            value = option.mid(equals + 1);
            option = option.left(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments.at(++i);
        } else {
            *error = QStringLiteral("L'option %1 attend une valeur.").arg(option);
            return std::nullopt;
        }
        if (option == QLatin1String("--video")) {
            *error = QStringLiteral("--serie ne lit pas de vidéo : donner les tableaux des "
                                    "chutes (--tableau écrit celui d'une vidéo).");
            return std::nullopt;
        }
        if (option == QLatin1String("--csv-serie")) {
            a.csv = value;
            continue;
        }
        if (option == QLatin1String("--enregistrer-serie")) {
            a.save = value;
            continue;
        }
        const qsizetype ball = ballOptions.indexOf(option);
        if (ball >= 0) {
            a.ball[size_t(ball)].push_back(value);
            continue;
        }
        a.hasFluid = a.hasFluid || option == QLatin1String("--fluide");
        a.hasTube = a.hasTube || option == QLatin1String("--diametre-tube");
        a.common << option << value;
    }
    return a;
}

// A value in SI units with its u, as the options read them.
QString typed(double value, double u)
{
    QString text = NumberFormat::generalDouble(value);
    if (u > 0.0)
        text += QStringLiteral("±") + NumberFormat::generalDouble(u);
    return text;
}

struct Trial
{
    QString path;
    QStringList arguments; // for parseArguments
    bool used = true;
    SeriesTrials::SharedBall shared; // the ball's values given once for several trials
};

// The trials of the command line: each file with its ball's options, given
// once for all or once per file.
std::optional<std::vector<Trial>> trialsOf(const SeriesArguments &a, QString *error)
{
    const size_t n = size_t(a.files.size());
    for (size_t b = 0; b < a.ball.size(); ++b) {
        const size_t given = a.ball[b].size();
        if (given > 1 && given != n) {
            *error = QStringLiteral("%1 est donné %2 fois pour %3 fichiers : le donner une fois "
                                    "pour tous, ou une fois par fichier dans leur ordre.")
                         .arg(ballOptions.at(qsizetype(b)))
                         .arg(given)
                         .arg(n);
            return std::nullopt;
        }
    }
    std::vector<Trial> trials;
    for (size_t i = 0; i < n; ++i) {
        Trial t;
        t.path = a.files.at(qsizetype(i));
        t.arguments = a.common;
        t.arguments << t.path;
        t.shared.radius = n > 1 && a.ball[0].size() == 1;
        t.shared.mass = n > 1 && (a.ball[1].size() == 1 || a.ball[2].size() == 1);
        for (size_t b = 0; b < a.ball.size(); ++b)
            if (!a.ball[b].empty())
                t.arguments << ballOptions.at(qsizetype(b))
                            << a.ball[b][a.ball[b].size() == 1 ? 0 : i];
        trials.push_back(t);
    }
    return trials;
}

// The trials of a series file; the fluid and the tube of the command line
// win over the file's.
std::optional<std::vector<Trial>> trialsOf(const SeriesArguments &a, const SeriesFileData &series,
                                           QString *error)
{
    for (const std::vector<QString> &values : a.ball)
        if (!values.empty()) {
            *error = QStringLiteral("Avec un fichier de série, le rayon et la masse de chaque "
                                    "bille viennent du fichier.");
            return std::nullopt;
        }
    QStringList shared = a.common;
    if (!a.hasFluid)
        shared << QStringLiteral("--fluide") << typed(series.fluidDensity, series.fluidDensityU);
    if (!a.hasTube && std::isfinite(series.tubeDiameter))
        shared << QStringLiteral("--diametre-tube")
               << typed(series.tubeDiameter, series.tubeDiameterU);
    std::vector<Trial> trials;
    for (const SeriesFileTrial &s : series.trials) {
        Trial t;
        t.path = s.file;
        t.used = s.used;
        t.arguments = shared;
        t.arguments << t.path << QStringLiteral("--rayon") << typed(s.radius, s.radiusU);
        if (std::isfinite(s.mass))
            t.arguments << QStringLiteral("--masse") << typed(s.mass, s.massU);
        else
            t.arguments << QStringLiteral("--masse-volumique") << typed(s.density, s.densityU);
        trials.push_back(t);
    }
    return trials;
}

bool startsAsSeries(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && SeriesFile::isSeries(file.read(64));
}

} // namespace

namespace MeasureCommand {

int runSeries(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    auto wrong = [&err](const QString &message) {
        err << message << "\nVoir « lorva-mesures --help ».\n";
        err.flush();
        return 2;
    };
    QString error;
    const std::optional<SeriesArguments> a = split(arguments, &error);
    if (!a)
        return wrong(error);
    if (a->help) {
        out << helpText();
        out.flush();
        return 0;
    }
    if (a->files.isEmpty())
        return wrong(QStringLiteral("Aucun fichier de mesures."));
    std::optional<std::vector<Trial>> trials;
    if (a->files.size() == 1 && startsAsSeries(a->files.first())) {
        SeriesFileData series;
        if (!SeriesFile::load(a->files.first(), &series, &error)) {
            err << a->files.first() << " : " << error << '\n';
            err.flush();
            return 1;
        }
        trials = trialsOf(*a, series, &error);
    } else {
        trials = trialsOf(*a, &error);
    }
    if (!trials)
        return wrong(error);

    // Every trial's options are checked before any file is read.
    std::vector<Options> options;
    for (size_t i = 0; i < trials->size(); ++i) {
        std::optional<Options> o = parseArguments((*trials)[i].arguments, &error);
        if (o)
            error = o->setup.problem();
        if (!o || !error.isEmpty())
            return wrong(
                QStringLiteral("Essai %1 (%2) : %3").arg(i + 1).arg((*trials)[i].path, error));
        for (const QString &warning : o->warnings)
            err << QStringLiteral("Essai %1 : ").arg(i + 1) << warning << '\n';
        options.push_back(*o);
    }

    int status = 0;
    std::vector<SeriesTrial> series;
    for (size_t i = 0; i < trials->size(); ++i) {
        const Trial &trial = (*trials)[i];
        const Options &o = options[i];
        // Without a fit, the ball alone, left out.
        SeriesTrial s = seriesTrial(FitResult(), o, trial.shared);
        s.label = QFileInfo(trial.path).fileName();
        out << (i == 0 ? "" : "\n")
            << QStringLiteral("Essai %1%2\n")
                   .arg(i + 1)
                   .arg(trial.used ? QString() : QStringLiteral(" (laissé de côté)"));
        QString remark;
        const std::optional<MeasurementSet> set
            = readFile(trial.path, o.column, o.setup, &error, &remark);
        if (!remark.isEmpty())
            err << trial.path << " : " << remark << '\n';
        if (!set) {
            out << trial.path << " : " << error << '\n';
            err << trial.path << " : " << error << '\n';
            status = 1;
            series.push_back(s);
            continue;
        }
        const FitResult result = FallFit::fit(*set, o.setup, o.fit);
        out << resultLines(trial.path, result, o).join(QLatin1Char('\n')) << '\n';
        const QString label = s.label;
        s = seriesTrial(result, o, trial.shared);
        s.label = label;
        s.used = s.used && trial.used;
        if (!result.hasEta())
            status = 1;
        series.push_back(s);
    }
    err.flush();

    SeriesSetup setup;
    setup.fluidDensity = options.front().setup.fluidDensity;
    setup.fluidDensityU = options.front().uncertainty.fluidDensity;
    setup.gravity = Motion::g; // the g of the fit's model, so that the line's η compares
    const SeriesResult result = FallSeries::estimate(series, setup);
    out << QStringLiteral("\nSérie de %1 essais\n").arg(series.size());
    out << FallSeries::lines(series, result).join(QLatin1Char('\n')) << '\n';
    if (!result.ok)
        status = 1;
    out.flush();

    if (!a->csv.isEmpty() && !FallSeries::writeCsv(a->csv, series, result, &error)) {
        err << error << '\n';
        status = 1;
    }
    if (!a->save.isEmpty()) {
        SeriesFileData file;
        file.fluidDensity = setup.fluidDensity;
        file.fluidDensityU = setup.fluidDensityU;
        file.tubeDiameter = options.front().setup.tubeDiameter;
        file.tubeDiameterU = options.front().uncertainty.tubeDiameter;
        for (size_t i = 0; i < trials->size(); ++i) {
            const Options &o = options[i];
            SeriesFileTrial t;
            t.file = QFileInfo((*trials)[i].path).absoluteFilePath();
            t.radius = o.setup.radius;
            t.radiusU = o.uncertainty.radius;
            if (std::isfinite(o.sphereDensity)) {
                t.density = o.sphereDensity;
                t.densityU = o.uncertainty.sphereDensity;
            } else {
                t.mass = o.setup.mass;
                t.massU = o.uncertainty.mass;
            }
            t.used = (*trials)[i].used;
            file.trials.push_back(t);
        }
        if (!SeriesFile::save(a->save, file, &error)) {
            err << error << '\n';
            status = 1;
        }
    }
    err.flush();
    return status;
}

QString seriesHelpText()
{
    return QStringLiteral(
        "\n"
        "Série : lorva-mesures --serie FICHIER… --rayon R… --fluide ρ …, ou\n"
        "        lorva-mesures --serie SERIE.txt\n"
        "  --serie                ajuste chaque fichier avec sa bille, puis donne une η pour\n"
        "                         la série : moyenne pondérée des η des essais (poids 1/u²),\n"
        "                         rapport de Birge R_B (u multipliée par R_B s'il dépasse 1),\n"
        "                         essais qui s'écartent des autres de plus de 3 u, et pente\n"
        "                         de v∞ en fonction de r² (droite passant par l'origine)\n"
        "                         avec l'η qu'en donne la loi de Stokes. --rayon, --masse\n"
        "                         et --masse-volumique se donnent une fois pour tous, ou\n"
        "                         une fois par fichier dans l'ordre des fichiers. Un seul\n"
        "                         fichier commençant par « # Lorva : série de chutes »\n"
        "                         donne les essais, leurs billes, le fluide et le tube.\n"
        "  --csv-serie SORTIE.csv écrit le tableau des essais et le résultat de la série\n"
        "  --enregistrer-serie SERIE.txt\n"
        "                         enregistre la série (fichiers, billes, fluide, tube)\n");
}

} // namespace MeasureCommand
