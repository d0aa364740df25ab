// SPDX-License-Identifier: GPL-3.0-or-later
// The video dialog over a fall drawn in memory: stepping, the calibration
// clicks and fields, tracking from one click, manual pointing, the handing
// over to the measured fall, and the keyboard's way of clicking.
#include "fakefallvideo.h"
#include "measures/measurementholder.h"
#include "scriptedservices.h"
#include "videoui/frameview.h"
#include "videoui/videodialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

namespace {

// A ball falling at 120 px/s from row 60, at 60 images/s: 60 frames.
std::unique_ptr<FakeFallVideo> steadyFall(int frames = 60)
{
    auto video = std::make_unique<FakeFallVideo>();
    video->size = QSize(160, 400);
    video->setRate(60.0, frames);
    video->centreAt = [](double t) { return QPointF(80.0, 60.0 + 120.0 * t); };
    video->keepFrames();
    return video;
}

struct Rig
{
    MeasurementHolder holder;
    ScriptedServices services;
    VideoDialog dialog {holder, services};
    FakeFallVideo *video = nullptr;

    explicit Rig(int frames = 60)
    {
        auto owned = steadyFall(frames);
        video = owned.get();
        dialog.setSource(std::move(owned), QStringLiteral("chute.mp4"));
    }
    // A scale of 200 px for 10 cm: 0,5 mm per pixel.
    void calibrate()
    {
        dialog.setMode(VideoDialog::Mode::Scale);
        dialog.pictureClicked(QPointF(20.0, 100.0));
        dialog.pictureClicked(QPointF(20.0, 300.0));
        dialog.distance->setText(QStringLiteral("10"));
        emit dialog.distance->editingFinished();
    }
};

} // namespace

class TestVideoDialog : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void stepping();
    void scaleAndOrigin();
    void refractionFactor_data();
    void refractionFactor();
    void trackFromOneClick();
    void calibrationFollowsAfterUse();
    void manualPointing();
    void refusals_data();
    void refusals();
    void keyboardClicks();
    void everyControlNamedAndReachable();
};

void TestVideoDialog::geometry_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSizeF>("view");
    QTest::addColumn<QRectF>("target");
    QTest::newRow("tall picture, wide view")
        << QSize(100, 200) << QSizeF(300, 200) << QRectF(100, 0, 100, 200);
    QTest::newRow("wide picture, tall view")
        << QSize(200, 100) << QSizeF(200, 300) << QRectF(0, 100, 200, 100);
    QTest::newRow("enlarged") << QSize(50, 50) << QSizeF(100, 100) << QRectF(0, 0, 100, 100);
}

void TestVideoDialog::geometry()
{
    QFETCH(QSize, picture);
    QFETCH(QSizeF, view);
    QFETCH(QRectF, target);
    const FrameGeometry g = FrameGeometry::fit(picture, view);
    QCOMPARE(g.target, target);
    const QPointF p(12.25, 33.5);
    const QPointF back = g.toPicture(g.toView(p, picture), picture);
    QVERIFY(std::abs(back.x() - p.x()) < 1e-9 && std::abs(back.y() - p.y()) < 1e-9);
    QCOMPARE(g.toPicture(target.topLeft(), picture), QPointF(0, 0));
}

void TestVideoDialog::stepping()
{
    Rig rig(5);
    QCOMPARE(rig.dialog.slider->maximum(), 4);
    rig.dialog.next->click();
    rig.dialog.next->click();
    QCOMPARE(rig.dialog.currentFrame(), 2);
    QVERIFY2(rig.dialog.frameLabel->text().contains(QStringLiteral("t = 0,03333 s")),
             qPrintable(rig.dialog.frameLabel->text()));
    QCOMPARE(rig.dialog.view->picture(), rig.video->frame(2));
    rig.dialog.showFrame(99); // past the end: the last frame
    QCOMPARE(rig.dialog.currentFrame(), 4);
    QVERIFY(!rig.dialog.next->isEnabled() || rig.dialog.currentFrame() == 4);
    rig.dialog.slider->setValue(1);
    QCOMPARE(rig.dialog.currentFrame(), 1);
}

