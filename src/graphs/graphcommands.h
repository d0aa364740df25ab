// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/displayoptions.h"

#include <QIcon>

#include <functional>

class MeasurementHolder;
class PlatformServices;
class QDialog;
class QWidget;
struct SimulationState;

// The main window's ways into the graph window: the "Agrandir" button
// (Command5) and a click on the small graph (Frame1).
class GraphCommands
{
public:
    struct Hooks
    {
        // Runs a window modally over the main window (its closing activates
        // the main window again); QDialog::exec when empty.
        std::function<int(QDialog *)> showModal;
        // Stops the animation clock (Timer1).
        std::function<void()> stopTimer;
        // Shows the calculator modally.
        std::function<void()> calculator;
        // The session's measured fall, shown and edited in the graph window.
        MeasurementHolder *measurements = nullptr;
        // Opens the "Mesures" window over the graph window it is given; the
        // "Mesures…" tool is hidden when empty.
        std::function<void(QWidget *graphWindow)> openMeasures;
    };

    // mainWindow is the window the graph window covers; options gives the
    // quantity and "Tracer en gras".
    GraphCommands(QWidget &mainWindow, const SimulationState &state,
                  std::function<DisplayOptions()> options, PlatformServices &services);

    Hooks &hooks() { return m_hooks; }
    // Icons of the graph window's strip: "Fermer", "Imprimer", "Copier", "Calculatrice".
    void setIcons(const QIcon &fermer, const QIcon &imprimer, const QIcon &copier,
                  const QIcon &calculatrice);

    // Command5_Click: an hourglass on the button while the graph window is
    // open; the window covers the main window and is shown modally. Refused
    // as Frame1_Click refuses when the sphere cannot fall.
    void Command5_Click(QWidget *command5);
    // Frame1_Click: opens the graph window as "Agrandir" does when the
    // sphere can fall (vlim >= 0); otherwise reports that Archimedes' thrust
    // beats the weight and stops the clock.
    void Frame1_Click(QWidget *frame1);

    static QString errorTitle() { return QStringLiteral("Paramètres incorrects"); }
    static QString errorText()
    {
        return QStringLiteral("La poussée d'Archimède est supérieure au poids.");
    }

private:
    // With vlim < 0 (or not a number), reports "Paramètres incorrects",
    // stops the clock and returns true.
    bool refuseRisingSphere();

    QWidget &m_mainWindow;
    const SimulationState &m_state;
    std::function<DisplayOptions()> m_options;
    PlatformServices &m_services;
    Hooks m_hooks;
    QIcon m_icons[4];
};
