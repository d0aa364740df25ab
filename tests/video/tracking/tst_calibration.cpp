// SPDX-License-Identifier: GPL-3.0-or-later
#include "video/tracking/calibration.h"
#include "video/tracking/refraction.h"

#include "measures/etauncertainty.h"

#include <QTest>

#include <cmath>
#include <numbers>

Q_DECLARE_METATYPE(ScalePlacement)

class TestCalibration : public QObject
{
    Q_OBJECT

private slots:
    void positions_data();
    void positions();
    void problems_data();
    void problems();
    void refraction_data();
    void refraction();
    void refractionGoesToTheCalibration();
    void refractionSensitivities_data();
    void refractionSensitivities();
};

namespace {

// The refraction factor traced here from Snell's law alone: the ray that
// meets the plane of the fall at height h leaves the camera at the angle θ
// for which (L − R)·tan θ + R·tan φ = h with sin θ = n·sin φ (found by
// bisection), and the scale, in the plane at distance d, reads d·tan θ.
double snellFactor(ScalePlacement placement, double n, double radius, double camera, double h)
{
    const auto height = [&](double theta) {
        const double phi = std::asin(std::sin(theta) / n);
        return (camera - radius) * std::tan(theta) + radius * std::tan(phi);
    };
    double lo = 0.0, hi = 1.5;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (height(mid) < h ? lo : hi) = mid;
    }
    const double d = placement == ScalePlacement::FrontWall ? camera - radius : camera;
    return h / (d * std::tan(0.5 * (lo + hi)));
}

} // namespace

void TestCalibration::positions_data()
{
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<double>("distance");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QPointF>("axis");
    QTest::addColumn<double>("position");

    // 10 cm between two marks 500 px apart: 0,2 mm per pixel.
    QTest::newRow("vertical scale") << QPointF(50, 100) << QPointF(50, 600) << 0.10
                                    << QPointF(50, 80) << QPointF(53, 330) << QPointF(0, 1) << 0.05;
    QTest::newRow("clicked upwards: the axis still points down")
        << QPointF(50, 600) << QPointF(50, 100) << 0.10 << QPointF(50, 80) << QPointF(50, 330)
        << QPointF(0, 1) << 0.05;
    QTest::newRow("above the origin: negative")
        << QPointF(50, 100) << QPointF(50, 600) << 0.10 << QPointF(50, 80) << QPointF(50, 30)
        << QPointF(0, 1) << -0.01;
    // A phone held 10° askew: the axis follows the marks on the tube, and a
    // point 250 px down the tube is 5 cm down whatever its picture column.
    const double a = 10.0 * std::numbers::pi / 180.0;
    const QPointF along(std::sin(a), std::cos(a));
    QTest::newRow("tilted tube") << QPointF(0, 0) << along * 500.0 << 0.10 << QPointF(0, 0)
                                 << along * 250.0 << along << 0.05;
    // A scale laid across the picture says nothing of the tube's direction.
    QTest::newRow("horizontal scale")
        << QPointF(100, 50) << QPointF(300, 50) << 0.02 << QPointF(0, 0) << QPointF(400, 1000)
        << QPointF(0, 1) << 0.1;
    QTest::newRow("scale at 45°: picture's vertical")
        << QPointF(0, 0) << QPointF(300, 400) << 0.05 << QPointF(0, 0) << QPointF(0, 100)
        << QPointF(0, 1) << 0.01;
}

void TestCalibration::positions()
{
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(double, distance);
    QFETCH(QPointF, origin);
    QFETCH(QPointF, point);
    QFETCH(QPointF, axis);
    QFETCH(double, position);

    Calibration c;
    c.scaleStart = start;
    c.scaleEnd = end;
    c.scaleDistance = distance;
    c.origin = origin;
    QVERIFY2(c.isValid(), qPrintable(c.problem()));
    QVERIFY(std::abs(c.axis().x() - axis.x()) < 1e-12);
    QVERIFY(std::abs(c.axis().y() - axis.y()) < 1e-12);
    QVERIFY2(std::abs(c.positionOf(point) - position) < 1e-12,
             qPrintable(QString::number(c.positionOf(point), 'g', 17)));
    const QPointF back = c.pointAt(position);
    QVERIFY(std::abs(c.positionOf(back) - position) < 1e-12);
}

