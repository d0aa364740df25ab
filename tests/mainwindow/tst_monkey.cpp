// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/numberformat.h"
#include "fakefallvideo.h"
#include "mainwindow/feuillep.h"
#include "mainwindow/parameteredit.h"
#include "mainwindow/parameterpanel.h"
#include "measures/measurementholder.h"
#include "measuresui/mesuresdialog.h"
#include "monkey.h"
#include "video/videoloader.h"
#include "videoui/videodialog.h"
#include "videowriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// Random mouse and key events, in batches: first on the whole main window,
// then on the measures window and the video window opened from the graph
// window as a student opens them. After each batch nothing may show a
// non-number and the fall must be within its bounds. The environment
// variables LORVA_MONKEY_EVENTS, LORVA_MONKEY_WINDOW_EVENTS and
// LORVA_MONKEY_SEED choose how many events are sent and from which seed; a
// failure names them so that the same run can be replayed.

namespace {

constexpr quint32 kSeed = 20260118;
// The rows of the glycerine lesson's table.
constexpr size_t kGlycerinePoints = 289;
constexpr int kVideoFrames = 24;
constexpr double kVideoRate = 30.0;

// Where the video's ball is at t seconds, in picture pixels.
QPointF ballAt(double t)
{
    return QPointF(48.0, 20.0 + 180.0 * t);
}

// A ball falling down a lit tube, 24 frames at 30 images/s: something for the
// tracker to follow when the monkey clicks the picture.
QString writeFallVideo(const QTemporaryDir &folder, QString *why)
{
    FakeFallVideo fall;
    fall.size = QSize(96, 192);
    fall.setRate(kVideoRate, kVideoFrames);
    fall.centreAt = ballAt;
    VideoRecipe recipe;
    recipe.size = fall.size;
    const QString path = folder.filePath(QStringLiteral("chute.mp4"));
    if (!writeVideo(
            path, recipe, regularTimes(kVideoFrames, 30.0),
            [&fall](int i) { return fall.frame(i); }, why))
        return {};
    return path;
}

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomEvents();
    void measuresAndVideo();

private:
    void check(const QString &where);
    void checkWindows(const QString &where);
    void inGraphWindow(QDialog *graphes, const QString &video, int events);

    Monkey m_monkey {kSeed};
    FeuilleP *m_window = nullptr;
    MonkeyServices *m_services = nullptr;
    QPointer<MesuresDialog> m_mesures;
    QPointer<VideoDialog> m_video;
    QString m_replay;
};

void TestMonkey::initTestCase()
{
    VideoLoader::setSearchDirectories({QStringLiteral(LORVA_VIDEO_MODULE_DIR)});
}

void TestMonkey::check(const QString &where)
{
    QVERIFY2(m_window->isVisible(), qPrintable(where));
    const QString shown = Monkey::notANumberShown(m_window);
    QVERIFY2(shown.isEmpty(), qPrintable(shown + QStringLiteral(" ") + where));

    const SimulationState &state = m_window->clock().state();
    QVERIFY2(std::isfinite(state.tfin) && state.tfin >= 0, qPrintable(where));
    QVERIFY2(
        state.temps >= 0 && state.temps <= state.tfin * (1 + 1e-9) + 1e-12,
        qPrintable(QStringLiteral("t = %1, tfin = %2 ").arg(state.temps).arg(state.tfin) + where));
    QVERIFY2(std::isfinite(state.ypos) && state.ypos >= -1e-6f, qPrintable(where));
    // The height the model uses is the field's text once validated, so the
    // bound holds only while nobody is typing in that field. The end of the
    // fall, tfin, is searched to a thousandth of the height, so the sphere
    // may end that much below the bottom.
    const bool heightBeingTyped = QApplication::focusWidget()
        == static_cast<const QWidget *>(m_window->parameterPanel()->Text5(ParameterFields::Height));
    const auto height = NumberFormat::parse(m_window->fields().text(ParameterFields::Height));
    if (height && !heightBeingTyped)
        QVERIFY2(
            state.ypos <= *height * (1 + 1e-3) + 1e-6,
            qPrintable(QStringLiteral("y = %1, h = %2 ").arg(state.ypos).arg(*height) + where));
}

