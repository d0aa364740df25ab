// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "measures/etauncertainty.h"
#include "measures/fallseries.h"
#include "measures/seriessession.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class PlatformServices;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class SeriesPlot;
class SeriesTableModel;

// The "Série" tab of the measures window: falls added one after the other
// (each fitted with its own ball, the fluid and the tube shared), the table
// of the trials (a click on "Retenu", Space or Enter leaves one out or takes
// it back), the plot of v∞ against r² and the series' η with the method
// that gives it; opens and saves series files, exports the table as CSV and
// prints the lab report. The trials live in the session's SeriesSession,
// which outlives the panel.
class SeriesPanel : public QWidget
{
    Q_OBJECT

public:
    // What the panel reads from the measures window.
    struct Hooks
    {
        // The fall measured and typed there; nothing, with a French reason,
        // when it cannot be one.
        std::function<std::optional<SeriesFall>(QString *why)> currentFall;
        // The model and the release of the typed fit, for the trials of an
        // opened series file.
        std::function<FitOptions()> fitOptions;
        // The glycerine reference typed (°C, water mass fraction 0 … 1);
        // nothing when none is.
        std::function<std::optional<std::pair<double, double>>()> reference;
    };

    // session: the trials shown, changed in place; it must outlive the panel.
    SeriesPanel(PlatformServices &services, Hooks hooks, SeriesSession &session,
                QWidget *parent = nullptr);

    // "Ajouter la chute": the window's fall, fitted, as a new trial.
    void ajouter_Click();
    // The window's fall as a new trial, the status saying so; a refusal is
    // shown (message titled "Série") and gives false. Also called by the
    // first tab's "Ajouter à la série".
    bool addCurrentFall();
    // "Retirer l'essai": the current row out of the series.
    void retirer_Click();
    // A click on "Retenu", Space or Enter on a row: the trial is left out
    // of the series, or taken back.
    void trial_Toggle(int row);
    // "Ouvrir une série…": a series file's trials replace the series.
    void ouvrirSerie_Click();
    // "Enregistrer la série…": the series file, with the points of the
    // trials that have no file written beside it.
    void enregistrerSerie_Click();
    // "Exporter le tableau (CSV)…": the table and the series' figures.
    void exporterSerie_Click();
    // "Rapport…": the lab report, to the printer or a PDF file.
    void rapport_Click();

    // Fits fall and adds it; false with a French reason when its fit gives
    // no η, or its fluid, tube or model are not the series'.
    bool addFall(const SeriesFall &fall, QString *why);
    // Reads the series file at path (its trials' files fitted with the
    // window's model); false with a French reason, the series unchanged.
    bool openSeries(const QString &path, QString *why);

    const std::vector<SeriesEntry> &entries() const { return m_entries; }
    const SeriesResult &result() const { return m_result; }
    // The series' lines as the results show them: FallSeries::lines and
    // the reference's.
    const QStringList &resultLines() const { return m_lines; }
    SeriesSetup setup() const;
    // The table, the plot and the results again from the trials and the
    // typed reference (the window calls it when the reference changes).
    void refresh();

    QPushButton *ajouter = nullptr;
    QPushButton *retirer = nullptr;
    QPushButton *ouvrirSerie = nullptr;
    QPushButton *enregistrerSerie = nullptr;
    QPushButton *exporterSerie = nullptr;
    QPushButton *rapport = nullptr;
    QTableView *table = nullptr;
    SeriesPlot *plot = nullptr;
    QPlainTextEdit *results = nullptr;
    QLabel *status = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void error(const QString &text);
    // The save dialog in the series' folder, offering fileName (its suffix
    // the default extension); the name chosen, its folder kept for the next.
    std::optional<QString> askSaveName(const QString &title, const QString &filter,
                                       const QString &fileName);
    std::vector<SeriesTrial> trials() const;

    PlatformServices &m_services;
    Hooks m_hooks;
    SeriesTableModel *m_model = nullptr;
    std::vector<SeriesEntry> &m_entries; // the session's
    SeriesResult m_result;
    QStringList m_lines;
    QString &m_folder; // the session's: of the last series file, for the dialogs
};
