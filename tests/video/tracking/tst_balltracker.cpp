// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakefallvideo.h"

#include "video/tracking/balltracker.h"
#include "video/tracking/calibration.h"

#include <QTest>

#include <cmath>

namespace {

// An accelerating ball across a 160×480 picture at 60 images/s: its
// centre sweeps every fraction of a pixel.
QPointF fallingPath(double t)
{
    return QPointF(80.3 + 2.0 * t, 40.7 + 300.0 * t + 200.0 * t * t);
}

// RMS distance in px between the tracked centres (clicks left out) and the
// drawn ones.
double rmsError(const BallTracker &tracker, const FakeFallVideo &video, int *count = nullptr)
{
    double sum = 0.0;
    int n = 0;
    for (const auto &[frame, point] : tracker.points()) {
        if (point.origin != TrackPoint::Origin::Tracked)
            continue;
        const QPointF d = point.centre - video.centreOf(frame);
        sum += d.x() * d.x() + d.y() * d.y();
        ++n;
    }
    if (count)
        *count = n;
    return n > 0 ? std::sqrt(sum / n) : std::nan("");
}

QString timeText(double t)
{
    return QString::number(t, 'g', 4).replace(u'.', u',');
}

} // namespace

class TestBallTracker : public QObject
{
    Q_OBJECT

private slots:
    void accuracy_data();
    void accuracy();
    void lostBall_data();
    void lostBall();
    void resumeAfterClick();
    void otherStops();
    void surface_data();
    void surface();
    void radiusAndRefusals();
    void manualAndRecalibration();
};

void TestBallTracker::accuracy_data()
{
    QTest::addColumn<double>("noise");
    QTest::addColumn<double>("exposure");
    QTest::addColumn<double>("flicker");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<bool>("jitter");
    QTest::addColumn<double>("radius"); // given to the tracker; 0: estimated

    QTest::newRow("clean") << 0.0 << 0.0 << 0.0 << QImage::Format_Grayscale8 << false << 6.0;
    QTest::newRow("noise") << 6.0 << 0.0 << 0.0 << QImage::Format_Grayscale8 << false << 6.0;
    QTest::newRow("noise and blur")
        << 6.0 << 1.0 / 120 << 0.0 << QImage::Format_Grayscale8 << false << 6.0;
    QTest::newRow("flickering lamp")
        << 3.0 << 0.0 << 0.25 << QImage::Format_Grayscale8 << false << 6.0;
    QTest::newRow("colour frames")
        << 3.0 << 1.0 / 240 << 0.1 << QImage::Format_RGB32 << false << 6.0;
    QTest::newRow("irregular frame times")
        << 3.0 << 0.0 << 0.0 << QImage::Format_Grayscale8 << true << 6.0;
    // Grainy enough that the ball's own template scores about 0,9, often
    // below: noise alone is no reason to renew it (each renewal would carry
    // the centre's error along).
    QTest::newRow("heavy noise") << 55.0 << 1.0 / 240 << 0.0 << QImage::Format_Grayscale8 << false
                                 << 6.0;
    QTest::newRow("radius estimated")
        << 3.0 << 1.0 / 240 << 0.0 << QImage::Format_Grayscale8 << false << 0.0;
}

void TestBallTracker::accuracy()
{
    QFETCH(double, noise);
    QFETCH(double, exposure);
    QFETCH(double, flicker);
    QFETCH(QImage::Format, format);
    QFETCH(bool, jitter);
    QFETCH(double, radius);

    FakeFallVideo video;
    video.setRate(60.0, 50);
    if (jitter) {
        // A phone's variable rate: gaps between 12 and 22 ms.
        for (size_t i = 1; i < video.times.size(); ++i)
            video.times[i] = video.times[i - 1] + 0.012 + 0.01 * ((i * 7) % 5) / 4.0;
    }
    video.centreAt = fallingPath;
    video.noise = noise;
    video.exposure = exposure;
    video.flicker = flicker;
    video.format = format;

    TrackerSettings settings;
    settings.radius = radius;
    BallTracker tracker(video, settings);
    QVERIFY2(tracker.start(0, video.centreOf(0)), qPrintable(tracker.errorString()));
    if (radius == 0.0)
        QVERIFY2(std::abs(tracker.radius() - video.radius) < 1.0,
                 qPrintable(QString::number(tracker.radius())));
    const BallTracker::Stop stop = tracker.run();
    QVERIFY2(stop == BallTracker::Stop::End, qPrintable(tracker.stopMessage()));
    QCOMPARE(tracker.stopFrame(), video.frameCount() - 1);
    int count = 0;
    const double rms = rmsError(tracker, video, &count);
    QCOMPARE(count, video.frameCount() - 1);
    QVERIFY(tracker.refreshFrames().empty());
    QVERIFY2(rms < 0.3, qPrintable(QStringLiteral("RMS %1 px").arg(rms)));
    for (const auto &[frame, point] : tracker.points()) {
        QCOMPARE(point.time, video.timeOf(frame));
        if (point.origin == TrackPoint::Origin::Tracked)
            QVERIFY(point.correlation >= TrackerSettings().lostBelow && point.correlation <= 1.0);
    }
}

