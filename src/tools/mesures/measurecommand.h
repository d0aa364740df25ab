// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/fallfit.h"
#include "measures/quantity.h"
#include "measures/seriestrial.h"
#include "measures/unitsanity.h"
#include "uncertaintyarguments.h"

#include <QPointF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QTextStream;

// lorva-mesures: the viscosity from files of measured positions, for
// teachers who process a class's files at once. It reads, fits and reports
// with the functions the program's own dialog uses.
namespace MeasureCommand {

// The quantity a command-line value measures, for its units.
using Quantity = QuantityKind;

// An exact value typed on the command line: a comma or a point as the
// decimal separator, then an optional unit of its quantity (µm, mm, cm, dm,
// m; mg, g, kg; kg/m3, g/cm3…; ms, s). Without a unit, SI (m, kg, kg/m³,
// s). Nothing when the text is not such a value or carries an uncertainty.
std::optional<double> parseValue(const QString &text, Quantity quantity);

// The standard uncertainties typed with "±" after the inputs, in SI units;
// NaN for an input typed without one, which counts as exact. The command
// keeps them for the propagation to η; the scale's is the uncertainty of
// the distance of --etalon.
struct InputUncertainties
{
    static constexpr double nan = FallSetup::nan;

    double radius = nan;         // m, --rayon
    double mass = nan;           // kg, --masse
    double sphereDensity = nan;  // kg/m³, --masse-volumique
    double fluidDensity = nan;   // kg/m³, --fluide
    double tubeDiameter = nan;   // m, --diametre-tube
    double scaleDistance = nan;  // m, --etalon …=D±u
    double captureRate = nan;    // images/s, --cadence C±u
    double index = nan;          // --indice n±u
    double tubeRadius = nan;     // m, --rayon-tube R±u
    double cameraDistance = nan; // m, --distance-camera L±u
    UniformInputs uniform;
};

// "Valeur incorrecte pour OPTION : « VALUE »." followed by the reason, if any.
QString valueError(const QString &option, const QString &value, const QString &reason = {});
// The value of option read as a quantity of kind, with its uncertainty when
// uncertain; nothing with valueError's message in *error.
std::optional<TypedQuantity> optionValue(const QString &option, const QString &value,
                                         QuantityKind kind, bool uncertain, QString *error);

// What --video asks for: the video, the scale's two points (px) and the
// distance between them, the ball clicked in a frame, and where the scale
// lies for the tube's refraction.
struct VideoRequest
{
    enum class Placement { Immersed, FrontWall, AirAtCentre };

