// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "core/motion.h"
#include "graphs/graphes.h"
#include "graphs/graphframe.h"
#include "graphs/measuredplot.h"
#include "graphs/smallgraph.h"
#include "measuresui/measurementholder.h"
#include "platform/surfacewidget.h"
#include "support/fakefields.h"
#include "support/scriptedservices.h"

#include <QTest>
#include <QToolButton>

namespace {

// Points on the default fall at the given fractions of tfin, with the
// positions of the model (a measured fall that matches it).
MeasurementSet onTheModel(const SimulationState &s, const QList<double> &fractions)
{
    MeasurementSet set;
    set.sourceName = QStringLiteral("chute.csv");
    int line = 2;
    for (double f : fractions) {
        const double t = s.tfin * f;
        set.points.push_back({t, Motion::at(s.vlim, s.tau, t).y, std::nan(""), line++,
                              MeasuredPoint::Exclusion::None});
    }
    return set;
}

struct Fixture
{
    FakeFields fields;
    AnimationView view;
    AnimationClock clock {fields, view};
    ScriptedServices services;
    DisplayOptions options;
    MeasurementHolder holder;
    Graphes window {clock.state(), [this] { return options; }, services};

    explicit Fixture(int quantity)
    {
        options.graphQuantity = quantity;
        clock.command18_Click();
        window.setMeasurements(&holder);
        window.show();
    }
    const SimulationState &state() { return clock.state(); }
    // The colour appears within one pixel of (t, value).
    bool near(double t, double value, const QColor &colour) const
    {
        const GraphGeometry &g = graphWindowGeometry;
        const int x = int(std::lround(g.x(t, window.scale())));
        const int y = int(std::lround(g.y(value, window.scale())));
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (window.Picture1->surface().image().pixelColor(x + dx, y + dy) == colour)
                    return true;
        return false;
    }
    QColor at(double t, double value) const
    {
        const GraphGeometry &g = graphWindowGeometry;
        return window.Picture1->surface().image().pixelColor(
            int(std::lround(g.x(t, window.scale()))), int(std::lround(g.y(value, window.scale()))));
    }
};

} // namespace

class TestGraphMeasures : public QObject
{
    Q_OBJECT

private slots:
    void markersAtThePoints_data();
    void markersAtThePoints();
    void excludedPointsAreHollow();
    void scaleGrowsForLongerMeasures();
    void velocityByCentralDifferences();
    void smallGraphShowsThePoints();
    void toolNeedsAHolder();
};

void TestGraphMeasures::markersAtThePoints_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<double>("fraction");
    QTest::newRow("position, mid-fall") << int(DisplayOptions::Position) << 0.5;
    QTest::newRow("position, near the end") << int(DisplayOptions::Position) << 0.9;
    QTest::newRow("velocity, mid-fall") << int(DisplayOptions::Velocity) << 0.5;
}

void TestGraphMeasures::markersAtThePoints()
{
    QFETCH(int, quantity);
    QFETCH(double, fraction);
    Fixture f(quantity);
    const double dt = 0.02;
    f.holder.setSet(onTheModel(f.state(), {fraction - dt, fraction, fraction + dt}));
    const double t = f.state().tfin * fraction;
    const Motion::Point p = Motion::at(f.state().vlim, f.state().tau, t);
    const double value = quantity == DisplayOptions::Velocity ? p.v : p.y;
    QCOMPARE(f.at(t, value), MeasuredPlot::markerColour);
}

void TestGraphMeasures::excludedPointsAreHollow()
{
    Fixture f(DisplayOptions::Position);
    MeasurementSet set = onTheModel(f.state(), {0.3, 0.6});
    set.points[1].exclusion = MeasuredPoint::Exclusion::User;
    f.holder.setSet(set);
    const GraphGeometry &g = graphWindowGeometry;
    const double x = std::lround(g.x(set.points[1].t, f.window.scale()));
    const double y = std::lround(g.y(set.points[1].y, f.window.scale()));
    const QImage &image = f.window.Picture1->surface().image();
    QCOMPARE(image.pixelColor(int(x) - 2, int(y) - 2), MeasuredPlot::excludedColour);
    QVERIFY(image.pixelColor(int(x) - 1, int(y) - 1) != MeasuredPlot::markerColour);
    QCOMPARE(f.at(set.points[0].t, set.points[0].y), MeasuredPlot::markerColour);
}

