// SPDX-License-Identifier: GPL-3.0-or-later
// The video dialog over a fall drawn in memory: stepping, the calibration
// clicks and fields, tracking from one click, manual pointing, the handing
// over to the measured fall, and the keyboard's way of clicking.
#include "fakefallvideo.h"
#include "measures/measurementholder.h"
#include "measuresui/mesuresdialog.h"
#include "scriptedservices.h"
#include "video/videoloader.h"
#include "videoui/calibrationtexts.h"
#include "videoui/frameview.h"
#include "videoui/videodialog.h"
#include "videowriter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <algorithm>

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
    void type(QLineEdit *edit, const QString &text)
    {
        edit->setText(text);
        emit edit->editingFinished();
    }
};

// A French text written with "~" for its non-breaking spaces.
QString french(const char16_t *text)
{
    return QString::fromUtf16(text).replace(QLatin1Char('~'), QChar(0x00A0));
}

} // namespace

class TestVideoDialog : public QObject
{
    Q_OBJECT

private slots:
    void opensARealFile();
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
    void tubeSharedWithMesures();
    void uncertaintiesReachTheBudget();
    void fieldMessages_data();
    void fieldMessages();
    void scaleStatus_data();
    void scaleStatus();
    void factorOnePrecision_data();
    void factorOnePrecision();
    void manualEveryN_data();
    void manualEveryN();
    void ballSize_data();
    void ballSize();
    void focusAfterTracking();
    void notModal();
    void deletedWhileAFieldHasFocus();
    void opensTheFileDialogAtOnce();
    void controlsKeepStill();
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
    QTest::addColumn<double>("expected");
    // Camera L = 50 cm from the axis, R = 3 cm of glycerol (n = 1,47). In the
    // small-angle approximation the plane of the fall seen through the liquid
    // lies at (L − R) + R/n: marks on the wall read distances short by that
    // over L − R, a ruler in air at the centre long by that over L. The rays
    // to the picture's edges add less than 0,1 % to that; a distance taken to
    // the front face instead of the axis (L − 2R below) is 0,3 % off.
    const double L = 0.5, R = 0.03, n = 1.47;
    QTest::newRow("immersed") << 0 << 1.0;
    QTest::newRow("marks on the wall") << 1 << ((L - R) + R / n) / (L - R);
    QTest::newRow("ruler in air") << 2 << ((L - R) + R / n) / L;
}

void TestVideoDialog::refractionFactor()
{
    QFETCH(int, placement);
    QFETCH(double, expected);
    Rig rig;
    rig.calibrate();
    rig.dialog.placement->setCurrentIndex(placement);
    rig.dialog.tubeDiameter->setText(QStringLiteral("60"));
    rig.dialog.cameraDistance->setText(QStringLiteral("50"));
    emit rig.dialog.cameraDistance->editingFinished();
    const double f = rig.dialog.refractionFactor();
    QVERIFY2(std::abs(f - expected) <= 1e-3, qPrintable(QString::number(f, 'g', 8)));
    QCOMPARE(rig.dialog.cameraDistance->isEnabled(), placement != 0);
    // The diameter serves the fit's wall correction too: always open.
    QVERIFY(rig.dialog.tubeDiameter->isEnabled());
    if (placement != 0)
        QVERIFY(rig.dialog.factor->text().contains(QStringLiteral("Facteur de réfraction")));
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
    // Each "±" field comes right after its value, named after it, and the
    // clicks' right after the scale's distance.
    const std::pair<QLineEdit *, QLineEdit *> pairs[] = {
        {rig.dialog.distance, rig.dialog.distanceU},
        {rig.dialog.distanceU, rig.dialog.clickU},
        {rig.dialog.index, rig.dialog.indexU},
        {rig.dialog.tubeDiameter, rig.dialog.tubeDiameterU},
        {rig.dialog.cameraDistance, rig.dialog.cameraDistanceU},
        {rig.dialog.captureRate, rig.dialog.captureRateU},
    };
    for (const auto &[value, u] : pairs) {
        QWidget *after = value->nextInFocusChain();
        while (after && !(after->focusPolicy() & Qt::TabFocus))
            after = after->nextInFocusChain();
        QVERIFY2(after == u, qPrintable(value->accessibleName()));
        // Neither squeezed by the other: a long value and a/√3 both show.
        QVERIFY2(value->width() >= value->fontMetrics().horizontalAdvance(QStringLiteral("125,55")),
                 qPrintable(value->accessibleName()));
        QVERIFY(u->width() >= u->fontMetrics().horizontalAdvance(QStringLiteral("0,05cm/√3")));
        QVERIFY2(u->accessibleName().startsWith(QStringLiteral("Incertitude-type : ")),
                 qPrintable(u->accessibleName()));
        QVERIFY(!u->toolTip().isEmpty());
    }
    QCOMPARE(rig.dialog.clickU->accessibleName(),
             QStringLiteral("Incertitude-type : position de chaque clic de l'échelle (px)"));
    QCOMPARE(rig.dialog.clickU->text(), QStringLiteral("0,5"));
}

