// Cost of one animation tick as the main window runs it: advance the clock,
// write the four read-outs and redraw the scene with its ruler and axis.
#include "core/animationclock.h"
#include "core/parameterfields.h"
#include "scene/readoutpanel.h"
#include "scene/scene.h"
#include "scene/sceneinputs.h"
#include "scene/vectorinputs.h"
#include "scene/vectors.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStringList>

namespace {

class Fields : public ParameterFields
{
public:
    QString text(int index) const override { return m_texts.value(index); }
    void setText(int index, const QString &text) override { m_texts[index] = text; }
    QString intervalText() const override { return QStringLiteral("1000"); }
    void setIntervalText(const QString &) override { }

private:
    QStringList m_texts {"3,5", "145", "1", "0,2", "800", "807"};
};

// The display options at their start-up state, with the ruler and the axis shown.
class Inputs : public SceneInputs
{
public:
    Inputs(const AnimationClock &clock, const ParameterFields &fields)
        : m_clock(clock)
        , m_fields(fields)
    { }
    const SimulationState &state() const override { return m_clock.state(); }
    const ParameterFields &fields() const override { return m_fields; }
    bool markDue() const override { return m_clock.markDue(); }
    bool showAxis() const override { return true; }
    bool showRuler() const override { return true; }
    bool crossMarks() const override { return false; }
    bool keepVectorsOnMarks() const override { return true; }
    QColor markColour() const override { return QColor(255, 0, 255); }
    int indexLineY() const override { return 25; }

private:
    const AnimationClock &m_clock;
    const ParameterFields &m_fields;
};

class View : public AnimationView
{
public:
    void majaff() override { scene->majaff(); }
    void readoutsChanged() override
    {
        picture4->setReadouts(clock->label3(), clock->label1(), clock->label6(), clock->label7());
    }

    AnimationClock *clock = nullptr;
    Scene *scene = nullptr;
    ReadoutPanel *picture4 = nullptr;
};

// The main window's drawing of one tick: the clock, the scene picture and the
// read-out panel, at the default parameters, reset and ready to run.
struct Rig
{
    Rig()
        : clock(fields, view)
        , inputs(clock, fields)
    {
        picture2.resize(109, 493);
        view.clock = &clock;
        view.scene = &scene;
        view.picture4 = &picture4;
        scene.fond();
        picture4.appareil();
        clock.command18_Click();
    }

    Fields fields;
    View view;
    AnimationClock clock;
    Inputs inputs;
    SurfaceWidget picture2;
    Scene scene {picture2, inputs};
    ReadoutPanel picture4;
};

void tick(benchmark::State &state)
{
    Rig rig;
    rig.clock.command15_Click();
    for (auto _ : state) {
        rig.clock.Timer1_Timer();
        if (!rig.clock.timerEnabled()) {
            // The fall has ended: start again just after the release.
            rig.clock.state().temps = 0.04;
            rig.clock.setTimerEnabled(true);
        }
        benchmark::DoNotOptimize(rig.picture2.surface().image().constBits());
    }
}
BENCHMARK(tick);

// The "Vecteurs" panel at its start-up scales and colours, with the forces
// and the velocity shown.
class VectorOptions : public VectorInputs
{
public:
    VectorOptions(const AnimationClock &clock, const ParameterFields &fields)
        : m_clock(clock)
        , m_fields(fields)
    { }
    const SimulationState &state() const override { return m_clock.state(); }
    const ParameterFields &fields() const override { return m_fields; }
    bool showForces() const override { return true; }
    bool showVelocity() const override { return true; }
    int forceScale() const override { return 70; }
    int velocityScale() const override { return 30; }
    QColor colour(Swatch swatch) const override
    {
        static const QColor colours[5] = {QColor(255, 128, 0), QColor(255, 0, 255),
                                          QColor(0, 192, 0), QColor(192, 0, 0), QColor(0, 0, 192)};
        return colours[swatch];
    }

private:
    const AnimationClock &m_clock;
    const ParameterFields &m_fields;
};

// The same tick with the four vectors drawn and a chronophotography running
// at one mark per second, each mark freezing a whole sphere and its vectors.
void tickWithVectorsAndRecording(benchmark::State &state)
{
    Rig rig;
    VectorOptions options(rig.clock, rig.fields);
    Vectors vectors(rig.picture2.surface(), options);
    rig.scene.setLesvecteurs([&vectors](int gx, int gy) { vectors.lesvecteurs(gx, gy); });
    rig.clock.command12_Click();
    for (auto _ : state) {
        rig.clock.Timer1_Timer();
        // The fall has ended, and the recording with it: the camera again
        // starts a new one from the release, over the marks already taken.
        if (!rig.clock.timerEnabled())
            rig.clock.command12_Click();
        benchmark::DoNotOptimize(rig.picture2.surface().image().constBits());
    }
}
BENCHMARK(tickWithVectorsAndRecording);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
