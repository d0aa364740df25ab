// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/columnchoice.h"
#include "measures/fallfit.h"
#include "measures/measurementtable.h"

#include <QDialog>

#include <optional>

class MeasurementHolder;
class PlatformServices;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class MeasuredPointsModel;

// "Mesures", the measures dialog of the graph window: imports a measured
// fall from a file or the clipboard into the session's holder, lets the
// user choose the columns and units and leave points out (a click on a
// row), and fits the fall to find the viscosity, which "Appliquer" hands to
// the main window through the holder's apply hook.
//
// A failed import reports its French message and keeps the previous set.
// The sphere and the fluid start from the main window's fields (holder's
// fieldTexts), in the dialog's units: radius in mm, mass in mg.
class MesuresDialog : public QDialog
{
    Q_OBJECT

public:
    MesuresDialog(MeasurementHolder &holder, PlatformServices &services, QWidget *parent = nullptr);
    ~MesuresDialog() override;

    static QString title() { return QStringLiteral("Mesures"); }

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
    // A click (or Enter) on row: the point is left out, or taken back.
    void points_Click(int row);

    // The typed range goes to the holder, shared with the graph window's
    // drag; an unreadable bound is left for "Ajuster" to report.
    void range_Typed();
    // The holder's range in the typed fields (an open side empty).
    void showRange();

    // "Ajuster": fits the included points inside the range, and keeps the
    // result in the holder for the residuals under the graph.
    void ajuster_Click();
    // "Copier les résultats": the results' text on the clipboard.
    void copier_Click();
    // "Exporter en CSV…": the points with the model and residuals.
    void exporter_Click();
    // "Appliquer": the fitted η (and the sphere and fluid when the animation
    // can show them) through the holder's apply hook.
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
    QLineEdit *tube = nullptr; // mm
    QPushButton *ajuster = nullptr;
    QPlainTextEdit *results = nullptr;
    QPushButton *copier = nullptr;
    QPushButton *exporter = nullptr;
    QPushButton *appliquer = nullptr;
    QPushButton *fermer = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createImport();
    QWidget *createFit();
    void prefill();
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
    MeasurementTable m_table; // the last table read, for the column choice
    QString m_tableSource;
    ColumnChoice m_choice; // the one the holder's set was read with
    bool m_filling = false;
    FitResult m_result;
    FallSetup m_setup;
    bool m_fitted = false;
};
