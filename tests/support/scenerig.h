// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fakefields.h"

#include "core/animationclock.h"
#include "core/displayoptions.h"
#include "core/simulationstate.h"
#include "platform/drawingsurface.h"
#include "scene/readoutpanel.h"
#include "scene/scene.h"
#include "scene/sceneinputs.h"
#include "scene/vectors.h"

// What the scene and its vectors read, as plain values: a state the test
// sets, the default fields, the start-up options, a mark flag and the index
// line's row.
struct FakeSceneInputs
{
    FakeSceneInputs() = default;
    FakeSceneInputs(const FakeSceneInputs &) = delete;
    FakeSceneInputs &operator=(const FakeSceneInputs &) = delete;

    SimulationState simulation;
    FakeFields parameters;
    DisplayOptions options;
    bool marque = false;
    int lineY = 25;
    SceneInputs inputs {simulation, parameters, options, [this] { return marque; },
                        [this] { return lineY; }};
};

// The main window's drawing of the fall without its widgets: the clock at the
// default parameters, the scene with its vectors on a 109 × 493 surface and
// the read-out panel, reset and ready to run. The options are the start-up
// ones; a test changes them in place.
struct SceneRig : AnimationView
{
    SceneRig()
    {
        scene.setLesvecteurs([this](int gx, int gy) { vectors.lesvecteurs(gx, gy); });
        scene.fond();
        picture4.appareil();
        clock.command18_Click();
    }
    SceneRig(const SceneRig &) = delete;
    SceneRig &operator=(const SceneRig &) = delete;

    // AnimationView
    void setTimerRunning(bool running) override { timerRunning = running; }
    void majaff() override { scene.majaff(); }
    void readoutsChanged() override
    {
        picture4.setReadouts(clock.label3(), clock.label1(), clock.label6(), clock.label7());
    }
    void recordingChanged() override { ++maj12Calls; }
    bool slowMotion() const override { return options.slowMotion; }
    void showError(const QString &title, const QString &text) override
    {
        errors << title + QLatin1Char('/') + text;
    }

    // "Effacer": reset, then the bare background and a refresh.
    void command13Click()
    {
        clock.command18_Click();
        scene.fond();
        scene.majaff();
    }

    FakeFields parameters;
    DisplayOptions options;
    DrawingSurface picture2 {109, 493};
    AnimationClock clock {parameters, *this};
    SceneInputs inputs {clock.state(), parameters, options, [this] { return clock.markDue(); }};
    Scene scene {picture2, inputs};
    Vectors vectors {picture2, inputs};
    ReadoutPanel picture4;
    bool timerRunning = false;
    int maj12Calls = 0;
    QStringList errors;
};
