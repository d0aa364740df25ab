// SPDX-License-Identifier: GPL-3.0-or-later
#include "graphcommands.h"

#include "graphes.h"

#include "core/simulationstate.h"
#include "platform/platformservices.h"

#include <QCursor>
#include <QWidget>

GraphCommands::GraphCommands(QWidget &mainWindow, const SimulationState &state,
                             std::function<DisplayOptions()> options, PlatformServices &services)
    : m_mainWindow(mainWindow)
    , m_state(state)
    , m_options(std::move(options))
    , m_services(services)
{ }

void GraphCommands::setIcons(const QIcon &fermer, const QIcon &imprimer, const QIcon &copier,
                             const QIcon &calculatrice)
{
    m_icons[0] = fermer;
    m_icons[1] = imprimer;
    m_icons[2] = copier;
    m_icons[3] = calculatrice;
}

void GraphCommands::Command5_Click(QWidget *command5)
{
    if (refuseRisingSphere())
        return;
    // The hourglass stays for as long as the modal window is open.
    const QCursor previous = command5 ? command5->cursor() : QCursor();
    if (command5)
        command5->setCursor(Qt::WaitCursor);

    Graphes window(m_state, m_options, m_services, &m_mainWindow);
    window.setWindowFlags(Qt::Dialog);
    window.coverWindow(m_mainWindow);
    window.setIcons(m_icons[0], m_icons[1], m_icons[2], m_icons[3]);
    window.setCalculator(m_hooks.calculator);
    window.setMeasurements(m_hooks.measurements, m_hooks.openMeasures);
    if (m_hooks.showModal)
        m_hooks.showModal(&window);
    else
        window.exec();

    if (command5)
        command5->setCursor(previous);
}

void GraphCommands::Frame1_Click(QWidget *frame1)
{
    if (refuseRisingSphere())
        return;
    const QCursor previous = frame1 ? frame1->cursor() : QCursor();
    if (frame1)
        frame1->setCursor(Qt::WaitCursor);
    Command5_Click(nullptr);
    if (frame1)
        frame1->setCursor(previous);
}

bool GraphCommands::refuseRisingSphere()
{
    if (m_state.vlim >= 0.0)
        return false;
    m_services.message(MessageIcon::Error, errorTitle(), errorText());
    if (m_hooks.stopTimer)
        m_hooks.stopTimer();
    return true;
}
