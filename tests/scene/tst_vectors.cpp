// SPDX-License-Identifier: GPL-3.0-or-later
#include "scene/scene.h"
#include "scene/sceneinputs.h"
#include "scene/vectors.h"

#include "core/motion.h"
#include "core/simulationstate.h"
#include "support/scenerig.h"

#include <QtTest>

namespace {

const QRgb orange = qRgb(255, 128, 0);
const QRgb green = qRgb(0, 192, 0);
const QRgb darkRed = qRgb(192, 0, 0);
const QRgb darkBlue = qRgb(0, 0, 192);
const QRgb white = qRgb(255, 255, 255);

} // namespace

class TestVectors : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void weightFromTheSphereCentre();
    void lengths_data();
    void lengths();
    void tenTimesShorterAtNinety();
    void heads_data();
    void heads();
    void headPixels();
    void laterOverEarlier();
    void frictionRegime_data();
    void frictionRegime();
    void shortArrowsHidden();
    void hugeVectorsClipped();

private:
    DrawingSurface &surface() { return *m_picture2; }
    QRgb pixel(int x, int y) { return surface().image().pixel(x, y); }
    // Pixels of colour in column x from row y on, one way (+1 down, -1 up).
    int run(int x, int y, int direction, QRgb colour);
    // Draws the vectors alone on a white picture from (55, 200).
    void drawAlone();

    DrawingSurface *m_picture2 = nullptr;
    FakeSceneInputs *m_inputs = nullptr;
    Vectors *m_vectors = nullptr;
};

void TestVectors::init()
{
    m_picture2 = new DrawingSurface(109, 493);
    // The model of the default parameters at rest, with the forces shown.
    m_inputs = new FakeSceneInputs;
    Motion::computeExpoids(m_inputs->parameters, m_inputs->simulation);
    Motion::computeModel(m_inputs->parameters, m_inputs->simulation);
    Motion::dichotemps(m_inputs->parameters, m_inputs->simulation);
    m_inputs->options.showForces = true;
    m_vectors = new Vectors(*m_picture2, m_inputs->inputs);
}

void TestVectors::cleanup()
{
    delete m_vectors;
    delete m_inputs;
    delete m_picture2;
}

int TestVectors::run(int x, int y, int direction, QRgb colour)
{
    int count = 0;
    while (y >= 0 && y < surface().height() && pixel(x, y) == colour) {
        ++count;
        y += direction;
    }
    return count;
}

void TestVectors::drawAlone()
{
    surface().clear();
    m_vectors->lesvecteurs(55, 200);
}

void TestVectors::weightFromTheSphereCentre()
{
    Scene scene(*m_picture2, m_inputs->inputs);
    scene.setLesvecteurs([this](int gx, int gy) { m_vectors->lesvecteurs(gx, gy); });
    scene.fond();
    m_inputs->options.showVelocity = true;
    scene.majaff();
    QCOMPARE(m_inputs->simulation.expoids, qint16(0));

    // P = 1,421 N: round(30 * 1,421) = 43 pixels down from the centre (55, 25),
    // 2 pixels wide: the shaft covers rows 25 to 67 and the barbs start at
    // the tip, row 68. The thrust, round(30 * 1,408) = 42 pixels up, is
    // drawn later and owns the centre pixel.
    QCOMPARE(pixel(55, 25), darkRed);
    QCOMPARE(run(55, 26, +1, green), 43);
    QCOMPARE(run(56, 26, +1, green), 43);
    QVERIFY(pixel(55, 69) != green);
    QCOMPARE(run(55, 25, -1, darkRed), 26); // up to the top edge
    // Back to 1 pixel for the ruler and the axis drawn next.
    QCOMPARE(surface().drawWidth(), 1);

    // At rest there is no friction, and no velocity at t = 0.
    const QImage &image = surface().image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QVERIFY(image.pixel(x, y) != darkBlue);
            QVERIFY(image.pixel(x, y) != orange);
        }
    }
    // Not even with a velocity left over from a run.
    m_inputs->simulation.vit = 0.05f;
    scene.majaff();
    QVERIFY(run(55, 26, +1, orange) == 0);
    m_inputs->simulation.temps = 0.04;
    scene.majaff();
    QCOMPARE(run(55, 26, +1, orange), 35); // 70 * 0,05 / 0,1 pixels, less the centre, plus the tip
}

void TestVectors::lengths_data()
{
    QTest::addColumn<int>("scale");
    QTest::addColumn<double>("quantity");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<std::optional<qint32>>("pixels");
    const auto px = [](qint32 l) { return std::optional<qint32>(l); };
    QTest::newRow("milli-newtons") << 0 << 0.00345 << -3 << px(345);
    QTest::newRow("half down to even") << 0 << 2.5 << 2 << px(2);
    QTest::newRow("half up to even") << 0 << 3.5 << 2 << px(4);
    QTest::newRow("negative half to even") << 0 << -2.5 << 2 << px(-2);
    QTest::newRow("saturated down") << 0 << 1e300 << 0 << px(2147483647);
    QTest::newRow("saturated up") << 0 << -1e300 << 0 << px(-2147483647 - 1);
    QTest::newRow("just past 32 bits") << 0 << 21474836.48 << 0 << px(2147483647);
    QTest::newRow("vanishing scale") << 70 << 1.421 << 400 << px(0);
    QTest::newRow("infinite quotient") << 70 << 1.421 << -400 << std::optional<qint32>();
}

