// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/columnchoice.h"
#include "measures/fallfit.h"
#include "measures/measuredpoint.h"
#include "measures/measurementtable.h"
#include "measures/seriessession.h"

#include <QObject>
#include <QString>

#include <functional>
#include <limits>
#include <optional>

// The main window's fields a fit starts from, as their texts: radius in cm,
// mass in g, fluid density in kg/m³, viscosity in Pa·s.
struct MeasureFieldTexts
{
    QString radius;
    QString mass;
    QString fluidDensity;
    QString viscosity;
};

// What "Appliquer" hands back to the main window, as field texts in the
// fields' units (three significant digits). sphereAndFluid is false when the
// animation cannot show the fitted sphere or fluid: only the viscosity is
// then to be applied.
struct AppliedFit
{
    QString viscosity;
    QString radius;
    QString mass;
    QString fluidDensity;
    bool sphereAndFluid = false;
};

// The fit range [tMin, tMax] in s: only the included points inside it are
// fitted. An infinite bound leaves that side open.
struct FitRange
{
    double tMin = -std::numeric_limits<double>::infinity();
    double tMax = std::numeric_limits<double>::infinity();

    bool isOpen() const { return !std::isfinite(tMin) && !std::isfinite(tMax); }
    bool operator==(const FitRange &) const = default;
};

// What the user typed and chose in the measures window, kept for the whole
// session so that the window reopens as it was left. The texts are the
// fields' own: radius and tube in mm, the ball's mass in mg (or its density
// in kg/m³, massKind 1), the fluid's density in kg/m³.
struct MeasureInputs
{
    bool typed = false; // false: nothing typed yet, start from the main window's fields
    QString radius;
    int massKind = 0;
    QString mass;
    QString fluidDensity;
    QString tube;
    bool releaseTime = false;
    FitOptions::Model model = FitOptions::Model::DragCurve;

    // The standard uncertainties typed in the "±" fields beside the radius,
    // the mass (or density), the fluid's density and the tube, as typed: a
    // number in the field's unit, or with its own unit ("0,01mm"). Empty:
    // the input counts as exact.
    QString radiusU;
    QString massU;
    QString fluidDensityU;
    QString tubeU;
    // "Monte-Carlo…": the number of draws; the glycerine reference's
    // temperature (°C) and water mass fraction (%), as typed.
    int monteCarloDraws = 10'000;
    QString glycerineCelsius;
    QString glycerineWater;

    // The last table read and the choice its points were read with, so that
    // the columns and units can still be changed after a reopening. Empty
    // when the points came from elsewhere (a video).
    MeasurementTable table;
    QString tableSource;
    ColumnChoice choice;
    // Tables pasted in the session: the n-th is named "presse-papiers n",
    // so that the trials of a series tell them apart.
    int pastes = 0;
};

// The measured fall of the session: created by the main window's
// composition, read by the graph window, the small graph and the measures
// dialog, for the whole run. It holds no widget; changed() tells the views.
// It also keeps the fit range, shared by the dialog's typed fields and the
// graph window's drag, and the last fit, drawn as residuals under the graph.
class MeasurementHolder : public QObject
{
    Q_OBJECT

public:
    explicit MeasurementHolder(QObject *parent = nullptr)
        : QObject(parent)
    { }

    const MeasurementSet &set() const { return m_set; }
    bool isEmpty() const { return m_set.isEmpty(); }
    // A new set of points: the fit, the range and the exclusions that
    // belonged to the previous one are dropped (resetNote() says which).
    void setSet(MeasurementSet set);
    // In French, what the last setSet() dropped of the previous points'
    // work; empty when there was nothing to drop.
    const QString &resetNote() const { return m_resetNote; }
    void clear() { setSet(MeasurementSet()); }
    // The same points with another scale (a "±" typed in the video window):
    // the fit, the range and the exclusions stay; emits scaleChanged().
    void setScale(const VideoScale &scale);
    // Leaves point index out (or takes it back) as the user's choice; a
    // point the reader marked as lost stays out. Returns whether it changed.
    bool setUserExcluded(int index, bool excluded);

    const FitRange &fitRange() const { return m_range; }
    // "Plage ajustée": the graph window shows the fit range only (when the
    // range has a finite bound); emits viewChanged() when it changes.
    bool zoomedOnRange() const { return m_zoomed; }
    void setZoomedOnRange(bool zoomed);
    // Stores range (emits rangeChanged() when it differs).
    void setFitRange(const FitRange &range);

    // The last fit of the current points; nullptr when there is none. A new
    // set or a point left out or taken back drops it: a fit belongs to the
    // points it was made on.
    const FitResult *lastFit() const { return m_fit ? &*m_fit : nullptr; }
    void setFit(FitResult fit);
    void clearFit();

    // Filled by the main window: its fields' texts, and how to put a fitted
    // result into them (through the fields' own validation).
    std::function<MeasureFieldTexts()> fieldTexts;
    std::function<void(const AppliedFit &)> apply;
    // Where "Ouvrir un fichier de mesures…" opens: set by the main window to
    // the shipped exercises' folder (where the lessons' files are), then the
    // folder of the last file opened.
    QString folder;
    // Filled when the program can read videos: opens the video window, whose
    // tracked positions come back through setSet().
    std::function<void()> openVideo;
    // The measures window's typed fields and table, for the session.
    MeasureInputs inputs;
    // The Série tab's trials (points, inputs, fits, left-out flags), for
    // the session.
    SeriesSession series;

    // The tube's inner diameter in mm as the user typed it (a field's text,
    // empty when no tube is given). The tube is given once for the session,
    // in "Mesures" or in the video window, and both show it: the fit's wall
    // correction and the video's refraction correction use the same tube.
    const QString &tubeDiameter() const { return m_tubeDiameter; }
    // Stores text, blanks trimmed, also as inputs.tube (emits tubeChanged()
    // when it differs).
    void setTubeDiameter(const QString &text);
    // The tube's standard uncertainty as typed in either window's "±" field
    // beside it (inputs.tubeU); set as the diameter is.
    const QString &tubeUncertainty() const { return inputs.tubeU; }
    void setTubeUncertainty(const QString &text);

signals:
    // The points changed (a new set, a point left out or taken back).
    void changed();
    // A new set replaced the points (before changed()).
    void replaced();
    // "Appliquer" put a fit into the main window's fields: what the
    // simulator draws changed.
    void applied();
    void rangeChanged();
    void viewChanged();
    // A fit was stored or dropped.
    void fitChanged();
    void tubeChanged();
    // The points' scale changed, not the points: η's uncertainty is to be
    // combined again.
    void scaleChanged();

private:
    MeasurementSet m_set;
    FitRange m_range;
    std::optional<FitResult> m_fit;
    QString m_resetNote;
    bool m_zoomed = false;
    QString m_tubeDiameter;
};