void TestCalibration::problems_data()
{
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("message");

    QTest::newRow("same point") << QPointF(10.5, 11) << 0.1 << 1.0
                                << QStringLiteral("Les deux points de l'échelle sont confondus "
                                                  ": cliquez deux repères éloignés.");
    QTest::newRow("zero distance")
        << QPointF(10, 300) << 0.0 << 1.0
        << QStringLiteral("La distance entre les deux points de l'échelle doit être positive.");
    QTest::newRow("NaN distance")
        << QPointF(10, 300) << std::nan("") << 1.0
        << QStringLiteral("La distance entre les deux points de l'échelle doit être positive.");
    QTest::newRow("no factor")
        << QPointF(10, 300) << 0.1 << std::nan("")
        << QStringLiteral("Le facteur de correction de la réfraction n'est pas valable.");
    QTest::newRow("unclicked") << QPointF(std::nan(""), 3) << 0.1 << 1.0
                               << QStringLiteral("Cliquez les deux points de l'échelle et "
                                                 "l'origine.");
}

void TestCalibration::problems()
{
    QFETCH(QPointF, end);
    QFETCH(double, distance);
    QFETCH(double, factor);
    QFETCH(QString, message);

    Calibration c;
    c.scaleStart = QPointF(10, 10);
    c.scaleEnd = end;
    c.scaleDistance = distance;
    c.refractionFactor = factor;
    QCOMPARE(c.problem(), message);
    QVERIFY(std::isnan(c.positionOf(QPointF(3, 40))));
}

void TestCalibration::refraction_data()
{
    QTest::addColumn<ScalePlacement>("placement");
    QTest::addColumn<double>("index");
    QTest::addColumn<double>("halfSpan");
    QTest::addColumn<double>("factor"); // true distance over the distance the scale reads
    QTest::addColumn<double>("tolerance");

    // Camera 50 cm from the axis, 3 cm of glycerol: marks on the front face
    // read distances 4 % too small, a ruler in air at the centre 2 % too
    // large. Near the axis the trace meets the small-angle factors
    // (L − R + R/n)/(L − R) = 1,04342 and (L − R + R/n)/L = 0,98082.
    QTest::newRow("front wall, near the axis")
        << ScalePlacement::FrontWall << 1.47 << 0.0 << 1.0434216239687 << 1e-9;
    QTest::newRow("air at the centre, near the axis")
        << ScalePlacement::AirAtCentre << 1.47 << 0.0 << 0.9808163265306 << 1e-9;
    // Over ±10 cm of fall the rays leave the axis by 11°: the exact trace
    // reads a little less than the small-angle factor.
    QTest::newRow("front wall, ±10 cm")
        << ScalePlacement::FrontWall << 1.47 << 0.1 << 1.0429441944012 << 1e-9;
    QTest::newRow("air at the centre, ±20 cm")
        << ScalePlacement::AirAtCentre << 1.47 << 0.2 << 0.9791009512650 << 1e-9;
    QTest::newRow("immersed ruler") << ScalePlacement::Immersed << 1.47 << 0.1 << 1.0 << 0.0;
    // Without a liquid's lens the front face is only nearer.
    QTest::newRow("empty tube, front wall")
        << ScalePlacement::FrontWall << 1.0 << 0.1 << 0.5 / 0.47 << 1e-12;
    QTest::newRow("empty tube, air") << ScalePlacement::AirAtCentre << 1.0 << 0.1 << 1.0 << 1e-12;
    QTest::newRow("index below 1")
        << ScalePlacement::FrontWall << 0.9 << 0.0 << std::nan("") << 0.0;
}

void TestCalibration::refraction()
{
    QFETCH(ScalePlacement, placement);
    QFETCH(double, index);
    QFETCH(double, halfSpan);
    QFETCH(double, factor);
    QFETCH(double, tolerance);

    TubeOptics optics;
    optics.refractiveIndex = index;
    optics.innerRadius = 0.03;
    optics.cameraDistance = 0.5;
    const double got = Refraction::scaleFactor(placement, optics, halfSpan);
    if (std::isnan(factor)) {
        QVERIFY(std::isnan(got));
        QCOMPARE(optics.problem(),
                 QStringLiteral("L'indice de réfraction du liquide doit être compris entre 1 "
                                "et 3."));
        return;
    }
    QVERIFY2(std::abs(got - factor) <= tolerance, qPrintable(QString::number(got, 'g', 14)));
    if (halfSpan == 0.0)
        QVERIFY(std::abs(Refraction::paraxialFactor(placement, optics) - got) < 1e-9);

    // The traced ray does reach the plane of the fall at the height asked.
    const double theta = Refraction::rayAngle(optics, 0.07);
    const double phi = std::asin(std::sin(theta) / index);
    QVERIFY(std::abs(0.47 * std::tan(theta) + 0.03 * std::tan(phi) - 0.07) < 1e-12);
}