void TestVideoDialog::scaleAndOrigin()
{
    Rig rig;
    rig.calibrate();
    const Calibration &c = rig.dialog.calibration();
    QCOMPARE(c.scaleStart, QPointF(20.0, 100.0));
    QCOMPARE(c.scaleEnd, QPointF(20.0, 300.0));
    QCOMPARE(c.scaleDistance, 0.1);
    QVERIFY(c.isValid());
    QCOMPARE(c.metresPerPixel(), 0.0005);
    QVERIFY(rig.dialog.view->overlay().hasScaleEnd);
    QCOMPARE(rig.dialog.view->overlay().scaleText, QStringLiteral("10 cm"));
    // A third click starts the scale again.
    rig.dialog.pictureClicked(QPointF(30.0, 50.0));
    QVERIFY(!rig.dialog.view->overlay().hasScaleEnd);
    QCOMPARE(rig.dialog.calibration().scaleStart, QPointF(30.0, 50.0));

    rig.dialog.setMode(VideoDialog::Mode::Origin);
    rig.dialog.pictureClicked(QPointF(80.0, 60.0));
    QCOMPARE(rig.dialog.calibration().origin, QPointF(80.0, 60.0));
    QVERIFY(rig.dialog.view->overlay().hasOrigin);
}

void TestVideoDialog::refractionFactor_data()
{
    QTest::addColumn<int>("placement");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    // Camera 50 cm from the axis, 3 cm of glycerol: marks on the wall read
    // distances about 4 % short, a ruler in air at the centre 2 % long.
    QTest::newRow("immersed") << 0 << 1.0 << 1.0;
    QTest::newRow("marks on the wall") << 1 << 1.035 << 1.05;
    QTest::newRow("ruler in air") << 2 << 0.975 << 0.985;
}

void TestVideoDialog::refractionFactor()
{
    QFETCH(int, placement);
    QFETCH(double, low);
    QFETCH(double, high);
    Rig rig;
    rig.calibrate();
    rig.dialog.placement->setCurrentIndex(placement);
    rig.dialog.tubeRadius->setText(QStringLiteral("30"));
    rig.dialog.cameraDistance->setText(QStringLiteral("50"));
    emit rig.dialog.cameraDistance->editingFinished();
    const double f = rig.dialog.refractionFactor();
    QVERIFY2(f >= low && f <= high, qPrintable(QString::number(f)));
    QCOMPARE(rig.dialog.tubeRadius->isEnabled(), placement != 0);
    if (placement != 0)
        QVERIFY(rig.dialog.factor->text().contains(QStringLiteral("Facteur appliqué")));
}

void TestVideoDialog::trackFromOneClick()
{
    Rig rig;
    rig.calibrate();
    rig.dialog.setMode(VideoDialog::Mode::Ball);
    rig.dialog.showFrame(3);
    rig.dialog.pictureClicked(rig.video->centreOf(3) + QPointF(1.0, -1.0));
    QVERIFY(rig.dialog.isTracking() || rig.dialog.tracker()->stopFrame() >= 0);
    rig.dialog.waitForTracking();
    QVERIFY(!rig.dialog.isTracking());
    QVERIFY(rig.dialog.tracker()->points().size() >= 50);
    QVERIFY(rig.dialog.ouvrir->isEnabled());

    rig.dialog.utiliser->click();
    QVERIFY2(rig.services.messages.isEmpty(), qPrintable(rig.services.messages.value(0).text));
    const MeasurementSet &set = rig.holder.set();
    QCOMPARE(set.sourceName, QStringLiteral("chute.mp4"));
    QCOMPARE(int(set.points.size()), int(rig.dialog.tracker()->points().size()));
    // 120 px/s at 0,5 mm per pixel: 6 cm/s, from the clicked frame on.
    const MeasuredPoint &first = set.points.front();
    const MeasuredPoint &last = set.points.back();
    QCOMPARE(first.source, 3);
    const double v = (last.y - first.y) / (last.t - first.t);
    QVERIFY2(std::abs(v - 0.06) < 0.0005, qPrintable(QString::number(v)));
}

void TestVideoDialog::calibrationFollowsAfterUse()
{
    Rig rig;
    rig.calibrate();
    rig.dialog.setMode(VideoDialog::Mode::Ball);
    rig.dialog.pictureClicked(rig.video->centreOf(0));
    rig.dialog.waitForTracking();
    rig.dialog.utiliser->click();
    const double before = rig.holder.set().points.back().y;
    QVERIFY(before > 0.0);
    rig.dialog.distance->setText(QStringLiteral("20"));
    emit rig.dialog.distance->editingFinished();
    QCOMPARE(rig.holder.set().points.back().y, 2.0 * before);
}

