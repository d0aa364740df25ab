// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up time: from starting a process to its first painted window, for the
// program and for an empty Qt window of the same size, measured in one run.
// The benchmark starts itself again as a child ("--enfant vide" or
// "--enfant programme"); each child shows its window and leaves as soon as
// the window's first paint is done, without tearing anything down. The
// parent times each child from its start to its exit, alternating the two
// kinds, and compares the medians. Both children load the same executable
// and libraries, so the difference is what the program's own start-up costs.
// Run with QT_QPA_PLATFORM=offscreen, or under Xvfb with a session bus
// ("xvfb-run -a dbus-run-session -- bench_startup") for a real window system
// as on a desktop: without a bus, Qt forks dbus-launch while the program
// starts, and every first write to memory after that is a copy-on-write fault.

#include "mainwindow/feuillep.h"
#include "mainwindow/program.h"
#include "platform/fontwarmup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

// Leaves the process as soon as the first frame of window is painted. The
// window and its children are painted in one go, each through a paint event,
// and the frame goes to the screen at the end of it; the first event after
// those paint events comes once the frame is shown. Anything the program
// does later (work queued for after the first frame) is not counted.
class FirstFrame : public QObject
{
public:
    explicit FirstFrame(QWidget &window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            m_painting = m_painting || receiver == &m_window;
        } else if (m_painting) {
            // The peak of resident memory so far, in KiB, for the parent.
            rusage usage {};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("%ld\n", usage.ru_maxrss);
            std::fflush(stdout);
            // Leaving at once keeps the teardown out of the measure.
            _exit(0);
        }
        return false;
    }

private:
    QWidget &m_window;
    bool m_painting = false;
};

// Shows window through show and runs the event loop until its first frame.
template<typename Show>
[[noreturn]] void runToFirstFrame(QWidget &window, Show show)
{
    FirstFrame watch(window);
    show();
    for (;;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// program: the program's start-up with folder as its program folder;
// otherwise an empty window.
int runChild(int argc, char *argv[], bool program, const QString &folder)
{
    // As the program's main does.
    if (program)
        FontWarmup::start();
    QApplication app(argc, argv);
    if (!program) {
        QWidget window;
        window.resize(800, 572);
        runToFirstFrame(window, [&] { window.show(); });
    }
    Program::prepareApplication(app);
    Program running(app, folder);
    runToFirstFrame(running.window(), [&] { running.start(CommandLine {}); });
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of one child's start: wall-clock time from starting it to its
// exit, and the processor time it used (user and system), which a busy
// machine disturbs less; and its peak of resident memory at the first frame,
// in MiB.
struct Times
{
    double wall = 0;
    double cpu = 0;
    double memory = 0;
};

double cpuMs(const rusage &usage)
{
    const auto ms
        = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

Times timeChild(const QString &kind, const QString &folder)
{
    rusage before {};
    getrusage(RUSAGE_CHILDREN, &before);
    QProcess child;
    // The child's standard output is its peak of memory.
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--enfant"), kind, folder});
    if (!child.waitForFinished(60000) || child.exitCode() != 0) {
        std::fprintf(stderr, "the child \"%s\" failed\n", qPrintable(kind));
        std::exit(1);
    }
    Times times;
    times.wall = double(clock.nsecsElapsed()) / 1e6;
    rusage after {};
    getrusage(RUSAGE_CHILDREN, &after);
    times.cpu = cpuMs(after) - cpuMs(before);
    const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
    times.memory = lines.last().toDouble() / 1024.0;
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--enfant") == 0)
        return runChild(argc, argv, qstrcmp(argv[2], "programme") == 0,
                        QString::fromLocal8Bit(argv[3]));

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 11;
    const QString empty = QStringLiteral("vide");
    const QString program = QStringLiteral("programme");
    // The program's folder for every start: its flag file stays there from
    // one start to the next, as beside the installed program.
    QTemporaryDir folder;

    // One unmeasured start of each fills the system's file caches.
    timeChild(empty, folder.path());
    timeChild(program, folder.path());
    std::vector<Times> emptyTimes;
    std::vector<Times> programTimes;
    for (int i = 0; i < runs; ++i) {
        emptyTimes.push_back(timeChild(empty, folder.path()));
        programTimes.push_back(timeChild(program, folder.path()));
    }
    const auto report = [runs](const char *what, const std::vector<Times> &empty,
                               const std::vector<Times> &program, double Times::*field) {
        std::vector<double> e;
        std::vector<double> p;
        for (const Times &t : empty)
            e.push_back(t.*field);
        for (const Times &t : program)
            p.push_back(t.*field);
        std::printf("%s, median of %d starts:\n", what, runs);
        std::printf("  empty window: %8.2f\n", median(e));
        std::printf("  main window:  %8.2f\n", median(p));
        std::printf("  ratio:        %8.2f\n", median(p) / median(e));
    };
    report("start to first frame (wall clock, ms)", emptyTimes, programTimes, &Times::wall);
    report("processor time to first frame (ms)", emptyTimes, programTimes, &Times::cpu);
    report("peak resident memory at the first frame (MiB)", emptyTimes, programTimes,
           &Times::memory);
    return 0;
}