    QString path;
    bool hasScale = false;
    QPointF scaleStart;
    QPointF scaleEnd;
    double scaleDistance = FallSetup::nan; // m
    bool hasBall = false;
    QPointF ball;
    int frame = 0; // the frame where the ball is clicked
    bool hasOrigin = false;
    QPointF origin;           // the ball's click when not given
    double captureRate = 0.0; // images/s of a slow motion; 0: the file's own, if any
    Placement placement = Placement::Immersed;
    double refractiveIndex = 1.47;
    double tubeRadius = FallSetup::nan;     // m, inner radius of the tube
    double cameraDistance = FallSetup::nan; // m, from the lens to the tube's axis
    QString table;                          // --tableau: where to write the tracked table
};

// Reads a video as measured points (the tracker's positions along the fall);
// nothing with a French error. Remarks on the tracking go to err.
using VideoReader = std::function<std::optional<MeasurementSet>(const VideoRequest &request,
                                                                QString *error, QTextStream &err)>;

// Whether option is one of --video's, and reads its value into request;
// false with *error when the value is wrong.
bool isVideoOption(const QString &option);
// The distance of --etalon may carry its uncertainty, put in *uncertainties.
bool parseVideoOption(const QString &option, const QString &value, VideoRequest &request,
                      InputUncertainties &uncertainties, QString *error);
// What is missing for a video, in French; empty when it can be read.
QString videoProblem(const VideoRequest &request);
QString videoHelpText();

// The measured points as a French spreadsheet table: t (s), y (m), source.
QByteArray tableBytes(const MeasurementSet &set, const QString &sourceTitle);

struct Options
{
    QStringList files;
    FallSetup setup;
    double sphereDensity = FallSetup::nan; // when the mass is not given
    FitOptions fit;
    QString column; // the position column's name or number (from 1); empty: the one that moves most
    std::optional<VideoRequest> video;
    UncertaintyRequest uncertainty;
    bool help = false;
    InputUncertainties uncertainties;
    QStringList warnings; // inputs in a plainly wrong unit (UnitSanity), shown before the results
};

// Whether option is one of the measured inputs (--rayon, --masse,
// --masse-volumique, --fluide, --diametre-tube, --de, --a), and reads its
// value into options and typed (as typed, for the unit checks); false with
// *error when the value is wrong.
bool isQuantityOption(const QString &option);
// How the measured values are written (units, "±"), for --help.
QString quantityHelpText();
bool parseQuantityOption(const QString &option, const QString &value, Options &options,
                         UnitSanity::TypedInputs &typed, QString *error);
// Whether option is --monte-carlo or --glycerine, and reads its value into
// request; false with *error when the value is wrong.
bool isUncertaintyOption(const QString &option);
bool parseUncertaintyOption(const QString &option, const QString &value,
                            UncertaintyRequest &request, QString *error);
// Copies the uncertainties typed with the inputs ("value±u") into request,
// where an input without ± counts as exact (0).
void takeUncertainties(const InputUncertainties &typed, UncertaintyRequest &request);
// A fitted result's lines with u(η) combined from the inputs' uncertainties
// and the fit's: the first etaLines lines get the new u, and the budget, the
// Monte-Carlo result and the glycerine reference follow the line after them.
// scale is the one the video reader measured the points with (its
// refraction factor as a function of the tube's optics), if any.
void addUncertainty(const FitResult &result, const Options &options, QStringList &lines,
                    qsizetype etaLines, const VideoScale *scale = nullptr);
QString uncertaintyHelpText();

// The options, or nothing with a French error.
std::optional<Options> parseArguments(const QStringList &arguments, QString *error);

QString helpText();

// Reads one file of measurements with the chosen position column. When the
// time column states no unit and its times are plainly milliseconds for
// setup (UnitSanity::millisecondTimes), they are converted to seconds and
// *remark says so; otherwise *remark is left empty.
std::optional<MeasurementSet> readFile(const QString &path, const QString &column,
                                       const FallSetup &setup, QString *error, QString *remark);

// A fitted file's block: the fit's lines, "Fichier : path" after the η
// lines, then the uncertainty's.
QStringList resultLines(const QString &path, const FitResult &result, const Options &options,
                        const VideoScale *scale = nullptr);

// The trial of a series that a fitted result makes with the inputs of
// options (SeriesTrials::fromFit): the ball's radius or mass given once for
// every trial is an error common to them all.
SeriesTrial seriesTrial(const FitResult &result, const Options &options,
                        SeriesTrials::SharedBall sharedBall = {});

// lorva-mesures --serie: each file (or each trial of a series file) fitted
// with its own ball, then the series' η, the line of v∞ against r² and the
// agreement between trials. --rayon, --masse and --masse-volumique are given
// once for all or once per file, in the files' order. Same return codes as
// run.
int runSeries(const QStringList &arguments, QTextStream &out, QTextStream &err);
QString seriesHelpText();

// Runs the command (arguments without the program's name): a block of results
// per file, then the mean and the standard deviation of η over the files.
// Returns 0 when every file (and the video) gave η, 1 when one could not be read or fitted,
// 2 for wrong arguments.
// With readVideo, --video FILE is read with it; without, --video is refused.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err,
        const VideoReader &readVideo = {});

} // namespace MeasureCommand
