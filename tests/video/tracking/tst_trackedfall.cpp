// SPDX-License-Identifier: GPL-3.0-or-later
// From drawn frames to the viscosity: the ball falls by the program's own
// law in a video drawn in memory, the tracker follows it, the calibration
// turns its centres into positions and the fall fit finds η again.
#include "fakefallvideo.h"

#include "measures/fallfit.h"
#include "video/tracking/balltracker.h"
#include "video/tracking/calibration.h"
#include "video/tracking/refraction.h"

#include <QTest>

#include <cmath>

namespace {

FallSetup sphere(double radius, double density, double fluidDensity)
{
    FallSetup setup;
    setup.radius = radius;
    setup.mass = FallSetup::massFromDensity(radius, density);
    setup.fluidDensity = fluidDensity;
    return setup;
}

} // namespace

class TestTrackedFall : public QObject
{
    Q_OBJECT

private slots:
    void viscosity_data();
    void viscosity();
};

void TestTrackedFall::viscosity_data()
{
    QTest::addColumn<FallSetup>("setup");
    QTest::addColumn<double>("eta");
    QTest::addColumn<double>("rate"); // images/s
    QTest::addColumn<int>("frames");
    QTest::addColumn<double>("metresPerPixel"); // in the plane of the fall
    QTest::addColumn<bool>("fitT0");
    QTest::addColumn<bool>("frontWallScale"); // the scale is read from marks on the tube

    // Steel in a light oil filmed in slow motion: the transient (τ ≈ 35 ms)
    // spans eight images, and the release instant is fitted.
    const FallSetup steel = sphere(1e-3, 7800.0, 900.0);
    QTest::newRow("steel in oil, 240 images/s")
        << steel << 0.05 << 240.0 << 100 << 1.5e-4 << true << false;
    // Glass in glycerol with a phone at 30 images/s: the limit velocity only.
    const FallSetup glass = sphere(1.5e-3, 2500.0, 1260.0);
    QTest::newRow("glass in glycerol, 30 images/s")
        << glass << 1.0 << 30.0 << 120 << 1e-4 << false << false;
    // The scale from marks on the tube's front face, which the liquid does
    // not magnify: without the refraction factor η would be 4 % off.
    QTest::newRow("marks on the tube, corrected")
        << glass << 1.0 << 30.0 << 120 << 1e-4 << false << true;
}

void TestTrackedFall::viscosity()
{
    QFETCH(FallSetup, setup);
    QFETCH(double, eta);
    QFETCH(double, rate);
    QFETCH(int, frames);
    QFETCH(double, metresPerPixel);
    QFETCH(bool, fitT0);
    QFETCH(bool, frontWallScale);

    // The picture as the ball's plane sees it: 10 cm over 1/metresPerPixel·0,1 px.
    Calibration truth;
    truth.scaleStart = QPointF(100.0, 40.0);
    truth.scaleEnd = QPointF(100.0, 40.0 + 0.1 / metresPerPixel);
    truth.scaleDistance = 0.1;
    truth.origin = QPointF(100.3, 30.0);

    FakeFallVideo video;
    video.size = QSize(200, 720);
    video.setRate(rate, frames);
    video.radius = setup.radius / metresPerPixel;
    const double t0 = fitT0 ? 0.013 : 0.0;
    video.centreAt = modelPath(setup, eta, t0, truth, 0.004);
    video.noise = 3.0;
    video.exposure = 0.25 / rate;
    video.flicker = 0.1;

    // What the user clicks: the marks, nearer the camera than the ball, span
    // more pixels, by ((L − R) + R/n)/(L − R) for a camera L = 50 cm from the
    // axis of R = 3 cm of glycerol (n = 1,47) near the axis. The factor that
    // corrects them is the program's own.
    Calibration calibration = truth;
    if (frontWallScale) {
        const double L = 0.5, R = 0.03, n = 1.47;
        const double seen = ((L - R) + R / n) / (L - R);
        calibration.scaleEnd = QPointF(100.0, 40.0 + 0.1 / metresPerPixel * seen);
        TubeOptics optics;
        optics.refractiveIndex = n;
        optics.innerRadius = R;
        optics.cameraDistance = L;
        calibration.refractionFactor = Refraction::scaleFactor(ScalePlacement::FrontWall, optics);
    }

    BallTracker tracker(video);
    QVERIFY2(tracker.start(0, video.centreOf(0)), qPrintable(tracker.errorString()));
    const BallTracker::Stop stop = tracker.run();
    QVERIFY2(stop == BallTracker::Stop::End || stop == BallTracker::Stop::LeftPicture,
             qPrintable(tracker.stopMessage()));
    QVERIFY(tracker.points().size() > 50);

    // The fake video draws the simulator's Stokes fall.
    FitOptions options;
    options.fitReleaseTime = fitT0;
    options.model = FitOptions::Model::Stokes;
    const MeasurementSet set
        = toMeasurements(tracker.points(), calibration, QStringLiteral("chute.mp4"));
    const FitResult fit = FallFit::fit(set, setup, options);
    QVERIFY2(fit.hasEta(), qPrintable(fit.message));
    // The fit's uncertainty counts the scatter of the tracked centres only.
    // Their sub-pixel error also has a part that follows the ball's phase
    // across the pixels, the same for every noise; 0,02 px of it over the
    // path is what the sharpest rows here allow beside the scatter (η goes
    // as the inverse of the distance fallen).
    const QPointF path
        = tracker.points().rbegin()->second.centre - tracker.points().begin()->second.centre;
    const double allowance = eta * 0.02 / std::hypot(path.x(), path.y());
    QVERIFY(allowance < 1e-4 * eta);
    QVERIFY2(std::abs(fit.eta - eta) <= fit.etaU + allowance,
             qPrintable(QStringLiteral("η = %1 ± %2").arg(fit.eta).arg(fit.etaU)));
    QVERIFY(fit.etaU < 0.01 * eta);
    if (fitT0)
        QVERIFY2(std::abs(fit.t0 - t0) <= 2.0 * fit.t0U,
                 qPrintable(QStringLiteral("t0 = %1 ± %2").arg(fit.t0).arg(fit.t0U)));

    if (frontWallScale) {
        calibration.refractionFactor = 1.0;
        const FitResult uncorrected = FallFit::fit(
            toMeasurements(tracker.points(), calibration, QString()), setup, options);
        QVERIFY(uncorrected.hasEta());
        QVERIFY(std::abs(uncorrected.eta / eta - 1.0434) < 0.005);
    }
}

QTEST_MAIN(TestTrackedFall)
#include "tst_trackedfall.moc"