void TestVectors::lengths()
{
    QFETCH(int, scale);
    QFETCH(double, quantity);
    QFETCH(int, exponent);
    QFETCH(std::optional<qint32>, pixels);
    QCOMPARE(Vectors::length(scale, quantity, exponent), pixels);
}

void TestVectors::tenTimesShorterAtNinety()
{
    // At t = 1 s: v = 0,0588 m/s to a bar of 10^-1 m/s.
    m_inputs->simulation.temps = 1.0;
    m_inputs->simulation.vit = 0.0588f;
    m_inputs->options.showVelocity = true;
    m_inputs->options.showForces = false;
    // An arrow of L pixels colours rows Gy to Gy + L: the shaft, then the tip.
    m_inputs->options.velocityScale = 0; // bar of 100 pixels
    drawAlone();
    QCOMPARE(run(55, 200, +1, orange), 59 + 1);
    m_inputs->options.velocityScale = 90; // bar of 10 pixels
    drawAlone();
    QCOMPARE(run(55, 200, +1, orange), 6 + 1);

    // Below the centre, which the thrust drawn later owns.
    m_inputs->options.showVelocity = false;
    m_inputs->options.showForces = true;
    m_inputs->options.forceScale = 0;
    drawAlone();
    QCOMPARE(run(56, 201, +1, green), 142);
    QCOMPARE(run(56, 199, -1, darkRed), 141);
    m_inputs->options.forceScale = 90;
    drawAlone();
    QCOMPARE(run(56, 201, +1, green), 14);
    QCOMPARE(run(56, 199, -1, darkRed), 14);
}

void TestVectors::heads_data()
{
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QPointF>("components");
    QTest::addColumn<QPointF>("barb1");
    QTest::addColumn<QPointF>("barb2");
    // Barbs end 10 pixels back from the tip and 5 pixels either side.
    QTest::newRow("down") << QPointF(55, 200) << QPointF(0, 43) << QPointF(60, 233)
                          << QPointF(50, 233);
    QTest::newRow("up") << QPointF(55, 200) << QPointF(0, -42) << QPointF(60, 168)
                        << QPointF(50, 168);
    QTest::newRow("3-4-5 slope") << QPointF(0, 0) << QPointF(30, 40) << QPointF(28, 29)
                                 << QPointF(20, 35);
    QTest::newRow("3-4-5 slope, leftwards")
        << QPointF(0, 0) << QPointF(-30, 40) << QPointF(-20, 35) << QPointF(-28, 29);
    QTest::newRow("right") << QPointF(10, 10) << QPointF(20, 0) << QPointF(20, 5)
                           << QPointF(20, 15);
    QTest::newRow("left") << QPointF(10, 10) << QPointF(-20, 0) << QPointF(0, 5) << QPointF(0, 15);
    // A weight that rounds to nothing still gets a head, the horizontal one.
    QTest::newRow("none") << QPointF(55, 200) << QPointF(0, 0) << QPointF(45, 195)
                          << QPointF(45, 205);
}

void TestVectors::heads()
{
    QFETCH(QPointF, origin);
    QFETCH(QPointF, components);
    QFETCH(QPointF, barb1);
    QFETCH(QPointF, barb2);
    const Vectors::Head head
        = Vectors::arrowHead(origin.x(), origin.y(), components.x(), components.y());
    QCOMPARE(head.tip, origin + components);
    QCOMPARE(head.barb1, barb1);
    QCOMPARE(head.barb2, barb2);
}

void TestVectors::headPixels()
{
    // Weight from (55, 200), tip (55, 243): each barb runs from the tip to
    // 10 pixels up and 5 across, stopping one pixel short, with its second
    // pixel to the right.
    m_inputs->parameters.texts[ParameterFields::FluidDensity] = QStringLiteral("0");
    drawAlone();
    for (QPoint p : {QPoint(55, 243), QPoint(56, 243), QPoint(58, 238), QPoint(60, 234),
                     QPoint(61, 234), QPoint(52, 238), QPoint(50, 234), QPoint(51, 234)})
        QVERIFY2(pixel(p.x(), p.y()) == green,
                 qPrintable(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y())));
    for (QPoint p : {QPoint(60, 233), QPoint(50, 233), QPoint(49, 234), QPoint(55, 244)})
        QCOMPARE(pixel(p.x(), p.y()), white);
}

