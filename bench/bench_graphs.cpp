// Cost of the graphs: one segment of the small graph, as each animation tick
// draws it, and a full redraw of the graph window with its table of values,
// as each change of quantity or of the asymptote box runs it.
#include "core/animationclock.h"
#include "core/motion.h"
#include "core/parameterfields.h"
#include "graphs/graphes.h"
#include "graphs/smallgraph.h"
#include "platform/drawingsurface.h"
#include "platform/platformservices.h"

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
    QStringList m_texts {QStringLiteral("3,5"), QStringLiteral("145"), QStringLiteral("1"),
                         QStringLiteral("0,2"), QStringLiteral("800"), QStringLiteral("807")};
};

// Nothing to answer: the benchmarks open no dialog.
class Services : public PlatformServices
{
public:
    MessageAnswer message(MessageIcon, const QString &, const QString &, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
    void beep() override { }
    std::optional<QColor> pickColour(const QColor &) override { return std::nullopt; }
    std::optional<QString> openFileName(const FileDialogRequest &) override { return {}; }
    std::optional<QString> saveFileName(const FileDialogRequest &) override { return {}; }
    bool printerSetup(QPrinter &) override { return false; }
    void setClipboardText(const QString &) override { }
    void setClipboardImage(const QImage &) override { }
    void showHelp(const QString &) override { }
};

void tracegraphe(benchmark::State &run)
{
    Fields fields;
    AnimationView view;
    AnimationClock clock(fields, view);
    clock.command18_Click();
    DrawingSurface frame1(357, 261);
    DisplayOptions options;
    options.graphQuantity = DisplayOptions::Velocity;
    SmallGraph graph(frame1, clock.state(), [&] { return options; });
    graph.repgraphe();
    SimulationState &s = clock.state();
    for (auto _ : run) {
        // One tick's step; the fall starts over at its end.
        s.temps += 0.04;
        if (s.temps > s.tfin) {
            s.temps = 0.04;
            graph.repgraphe();
        }
        Motion::evaluate(s);
        graph.tracegraphe();
        benchmark::DoNotOptimize(frame1.currentX());
    }
}
BENCHMARK(tracegraphe);

void graphWindowRedraw(benchmark::State &run)
{
    Fields fields;
    AnimationView view;
    AnimationClock clock(fields, view);
    clock.command18_Click();
    Services services;
    DisplayOptions options;
    options.graphQuantity = DisplayOptions::Velocity;
    Graphes window(
        clock.state(), [&] { return options; }, services);
    window.show();
    for (auto _ : run) {
        window.tracegraphe();
        benchmark::DoNotOptimize(window.scale().mantt);
    }
}
BENCHMARK(graphWindowRedraw)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
