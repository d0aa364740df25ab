// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/animationclock.h"
#include "core/motion.h"
#include "core/numberformat.h"
#include "graphs/graphes.h"
#include "graphs/graphframe.h"
#include "graphs/measuredplot.h"
#include "graphs/plotpicking.h"
#include "graphs/residualplot.h"
#include "graphs/smallgraph.h"
#include "measures/measurementholder.h"
#include "platform/surfacewidget.h"
#include "support/fakefields.h"
#include "support/scriptedservices.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRubberBand>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

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

    // viscosity: the main window's field, Pa·s (the default fall's when empty).
    explicit Fixture(int quantity, const QString &viscosity = QString())
    {
        if (!viscosity.isEmpty())
            fields.texts[ParameterFields::Viscosity] = viscosity;
        options.graphQuantity = quantity;
        clock.command18_Click();
        window.setMeasurements(&holder, [](QWidget *) {});
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
    // The pixel of (t, value) on Picture1.
    QPoint pixel(double t, double value) const
    {
        const GraphGeometry &g = graphWindowGeometry;
        return {int(std::lround(g.x(t, window.scale()))),
                int(std::lround(g.y(value, window.scale())))};
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
    void pointsShiftedOntoTheRelease();
    void markersAtThePoints_data();
    void markersAtThePoints();
    void excludedPointsAreHollow();
    void scaleGrowsForLongerMeasures();
    void velocityByCentralDifferences();
    void smallGraphShowsThePoints();
    void toolNeedsAHolder();
    void pixelsAndTimes_data();
    void pixelsAndTimes();
    void clickOnThePlot_data();
    void clickOnThePlot();
    void dragSetsTheRange_data();
    void dragSetsTheRange();
    void residualScale_data();
    void residualScale();
    void residualsUnderThePlot();
    void stripToolsApart_data();
    void stripToolsApart();
    void fittedModelThroughThePoints();
    void scaleFitsTheMeasurements_data();
    void scaleFitsTheMeasurements();
    void lostPointsOffTheCaptions();
    void zoomOnTheFitRange();
};

void TestGraphMeasures::zoomOnTheFitRange()
{
    Fixture f(DisplayOptions::Position);
    MeasurementSet set;
    for (int i = 0; i <= 20; ++i) // 2 cm/s for 2 s
        set.points.push_back(
            {0.1 * i, 0.002 * i, std::nan(""), i + 2, MeasuredPoint::Exclusion::None});
    f.holder.setSet(set);
    const double wholeFt = f.window.scale().ft();
    // The wheel does nothing without a range to show.
    const QPointF over(200, 200);
    QWheelEvent forward(over, f.window.Picture1->mapToGlobal(over), {}, {0, 120}, Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.window.Picture1, &forward);
    QVERIFY(!f.holder.zoomedOnRange());

    f.holder.setFitRange({1.0, 1.5});
    QApplication::sendEvent(f.window.Picture1, &forward);
    QVERIFY(f.holder.zoomedOnRange());
    const GraphScale &zoomed = f.window.scale();
    // The axes start at the range: 1 s and 2 cm, a half second across.
    QVERIFY2(std::abs(zoomed.t0 - 1.0) < 1e-9, qPrintable(QString::number(zoomed.t0)));
    QVERIFY2(std::abs(zoomed.v0 - 0.02) < 1e-9, qPrintable(QString::number(zoomed.v0)));
    QVERIFY(zoomed.ft() >= 0.5 && zoomed.ft() <= 0.6);
    QVERIFY(zoomed.fv() >= 0.01 && zoomed.fv() <= 0.012);
    // The point at 1,2 s and 2,4 cm where the zoomed axes put it.
    const GraphGeometry &g = graphWindowGeometry;
    const int x = int(std::lround(30 + (1.2 - 1.0) / zoomed.ft() * 400));
    const int y = int(std::lround(360 - (0.024 - 0.02) / zoomed.fv() * 330));
    QCOMPARE(f.window.Picture1->surface().image().pixelColor(x, y), MeasuredPlot::markerColour);
    QVERIFY(g.x(1.2, zoomed) > g.originX);

    // Towards the user: the whole fall again.
    QWheelEvent back(over, f.window.Picture1->mapToGlobal(over), {}, {0, -120}, Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.window.Picture1, &back);
    QVERIFY(!f.holder.zoomedOnRange());
    QCOMPARE(f.window.scale().t0, 0.0);
    QCOMPARE(f.window.scale().ft(), wholeFt);
}

// A fit whose model is a straight line y = 0,02 m/s · t, unlike the
// simulator's curve, 1,5 mm under the points: the line drawn must be this
// one, not a line joining the points.
void TestGraphMeasures::fittedModelThroughThePoints()
{
    Fixture f(DisplayOptions::Position);
    MeasurementSet set;
    set.sourceName = QStringLiteral("chute.csv");
    for (int i = 0; i <= 10; ++i)
        set.points.push_back({0.1 * i, 0.02 * 0.1 * i + 0.0015, std::nan(""), i + 2,
                              MeasuredPoint::Exclusion::None});
    f.holder.setSet(set);
    FitResult fit;
    fit.status = FitResult::Status::Fitted;
    fit.t0 = 0.0;
    fit.y0 = 0.0;
    for (int i = 0; i <= 10; ++i) {
        const double t = 0.1 * i;
        fit.points.push_back(
            {i, t, set.points[size_t(i)].y, 0.02 * t, set.points[size_t(i)].y - 0.02 * t, true});
    }
    f.holder.setFit(fit);
    // Between the points, on the line, and not on the simulator's curve.
    for (double t : {0.25, 0.55, 0.85})
        QVERIFY2(f.near(t, 0.02 * t, MeasuredPlot::fitColour), qPrintable(QString::number(t)));
    QVERIFY(!f.near(0.55, 0.02 * 0.55 + 0.0015, MeasuredPlot::fitColour));
    // The scale is the measurements': 1 s and 0,02 m, whatever the simulated fall.
    QVERIFY(f.window.scale().ft() >= 1.0 && f.window.scale().ft() <= 1.1);
    QVERIFY2(f.window.scale().fv() >= 0.02 && f.window.scale().fv() <= 0.03,
             qPrintable(QString::number(f.window.scale().fv())));

    // The legend, top left over a rising curve, is a white box no curve
    // crosses, and names the fit.
    const QImage &image = f.window.Picture1->surface().image();
    const GraphGeometry &g = graphWindowGeometry;
    int fitInLegend = 0, white = 0;
    for (int x = int(g.originX) + 40; x < int(g.originX) + 120; ++x) {
        for (int y = int(g.originY - g.valueSpan) + 6; y < int(g.originY - g.valueSpan) + 40; ++y) {
            const QColor c = image.pixelColor(x, y);
            white += c == QColor(Qt::white) ? 1 : 0;
            fitInLegend += c == GraphFrame::curveColour(DisplayOptions::Position) ? 1 : 0;
        }
    }
    QVERIFY(white > 1000);
    QCOMPARE(fitInLegend, 0);
    // Without a fit, no fitted line.
    f.holder.clearFit();
    QVERIFY(!f.near(0.55, 0.02 * 0.55, MeasuredPlot::fitColour));
}

void TestGraphMeasures::scaleFitsTheMeasurements_data()
{
    QTest::addColumn<QString>("viscosity"); // of the simulator, Pa·s
    QTest::addColumn<double>("last");       // time of the last point, s
    QTest::addColumn<double>("ft");         // time full scale expected, s
    // η = 5 Pa·s: the simulated ball needs minutes to fall its metre.
    QTest::newRow("5,5 s video, slow simulated fall") << QStringLiteral("5") << 5.5 << 6.0;
    QTest::newRow("5,5 s video, quick simulated fall") << QStringLiteral("0,2") << 5.5 << 6.0;
    QTest::newRow("0,8 s table, slow simulated fall") << QStringLiteral("5") << 0.8 << 0.8;
}

void TestGraphMeasures::scaleFitsTheMeasurements()
{
    QFETCH(QString, viscosity);
    QFETCH(double, last);
    QFETCH(double, ft);
    Fixture f(DisplayOptions::Position, viscosity);
    MeasurementSet set;
    for (int i = 0; i <= 11; ++i) // 12 points, 2 cm/s
        set.points.push_back({last * i / 11, 0.02 * last * i / 11, std::nan(""), i + 2,
                              MeasuredPoint::Exclusion::None});
    f.holder.setSet(set);
    QCOMPARE(f.window.scale().ft(), ft);
    // The positions fill more than half of the height.
    QVERIFY(f.window.scale().fv() >= 0.02 * last);
    QVERIFY(f.window.scale().fv() < 2 * 0.02 * last);
    // The last point sits inside the plot, at its right.
    QCOMPARE(f.at(last, 0.02 * last), MeasuredPlot::markerColour);
}

// A tracker's zeros after it lost the ball, drawn as measurements, fell on
// the time caption once shifted by the release: they are no positions.
void TestGraphMeasures::lostPointsOffTheCaptions()
{
    Fixture f(DisplayOptions::Position);
    MeasurementSet set = onTheModel(f.state(), {0.2, 0.4, 0.6});
    set.points.push_back(
        {f.state().tfin * 0.8, 0.0, std::nan(""), 9, MeasuredPoint::Exclusion::LostBall});
    f.holder.setSet(set);
    FitResult fit;
    fit.status = FitResult::Status::Fitted;
    fit.t0 = 0.0;
    fit.y0 = 0.01; // the points shift up by 1 cm: the lost zero goes below the axis
    f.holder.setFit(fit);
    const QImage with = f.window.Picture1->surface().image();
    // The same picture as without the lost point.
    set.points.pop_back();
    f.holder.setSet(set);
    f.holder.setFit(fit);
    QCOMPARE(with, f.window.Picture1->surface().image());
    set.points.push_back(
        {f.state().tfin * 0.8, 0.0, std::nan(""), 9, MeasuredPoint::Exclusion::LostBall});
    f.holder.setSet(set);
    QCOMPARE(MeasuredPlot::samples(f.holder.set(), DisplayOptions::Position).size(), size_t(3));
}

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

// Measured from another origin and clock (the ball at rest 2 cm down and
// released at 0,3 s), the points are drawn on the simulator's curve once a
// fit has found that offset, and where they were measured before.
void TestGraphMeasures::pointsShiftedOntoTheRelease()
{
    Fixture f(DisplayOptions::Position);
    const double t0 = 0.3, y0 = 0.02;
    const double tfin = f.state().tfin;
    const auto model = [&f](double t) { return Motion::at(f.state().vlim, f.state().tau, t).y; };
    MeasurementSet set;
    for (double fraction : {0.2, 0.5, 0.8})
        set.points.push_back({t0 + fraction * tfin, y0 + model(fraction * tfin), std::nan(""), 0,
                              MeasuredPoint::Exclusion::None});
    f.holder.setSet(set);
    const double t = 0.5 * tfin;
    QVERIFY(f.near(t + t0, y0 + model(t), MeasuredPlot::markerColour));

    FitResult fit;
    fit.status = FitResult::Status::Fitted;
    fit.t0 = t0;
    fit.y0 = y0;
    f.holder.setFit(fit);
    QVERIFY(f.near(t, model(t), MeasuredPlot::markerColour));
    QVERIFY(!f.near(t + t0, y0 + model(t), MeasuredPlot::markerColour));
    const auto shifted = MeasuredPlot::samples(f.holder.set(), DisplayOptions::Velocity,
                                               MeasuredPlot::offsetOf(&fit));
    QCOMPARE(shifted.size(), size_t(1));
    QCOMPARE(shifted[0].t, t);
    // A fit that gave no η shifts nothing.
    fit.status = FitResult::Status::NotDetermined;
    QVERIFY(!MeasuredPlot::offsetOf(&fit).isShift());
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
    // The points alone: nobody to open the "Mesures" window, no tool.
    window.setMeasurements(&holder);
    QVERIFY(window.mesures->isHidden());
    QWidget *openedOver = nullptr;
    window.setMeasurements(&holder, [&openedOver](QWidget *over) { openedOver = over; });
    QVERIFY(!window.mesures->isHidden());
    QCOMPARE(window.mesures->accessibleName(), QStringLiteral("Mesures"));
    QVERIFY(!window.mesures->toolTip().isEmpty());
    window.mesures->click();
    QCOMPARE(openedOver, &window);
}

void TestGraphMeasures::pixelsAndTimes_data()
{
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("x2");
    QTest::addColumn<double>("tMin");
    QTest::addColumn<double>("tMax");
    // A full scale of 4 s over 400 pixels: 0,01 s a pixel.
    QTest::newRow("left to right") << 130.0 << 230.0 << 1.0 << 2.0;
    QTest::newRow("right to left") << 230.0 << 130.0 << 1.0 << 2.0;
    QTest::newRow("beyond both ends of the axis") << 2.0 << 500.0 << 0.0 << 4.0;
    QTest::newRow("rounded to a pixel's decade") << 30.0 + 123.4 << 30.0 + 250.06 << 1.23 << 2.5;
}

void TestGraphMeasures::pixelsAndTimes()
{
    QFETCH(double, x1);
    QFETCH(double, x2);
    QFETCH(double, tMin);
    QFETCH(double, tMax);
    const GraphScale scale = chooseScale(3.9, 1.0, graphWindowRules);
    QCOMPARE(scale.ft(), 4.0);
    const GraphGeometry &g = graphWindowGeometry;
    const PlotPicking::Range range = PlotPicking::rangeFromDrag(g, scale, x1, x2);
    QVERIFY2(std::abs(range.tMin - tMin) < 1e-12, qPrintable(QString::number(range.tMin)));
    QVERIFY2(std::abs(range.tMax - tMax) < 1e-12, qPrintable(QString::number(range.tMax)));
    // The time under a column is the one drawn there.
    QVERIFY(std::abs(g.x(PlotPicking::timeAt(g, scale, x1), scale) - x1) < 1e-9);
}

void TestGraphMeasures::clickOnThePlot_data()
{
    QTest::addColumn<int>("quantity");
    QTest::addColumn<QPoint>("offset"); // from the middle point's marker
    QTest::addColumn<bool>("leftOut");  // the middle point is left out after one click
    QTest::newRow("on the marker") << int(DisplayOptions::Position) << QPoint(0, 0) << true;
    QTest::newRow("at the marker's edge") << int(DisplayOptions::Position) << QPoint(3, -3) << true;
    QTest::newRow("beside it") << int(DisplayOptions::Position) << QPoint(0, 9) << false;
    QTest::newRow("a pointer that trembles")
        << int(DisplayOptions::Position) << QPoint(0, 0) << true;
    QTest::newRow("a derived velocity is no point")
        << int(DisplayOptions::Velocity) << QPoint(0, 0) << false;
}

void TestGraphMeasures::clickOnThePlot()
{
    QFETCH(int, quantity);
    QFETCH(QPoint, offset);
    QFETCH(bool, leftOut);
    Fixture f(quantity);
    f.holder.setSet(onTheModel(f.state(), {0.2, 0.5, 0.8}));
    const MeasuredPoint p = f.holder.set().points[1];
    const Motion::Point m = Motion::at(f.state().vlim, f.state().tau, p.t);
    const QPoint at = f.pixel(p.t, quantity == DisplayOptions::Velocity ? m.v : p.y) + offset;
    const FitRange range = f.holder.fitRange();
    const bool trembles = QByteArray(QTest::currentDataTag()).contains("trembles");
    const QPoint release = at + (trembles ? QPoint(2, -1) : QPoint());
    QTest::mousePress(f.window.Picture1, Qt::LeftButton, {}, at);
    QTest::mouseRelease(f.window.Picture1, Qt::LeftButton, {}, release);
    QCOMPARE(f.holder.set().points[1].exclusion == MeasuredPoint::Exclusion::User, leftOut);
    QVERIFY(f.holder.set().points[0].included());
    QCOMPARE(f.holder.fitRange(), range); // a click is no range
    if (!leftOut)
        return;
    // Drawn hollow now; a second click takes it back.
    const QPoint centre = at - offset;
    QCOMPARE(f.window.Picture1->surface().image().pixelColor(centre - QPoint(2, 2)),
             MeasuredPlot::excludedColour);
    QVERIFY(f.at(p.t, p.y) != MeasuredPlot::markerColour);
    QTest::mouseClick(f.window.Picture1, Qt::LeftButton, {}, at);
    QVERIFY(f.holder.set().points[1].included());
    QCOMPARE(f.at(p.t, p.y), MeasuredPlot::markerColour);
}

void TestGraphMeasures::dragSetsTheRange_data()
{
    QTest::addColumn<double>("from"); // fractions of the time full scale
    QTest::addColumn<double>("to");
    QTest::newRow("rightwards") << 0.25 << 0.6;
    QTest::newRow("leftwards") << 0.7 << 0.1;
    QTest::newRow("past the end of the axis") << 0.5 << 1.2;
}

void TestGraphMeasures::dragSetsTheRange()
{
    QFETCH(double, from);
    QFETCH(double, to);
    Fixture f(DisplayOptions::Position);
    f.holder.setSet(onTheModel(f.state(), {0.2, 0.5, 0.8}));
    const GraphGeometry &g = graphWindowGeometry;
    const int y = 200;
    const int x1 = int(g.originX + from * g.timeSpan);
    const int x2 = int(g.originX + to * g.timeSpan);
    QTest::mousePress(f.window.Picture1, Qt::LeftButton, {}, QPoint(x1, y));
    // A move with the button held shows the band the release will choose.
    QMouseEvent move(QEvent::MouseMove, QPointF(x2, y + 20),
                     f.window.Picture1->mapToGlobal(QPointF(x2, y + 20)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.Picture1, &move);
    auto *band = f.window.Picture1->findChild<QRubberBand *>();
    QVERIFY(band && band->isVisible());
    QCOMPARE(band->x(), std::min(x1, x2));
    QTest::mouseRelease(f.window.Picture1, Qt::LeftButton, {}, QPoint(x2, y + 20));
    QVERIFY(!band->isVisible());

    const double ft = f.window.scale().ft();
    const double pixel = ft / g.timeSpan;
    const double lo = std::min(from, to) * ft;
    const double hi = std::min(std::max(from, to), 1.0) * ft;
    const FitRange range = f.holder.fitRange();
    QVERIFY2(std::abs(range.tMin - lo) <= pixel, qPrintable(QString::number(range.tMin)));
    QVERIFY2(std::abs(range.tMax - hi) <= pixel, qPrintable(QString::number(range.tMax)));
    for (const MeasuredPoint &p : f.holder.set().points)
        QVERIFY(p.included()); // a drag leaves no point out

    // The range is a pale band behind the grid, from tMin to tMax.
    const QImage &image = f.window.Picture1->surface().image();
    const int inside = int(std::lround(g.x((range.tMin + range.tMax) / 2, f.window.scale()))) + 1;
    const int outside = int(std::lround(g.x(range.tMin, f.window.scale()))) - 3;
    QColor paper = image.pixelColor(inside, 45);
    QVERIFY2(paper != QColor(Qt::white), qPrintable(paper.name()));
    if (outside > g.originX)
        QCOMPARE(image.pixelColor(outside, 45), QColor(Qt::white));
}

void TestGraphMeasures::residualScale_data()
{
    QTest::addColumn<QList<double>>("used");    // residuals of used points, m
    QTest::addColumn<QList<double>>("leftOut"); // of the others
    QTest::addColumn<double>("fullScale");      // mm
    QTest::newRow("0,3 mm") << QList<double> {0.0001, -0.0003} << QList<double> {} << 0.5;
    QTest::newRow("exactly 2 mm") << QList<double> {0.002} << QList<double> {} << 2.0;
    QTest::newRow("just over 2 mm") << QList<double> {-0.00201} << QList<double> {} << 5.0;
    QTest::newRow("a lost ball's zero does not count")
        << QList<double> {0.00004} << QList<double> {0.3} << 0.05;
    QTest::newRow("a perfect fit") << QList<double> {0.0, 0.0} << QList<double> {} << 0.001;
    QTest::newRow("no model") << QList<double> {} << QList<double> {0.001} << 0.0;
}

void TestGraphMeasures::residualScale()
{
    QFETCH(QList<double>, used);
    QFETCH(QList<double>, leftOut);
    QFETCH(double, fullScale);
    FitResult fit;
    double t = 0.0;
    for (double r : used)
        fit.points.push_back({0, t += 0.1, 0.0, -r, r, true});
    for (double r : leftOut)
        fit.points.push_back({0, t += 0.1, 0.0, -r, r, false});
    QCOMPARE(ResidualPlot::fullScale(fit), fullScale);
}

void TestGraphMeasures::residualsUnderThePlot()
{
    Fixture f(DisplayOptions::Position);
    QVERIFY(!f.window.residus->isVisible()); // no measurements, no strip
    f.holder.setSet(onTheModel(f.state(), {0.2, 0.4, 0.6, 0.8}));
    QVERIFY(f.window.residus->isVisible());
    QCOMPARE(f.window.residus->accessibleDescription(), ResidualPlot::description(nullptr));
    QVERIFY(f.window.residus->accessibleDescription().contains(QStringLiteral("aucun ajustement")));

    // Under the plot, on the same time axis.
    const QWidget *plot = f.window.Picture1->parentWidget();
    const QWidget *strip = f.window.residus->parentWidget();
    QCOMPARE(strip->x(), plot->x());
    QVERIFY(strip->y() > plot->geometry().bottom());
    QVERIFY(strip->geometry().bottom() < f.window.height());

    FitResult fit;
    fit.status = FitResult::Status::Fitted;
    const auto &points = f.holder.set().points;
    const double residuals[4] = {0.0004, -0.0008, 0.0, 0.05};
    for (int i = 0; i < 4; ++i)
        fit.points.push_back({i, points[size_t(i)].t, points[size_t(i)].y,
                              points[size_t(i)].y - residuals[i], residuals[i], i != 3});
    f.holder.setFit(fit);
    QCOMPARE(ResidualPlot::fullScale(fit), 1.0);              // 0,8 mm
    const QImage image = f.window.residus->surface().image(); // kept: the strip is redrawn below
    // The frames line up, so a column of the strip is the plot's column.
    for (int i = 0; i < 3; ++i) {
        const int x = f.pixel(points[size_t(i)].t, 0).x();
        // A measurement above the model (a positive residual) is above the
        // zero line: ± 1 mm spans halfSpan rows.
        const int y
            = int(std::lround(ResidualPlot::zeroY - residuals[i] * 1000 * ResidualPlot::halfSpan));
        QCOMPARE(image.pixelColor(x, y), MeasuredPlot::markerColour);
    }
    // The point the fit left out is far off the strip's scale: not drawn.
    const int x3 = f.pixel(points[3].t, 0).x();
    for (int y = 0; y < image.height(); ++y)
        QVERIFY(image.pixelColor(x3, y) != MeasuredPlot::excludedColour);
    QCOMPARE(f.window.residus->accessibleDescription(),
             QStringLiteral("Résidus de 3 points ajustés, de -0,8 mm à 0,4 mm ; "
                            "1 point non utilisé."));

    // Leaving a point out drops the fit: the strip says so again.
    f.holder.setUserExcluded(0, true);
    QVERIFY(!f.holder.lastFit());
    QCOMPARE(f.window.residus->accessibleDescription(), ResidualPlot::description(nullptr));
    QVERIFY(image != f.window.residus->surface().image());
}

void TestGraphMeasures::stripToolsApart_data()
{
    QTest::addColumn<int>("width"); // 0: the window's minimum
    QTest::newRow("minimum") << 0;
    QTest::newRow("main window's width") << 800;
    QTest::newRow("wide") << 1400;
    QTest::newRow("narrower than allowed") << 300;
}

void TestGraphMeasures::stripToolsApart()
{
    QFETCH(int, width);
    Fixture f(DisplayOptions::Position);
    f.holder.setSet(onTheModel(f.state(), {0.5}));
    const QSize minimum = f.window.minimumSize();
    QVERIFY(minimum.width() <= 800 && minimum.height() <= 572); // it can cover the main window
    f.window.resize(width == 0 ? minimum.width() : width, minimum.height());
    QVERIFY(f.window.width() >= minimum.width());
    QList<QWidget *> tools {f.window.Option1[0], f.window.Option1[1], f.window.Option1[2],
                            f.window.Check1,     f.window.mesures,    f.window.Image1[4],
                            f.window.Image1[3],  f.window.Image1[2],  f.window.Image1[1]};
    for (int i = 0; i < tools.size(); ++i) {
        QVERIFY(f.window.Picture3->rect().contains(tools[i]->geometry()));
        for (int j = i + 1; j < tools.size(); ++j)
            QVERIFY2(!tools[i]->geometry().intersects(tools[j]->geometry()),
                     qPrintable(tools[i]->accessibleName() + QStringLiteral(" / ")
                                + tools[j]->accessibleName()));
    }
    // The plot and its residuals stay whole inside the window.
    for (const QWidget *frame :
         {f.window.Picture1->parentWidget(), f.window.residus->parentWidget()})
        QVERIFY(f.window.rect().contains(frame->geometry()));
}

QTEST_MAIN(TestGraphMeasures)
#include "tst_graphmeasures.moc"
