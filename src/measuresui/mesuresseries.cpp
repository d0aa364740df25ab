// SPDX-License-Identifier: GPL-3.0-or-later
// The measures window's side of the series: the Série tab, and the fall it
// takes from the window.
#include "mesuresdialog.h"

#include "seriespanel.h"

#include "measures/measurementholder.h"
#include "platform/namedwidgets.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

QWidget *MesuresDialog::createSeries()
{
    SeriesPanel::Hooks hooks;
    hooks.currentFall = [this](QString *why) { return currentFall(why); };
    hooks.fitOptions = [this] {
        // A series file's falls are fitted whole, with the typed model and
        // release.
        FitOptions options;
        QString unread;
        if (const std::optional<FitOptions> typed = typedOptions(&unread)) {
            options.model = typed->model;
            options.fitReleaseTime = typed->fitReleaseTime;
        }
        return options;
    };
    hooks.reference = [this] { return typedReference(); };
    serie = new SeriesPanel(m_services, std::move(hooks), m_holder.series, this);
    return serie;
}

QPushButton *MesuresDialog::createAddToSeries(QWidget *parent)
{
    auto *button
        = NamedWidgets::button(QStringLiteral("&Ajouter à la série"),
                               QStringLiteral("Ajouter la chute ajustée à la série"), parent);
    button->setObjectName(QStringLiteral("ajouterSerie"));
    button->setToolTip(QStringLiteral("Ajouter cette chute et sa bille comme essai de l'onglet "
                                      "« Série », sans quitter cet onglet"));
    button->setEnabled(false);
    connect(button, &QPushButton::clicked, this, &MesuresDialog::ajouterSerie_Click);
    return button;
}

void MesuresDialog::ajouterSerie_Click()
{
    if (!serie->addCurrentFall())
        return;
    const std::vector<SeriesEntry> &entries = m_holder.series.entries;
    // One line under the results: the trial, its name and the series' η;
    // the table and the plot are in the Série tab.
    QString text = QStringLiteral("Essai %1 ajouté à la série : %2")
                       .arg(entries.size())
                       .arg(entries.back().fall.label);
    const SeriesResult &series = serie->result();
    if (series.ok)
        text += QStringLiteral(" ; η (série) = %1 Pa·s")
                    .arg(FallSeries::measured(series.eta, series.etaU));
    text += QLatin1Char('.');
    say(text);
}

std::optional<SeriesFall> MesuresDialog::currentFall(QString *why) const
{
    if (m_holder.isEmpty()) {
        *why = QStringLiteral("Aucune chute à ajouter : ouvrir un fichier, coller des mesures ou "
                              "suivre une vidéo dans l'onglet « Une chute ».");
        return std::nullopt;
    }
    SeriesFall fall;
    const std::optional<FallSetup> setup = typedSetup(why);
    if (!setup)
        return std::nullopt;
    fall.setup = *setup;
    const std::optional<EtaUncertainty::Inputs> inputs = typedUncertainties(fall.setup, why);
    if (!inputs)
        return std::nullopt;
    fall.inputs = *inputs;
    const std::optional<FitOptions> options = typedOptions(why);
    if (!options)
        return std::nullopt;
    fall.options = *options;
    fall.set = m_holder.set();
    fall.label = fall.set.sourceName;
    // The file itself serves a saved series only when reading it again
    // gives these very points: its suggested columns, the whole fall.
    bool asRead = !m_openedPath.isEmpty() && fall.label == QFileInfo(m_openedPath).fileName()
        && m_tableSource == fall.label && tMin->text().trimmed().isEmpty()
        && tMax->text().trimmed().isEmpty();
    if (asRead) {
        const ColumnChoice suggested = defaultChoice(m_table);
        asRead = suggested.time == m_choice.time && suggested.position == m_choice.position
            && suggested.uncertainty == m_choice.uncertainty
            && suggested.timeUnit == m_choice.timeUnit
            && suggested.lengthUnit == m_choice.lengthUnit && suggested.flip == m_choice.flip;
    }
    for (const MeasuredPoint &p : fall.set.points)
        asRead = asRead && p.exclusion != MeasuredPoint::Exclusion::User;
    if (asRead)
        fall.file = m_openedPath;
    return fall;
}