void TestVideoDialog::manualPointing()
{
    Rig rig;
    rig.calibrate();
    rig.dialog.setMode(VideoDialog::Mode::Manual);
    rig.dialog.showFrame(10);
    for (int i = 10; i < 14; ++i)
        rig.dialog.pictureClicked(rig.video->centreOf(i));
    QCOMPARE(rig.dialog.currentFrame(), 14);
    QCOMPARE(int(rig.dialog.tracker()->points().size()), 4);
    rig.dialog.utiliser->click();
    QCOMPARE(int(rig.holder.set().points.size()), 4);
    QCOMPARE(rig.holder.set().points.front().y, 0.0); // the first point is the origin
}

void TestVideoDialog::refusals_data()
{
    QTest::addColumn<bool>("scale");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no point") << true << 0 << QStringLiteral("trois positions");
    QTest::newRow("two points") << true << 2 << QStringLiteral("trois positions");
    QTest::newRow("no scale") << false << 5 << QStringLiteral("échelle");
}

void TestVideoDialog::refusals()
{
    QFETCH(bool, scale);
    QFETCH(int, points);
    QFETCH(QString, expected);
    Rig rig;
    if (scale)
        rig.calibrate();
    rig.dialog.setMode(VideoDialog::Mode::Manual);
    for (int i = 0; i < points; ++i)
        rig.dialog.pictureClicked(rig.video->centreOf(i));
    rig.dialog.utiliser->click();
    QCOMPARE(rig.services.messages.size(), 1);
    QVERIFY2(rig.services.messages.front().text.contains(expected, Qt::CaseInsensitive),
             qPrintable(rig.services.messages.front().text));
    QVERIFY(rig.holder.isEmpty());
}

void TestVideoDialog::keyboardClicks()
{
    Rig rig;
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    FrameView *view = rig.dialog.view;
    view->setFocus();
    view->setCursor(QPointF(20.0, 100.0));
    QSignalSpy clicks(view, &FrameView::pictureClicked);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.front().front().toPointF(), QPointF(21.0, 110.0));
    QCOMPARE(rig.dialog.calibration().scaleStart, QPointF(21.0, 110.0));
    // Page down steps a frame wherever the focus is.
    QTest::keyClick(view, Qt::Key_PageDown);
    QCOMPARE(rig.dialog.currentFrame(), 1);
    // A mouse click lands on the same picture point as the view maps it.
    const FrameGeometry g = view->geometryNow();
    const QPoint at = g.toView(QPointF(40.0, 200.0), view->picture().size()).toPoint();
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    const QPointF got = rig.dialog.calibration().scaleEnd;
    QVERIFY2(std::abs(got.x() - 40.0) < 1.0 && std::abs(got.y() - 200.0) < 1.0,
             qPrintable(QStringLiteral("%1 %2").arg(got.x()).arg(got.y())));
}

void TestVideoDialog::everyControlNamedAndReachable()
{
    Rig rig;
    rig.dialog.placement->setCurrentIndex(1); // the tube's fields enabled
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    QList<QWidget *> controls;
    for (QWidget *w : rig.dialog.findChildren<QWidget *>()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&rig.dialog) && w->isEnabled())
            controls.append(w);
    }
    QVERIFY(controls.size() >= 15);
    QSet<QWidget *> reached;
    QWidget *w = rig.dialog.ouvrir;
    for (int i = 0; i < 4 * controls.size() && w; ++i) {
        reached.insert(w);
        w = w->nextInFocusChain();
    }
    for (QWidget *control : controls) {
        const QString name = control->accessibleName().isEmpty()
            ? control->property("text").toString()
            : control->accessibleName();
        QVERIFY2(!name.isEmpty(), control->metaObject()->className());
        QVERIFY2(reached.contains(control), qPrintable(name));
    }
    for (QLabel *label : rig.dialog.findChildren<QLabel *>()) {
        if (label->text().contains(QLatin1Char('&')))
            QVERIFY2(label->buddy(), qPrintable(label->text()));
    }
}

QTEST_MAIN(TestVideoDialog)
#include "tst_videodialog.moc"
