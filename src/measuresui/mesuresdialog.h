// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/columnchoice.h"
#include "measures/etauncertainty.h"
#include "measures/fallfit.h"
#include "measures/measurementtable.h"
#include "measures/montecarlo.h"

#include <QDialog>

#include <optional>
#include <utility>
#include <vector>

class MeasurementHolder;
struct AppliedFit;
class PlatformServices;
class QCheckBox;
class QComboBox;
class HistogramView;
class QFormLayout;
class QLayout;
class QLabel;
class QSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class MeasuredPointsModel;
class QTabWidget;
class SeriesPanel;
struct SeriesFall;

// "Mesures", the measures window beside the graph window: imports a measured
// fall from a file or the clipboard into the session's holder, lets the
// user choose the columns and units and leave points out (a double click,
// Space or Enter on a row; Ctrl+Z takes the last one back), and fits the
// fall to find the viscosity, which "Appliquer" hands to the main window
// through the holder's apply hook, saying what it applied and what not.
//
// It is not modal: the graph window stays usable beside it. Everything
// typed is kept in the holder's inputs, so that a new window opens as the
// last one was left. A failed import reports its French message and keeps
// the previous set. Until something is typed, the sphere and the fluid come
// from the main window's fields (holder's fieldTexts), in the window's
// units: radius in mm, mass in mg.
class MesuresDialog : public QDialog
{
    Q_OBJECT

public:
    MesuresDialog(MeasurementHolder &holder, PlatformServices &services, QWidget *parent = nullptr);
    ~MesuresDialog() override;

    static QString title() { return QStringLiteral("Mesures"); }

    // The measures window of graphWindow, not modal, shown beside it (over
    // its right part when the screen has no room): created at the first
    // call, then the same window, until graphWindow closes.
    static MesuresDialog *showBeside(MeasurementHolder &holder, PlatformServices &services,
                                     QWidget *graphWindow);

    // "Ouvrir un fichier de mesures…": the file the user picks.
    void ouvrir_Click();
    // "Coller des mesures": the clipboard's text.
    void coller_Click();
    // "Ouvrir une vidéo…": the video window; the positions it tracks replace
    // the measured points, which then have no columns to choose.
    void video_Click();
    // Reads bytes as a table of measurements with the suggested columns;
    // on failure shows the reader's message and changes nothing.
    bool importBytes(const QByteArray &bytes, const QString &sourceName);
    // A new column or unit: the set is read again from the last table.
    void choice_Changed();
    // A double click (or Space, Enter) on row: the point is left out, or
    // taken back; undo_Click reverses it.
    void points_Click(int row);
    // "Annuler l'exclusion" (Ctrl+Z): the last point left out or taken back
    // returns to its previous state.
    void undo_Click();

    // The typed range goes to the holder, shared with the graph window's
    // drag; an unreadable bound is left for "Ajuster" to report.
    void range_Typed();
    // The holder's range in the typed fields (an open side empty).
    void showRange();

    // "Ajuster": fits the included points inside the range, and keeps the
    // result in the holder for the residuals under the graph.
    void ajuster_Click();
    // "Monte-Carlo…": draws the inputs with their uncertainties, shows the
    // distribution of η as a histogram and its mean, standard deviation and
    // 95 % interval under the results.
    void monteCarlo_Click();
    // The glycerine reference typed: its lines under the results (or why
    // they cannot be given), for the last fit.
    void reference_Typed();
    // "Copier les résultats": the results and the inputs on the clipboard.
    void copier_Click();
    // "Exporter en CSV…": the inputs, the results, the points and the
    // residuals, in a table the window reads back.
    void exporter_Click();
    // "Appliquer": the fitted η (and the sphere and fluid when the animation
    // can show them) through the holder's apply hook; an η beyond the
    // viscosity field's range is not applied. The status line says what
    // was applied and left, and how the simulator's Stokes fall compares
    // with the measured one.
    void appliquer_Click();
    // "Ajouter à la série": the fall just fitted, with its typed ball, as
    // a new trial of the Série tab; the status line says which trial it is
    // and the series' η, a refusal comes as the Série tab's message.
    void ajouterSerie_Click();

    const FitResult &result() const { return m_result; }
    // The lines the results show (and "Copier les résultats" copies): the
    // fit's with the combined u, the budget, the unit warnings, the
    // Monte-Carlo result and the reference.
    const QStringList &resultLines() const { return m_lines; }
    bool hasResult() const { return m_fitted; }

    QPushButton *ouvrir = nullptr;
    QPushButton *coller = nullptr;
    QPushButton *video = nullptr; // "Ouvrir une vidéo…", when the program reads videos
    QLabel *source = nullptr;
    QComboBox *timeColumn = nullptr;
    QComboBox *timeUnit = nullptr;
    QComboBox *positionColumn = nullptr;
    QComboBox *lengthUnit = nullptr;
    QCheckBox *flip = nullptr;
    QTableView *points = nullptr;