void TestGraphMeasures::scaleGrowsForLongerMeasures()
{
    Fixture f(DisplayOptions::Position);
    const double ft = f.window.scale().ft();
    const double fv = f.window.scale().fv();
    f.holder.setSet(onTheModel(f.state(), {0.5, 1.0, 2.0}));
    QVERIFY(f.window.scale().ft() >= 2.0 * f.state().tfin);
    QVERIFY(f.window.scale().ft() > ft);
    QVERIFY(f.window.scale().fv() > fv);
    // The model's curve goes on under the last point, beyond tfin.
    QCOMPARE(f.at(2.0 * f.state().tfin,
                  Motion::at(f.state().vlim, f.state().tau, 2.0 * f.state().tfin).y),
             MeasuredPlot::markerColour);
    const double beyond = 1.5 * f.state().tfin;
    QVERIFY(f.near(beyond, Motion::at(f.state().vlim, f.state().tau, beyond).y,
                   GraphFrame::curveColour(DisplayOptions::Position)));
    // Unloading the points brings the model's own scale back.
    f.holder.clear();
    QCOMPARE(f.window.scale().ft(), ft);
}

void TestGraphMeasures::velocityByCentralDifferences()
{
    MeasurementSet set;
    // y = t² sampled at 0, 1, 2, 4 (the third left out), 5: v(t) = 2t.
    for (double t : {0.0, 1.0, 2.0, 3.0, 4.0, 5.0})
        set.points.push_back({t, t * t, std::nan(""), 0, MeasuredPoint::Exclusion::None});
    set.points[3].exclusion = MeasuredPoint::Exclusion::User;
    const auto v = MeasuredPlot::samples(set, DisplayOptions::Velocity);
    QCOMPARE(v.size(), size_t(3));
    QCOMPARE(v[0].t, 1.0);
    QCOMPARE(v[0].value, 2.0);
    QCOMPARE(v[1].t, 2.0);
    QCOMPARE(v[1].value, 5.0); // (16 − 1) / (4 − 1): the excluded point is not a neighbour
    QCOMPARE(v[2].t, 4.0);
    QCOMPARE(v[2].value, 7.0);
    QVERIFY(MeasuredPlot::samples(set, DisplayOptions::Acceleration).empty());
    QCOMPARE(MeasuredPlot::samples(set, DisplayOptions::Position).size(), size_t(6));
}

void TestGraphMeasures::smallGraphShowsThePoints()
{
    FakeFields fields;
    AnimationView view;
    AnimationClock clock {fields, view};
    DrawingSurface frame1 {357, 261};
    DisplayOptions options;
    SmallGraph graph {frame1, clock.state(), [&options] { return options; }};
    MeasurementHolder holder;
    graph.setMeasurements(&holder);
    clock.command18_Click();
    holder.setSet(onTheModel(clock.state(), {0.5}));
    graph.repgraphe();
    const MeasuredPoint p = holder.set().points[0]; // a copy: the set is cleared below
    const GraphGeometry &g = smallGraphGeometry;
    QCOMPARE(frame1.image().pixelColor(int(std::lround(g.x(p.t, graph.scale()))),
                                       int(std::lround(g.y(p.y, graph.scale())))),
             MeasuredPlot::markerColour);
    holder.clear();
    graph.repgraphe();
    QVERIFY(frame1.image().pixelColor(int(std::lround(g.x(p.t, graph.scale()))),
                                      int(std::lround(g.y(p.y, graph.scale()))))
            != MeasuredPlot::markerColour);
}

void TestGraphMeasures::toolNeedsAHolder()
{
    FakeFields fields;
    AnimationView view;
    AnimationClock clock {fields, view};
    ScriptedServices services;
    Graphes window {clock.state(), [] { return DisplayOptions(); }, services};
    QVERIFY(window.mesures->isHidden());
    MeasurementHolder holder;
    window.setMeasurements(&holder);
    QVERIFY(!window.mesures->isHidden());
    QCOMPARE(window.mesures->accessibleName(), QStringLiteral("Mesures"));
    QVERIFY(!window.mesures->toolTip().isEmpty());
}

QTEST_MAIN(TestGraphMeasures)
#include "tst_graphmeasures.moc"
