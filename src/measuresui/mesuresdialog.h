// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/columnchoice.h"
#include "measures/fallfit.h"
#include "measures/measurementtable.h"

#include <QDialog>

#include <optional>
#include <utility>
#include <vector>

class MeasurementHolder;
struct AppliedFit;
class PlatformServices;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class MeasuredPointsModel;

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

    const FitResult &result() const { return m_result; }
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
    QComboBox *model = nullptr;     // FitOptions::Model, in its order
    QLabel *ballHint = nullptr;     // the density the typed radius and mass give
    QPushButton *undo = nullptr;
    QPushButton *ajuster = nullptr;
    QPlainTextEdit *results = nullptr;
    QPushButton *copier = nullptr;
    QPushButton *exporter = nullptr;
    QPushButton *appliquer = nullptr;
    QPushButton *fermer = nullptr;
    // What the last action did or dropped, in one or a few French lines.
    QLabel *status = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createImport();
    QWidget *createFit();
    void prefill();
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
};
