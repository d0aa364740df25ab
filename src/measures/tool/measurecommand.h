// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/fallfit.h"

#include <QString>
#include <QStringList>

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

struct Options
{
    QStringList files;
    FallSetup setup;
    double sphereDensity = FallSetup::nan; // when the mass is not given
    FitOptions fit;
    QString column; // the position column's name or number (from 1); empty: the one that moves most
    bool help = false;
};

// The options, or nothing with a French error.
std::optional<Options> parseArguments(const QStringList &arguments, QString *error);

QString helpText();

// Reads one file of measurements with the chosen position column.
std::optional<MeasurementSet> readFile(const QString &path, const QString &column, QString *error);

// Runs the command (arguments without the program's name): a block of results
// per file, then the mean and the standard deviation of η over the files.
// Returns 0 when every file gave η, 1 when one could not be read or fitted,
// 2 for wrong arguments.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace MeasureCommand