void TestVideoDialog::tubeSharedWithMesures()
{
    Rig rig;
    rig.dialog.placement->setCurrentIndex(1); // marks on the wall
    rig.type(rig.dialog.cameraDistance, QStringLiteral("50"));
    rig.type(rig.dialog.tubeDiameter, QStringLiteral("60"));
    QCOMPARE(rig.holder.tubeDiameter(), QStringLiteral("60"));
    // "Mesures" opened afterwards shows it, ready for the wall correction.
    MesuresDialog mesures(rig.holder, rig.services);
    QCOMPARE(mesures.tube->text(), QStringLiteral("60"));
    // Both open: typed in one window, shown in the other at once.
    rig.type(rig.dialog.tubeDiameter, QStringLiteral("52,5"));
    QCOMPARE(mesures.tube->text(), QStringLiteral("52,5"));
    mesures.tube->setText(QStringLiteral("40"));
    emit mesures.tube->editingFinished();
    QCOMPARE(rig.dialog.tubeDiameter->text(), QStringLiteral("40"));
    // The refraction reads it as a diameter: R = 2 cm. Without a scale the
    // factor is the limit near the axis, ((L − R) + R/n)/(L − R).
    const double L = 0.5, R = 0.02, n = 1.47;
    const double expected = ((L - R) + R / n) / (L - R);
    QVERIFY2(std::abs(rig.dialog.refractionFactor() - expected) < 1e-6,
             qPrintable(QString::number(rig.dialog.refractionFactor())));
    // A new "Mesures" still has it.
    MesuresDialog again(rig.holder, rig.services);
    QCOMPARE(again.tube->text(), QStringLiteral("40"));
}