void TestVectors::laterOverEarlier()
{
    // Fast enough for the quadratic friction: f = 800 * 0,44 * 1 * 3,14 *
    // 0,035^2 / 2 = 0,677 N, 20 pixels up; v = 1 m/s to a bar of 1 m/s, 70
    // pixels down. Order: P, Π, f, v.
    SimulationState &s = m_inputs->simulation;
    s.temps = 1.0;
    s.vit = 1.0f;
    s.reynolds = 200.0;
    s.expvit = 0;
    m_inputs->options.showVelocity = true;
    drawAlone();
    QCOMPARE(pixel(55, 200), orange);         // all four start here
    QCOMPARE(run(55, 199, -1, darkBlue), 20); // friction over thrust...
    QCOMPARE(run(55, 179, -1, darkRed), 22);  // ...whose tip is at 158
    QCOMPARE(run(55, 201, +1, orange), 70);   // velocity over weight...
    QCOMPARE(pixel(58, 238), green);          // ...whose barbs stick out
    QCOMPARE(pixel(58, 265), orange);         // the velocity's own barb

    // Colours come from the swatches at each drawing.
    m_inputs->options.colours[DisplayOptions::VelocityColour] = 0;
    drawAlone();
    QCOMPARE(pixel(55, 250), qRgb(0, 0, 0));
}

void TestVectors::frictionRegime_data()
{
    QTest::addColumn<double>("reynolds");
    QTest::addColumn<int>("pixels");
    // At 1 m/s, Stokes: 6 * 3,1415927 * 0,035 * 0,2 = 0,132 N, 4 pixels;
    // quadratic above a Reynolds number of 100: 0,677 N, 20 pixels.
    QTest::newRow("at 100, Stokes") << 100.0 << 4;
    QTest::newRow("above 100, quadratic") << 100.001 << 20;
    QTest::newRow("motion still linear below 250") << 249.0 << 20;
}

void TestVectors::frictionRegime()
{
    QFETCH(double, reynolds);
    QFETCH(int, pixels);
    m_inputs->simulation.vit = 1.0f;
    m_inputs->simulation.reynolds = reynolds;
    m_inputs->parameters.texts[ParameterFields::FluidDensity] = QStringLiteral("800");
    drawAlone();
    QCOMPARE(run(56, 199, -1, darkBlue), pixels);
}

void TestVectors::shortArrowsHidden()
{
    // Fluid density 40: Π = 0,0704 N, 2,1 pixels, drawn; 20: 1,06 pixels, not.
    m_inputs->parameters.texts[ParameterFields::FluidDensity] = QStringLiteral("40");
    drawAlone();
    QCOMPARE(pixel(55, 199), darkRed);
    m_inputs->parameters.texts[ParameterFields::FluidDensity] = QStringLiteral("20");
    drawAlone();
    QCOMPARE(pixel(55, 199), white);
    QCOMPARE(pixel(55, 200), green);

    // A velocity of 1,4 pixels is not drawn.
    m_inputs->options.showForces = false;
    m_inputs->options.showVelocity = true;
    m_inputs->simulation.temps = 0.01;
    m_inputs->simulation.vit = 0.002f;
    drawAlone();
    QCOMPARE(pixel(55, 200), white);

    // The weight is drawn whatever its length: 10 mg give 0 pixels, a dot
    // with the head of a horizontal arrow ending at (45, 195) and (45, 205).
    m_inputs->options.showForces = true;
    m_inputs->options.showVelocity = false;
    m_inputs->parameters.texts[ParameterFields::Mass] = QStringLiteral("0,01");
    drawAlone();
    QCOMPARE(pixel(55, 200), green);
    QCOMPARE(pixel(50, 198), green);
    QCOMPARE(pixel(50, 203), green);
    QCOMPARE(pixel(55, 190), white);
}

void TestVectors::hugeVectorsClipped()
{
    // Weight and thrust far past 32 bits of pixels, drawn from centres at
    // the limits of 16 bits: clipped at the edges, quickly, without overflow.
    m_inputs->parameters.texts[ParameterFields::Mass] = QStringLiteral("1E+30");
    m_inputs->parameters.texts[ParameterFields::FluidDensity] = QStringLiteral("1E+30");
    m_inputs->parameters.texts[ParameterFields::SphereDensity] = QStringLiteral("1E+30");
    m_inputs->simulation.expoids = -30;
    m_inputs->options.showVelocity = true;
    m_inputs->simulation.temps = 1.0;
    m_inputs->simulation.vit = 1e30f;
    m_inputs->simulation.reynolds = 1e30;
    drawAlone();
    // Thrust and friction saturated upwards, up to the top, the friction
    // drawn over the thrust; the velocity down to the bottom, drawn last.
    QCOMPARE(run(55, 199, -1, darkBlue), 200);
    QCOMPARE(run(55, 200, +1, orange), 293);

    m_inputs->options.showVelocity = false;
    for (int gy : {-32768, 32767}) {
        surface().clear();
        m_vectors->lesvecteurs(55, gy);
        QCOMPARE(run(55, 0, +1, gy < 0 ? green : darkBlue), 493);
        QCOMPARE(pixel(54, 250), white);
        QCOMPARE(pixel(57, 250), white);
    }
}

QTEST_MAIN(TestVectors)
#include "tst_vectors.moc"
