// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/fallfit.h"
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
enum class Quantity { Length, Mass, Time, Plain };

// A value typed on the command line: a comma or a point as the decimal
// separator, then an optional unit of its quantity (mm, cm, m; mg, g, kg;
// ms, s). Without a unit, SI (m, kg, s). Nothing when the text is not such
// a value.
std::optional<double> parseValue(const QString &text, Quantity quantity);

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
bool parseVideoOption(const QString &option, const QString &value, VideoRequest &request,
                      QString *error);
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
};

// Whether option is --monte-carlo or --glycerine, and reads its value into
// request; false with *error when the value is wrong.
bool isUncertaintyOption(const QString &option);
bool parseUncertaintyOption(const QString &option, const QString &value,
                            UncertaintyRequest &request, QString *error);
// Takes "±u" (or "+-u") off the value of option, storing u in SI units in
// request; the value keeps its number and its unit (written on either side).
// Without ± nothing changes; false with *error when u is wrong or option
// takes none.
bool takeUncertainty(const QString &option, QString &value, Quantity quantity,
                     UncertaintyRequest &request, QString *error);
// A fitted result's lines with u(η) combined from the inputs' uncertainties
// and the fit's: the first etaLines lines get the new u, and the budget, the
// Monte-Carlo result and the glycerine reference follow the line after them.
void addUncertainty(const FitResult &result, const Options &options, QStringList &lines,
                    qsizetype etaLines);
QString uncertaintyHelpText();

// The options, or nothing with a French error.
std::optional<Options> parseArguments(const QStringList &arguments, QString *error);

QString helpText();

// Reads one file of measurements with the chosen position column.
std::optional<MeasurementSet> readFile(const QString &path, const QString &column, QString *error);

// A fitted file's block: the fit's lines, "Fichier : path" after the η
// lines, then the uncertainty's.
QStringList resultLines(const QString &path, const FitResult &result, const Options &options);

// The combined u(η) of a fitted result (of the wall-corrected η when the tube
// corrects it) and the part of it that comes from the inputs every trial of
// a series shares (the fluid's density, the tube's diameter, and the ball's
// radius or mass when one value was given for every trial: one error for
// them all). Without a propagation (nothing given, u of zero), the fit's u
// and no shared part.
struct CombinedEta
{
    double eta = FallSetup::nan;
    double u = FallSetup::nan;
    double shared = 0.0;
};
struct SharedBall
{
    bool radius = false;
    bool mass = false; // the mass or the density
};
CombinedEta combinedEta(const FitResult &result, const Options &options,
                        SharedBall sharedBall = {});

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