    QLineEdit *radius = nullptr; // mm
    QComboBox *massKind = nullptr;
    QLineEdit *mass = nullptr; // mg, or kg/m³ for a density
    QLineEdit *fluidDensity = nullptr;
    QLineEdit *tMin = nullptr;
    QLineEdit *tMax = nullptr;
    QCheckBox *releaseTime = nullptr;
    QCheckBox *zoomRange = nullptr; // "Plage ajustée" on the graph (holder's zoomedOnRange)
    QLineEdit *tube = nullptr;      // mm
    // The standard uncertainties beside the inputs ("±"): a number in the
    // input's unit or with its own unit; empty when the input is exact.
    QLineEdit *radiusU = nullptr;
    QLineEdit *massU = nullptr;
    QLineEdit *fluidDensityU = nullptr;
    QLineEdit *tubeU = nullptr;
    // The glycerine reference: temperature (°C) and water mass fraction (%).
    QLineEdit *glycerineCelsius = nullptr;
    QLineEdit *glycerineWater = nullptr;
    QPushButton *monteCarlo = nullptr;
    QSpinBox *draws = nullptr;
    HistogramView *histogram = nullptr;
    QComboBox *model = nullptr; // FitOptions::Model, in its order
    QLabel *ballHint = nullptr; // the density the typed radius and mass give
    QPushButton *undo = nullptr;
    QPushButton *ajuster = nullptr;
    QPlainTextEdit *results = nullptr;
    QPushButton *copier = nullptr;
    QPushButton *exporter = nullptr;
    QPushButton *appliquer = nullptr;
    QPushButton *ajouterSerie = nullptr; // "Ajouter à la série", with a fit that gives η
    QPushButton *fermer = nullptr;
    // What the last action did or dropped, in one or a few French lines.
    QLabel *status = nullptr;
    // "Chute" (the fall above) and "Série" (SeriesPanel).
    QTabWidget *tabs = nullptr;
    SeriesPanel *serie = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createImport();
    // The time and position columns, their units and the axis' sense, wired
    // to choice_Changed.
    QLayout *createColumnChoice(QWidget *parent);
    QWidget *createFit();
    void prefill();
    // The "±" field beside edit, with its help; in the form's row of label.
    QLineEdit *uncertaintyField(const QString &name, const QString &help, QWidget *parent);
    void addInputRow(QFormLayout *form, const QString &label, QWidget *field, QLineEdit *u);
    QWidget *createUncertainty(QWidget *parent);
    // The typed uncertainties with m_setup, in SI units; nothing, with a
    // French reason, when a "±" field cannot be read.
    std::optional<EtaUncertainty::Inputs> typedUncertainties(const FallSetup &setup,
                                                             QString *why) const;
    // The range, release and model typed; nothing, with a French reason,
    // when a bound cannot be read.
    std::optional<FitOptions> typedOptions(QString *why) const;
    // The Série tab, and the fall it takes from this window: the points,
    // the typed ball, fluid and tube, the fit's options.
    QWidget *createSeries();
    QPushButton *createAddToSeries(QWidget *parent);
    std::optional<SeriesFall> currentFall(QString *why) const;
    // The glycerine reference typed (°C, water fraction), when one is.
    std::optional<std::pair<double, double>> typedReference() const;
    // Whether the time column, read as seconds without a stated unit, is
    // plainly in milliseconds for setup: then the column is read again in ms
    // and *note says so.
    bool millisecondsTaken(const FallSetup &setup, QString *note);
    // The unit checks of the typed inputs.
    QStringList inputWarnings() const;
    // After a fit: the combined uncertainty, and the lines shown.
    void combine();
    void showResults();
    QStringList referenceLines() const;
    void restoreFit();
    // The typed fields into the holder's inputs.
    void storeInputs();
    void showBallHint();
    void say(const QString &text);
    // The French report of an apply: what the fields took, what they left.
    QString appliedReport(const AppliedFit &asked) const;
    void fillChoice();
    void showChoice(const ColumnChoice &choice);
    void showSource();
    // The points table no narrower than its columns' widest texts.
    void fitPointsWidth();
    void setStale();
    // Takes a table just read, with its suggested choice; keeps the previous
    // table and set when no set can be made of it.
    bool adopt(MeasurementTable table, const QString &sourceName);
    bool applySet(const ColumnChoice &choice, const QString &sourceName);
    void error(const QString &text);
    // The setup typed in the fit part, in SI units; nothing, with a French
    // reason, when a field cannot be read.
    std::optional<FallSetup> typedSetup(QString *why) const;

    MeasurementHolder &m_holder;
    PlatformServices &m_services;
    MeasuredPointsModel *m_model = nullptr;
    // The last table read, for the column choice, and the choice the
    // holder's set was read with: kept in the holder for the session.
    MeasurementTable &m_table;
    QString &m_tableSource;
    ColumnChoice &m_choice;
    bool m_filling = false;
    // Exclusions to undo: the row and whether it was left out before.
    std::vector<std::pair<int, bool>> m_undo;
    FitResult m_result;
    FallSetup m_setup;
    bool m_fitted = false;
    // The last fit's uncertainty and what goes with it in the results.
    std::optional<EtaUncertainty::Combined> m_combined;
    std::optional<MonteCarloResult> m_drawn;
    QStringList m_notes; // unit checks, shown under the budget
    QStringList m_lines;
    // The time unit was chosen by the user for this table: no guess over it.
    bool m_timeUnitChosen = false;
    // The file the last table was opened from; empty for a paste.
    QString m_openedPath;
};
