// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "core/motion.h"
#include "graphs/graphframe.h"
#include "graphs/smallgraph.h"
#include "platform/drawingsurface.h"
#include "support/defaultfall.h"

#include <QTest>

#include <cmath>

namespace {

const QColor grey(192, 192, 192);
const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);
const QColor orange(250, 150, 0);

// Frame1 with the default fall computed as the reset leaves it.
struct Fixture : DefaultFall
{
    DrawingSurface frame1 {357, 261};
    SmallGraph graph {frame1, clock.state(), optionsSource()};

    explicit Fixture(int quantity = DisplayOptions::Position)
    {
        reset(quantity);
        graph.repgraphe();
    }
    QColor pixel(int x, int y) const { return frame1.image().pixelColor(x, y); }
    // Advances the clock as a tick does and extends the graph.
    void tick(double dt)
    {
        SimulationState &s = clock.state();
        s.temps = std::min(s.temps + dt, s.tfin);
        Motion::evaluate(s);
        graph.tracegraphe();
    }
    int countInColumn(int x, const QColor &colour) const
    {
        int n = 0;
        for (int y = 0; y < frame1.height(); ++y)
            n += pixel(x, y) == colour;
        return n;
    }
};

} // namespace

class TestSmallGraph : public QObject
{
    Q_OBJECT

private slots:
    void gridLines();
    void axesAndArrowheads();
    void firstPoint_data();
    void firstPoint();
    void divisionTexts();
    void valueCaptionUnit_data();
    void valueCaptionUnit();
    void noSegmentAtTimeZero();
    void fullFall();
    void boldOnlyAfterChecked();
    void blankWithoutFall();
};

void TestSmallGraph::gridLines()
{
    Fixture f;
    const GraphScale &s = f.graph.scale();
    QCOMPARE(int(s.mantt), 12); // tfin ≈ 11,27 s: six divisions of 2 s
    QCOMPARE(s.d, 2);
    const float columnStep = 2.0f * 280.0f / 12.0f;
    for (int i = 1; i <= 6; ++i) {
        const int x = int(std::floor(30.0f + i * columnStep + 0.5f));
        QCOMPARE(f.pixel(x, 100), grey);
        QCOMPARE(f.pixel(x + 3, 101), QColor(Qt::white));
    }
    const float rowStep = float(s.dv) * 200.0f / float(s.mantv);
    for (float y = 230.0f - rowStep; y >= 29.0f; y -= rowStep)
        QCOMPARE(f.pixel(300, int(std::floor(y + 0.5f))), grey);
    // Nothing beyond the plot's right edge but the time axis.
    QCOMPARE(f.pixel(315, 100), QColor(Qt::white));
}

void TestSmallGraph::axesAndArrowheads()
{
    Fixture f;
    const QColor black(0, 0, 0);
    QCOMPARE(f.pixel(30, 15), black);
    QCOMPARE(f.pixel(30, 120), black);
    QCOMPARE(f.pixel(32, 19), black);
    QCOMPARE(f.pixel(28, 19), black);
    QCOMPARE(f.pixel(200, 230), black);
    QCOMPARE(f.pixel(329, 230), black);
    QCOMPARE(f.pixel(326, 228), black);
    QCOMPARE(f.pixel(326, 232), black);
    QCOMPARE(f.pixel(331, 230), QColor(Qt::white));
}

void TestSmallGraph::firstPoint_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("position") << int(DisplayOptions::Position) << blue;
    QTest::newRow("velocity") << int(DisplayOptions::Velocity) << red;
    QTest::newRow("acceleration") << int(DisplayOptions::Acceleration) << orange;
}

void TestSmallGraph::firstPoint()
{
    QFETCH(int, quantity);
    QFETCH(QColor, colour);
    Fixture f(quantity);
    const SimulationState &s = f.clock.state();
    double y = 230;
    if (quantity == DisplayOptions::Acceleration)
        y = 230 - s.vlim / s.tau * 200 / f.graph.scale().fv();
    QCOMPARE(f.frame1.currentX(), 30.0);
    QCOMPARE(f.frame1.currentY(), y);
    QCOMPARE(f.pixel(30, int(std::floor(y + 0.5))), colour);
    // The first segment starts there, in the same colour: its middle is drawn.
    f.tick(0.5);
    const int mx = int(std::floor((30 + f.frame1.currentX()) / 2 + 0.5));
    const int my = int(std::floor((y + f.frame1.currentY()) / 2 + 0.5));
    bool drawn = false;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            drawn = drawn || f.pixel(mx + dx, my + dy) == colour;
    QVERIFY(drawn);
    QVERIFY(f.frame1.currentX() > 30.0);
}