void TestCalibration::refractionGoesToTheCalibration()
{
    TubeOptics optics;
    optics.innerRadius = 0.03;
    optics.cameraDistance = 0.25;
    Calibration c;
    c.scaleStart = QPointF(0, 0);
    c.scaleEnd = QPointF(0, 500);
    c.scaleDistance = 0.1;
    c.refractionFactor = Refraction::scaleFactor(ScalePlacement::FrontWall, optics);
    QVERIFY(c.refractionFactor > 1.07);
    QVERIFY(std::abs(c.positionOf(QPointF(0, 250)) - 0.05 * c.refractionFactor) < 1e-12);

    optics.cameraDistance = 0.02;
    QCOMPARE(optics.problem(),
             QStringLiteral("La caméra doit être hors du tube : sa distance à l'axe du tube doit "
                            "dépasser le rayon intérieur."));
    QVERIFY(std::isnan(Refraction::scaleFactor(ScalePlacement::AirAtCentre, optics)));
}

// η's sensitivity to the tube's optics goes through the traced factor: the
// points are scaled by f(n, R, L), so v_lim is too and, with Stokes, η ∝ 1/f:
// ∂ln η/∂x = −∂ln f/∂x, the derivative taken here by central differences of
// the factor traced above.
void TestCalibration::refractionSensitivities_data()
{
    QTest::addColumn<ScalePlacement>("placement");
    QTest::addColumn<double>("halfSpan");
    QTest::addColumn<int>("input"); // 0: n, 1: R, 2: L
    QTest::addColumn<QString>("name");
    const QString n = QStringLiteral("indice du liquide");
    const QString r = QStringLiteral("rayon intérieur du tube");
    const QString l = QStringLiteral("distance de la caméra");
    QTest::newRow("indice, repères sur la paroi") << ScalePlacement::FrontWall << 0.0 << 0 << n;
    QTest::newRow("rayon, repères sur la paroi, ±10 cm")
        << ScalePlacement::FrontWall << 0.1 << 1 << r;
    QTest::newRow("caméra, repères sur la paroi, ±10 cm")
        << ScalePlacement::FrontWall << 0.1 << 2 << l;
    QTest::newRow("indice, règle dans l'air, ±20 cm")
        << ScalePlacement::AirAtCentre << 0.2 << 0 << n;
    QTest::newRow("rayon, règle dans l'air") << ScalePlacement::AirAtCentre << 0.0 << 1 << r;
    QTest::newRow("caméra, règle dans l'air") << ScalePlacement::AirAtCentre << 0.0 << 2 << l;
}

void TestCalibration::refractionSensitivities()
{
    QFETCH(ScalePlacement, placement);
    QFETCH(double, halfSpan);
    QFETCH(int, input);
    QFETCH(QString, name);

    // 3 cm of glycerol filmed from 50 cm; one optical input uncertain at a time.
    double x[3] = {1.47, 0.03, 0.5};
    const double u[3] = {0.01, 5e-4, 5e-3};
    EtaUncertainty::Inputs in;
    in.model = FitOptions::Model::Stokes;
    in.radius = 2e-3;
    in.sphereDensity = 7800.0;
    in.fluidDensity = 1260.0;
    VideoScale &scale = in.scale;
    scale.distance = 0.1;
    scale.clicks = 400.0;
    scale.uClick = 0.0;
    scale.refraction = Refraction::factorFunction(placement, halfSpan);
    scale.index = x[0];
    scale.tubeRadius = x[1];
    scale.cameraDistance = x[2];
    (input == 0 ? scale.uIndex : input == 1 ? scale.uTubeRadius : scale.uCameraDistance) = u[input];
    FitResult fit;
    fit.status = FitResult::Status::Fitted;
    fit.eta = 1.2;
    fit.etaU = 0.0;
    fit.vlim = 0.05;
    const EtaUncertainty::Combined c = EtaUncertainty::combine(fit, in);
    QVERIFY2(c.ok, qPrintable(c.error));
    QCOMPARE(int(c.final.budget.size()), 1);
    const BudgetLine &line = c.final.budget.front();
    QCOMPARE(c.inputs.at(size_t(line.input)).name, name);

    const double h = halfSpan > 0.0 ? halfSpan : 1e-6;
    const auto f = [&] { return snellFactor(placement, x[0], x[1], x[2], h); };
    const double f0 = f();
    const double step = 1e-5 * x[input];
    const double centre = x[input];
    x[input] = centre + step;
    const double above = f();
    x[input] = centre - step;
    const double below = f();
    const double expected = -(above - below) / (2.0 * step) / f0;
    const double got = line.sensitivity / c.final.value;
    QVERIFY2(std::abs(got / expected - 1.0) < 1e-4,
             qPrintable(QStringLiteral("%1 au lieu de %2").arg(got).arg(expected)));
    QVERIFY(std::abs(line.contribution - std::abs(line.sensitivity) * u[input]) < 1e-15);
}

QTEST_APPLESS_MAIN(TestCalibration)
#include "tst_calibration.moc"