// The "±" fields of the scale and of the tube's optics go with the points
// to "Mesures", whose budget lists them; the tube's is the session's.
void TestVideoDialog::uncertaintiesReachTheBudget()
{
    Rig rig;
    rig.calibrate();
    rig.dialog.placement->setCurrentIndex(1); // marks on the wall
    rig.type(rig.dialog.cameraDistance, QStringLiteral("50"));
    rig.type(rig.dialog.tubeDiameter, QStringLiteral("60"));
    rig.type(rig.dialog.distanceU, QStringLiteral("0,5mm"));
    rig.type(rig.dialog.clickU, QStringLiteral("1"));
    rig.type(rig.dialog.indexU, QStringLiteral("0,01"));
    rig.type(rig.dialog.tubeDiameterU, QStringLiteral("1"));
    rig.type(rig.dialog.cameraDistanceU, QStringLiteral("0,5"));
    QCOMPARE(rig.holder.tubeUncertainty(), QStringLiteral("1"));
    rig.dialog.setMode(VideoDialog::Mode::Ball);
    rig.dialog.pictureClicked(rig.video->centreOf(0));
    rig.dialog.waitForTracking();
    rig.dialog.utiliser->click();
    QVERIFY2(rig.services.messages.isEmpty(), qPrintable(rig.services.messages.value(0).text));

    MesuresDialog mesures(rig.holder, rig.services);
    QCOMPARE(mesures.tubeU->text(), QStringLiteral("1"));
    mesures.radius->setText(QStringLiteral("2"));
    mesures.massKind->setCurrentIndex(1);
    mesures.mass->setText(QStringLiteral("7800"));
    mesures.fluidDensity->setText(QStringLiteral("1260"));
    QTest::mouseClick(mesures.ajuster, Qt::LeftButton);
    QVERIFY2(mesures.hasResult(), qPrintable(rig.services.messages.value(0).text));
    const QStringList lines = mesures.resultLines();
    const QStringList expected {
        QStringLiteral("  longueur de l'étalon : 10,000 ± 0,050 cm → "),
        QStringLiteral("  clics de l'étalon (1 px chacun) : 200,0 ± 1,4 px → "),
        QStringLiteral("  indice du liquide : 1,470 ± 0,010 → "),
        QStringLiteral("  diamètre du tube : 60,0 ± 1,0 mm → "),
        QStringLiteral("  distance de la caméra : 50,00 ± 0,50 cm → "),
    };
    for (const QString &start : expected) {
        const bool found = std::any_of(lines.begin(), lines.end(),
                                       [&](const QString &line) { return line.startsWith(start); });
        QVERIFY2(found, qPrintable(start + QLatin1Char('\n') + lines.join(QLatin1Char('\n'))));
    }
    // A "±" typed afterwards changes the budget, not the fit.
    const FitResult before = mesures.result();
    rig.type(rig.dialog.distanceU, QStringLiteral("1mm"));
    QCOMPARE(mesures.result().eta, before.eta);
    QVERIFY(mesures.hasResult());
    const QStringList after = mesures.resultLines();
    QVERIFY2(std::any_of(after.begin(), after.end(),
                         [](const QString &line) {
                             return line.startsWith(
                                 QStringLiteral("  longueur de l'étalon : 10,00 ± 0,10 cm → "));
                         }),
             qPrintable(after.join(QLatin1Char('\n'))));
    // Typed in "Mesures", the tube's u shows in the video window at once.
    mesures.tubeU->setText(QStringLiteral("0,5"));
    QCOMPARE(rig.dialog.tubeDiameterU->text(), QStringLiteral("0,5"));
}

void TestVideoDialog::fieldMessages_data()
{
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("diameter");
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QString>("expected");
    const QString n = QStringLiteral("1,47");
    const QString d = QStringLiteral("60");
    const QString l = QStringLiteral("50");
    QTest::newRow("empty diameter")
        << n << QStringLiteral("") << l
        << QStringLiteral("Le diamètre intérieur du tube (mm) n'est pas indiqué.");
    QTest::newRow("blank diameter")
        << n << QStringLiteral("  ") << l
        << QStringLiteral("Le diamètre intérieur du tube (mm) n'est pas indiqué.");
    QTest::newRow("empty camera")
        << n << d << QStringLiteral("")
        << QStringLiteral("La distance de la caméra à l'axe du tube (cm) n'est pas indiquée.");
    QTest::newRow("empty index") << QStringLiteral(
        "") << d << l << QStringLiteral("L'indice de réfraction du liquide n'est pas indiqué.");
    QTest::newRow("zero diameter")
        << n << QStringLiteral("0") << l
        << QStringLiteral("Le diamètre intérieur du tube doit être positif.");
    QTest::newRow("diameter not a number")
        << n << QStringLiteral("6O") << l
        << QStringLiteral("Le diamètre du tube n'est pas un nombre.");
    QTest::newRow("camera not a number")
        << n << d << QStringLiteral("cinquante")
        << QStringLiteral("La distance de la caméra n'est pas un nombre.");
    // 2 cm from the axis of a tube 6 cm wide: inside it.
    QTest::newRow("camera inside the tube")
        << n << d << QStringLiteral("2")
        << QStringLiteral(
               "La caméra doit être hors du tube : sa distance à l'axe du tube doit dépasser la "
               "moitié de son diamètre.");
    QTest::newRow("index out of range")
        << QStringLiteral("4") << d << l
        << QStringLiteral("L'indice de réfraction du liquide doit être compris entre 1 et 3.");
}

