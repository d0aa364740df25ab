// SPDX-License-Identifier: GPL-3.0-or-later
#include "animationclock.h"

#include "motion.h"
#include "numberformat.h"
#include "parameterfields.h"

#include <cmath>

namespace {

// The read-out of y, v and a: three significant digits in the general form.
QString readout(float value)
{
    return NumberFormat::threeSignificant(double(value));
}

} // namespace

AnimationClock::AnimationClock(ParameterFields &fields, AnimationView &view)
    : m_fields(fields)
    , m_view(view)
{ }

void AnimationClock::setTimerEnabled(bool enabled)
{
    if (m_timerEnabled == enabled)
        return;
    m_timerEnabled = enabled;
    m_view.setTimerRunning(enabled);
}

void AnimationClock::setCommand5Enabled(bool enabled)
{
    m_command5Enabled = enabled;
    m_view.setCommand5Enabled(enabled);
}

void AnimationClock::setReadouts(const QString &t, const QString &y, const QString &v,
                                 const QString &a)
{
    m_readouts[0] = t;
    m_readouts[1] = y;
    m_readouts[2] = v;
    m_readouts[3] = a;
    m_view.readoutsChanged();
}

double AnimationClock::markInterval() const
{
    // The clock may read the field while the user is still typing: an empty
    // text counts as the shortest interval, so the time keeps advancing.
    return ParameterFields::intervalMs(m_fields.intervalText()) / 1000.0;
}

void AnimationClock::Timer1_Timer()
{
    if (m_state.vlim < 0.0) {
        m_view.showError(errorThrustTitle(), errorThrustText());
        setTimerEnabled(false);
        return;
    }
    setCommand5Enabled(false);
    if (m_state.temps == 0.0)
        repgraphe();
    if (m_state.tfin < 0.005) {
        m_view.showError(errorNoMotionTitle(), errorNoMotionText());
        setTimerEnabled(false);
        return;
    }
    m_pas = float(m_view.slowMotion() ? slowStep : normalStep);
    // The timer may have been stopped by an event handled while this tick ran.
    if (m_timerEnabled)
        m_state.temps += double(m_pas);
    if (m_state.temps > m_state.tfin)
        m_state.temps = m_state.tfin;
    m_marque = 0;
    Motion::evaluate(m_state);

    // A mark is due: the clock is pulled back to the exact mark time so that
    // the marks are evenly spaced in time; y, v, a stay those just computed.
    if (float(m_state.temps) >= m_tchrono && m_enregistre == 1) {
        m_state.temps = double(m_tchrono);
        m_tchrono = float(double(m_tchrono) + markInterval());
        m_marque = 1;
    }

    setReadouts(NumberFormat::fixedTwo(m_state.temps), readout(m_state.ypos), readout(m_state.vit),
                readout(m_state.acc));

    m_view.majaff();
    if (m_state.temps == m_state.tfin) {
        setTimerEnabled(false);
        setCommand5Enabled(true);
        m_marque = 0;
        m_enregistre = 0;
        maj12();
    }
}

void AnimationClock::command15_Click()
{
    if (m_state.temps == m_state.tfin)
        command18_Click();
    m_view.focusScene();
    m_enregistre = 0;
    maj12();
    setTimerEnabled(true);
}

void AnimationClock::command16_Click()
{
    if (!m_timerEnabled)
        return;
    m_view.focusScene();
    m_enregistre = 0;
    maj12();
    setTimerEnabled(false);
}

void AnimationClock::Image4_Click()
{
    m_view.focusScene();
    m_enregistre = 0;
    maj12();
    setTimerEnabled(false);
    command18_Click();
}

void AnimationClock::command18_Click()
{
    setTimerEnabled(false);
    Motion::computeExpoids(m_fields, m_state);
    m_state.temps = 0.0;
    m_enregistre = 0;
    Motion::computeModel(m_fields, m_state);
    if (m_state.vlim >= 0.0)
        repgraphe();
    else
        m_view.vectorScalesChanged(); // the weight's scale follows the mass all the same

    // Back at the release point before the scene is drawn, so that the scene
    // never shows the friction of the previous velocity at t = 0.
    m_state.ypos = 0.0f;
    m_state.vit = 0.0f;
    const double a0 = m_state.vlim / m_state.tau;
    if (std::isfinite(a0))
        m_state.acc = float(a0);
    m_view.majaff();
    maj12();

    setReadouts(NumberFormat::fixedTwo(m_state.temps), readout(m_state.ypos), readout(m_state.vit),
                m_state.acc >= 0.0f ? readout(m_state.acc) : QStringLiteral("-- --"));
    setCommand5Enabled(true);
}

void AnimationClock::command12_Click()
{
    if (m_state.temps == m_state.tfin)
        command18_Click();
    m_view.focusScene();
    if (m_enregistre != 0) {
        m_enregistre = 0;
    } else {
        m_enregistre = 1;
        m_tchrono = float(m_state.temps);
        if (!m_timerEnabled)
            setTimerEnabled(true);
    }
    maj12();
}

void AnimationClock::Text5_GotFocus()
{
    if (!m_timerEnabled)
        return;
    m_enregistre = 0;
    maj12();
    setTimerEnabled(false);
}

void AnimationClock::repgraphe()
{
    Motion::dichotemps(m_fields, m_state);
    m_view.vectorScalesChanged();
    m_view.repgraphe();
}

void AnimationClock::maj12()
{
    m_view.recordingChanged();
}

QString AnimationClock::cameraCaption() const
{
    return m_enregistre == 0 ? QStringLiteral("Activer la chronophotographie")
                             : QStringLiteral("Arrêter la chronophotographie");
}

QString AnimationClock::cameraToolTip() const
{
    return m_enregistre == 0 ? QStringLiteral("Chronophotographie")
                             : QStringLiteral("Arrêter la chronophotographie");
}
