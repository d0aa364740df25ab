// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "simulationstate.h"

#include <QString>

class ParameterFields;

// What the animation clock asks of the rest of the program. Every hook has an
// empty default so that a test or a partly built window overrides only what
// it needs.
class AnimationView
{
public:
    virtual ~AnimationView() = default;

    // Start or stop the 20 ms timer that calls AnimationClock::Timer1_Timer.
    virtual void setTimerRunning(bool) { }
    // Redraw the scene at the current state (majaff).
    virtual void majaff() { }
    // Redraw the small graph; tfin and expvit are already computed.
    virtual void repgraphe() { }
    // expoids or expvit may have changed: the vector panel repaints its scale
    // labels when shown.
    virtual void vectorScalesChanged() { }
    // The four read-out texts changed.
    virtual void readoutsChanged() { }
    // The recording state changed: camera picture, tooltip and caption (maj12).
    virtual void recordingChanged() { }
    // The "Agrandir" button is enabled or disabled.
    virtual void setCommand5Enabled(bool) { }
    // Whether "Animation au ralenti" is checked.
    virtual bool slowMotion() const { return false; }
    // Give the focus to the scene when it is visible; a parameter field being
    // edited then loses the focus and is validated (which resets the clock).
    virtual void focusScene() { }
    // A modal error message with the error icon and an OK button.
    virtual void showError(const QString &title, const QString &text)
    {
        Q_UNUSED(title);
        Q_UNUSED(text);
    }
};

// The animation clock of the main window: advances the simulated time at each
// tick, evaluates the motion law, times the chronophotography marks, formats
// the read-outs, and drives start, pause, stop, reset and the camera button.
// All on the user-interface thread.
class AnimationClock
{
public:
    static constexpr int intervalMs = 20;
    static constexpr double normalStep = 0.04; // s of simulated time per tick
    static constexpr double slowStep = 0.005;

    AnimationClock(ParameterFields &fields, AnimationView &view);

    const SimulationState &state() const { return m_state; }
    // For the load sequence and tests that need a particular starting point.
    SimulationState &state() { return m_state; }

    // One tick: advance, evaluate, mark, read-outs, redraw; stops at tfin.
    void Timer1_Timer();
    // Start: resets first when the fall has ended.
    void command15_Click();
    // Pause: nothing when already stopped.
    void command16_Click();
    // Stop: ends a run and returns to the initial position.
    void Image4_Click();
    // Reset to t = 0 and recompute the model from the fields. The one entry
    // point after any change of what the model depends on.
    void command18_Click();
    // Camera: starts a recording (and the clock), or stops the recording only.
    void command12_Click();
    // Focus entering a parameter field: pause a running animation.
    void Text5_GotFocus();

    // Computes tfin and expvit, then lets the vector panel and the small graph redraw.
    void repgraphe();

    bool timerEnabled() const { return m_timerEnabled; }
    void setTimerEnabled(bool enabled);
    bool command5Enabled() const { return m_command5Enabled; }

    bool recording() const { return m_enregistre != 0; }
    bool markDue() const { return m_marque != 0; }
    float nextMarkTime() const { return m_tchrono; }
    float step() const { return m_pas; }

    // Read-outs of t, y, v, a (Label3, Label1, Label6, Label7).
    QString label3() const { return m_readouts[0]; }
    QString label1() const { return m_readouts[1]; }
    QString label6() const { return m_readouts[2]; }
    QString label7() const { return m_readouts[3]; }

    // Camera button state (maj12): caption of Label5 and tooltip of command12.
    QString cameraCaption() const;
    QString cameraToolTip() const;

    static QString errorThrustTitle() { return QStringLiteral("Paramètres incorrects"); }
    static QString errorThrustText()
    {
        return QStringLiteral("La poussée d'Archimède est supérieure au poids.");
    }
    static QString errorNoMotionTitle() { return QStringLiteral("Absence de mouvement"); }
    static QString errorNoMotionText() { return QStringLiteral("Modifier les paramètres."); }

private:
    void maj12();
    void setCommand5Enabled(bool enabled);
    void setReadouts(const QString &t, const QString &y, const QString &v, const QString &a);
    // Chronophotography interval in s, read from its field at each mark.
    double markInterval() const;

    ParameterFields &m_fields;
    AnimationView &m_view;
    SimulationState m_state;

    float m_pas = float(normalStep);
    std::int16_t m_enregistre = 0;
    float m_tchrono = 0.0f;
    std::int16_t m_marque = 0;
    bool m_timerEnabled = false;
    bool m_command5Enabled = true;
    QString m_readouts[4];
};