void TestVideoDialog::fieldMessages()
{
    QFETCH(QString, index);
    QFETCH(QString, diameter);
    QFETCH(QString, camera);
    QFETCH(QString, expected);
    Rig rig;
    rig.calibrate();
    rig.dialog.placement->setCurrentIndex(2); // a ruler in air
    rig.dialog.index->setText(index);
    rig.dialog.cameraDistance->setText(camera);
    rig.type(rig.dialog.tubeDiameter, diameter);
    QCOMPARE(rig.dialog.factor->text(), expected);
    QVERIFY(std::isnan(rig.dialog.refractionFactor()));
    // Handing the track over is refused with the same words.
    rig.dialog.setMode(VideoDialog::Mode::Manual);
    for (int i = 0; i < 3; ++i)
        rig.dialog.pictureClicked(rig.video->centreOf(i));
    rig.dialog.utiliser->click();
    QCOMPARE(rig.services.messages.size(), 1);
    QCOMPARE(rig.services.messages.front().text, expected);
    QVERIFY(rig.holder.isEmpty());
}

void TestVideoDialog::scaleStatus_data()
{
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("expected");
    QTest::newRow("typed") << QStringLiteral("10") << QStringLiteral("Échelle placée.");
    QTest::newRow("zero") << QStringLiteral(
        "0") << QStringLiteral("La distance entre les deux points doit être positive.");
    QTest::newRow("not a number") << QStringLiteral(
        "dix") << QStringLiteral("La distance entre les deux points n'est pas un nombre.");
    QTest::newRow("left empty") << QStringLiteral(
        "") << QStringLiteral("Échelle cliquée : taper la distance entre les deux points (cm).");
}

void TestVideoDialog::scaleStatus()
{
    QFETCH(QString, distance);
    QFETCH(QString, expected);
    Rig rig;
    QCOMPARE(rig.dialog.status->text(),
             QStringLiteral("Cliquer les deux extrémités de l'échelle."));
    rig.dialog.pictureClicked(QPointF(20.0, 100.0));
    QCOMPARE(rig.dialog.status->text(),
             QStringLiteral("Cliquer la seconde extrémité de l'échelle."));
    rig.dialog.pictureClicked(QPointF(20.0, 300.0));
    // Both ends, no distance yet: not "placed".
    QCOMPARE(rig.dialog.status->text(),
             QStringLiteral("Échelle cliquée : taper la distance entre les deux points (cm)."));
    rig.type(rig.dialog.distance, distance);
    QCOMPARE(rig.dialog.status->text(), expected);
}

void TestVideoDialog::factorOnePrecision_data()
{
    QTest::addColumn<bool>("immersed");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0,9") << false << 0.9
                         << french(u"Facteur de réfraction appliqué à l'échelle~:~f~=~0,900");
    QTest::newRow("0,859") << false << 0.859
                           << french(u"Facteur de réfraction appliqué à l'échelle~:~f~=~0,859");
    QTest::newRow("rounded") << false << 1.03456
                             << french(u"Facteur de réfraction appliqué à l'échelle~:~f~=~1,035");
    QTest::newRow("immersed") << true << 1.0
                              << french(u"Échelle dans le plan de chute~: aucune correction "
                                        u"(f~=~1,000).");
}

void TestVideoDialog::factorOnePrecision()
{
    QFETCH(bool, immersed);
    QFETCH(double, factor);
    QFETCH(QString, expected);
    QCOMPARE(CalibrationTexts::factorText(immersed, factor), expected);
}

void TestVideoDialog::manualEveryN_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QList<int>>("pointed");
    QTest::addColumn<int>("last");
    QTest::newRow("every image") << 1 << 4 << QList<int> {10, 11, 12, 13} << 14;
    QTest::newRow("every 5") << 5 << 3 << QList<int> {10, 15, 20} << 25;
    // 60 images: from 35 the next would be 60, past the end; a third click
    // points image 35 again.
    QTest::newRow("past the end") << 25 << 3 << QList<int> {10, 35} << 35;
}