void TestBallTracker::lostBall_data()
{
    QTest::addColumn<QRect>("cover");
    QTest::addColumn<int>("reason");
    QTest::addColumn<double>("fromRow"); // the drawn centre where it stops lies in
    QTest::addColumn<double>("toRow");   // [fromRow, toRow]

    // The template (half side 9 px) no longer fits: centre within 10 px of the bottom.
    QTest::newRow("leaves the picture")
        << QRect() << int(BallTracker::Stop::LeftPicture) << 455.0 << 480.0;
    // A label over rows 250–289 hides the ball before its centre reaches its middle.
    QTest::newRow("hidden by a label")
        << QRect(0, 250, 160, 40) << int(BallTracker::Stop::Lost) << 244.0 << 270.0;
}

void TestBallTracker::lostBall()
{
    QFETCH(QRect, cover);
    QFETCH(int, reason);
    QFETCH(double, fromRow);
    QFETCH(double, toRow);

    FakeFallVideo video;
    video.setRate(60.0, 80);
    video.centreAt = fallingPath;
    video.noise = 3.0;
    video.cover = cover;
    TrackerSettings settings;
    settings.radius = 6.0;
    BallTracker tracker(video, settings);
    QVERIFY(tracker.start(0, video.centreOf(0)));
    QCOMPARE(int(tracker.run()), reason);
    const int stop = tracker.stopFrame();
    QVERIFY2(video.centreOf(stop).y() >= fromRow && video.centreOf(stop).y() <= toRow,
             qPrintable(QString::number(video.centreOf(stop).y())));
    // Every frame before the stop is tracked, none after.
    QCOMPARE(int(tracker.points().size()), stop);
    QCOMPARE(tracker.points().rbegin()->first, stop - 1);
    QVERIFY(rmsError(tracker, video) < 0.3);

    const QString time = timeText(video.timeOf(stop));
    if (reason == int(BallTracker::Stop::Lost)) {
        QVERIFY2(tracker.stopMessage().startsWith(
                     QStringLiteral("Bille perdue à l'image %1 (t = %2 s) : corrélation ")
                         .arg(stop)
                         .arg(time)),
                 qPrintable(tracker.stopMessage()));
        QVERIFY(tracker.stopMessage().endsWith(
            QStringLiteral(" sous le seuil 0,5. Cliquez la bille pour reprendre le suivi.")));
    } else {
        QCOMPARE(tracker.stopMessage(),
                 QStringLiteral("La bille sort de l'image à l'image %1 (t = %2 s).")
                     .arg(stop)
                     .arg(time));
    }
}

void TestBallTracker::resumeAfterClick()
{
    FakeFallVideo video;
    video.setRate(60.0, 50);
    video.centreAt = fallingPath;
    video.noise = 3.0;
    video.cover = QRect(0, 250, 160, 40);
    TrackerSettings settings;
    settings.radius = 6.0;
    BallTracker tracker(video, settings);
    QVERIFY(tracker.start(0, video.centreOf(0)));
    QCOMPARE(tracker.run(), BallTracker::Stop::Lost);
    const int lostAt = tracker.stopFrame();

    // The first frame where the ball is clear of the label again.
    int resume = lostAt;
    while (video.centreOf(resume).y() - 10.0 < 290.0)
        ++resume;
    QVERIFY(resume < video.frameCount() - 5);
    QVERIFY(tracker.start(resume, video.centreOf(resume)));
    QCOMPARE(tracker.run(), BallTracker::Stop::End);

    const auto &points = tracker.points();
    QCOMPARE(int(points.size()), lostAt + (video.frameCount() - resume));
    QCOMPARE(points.at(0).origin, TrackPoint::Origin::Click);
    QCOMPARE(points.at(resume).origin, TrackPoint::Origin::Click);
    QVERIFY(points.find(lostAt) == points.end());
    QVERIFY(rmsError(tracker, video) < 0.3);
}

