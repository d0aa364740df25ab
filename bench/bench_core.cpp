// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the simulation core: the work of one 20 ms tick, the end-of-fall
// bisection and the whole reset-and-recompute.
#include "core/animationclock.h"
#include "core/motion.h"
#include "core/parameterfields.h"

#include <benchmark/benchmark.h>

#include <QStringList>

namespace {

class Fields : public ParameterFields
{
public:
    explicit Fields(QStringList texts)
        : m_texts(std::move(texts))
    { }
    QString text(int index) const override { return m_texts.value(index); }
    void setText(int index, const QString &text) override { m_texts[index] = text; }
    QString intervalText() const override { return QStringLiteral("1000"); }
    void setIntervalText(const QString &) override { }

private:
    QStringList m_texts;
};

const QStringList defaults {QStringLiteral("3,5"), QStringLiteral("145"), QStringLiteral("1"),
                            QStringLiteral("0,2"), QStringLiteral("800"), QStringLiteral("807")};
// A tiny, light ball in a very viscous fluid, falling 2 km: the slowest fall.
const QStringList slowest {QStringLiteral("0,5"), QStringLiteral("1"),    QStringLiteral("2000"),
                           QStringLiteral("5"),   QStringLiteral("1500"), QStringLiteral("1910")};
// A large dense ball in a thin fluid: quadratic regime, fast fall.
const QStringList fastest {QStringLiteral("50"),  QStringLiteral("50000"),
                           QStringLiteral("0,1"), QStringLiteral("1E-06"),
                           QStringLiteral("0,1"), QStringLiteral("95,5")};

void tick(benchmark::State &state)
{
    Fields fields(defaults);
    AnimationView view;
    AnimationClock clock(fields, view);
    clock.command18_Click();
    clock.command15_Click();
    for (auto _ : state) {
        clock.Timer1_Timer();
        if (!clock.timerEnabled()) {
            clock.state().temps = 0.04;
            clock.setTimerEnabled(true);
        }
        benchmark::DoNotOptimize(clock.label1());
    }
}
BENCHMARK(tick);

void dichotemps(benchmark::State &state, const QStringList &texts)
{
    Fields fields(texts);
    SimulationState s;
    Motion::computeModel(fields, s);
    for (auto _ : state) {
        Motion::dichotemps(fields, s);
        benchmark::DoNotOptimize(s.tfin);
    }
}
BENCHMARK_CAPTURE(dichotemps, defaults, defaults);
BENCHMARK_CAPTURE(dichotemps, slowest, slowest);
BENCHMARK_CAPTURE(dichotemps, fastest, fastest);

void recompute(benchmark::State &state)
{
    Fields fields(defaults);
    AnimationView view;
    AnimationClock clock(fields, view);
    for (auto _ : state) {
        clock.command18_Click();
        benchmark::DoNotOptimize(clock.state().tfin);
    }
}
BENCHMARK(recompute);

} // namespace

BENCHMARK_MAIN();