void TestVideoDialog::manualEveryN()
{
    QFETCH(int, step);
    QFETCH(int, clicks);
    QFETCH(QList<int>, pointed);
    QFETCH(int, last);
    Rig rig;
    rig.calibrate();
    rig.dialog.setMode(VideoDialog::Mode::Manual);
    rig.dialog.manualStep->setValue(step);
    rig.dialog.showFrame(10);
    QSet<int> seen;
    for (int i = 0; i < clicks; ++i) {
        const int frame = rig.dialog.currentFrame();
        rig.dialog.pictureClicked(rig.video->centreOf(frame));
        seen.insert(frame);
        // The status line follows every click.
        const QString expected = frame + step < 60
            ? QStringLiteral("Image %1 pointée (%2 position(s)) : cliquer la bille sur l'image %3.")
                  .arg(frame)
                  .arg(seen.size())
                  .arg(frame + step)
            : QStringLiteral("Image %1 pointée (%2 position(s)) : fin de la vidéo atteinte.")
                  .arg(frame)
                  .arg(seen.size());
        QCOMPARE(rig.dialog.status->text(), expected);
    }
    QCOMPARE(rig.dialog.currentFrame(), last);
    QList<int> frames;
    for (const auto &[frame, point] : rig.dialog.tracker()->points())
        frames.append(frame);
    QCOMPARE(frames, pointed);
    // Three positions at least make a measured fall.
    rig.dialog.utiliser->click();
    QCOMPARE(int(rig.holder.set().points.size()), pointed.size() >= 3 ? int(pointed.size()) : 0);
}

void TestVideoDialog::ballSize_data()
{
    QTest::addColumn<double>("radiusPx");
    QTest::addColumn<double>("metresPerPixel");
    QTest::addColumn<double>("index");
    QTest::addColumn<QString>("expected");
    // 12 px at 0,5 mm per pixel: 6 mm seen, 6 / 1,5 = 4 mm at least.
    QTest::newRow("scale and index")
        << 12.0 << 0.0005 << 1.5
        << french(u"Rayon apparent de la bille~: 6~mm (12~px). Le tube grossit les largeurs "
                  u"d'environ n~=~1,5 (pas les hauteurs)~: rayon vrai entre 4 et 6~mm.");
    QTest::newRow("no scale") << 12.0 << std::nan("") << 1.5
                              << french(u"Rayon apparent de la bille~: 12~px (placer l'échelle "
                                        u"pour le lire en mm).");
    QTest::newRow("no index") << 10.0 << 0.0003 << std::nan("")
                              << french(u"Rayon apparent de la bille~: 3~mm (10~px). Le tube "
                                        u"grossit les largeurs d'environ l'indice du liquide.");
    QTest::newRow("no ball") << 0.0 << 0.0005 << 1.5 << QString();
}

void TestVideoDialog::ballSize()
{
    QFETCH(double, radiusPx);
    QFETCH(double, metresPerPixel);
    QFETCH(double, index);
    QFETCH(QString, expected);
    QCOMPARE(CalibrationTexts::ballSizeText(radiusPx, metresPerPixel, index), expected);
}

void TestVideoDialog::focusAfterTracking()
{
    Rig rig;
    rig.calibrate();
    rig.dialog.show();
    rig.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.dialog));
    rig.dialog.setMode(VideoDialog::Mode::Ball);
    FrameView *view = rig.dialog.view;
    const QPoint at
        = view->geometryNow().toView(rig.video->centreOf(0), view->picture().size()).toPoint();
    QTest::mouseClick(view, Qt::LeftButton, {}, at);
    rig.dialog.waitForTracking();
    QTRY_VERIFY(!rig.dialog.isTracking());
    QVERIFY(rig.dialog.tracker()->points().size() >= 50);
    // Back on the picture: the next key does not overwrite the scale.
    QCOMPARE(QApplication::focusWidget(), view);
    QTest::keyClick(rig.dialog.windowHandle(), Qt::Key_5);
    QCOMPARE(rig.dialog.distance->text(), QStringLiteral("10"));
    // The ball's size is offered against the typed radius: 6 px drawn at
    // 0,5 mm per pixel, about 3 mm.
    QVERIFY2(rig.dialog.ballSize->text().startsWith(QStringLiteral("Rayon apparent de la bille")),
             qPrintable(rig.dialog.ballSize->text()));
    QVERIFY2(rig.dialog.ballSize->text().contains(
                 QRegularExpression(QStringLiteral(": (2,[6-9]|3|3,[0-4])\u00a0mm"))),
             qPrintable(rig.dialog.ballSize->text()));
}