void TestBallTracker::otherStops()
{
    FakeFallVideo video;
    video.setRate(50.0, 30);
    video.centreAt = fallingPath;
    video.brokenFrame = 12;
    TrackerSettings settings;
    settings.radius = 6.0;
    BallTracker tracker(video, settings);
    QVERIFY(tracker.start(0, video.centreOf(0)));

    // Up to a chosen frame.
    QCOMPARE(tracker.run(4), BallTracker::Stop::End);
    QCOMPARE(tracker.stopFrame(), 4);
    QCOMPARE(tracker.stopMessage(), QStringLiteral("Bille suivie jusqu'à l'image 4 (t = 0,08 s)."));

    // Cancelled from the progress callback, after the frame it was told of.
    std::vector<int> told;
    auto progress = [&told](int frame) {
        told.push_back(frame);
        return frame < 7;
    };
    QCOMPARE(tracker.run(-1, progress), BallTracker::Stop::Cancelled);
    QCOMPARE(told, std::vector<int>({5, 6, 7}));
    QCOMPARE(tracker.stopMessage(), QStringLiteral("Suivi interrompu à l'image 7 (t = 0,14 s)."));
    QCOMPARE(tracker.points().rbegin()->first, 7);

    // Going on from there meets a frame that cannot be decoded.
    QCOMPARE(tracker.run(), BallTracker::Stop::Unreadable);
    QCOMPARE(tracker.stopFrame(), 12);
    QCOMPARE(tracker.stopMessage(),
             QStringLiteral("L'image 12 (t = 0,24 s) ne peut pas être lue : suivi arrêté."));
    QCOMPARE(tracker.points().rbegin()->first, 11);
    QVERIFY(!tracker.start(12, video.centreOf(12)));
    QCOMPARE(tracker.errorString(), QStringLiteral("L'image 12 ne peut pas être lue."));
    QVERIFY(rmsError(tracker, video) < 0.3);
}

void TestBallTracker::surface_data()
{
    QTest::addColumn<double>("surfaceRow"); // given to the tracker
    QTest::addColumn<double>("refreshBelow");
    QTest::addColumn<double>("lostBelow");
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("renewed"); // the ball in the liquid matches its template well

    QTest::newRow("surface line given")
        << 200.0 << 0.0 << 0.5 << int(BallTracker::Stop::End) << true;
    QTest::newRow("correlation drops")
        << std::nan("") << 0.9 << 0.5 << int(BallTracker::Stop::End) << true;
    // The template of the ball in air still finds it in the liquid, but
    // worse, and a strict threshold loses it.
    QTest::newRow("template never renewed")
        << std::nan("") << 0.0 << 0.5 << int(BallTracker::Stop::End) << false;
    QTest::newRow("never renewed, strict threshold")
        << std::nan("") << 0.0 << 0.85 << int(BallTracker::Stop::Lost) << false;
    QTest::newRow("surface line, strict threshold")
        << 200.0 << 0.0 << 0.85 << int(BallTracker::Stop::Lost) << false;
}

void TestBallTracker::surface()
{
    QFETCH(double, surfaceRow);
    QFETCH(double, refreshBelow);
    QFETCH(double, lostBelow);
    QFETCH(int, reason);
    QFETCH(bool, renewed);

    // Below row 200 the liquid darkens the tube and widens the ball by half;
    // its highlight is gone.
    FakeFallVideo video;
    video.setRate(60.0, 50);
    video.centreAt = fallingPath;
    video.noise = 3.0;
    video.surfaceRow = 200.0;
    video.liquidWiden = 1.5;
    TrackerSettings settings;
    settings.radius = 6.0;
    settings.surfaceRow = surfaceRow;
    settings.refreshBelow = refreshBelow;
    settings.lostBelow = lostBelow;
    BallTracker tracker(video, settings);
    QVERIFY(tracker.start(0, video.centreOf(0)));
    QCOMPARE(int(tracker.run()), reason);
    QVERIFY2(rmsError(tracker, video) < 0.3, qPrintable(QString::number(rmsError(tracker, video))));
    if (reason == int(BallTracker::Stop::Lost)) {
        // Lost while crossing the meniscus, before the template could be renewed.
        const double y = video.centreOf(tracker.stopFrame()).y();
        QVERIFY2(y > 190.0 && y < 215.0, qPrintable(QString::number(y)));
        return;
    }
    QCOMPARE(tracker.refreshFrames().empty(), !renewed);
    if (std::isfinite(surfaceRow)) {
        // Once, in the first frame where the template's square is all liquid.
        QCOMPARE(tracker.refreshFrames().size(), size_t(1));
        const int at = tracker.refreshFrames().front();
        QVERIFY(tracker.points().at(at).centre.y() - 9.5 >= 200.0);
        QVERIFY(tracker.points().at(at - 1).centre.y() - 9.5 < 200.0);
    }
    for (const auto &[frame, point] : tracker.points()) {
        if (video.centreOf(frame).y() > 230.0)
            QVERIFY2((point.correlation > 0.9) == renewed,
                     qPrintable(QString::number(point.correlation)));
    }
}