void TestSmallGraph::divisionTexts()
{
    QCOMPARE(GraphFrame::divisionText(0.1, QStringLiteral("s")),
             QStringLiteral("Une division correspond à 0,1 s"));
    QCOMPARE(GraphFrame::divisionText(2.0, QStringLiteral("s")),
             QStringLiteral("Une division correspond à 2 s"));
    QCOMPARE(GraphFrame::divisionText(5e-7, QStringLiteral("m")),
             QStringLiteral("Une division correspond à 5E-07 m"));

    // The time text ends 10 pixels from the right edge, 10 above the bottom.
    Fixture f;
    auto inked = [&](int x0, int x1, int y0, int y1) {
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y)
                if (f.pixel(x, y) != QColor(Qt::white))
                    return true;
        return false;
    };
    QVERIFY(inked(250, 347, 235, 251));
    QVERIFY(!inked(347, 357, 235, 261));
    // The value text starts at x = 45 on the top rows.
    QVERIFY(inked(45, 60, 7, 18));
    QVERIFY(!inked(36, 45, 0, 12));
}

void TestSmallGraph::valueCaptionUnit_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QString>("exponent");
    QTest::newRow("position: m") << int(DisplayOptions::Position) << QString();
    QTest::newRow("velocity: m · s-1") << int(DisplayOptions::Velocity) << QStringLiteral("-1");
    QTest::newRow("acceleration: m · s-2")
        << int(DisplayOptions::Acceleration) << QStringLiteral("-2");
}

// The value caption's top band, inked exactly as the caption written by hand
// with its raised exponent, if any.
void TestSmallGraph::valueCaptionUnit()
{
    QFETCH(int, quantity);
    QFETCH(QString, exponent);
    Fixture f(quantity);
    DrawingSurface expected(357, 261);
    expected.setFontName(QStringLiteral("Arial"));
    expected.setFontSize(8);
    expected.setCurrentPoint(45, 7);
    expected.print(GraphFrame::divisionText(f.graph.scale().valueDivision(), QStringLiteral("m")));
    if (!exponent.isEmpty()) {
        expected.print(QStringLiteral(" · s"));
        expected.setCurrentY(5);
        expected.print(exponent);
    }
    const QRect band(40, 0, 317, 26);
    QCOMPARE(f.frame1.image().copy(band), expected.image().copy(band));
}

void TestSmallGraph::noSegmentAtTimeZero()
{
    Fixture f;
    const QImage before = f.frame1.image();
    f.graph.tracegraphe();
    QCOMPARE(f.frame1.image(), before);
}

void TestSmallGraph::fullFall()
{
    Fixture f;
    const SimulationState &s = f.clock.state();
    while (s.temps < s.tfin)
        f.tick(0.04);
    const double endX = 30 + s.tfin * 280 / f.graph.scale().ft();
    QCOMPARE(f.frame1.currentX(), endX);
    QCOMPARE(f.frame1.currentY(), 230 - double(s.ypos) * 200 / f.graph.scale().fv());
    // The segment reaches the column before its end point.
    QCOMPARE(f.countInColumn(int(std::floor(endX + 0.5)) - 1, blue), 1);
}

void TestSmallGraph::boldOnlyAfterChecked()
{
    Fixture f;
    const SimulationState &s = f.clock.state();
    while (s.temps < s.tfin / 2)
        f.tick(0.04);
    const int middle = int(f.frame1.currentX());
    f.options.boldGraph = true;
    while (s.temps < s.tfin)
        f.tick(0.04);
    // The curve is flatter than 45°: a thin segment has one pixel per
    // column, a bold one a second pixel under it.
    for (int x = 40; x < middle - 2; x += 7)
        QCOMPARE(f.countInColumn(x, blue), 1);
    for (int x = middle + 2; x < int(f.frame1.currentX()) - 2; x += 7)
        QVERIFY2(f.countInColumn(x, blue) >= 2, qPrintable(QString::number(x)));
    QCOMPARE(f.frame1.drawWidth(), 1);
}

void TestSmallGraph::blankWithoutFall()
{
    Fixture f;
    f.clock.state().tfin = 0.0;
    f.graph.repgraphe();
    QVERIFY(!f.graph.scale().isValid());
    f.clock.state().temps = 1.0;
    f.graph.tracegraphe();
    QImage white(f.frame1.image().size(), f.frame1.image().format());
    white.fill(Qt::white);
    QCOMPARE(f.frame1.image(), white);
}

QTEST_MAIN(TestSmallGraph)
#include "tst_smallgraph.moc"