void TestVideoDialog::notModal()
{
    Rig rig;
    // The graph window is application-modal.
    QDialog graph;
    auto *field = new QLineEdit(&graph);
    graph.setWindowModality(Qt::ApplicationModal);
    graph.show();
    QVERIFY(QTest::qWaitForWindowExposed(&graph));
    rig.dialog.present();
    QVERIFY(rig.dialog.isVisible());
    QVERIFY(!rig.dialog.isModal());
    QCOMPARE(rig.dialog.windowModality(), Qt::NonModal);
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    // Keys typed through the window system reach the video window...
    rig.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.dialog));
    rig.dialog.distance->setFocus();
    QTest::keyClick(rig.dialog.windowHandle(), Qt::Key_7);
    QCOMPARE(rig.dialog.distance->text(), QStringLiteral("7"));
    // ...and the other window, beside it, still takes input.
    graph.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&graph));
    field->setFocus();
    QTest::keyClick(graph.windowHandle(), Qt::Key_4);
    QCOMPARE(field->text(), QStringLiteral("4"));
    QVERIFY(rig.dialog.isVisible());
}

// The owner goes first, the window still shown with a field being edited:
// the field's focus-out must not call into a window already destroyed (the
// sanitizer build reports such a call).
void TestVideoDialog::deletedWhileAFieldHasFocus()
{
    MeasurementHolder holder;
    ScriptedServices services;
    auto *owner = new QWidget;
    auto *dialog = new VideoDialog(holder, services, owner);
    QPointer<VideoDialog> watch(dialog);
    owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(owner));
    dialog->setSource(steadyFall(), QStringLiteral("chute.mp4"));
    dialog->present();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    for (QLineEdit *edit : {dialog->distance, dialog->tubeDiameter, dialog->captureRate}) {
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("12"));
        QVERIFY(edit->hasFocus());
    }
    delete owner;
    QVERIFY(watch.isNull());
}

void TestVideoDialog::opensTheFileDialogAtOnce()
{
    MeasurementHolder holder;
    ScriptedServices services;
    VideoDialog dialog(holder, services);
    // No video yet: the file dialog comes first; cancelled, no empty window.
    dialog.present();
    QCOMPARE(services.fileRequests.size(), 1);
    QVERIFY(!dialog.isVisible());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString first = services.fileRequests[0].directory;
    QCOMPARE(first, QFileInfo(documents).isDir() ? documents : QDir::homePath());
    QVERIFY(first != QDir::currentPath());

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("chute.mp4"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("ceci n'est pas une vidéo");
    file.close();
    services.fileNames.enqueue(path);
    dialog.present();
    QVERIFY(dialog.isVisible());
    QTRY_COMPARE(services.messages.size(), 1); // the file cannot be read
    QTRY_VERIFY(dialog.ouvrir->isEnabled());
    // The next file dialog starts where the last video was.
    dialog.ouvrir->click();
    QCOMPARE(services.fileRequests.size(), 3);
    QCOMPARE(services.fileRequests[2].directory, dir.path());
}

void TestVideoDialog::controlsKeepStill()
{
    Rig rig;
    // Ten minutes at 100 images/s: the longest frame label.
    auto video = std::make_unique<FakeFallVideo>();
    video->size = QSize(160, 400);
    video->setRate(100.0, 60000);
    rig.dialog.setSource(std::move(video),
                         QStringLiteral("une vidéo au nom très long de "
                                        "la chute dans la glycérine.mp4"));
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    const auto settle = [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); };
    settle();
    QGroupBox *calibration = rig.dialog.findChild<QGroupBox *>();
    const auto where
        = [&](QWidget *w) { return QRect(w->mapTo(&rig.dialog, QPoint()), w->size()); };
    const QRect next = where(rig.dialog.next);
    const QRect slider = where(rig.dialog.slider);
    const QRect box = where(calibration);
    rig.dialog.showFrame(59999);
    settle();
    QCOMPARE(where(rig.dialog.next), next);
    QCOMPARE(where(rig.dialog.slider), slider);
    rig.dialog.progress->show();
    settle();
    QCOMPARE(where(calibration), box);
    rig.dialog.progress->hide();
    rig.type(rig.dialog.distance, QStringLiteral("0"));
    rig.dialog.placement->setCurrentIndex(1);
    settle();
    QCOMPARE(where(calibration).size(), box.size());
}

