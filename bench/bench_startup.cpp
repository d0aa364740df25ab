// Start-up time: from creating the main window to its first painted frame,
// against an empty Qt window of the same size, in one run. Each is measured
// several times, alternately, after one unmeasured warm-up of each (the font
// database and the platform plug-in are loaded once per process), and the
// medians are compared. Run with QT_QPA_PLATFORM=offscreen on a machine
// without a display.

#include "mainwindow/feuillep.h"
#include "platform/platformservices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// No dialog opens during start-up; these answers are never asked for.
class SilentServices : public PlatformServices
{
public:
    MessageAnswer message(MessageIcon, const QString &, const QString &, MessageButtons) override
    {
        return MessageAnswer::Ok;
    }
    void beep() override { }
    std::optional<QColor> pickColour(const QColor &) override { return std::nullopt; }
    std::optional<QString> openFileName(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileDialogRequest &) override { return std::nullopt; }
    bool printerSetup(QPrinter &) override { return false; }
    void setClipboardText(const QString &) override { }
    void setClipboardImage(const QImage &) override { }
    void showHelp(const QString &) override { }
};

// Notes the first paint event of the window it watches.
class PaintWatch : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Milliseconds spent creating the last window measured (before show()).
double lastConstruction = 0;

// Milliseconds from creating the window to the end of its first paint.
template<typename Make>
double timeToFirstPaint(Make make)
{
    QElapsedTimer clock;
    clock.start();
    auto window = make();
    lastConstruction = double(clock.nsecsElapsed()) / 1e6;
    PaintWatch watch;
    window->installEventFilter(&watch);
    window->show();
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // The paint event is handled once processEvents returns.
    const double elapsed = double(clock.nsecsElapsed()) / 1e6;
    window->removeEventFilter(&watch);
    window->hide();
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 7;
    QTemporaryDir folder;
    SilentServices services;

    const auto emptyWindow = [] {
        auto window = std::make_unique<QWidget>();
        window->resize(800, 572);
        return window;
    };
    const auto mainWindow = [&] { return std::make_unique<FeuilleP>(services, folder.path()); };

    timeToFirstPaint(emptyWindow);
    timeToFirstPaint(mainWindow);
    std::vector<double> empty;
    std::vector<double> program;
    std::vector<double> construction;
    for (int i = 0; i < runs; ++i) {
        empty.push_back(timeToFirstPaint(emptyWindow));
        program.push_back(timeToFirstPaint(mainWindow));
        construction.push_back(lastConstruction);
    }
    const double e = median(empty);
    const double p = median(program);
    std::printf("empty window:  %8.2f ms (median of %d)\n", e, runs);
    std::printf("main window:   %8.2f ms (median of %d)\n", p, runs);
    std::printf("  of which construction and load: %8.2f ms\n", median(construction));
    std::printf("ratio:         %8.2f\n", p / e);
    return 0;
}