void TestMonkey::randomEvents()
{
    const int events = Monkey::environmentNumber("LORVA_MONKEY_EVENTS", 1000);
    const auto seed = quint32(Monkey::environmentNumber("LORVA_MONKEY_SEED", kSeed));
    m_monkey = Monkey(seed);
    m_replay = QStringLiteral("LORVA_MONKEY_SEED=%1 LORVA_MONKEY_EVENTS=%2").arg(seed).arg(events);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MonkeyServices services;
    FeuilleP window(services, folder.path());
    m_window = &window;
    int exercises = 0;
    window.hooks().requestedExercise = [&](const QString &) { ++exercises; };
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ModalCloser closer;

    int ticksRun = 0;
    const int batch = 25;
    for (int sent = 0; sent < events;) {
        for (int i = 0; i < batch && sent < events; ++i, ++sent) {
            m_monkey.randomEvent(&window);
            if (i % 10 == 0)
                QCoreApplication::processEvents();
        }
        // A running animation goes on for a while: the ticks of up to two
        // seconds, as Timer1 would give them, without waiting for them.
        QTimer *timer1 = window.findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(timer1);
        // Now and then a whole fall, from the start button to the bottom.
        if (m_monkey.bounded(4) == 0) {
            if (QWidget *start = window.findChild<QWidget *>(QStringLiteral("command15")))
                QTest::mouseClick(start, Qt::LeftButton);
        }
        for (int ticks = m_monkey.bounded(400); ticks > 0 && timer1->isActive(); --ticks) {
            window.clock().Timer1_Timer();
            ++ticksRun;
        }
        QCoreApplication::processEvents();
        check(QStringLiteral("after %1 events, %2").arg(sent).arg(m_replay));
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("%d events, %d clock ticks, %d modal windows or menus closed, %d messages, seed %u",
          events, ticksRun, closer.closed(), int(services.messages.size()), seed);
    m_window = nullptr;
}

void TestMonkey::checkWindows(const QString &where)
{
    check(where);
    for (const QWidget *window :
         {static_cast<QWidget *>(m_mesures), static_cast<QWidget *>(m_video)}) {
        if (!window)
            continue;
        const QString shown = Monkey::notANumberShown(window);
        QVERIFY2(shown.isEmpty(), qPrintable(shown + QStringLiteral(" ") + where));
    }
    // The table of points lists the session's points, one row each, as the
    // view itself counts them (told by the model when the points change).
    if (m_mesures) {
        auto *holder = m_window->findChild<MeasurementHolder *>();
        QVERIFY2(size_t(m_mesures->points->verticalHeader()->count())
                     == holder->set().points.size(),
                 qPrintable(where));
    }
    QVERIFY2(m_video && m_video->currentFrame() >= 0 && m_video->currentFrame() < kVideoFrames,
             qPrintable(where));
}

// Runs inside the graph window's event loop: opens the measures window, the
// lesson's table and the video, then sends events to both windows. A window
// the monkey closed is opened again as a student would: the measures window
// from the graph window, the video window from the measures window.
void TestMonkey::inGraphWindow(QDialog *graphes, const QString &video, int events)
{
    auto *holder = m_window->findChild<MeasurementHolder *>();
    QVERIFY(holder);
    auto *mesuresButton = graphes->findChild<QAbstractButton *>(QStringLiteral("mesures"));
    QVERIFY(mesuresButton && mesuresButton->isVisible());
    int mesuresOpened = 0, videoShown = 0, fits = 0, tracks = 0;
    const auto openMesures = [&] {
        ++mesuresOpened;
        QTest::mouseClick(mesuresButton, Qt::LeftButton);
        m_mesures = graphes->findChild<MesuresDialog *>(QStringLiteral("mesures"));
    };
    openMesures();
    QVERIFY(m_mesures && m_mesures->isVisible());
    m_services->fileNames.enqueue(QStringLiteral(LORVA_SHIPPED_EXERCISES "/glycerine-mesures.txt"));
    QTest::mouseClick(m_mesures->ouvrir, Qt::LeftButton);
    QCOMPARE(holder->set().points.size(), kGlycerinePoints);
    QVERIFY(m_mesures->video->isVisible());
    m_services->fileNames.enqueue(video);
    QTest::mouseClick(m_mesures->video, Qt::LeftButton);
    m_video = m_window->findChild<VideoDialog *>();
    QVERIFY(m_video);
    QTRY_VERIFY2(m_video->fileLabel->text().startsWith(
                     QStringLiteral("chute.mp4\n%1 images").arg(kVideoFrames)),
                 qPrintable(m_video->fileLabel->text()));
    QVERIFY(m_video->isVisible());
    // The counts live as long as this function; so do the connections.
    QObject counting;
    connect(holder, &MeasurementHolder::fitChanged, &counting,
            [&] { fits += holder->lastFit() != nullptr; });
    connect(m_video, &VideoDialog::trackingFinished, &counting, [&] { ++tracks; });

    ModalCloser closer;
    closer.keep(graphes);
    const int batch = 20;
    for (int sent = 0; sent < events;) {
        for (int i = 0; i < batch && sent < events; ++i, ++sent) {
            if (!m_mesures || !m_mesures->isVisible())
                openMesures();
            if (!m_video->isVisible()) {
                ++videoShown;
                QTest::mouseClick(m_mesures->video, Qt::LeftButton);
            }
            m_monkey.randomEvent(m_monkey.bounded(2) ? static_cast<QWidget *>(m_mesures)
                                                     : static_cast<QWidget *>(m_video));
            // The monkey's budget: a Monte-Carlo of up to a million draws
            // would take minutes under the sanitizers.
            if (m_mesures && m_mesures->draws->value() > 1000)
                m_mesures->draws->setValue(100);
            if (i % 5 == 0)
                QCoreApplication::processEvents();
        }
        // Random clicks seldom hit the ball: now and then a click aimed at
        // it, in any mode (a scale end, the origin, the ball to track, a
        // manual point).
        if (m_monkey.bounded(3) == 0 && m_video->isVisible()) {
            m_video->setMode(VideoDialog::Mode(m_monkey.bounded(4)));
            m_video->pictureClicked(ballAt(m_video->currentFrame() / kVideoRate));
        }
        QCoreApplication::processEvents();
        QVERIFY(graphes->isVisible());
        checkWindows(QStringLiteral("after %1 events in the measures and video windows, %2")
                         .arg(sent)
                         .arg(m_replay));
        if (QTest::currentTestFailed())
            return;
    }
    // A click on the ball may have started the tracker on its thread.
    QTRY_VERIFY(!m_video->isTracking());
    qInfo("%d events in the measures and video windows, %d windows or menus closed, %d messages; "
          "the measures window opened %d times, the video window shown again %d times, %d fits, "
          "%d tracks",
          events, closer.closed(), int(m_services->messages.size()), mesuresOpened, videoShown,
          fits, tracks);
}

void TestMonkey::measuresAndVideo()
{
    const int events = Monkey::environmentNumber("LORVA_MONKEY_WINDOW_EVENTS", 800);
    const auto seed = quint32(Monkey::environmentNumber("LORVA_MONKEY_SEED", kSeed));
    m_monkey = Monkey(seed);
    m_replay = QStringLiteral("LORVA_MONKEY_SEED=%1 LORVA_MONKEY_WINDOW_EVENTS=%2")
                   .arg(seed)
                   .arg(events);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QString why;
    const QString video = writeFallVideo(folder, &why);
    QVERIFY2(!video.isEmpty(), qPrintable(why));
    MonkeyServices services;
    m_services = &services;
    FeuilleP window(services, folder.path());
    m_window = &window;
    window.hooks().requestedExercise = [](const QString &) {};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The graph window is modal: what follows runs in its event loop, and
    // closes it at the end.
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        ran = true;
        auto *graphes = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!graphes || graphes->objectName() != QStringLiteral("graphes")) {
            QFAIL("the graph window did not open");
            return;
        }
        inGraphWindow(graphes, video, events);
        graphes->reject();
    });
    auto *command5 = window.findChild<QAbstractButton *>(QStringLiteral("Command5"));
    QVERIFY(command5);
    QTest::mouseClick(command5, Qt::LeftButton);
    QVERIFY(ran);
    if (QTest::currentTestFailed())
        return;
    check(m_replay);
    m_window = nullptr;
    m_services = nullptr;
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