// A real slow-motion file through the chooser and the opening thread: 12
// frames stored at 30 images/s, captured at 240; then one with speed ramps.
void TestVideoDialog::opensARealFile()
{
    QTemporaryDir dir;
    VideoRecipe recipe;
    recipe.size = QSize(64, 48);
    recipe.captureFps = "240";
    const auto grey = [&recipe](int i) {
        QImage image(recipe.size, QImage::Format_RGB32);
        image.fill(QColor(10 * i, 10 * i, 10 * i));
        return image;
    };
    QString why;
    const QString slow = dir.filePath(QStringLiteral("lent.mp4"));
    QVERIFY2(writeVideo(slow, recipe, regularTimes(12, 30.0), grey, &why), qPrintable(why));

    VideoLoader::setSearchDirectories({QStringLiteral(LORVA_VIDEO_MODULE_DIR)});
    MeasurementHolder holder;
    ScriptedServices services;
    VideoDialog dialog(holder, services);
    services.fileNames.enqueue(slow);
    QTest::mouseClick(dialog.ouvrir, Qt::LeftButton);
    QTRY_COMPARE(dialog.fileLabel->text(), QStringLiteral("lent.mp4\n12 images, 64 × 48 px"));
    QVERIFY2(services.messages.isEmpty(), qPrintable(services.messages.value(0).text));
    QCOMPARE(dialog.captureRate->text(), QStringLiteral("240"));
    QVERIFY(dialog.warning->isHidden());
    // Frame 6 is stored at 6/30 s, captured at 6/240 s.
    dialog.showFrame(6);
    QCOMPARE(dialog.frameLabel->text(), QStringLiteral("Image 6 / 11 · t = 0,025 s"));
    // Without a capture rate the stored times stand.
    dialog.captureRate->setText(QString());
    emit dialog.captureRate->editingFinished();
    QCOMPARE(dialog.frameLabel->text(), QStringLiteral("Image 6 / 11 · t = 0,2 s"));

    // 40 frames at 240 images/s between stretches at 30: a flattened slow
    // motion whose times cannot be trusted.
    QList<double> ramps {0.0};
    for (const auto &[count, gap] : {std::pair {40, 1 / 240.0}, {40, 1 / 30.0}, {40, 1 / 240.0}}) {
        for (int n = 0; n < count; ++n)
            ramps.append(ramps.last() + gap);
    }
    VideoRecipe plain;
    plain.size = recipe.size;
    const QString ramped = dir.filePath(QStringLiteral("rampes.mp4"));
    QVERIFY2(writeVideo(ramped, plain, ramps, grey, &why), qPrintable(why));
    services.fileNames.enqueue(ramped);
    QTest::mouseClick(dialog.ouvrir, Qt::LeftButton);
    QTRY_VERIFY(dialog.fileLabel->text().startsWith(QStringLiteral("rampes.mp4\n121 images")));
    QVERIFY(!dialog.warning->isHidden());
    QVERIFY(!dialog.warning->text().isEmpty());
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages[0].icon, MessageIcon::Warning);
    QCOMPARE(services.messages[0].text, dialog.warning->text());
}

QTEST_MAIN(TestVideoDialog)
#include "tst_videodialog.moc"