void TestBallTracker::radiusAndRefusals()
{
    FakeFallVideo video;
    video.setRate(60.0, 5);
    video.radius = 11.0;
    video.centreAt = [](double) { return QPointF(80.0, 100.0); };
    BallTracker tracker(video);
    QVERIFY(tracker.start(0, QPointF(80.0, 100.0)));
    QVERIFY2(std::abs(tracker.radius() - 11.0) < 1.0,
             qPrintable(QString::number(tracker.radius())));

    TrackerSettings huge;
    huge.radius = 61.0;
    BallTracker refusing(video, huge);
    QVERIFY(!refusing.start(0, QPointF(80.0, 100.0)));
    QCOMPARE(refusing.errorString(),
             QStringLiteral("La bille est trop grande dans l'image (rayon de plus de 60 pixels) "
                            "pour être suivie : filmez de plus loin."));
    QVERIFY(!tracker.start(7, QPointF(80.0, 100.0)));
    QCOMPARE(tracker.errorString(), QStringLiteral("L'image 7 n'existe pas dans cette vidéo."));
    QVERIFY(!tracker.start(1, QPointF(-3.0, 100.0)));
    QCOMPARE(tracker.errorString(), QStringLiteral("Le point cliqué est hors de l'image."));
    // The middle of the tube, far from the ball: nothing stands out.
    QVERIFY(!tracker.start(1, QPointF(80.0, 400.0)));
    QCOMPARE(tracker.errorString(),
             QStringLiteral("Aucune bille ne se détache du fond à l'endroit cliqué : cliquez au "
                            "centre de la bille."));
    // The ball against the picture's edge.
    video.centreAt = [](double) { return QPointF(6.0, 100.0); };
    QVERIFY(!tracker.start(2, QPointF(6.0, 100.0)));
    QCOMPARE(tracker.errorString(),
             QStringLiteral("La bille est trop près du bord de l'image (ou le fond y est "
                            "uniforme) pour être suivie depuis l'image 2."));
    // A still ball: tracked where it is, with a perfect score.
    video.centreAt = [](double) { return QPointF(80.0, 100.0); };
    QVERIFY(tracker.start(0, QPointF(80.0, 100.0)));
    QCOMPARE(tracker.run(), BallTracker::Stop::End);
    QCOMPARE(tracker.points().size(), size_t(5));
    QVERIFY(rmsError(tracker, video) < 0.02);
}

void TestBallTracker::manualAndRecalibration()
{
    FakeFallVideo video;
    video.setRate(50.0, 10);
    BallTracker tracker(video);
    QVERIFY(tracker.setManual(2, QPointF(10, 150)));
    QVERIFY(tracker.setManual(0, QPointF(10, 100)));
    QVERIFY(tracker.setManual(2, QPointF(10, 160))); // a second click replaces the first
    QVERIFY(!tracker.setManual(10, QPointF(10, 100)));
    QVERIFY(!tracker.setManual(3, QPointF(std::nan(""), 100)));

    Calibration calibration;
    calibration.scaleStart = QPointF(0, 0);
    calibration.scaleEnd = QPointF(0, 500);
    calibration.scaleDistance = 0.1;
    calibration.origin = QPointF(10, 100);
    MeasurementSet set = toMeasurements(tracker.points(), calibration, QStringLiteral("chute.mp4"));
    QCOMPARE(set.sourceName, QStringLiteral("chute.mp4"));
    QCOMPARE(set.points.size(), size_t(2));
    QCOMPARE(set.points[1].t, 0.04);
    QCOMPARE(set.points[1].source, 2);
    QVERIFY(std::abs(set.points[1].y - 0.012) < 1e-12);
    QVERIFY(set.points[1].included());

    // A corrected scale moves every position; the pixel centres stay.
    calibration.scaleDistance = 0.05;
    set = toMeasurements(tracker.points(), calibration, QString());
    QVERIFY(std::abs(set.points[1].y - 0.006) < 1e-12);
    QCOMPARE(tracker.points().at(2).centre, QPointF(10, 160));
    calibration.scaleDistance = 0.0;
    QVERIFY(toMeasurements(tracker.points(), calibration, QString()).isEmpty());
}

QTEST_MAIN(TestBallTracker)
#include "tst_balltracker.moc"
