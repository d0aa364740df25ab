// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "etauncertainty.h"
#include "fallfit.h"
#include "fallseries.h"
#include "measuredpoint.h"

#include <QString>

#include <vector>

// A measured fall as the measures window hands it to the series: its points,
// its ball and the shared fluid and tube as typed, the fit's options and the
// inputs of its η's uncertainty.
struct SeriesFall
{
    QString label; // the source's name, as the table shows it
    // The file the points are read from as they are (its first reading, no
    // point left out); empty for a paste, a video or a file read otherwise,
    // whose points a saved series writes beside it.
    QString file;
    MeasurementSet set;
    FallSetup setup;
    FitOptions options;
    EtaUncertainty::Inputs inputs;
};

// A trial of the series: the fall, its fit and what the series takes of it
// (trial.used false: the user left it out).
struct SeriesEntry
{
    SeriesFall fall;
    FitResult fit;
    SeriesTrial trial;
};

// The Série tab's work, kept by the session's MeasurementHolder: the
// measures window belongs to the graph window and goes with it, the series
// stays, and a new window shows the same trials, left-out ones included.
struct SeriesSession
{
    std::vector<SeriesEntry> entries;
    QString folder; // of the last series file opened or saved, for the dialogs
};
