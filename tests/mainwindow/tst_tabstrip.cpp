// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/chronopanel.h"
#include "mainwindow/colourswatch.h"
#include "mainwindow/displaypanel.h"
#include "mainwindow/parameterpanel.h"
#include "mainwindow/scalespinner.h"
#include "mainwindow/tabstrip.h"
#include "mainwindow/vectorpanel.h"
#include "platform/palette.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QtTest>

namespace {

using Limits = std::array<int, 5>;

// Darker than the strip's grey and the separators: caption ink.
bool isInk(QRgb pixel)
{
    return qRed(pixel) < 100;
}

// Topmost row holding ink between columns left..right (inclusive) and rows
// 0..bottom, and how many ink pixels there are.
QPair<int, int> ink(const QImage &image, int left, int right, int bottom)
{
    int top = -1;
    int count = 0;
    for (int y = 0; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (isInk(image.pixel(x, y))) {
                if (top < 0)
                    top = y;
                ++count;
            }
        }
    }
    return {top, count};
}

// The middle of tab i as the strip last painted it.
int middleOf(const TabStrip &strip, int tab)
{
    return (strip.limonglet()[tab - 1] + strip.limonglet()[tab]) / 2;
}

} // namespace

class TestTabStrip : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void tabAt_data();
    void tabAt();
    void releasesSelectTabs();
    void releaseOnCurrentTabRepaintsNothing();
    void clickOnStrip();
    void baseLineOpensUnderCurrentTab();
    void currentCaptionIsBoldAndLower();
    void optionsFollowTheControls();
    void setOptionsRunsTheHandlers();
    void panelPlacement();
    void swatches();
};

void TestTabStrip::layout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("captions");
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<float>("gap");

    QTest::newRow("usual") << 293 << QList<int> {60, 50, 50, 100}
                           << QList<int> {-1, 67, 125, 183, 293} << 4.125f;
    // A gap of 0.25: every boundary falls on a half, which goes to the even
    // neighbour (10, 20, 30 rather than 10, 21, 32).
    QTest::newRow("halves to even")
        << 42 << QList<int> {10, 10, 10, 10} << QList<int> {-1, 10, 20, 30, 42} << 0.25f;
    // Captions wider than the strip: the gap turns negative and the tabs overlap
    // their captions, but the last one still ends at the edge.
    QTest::newRow("too narrow") << 100 << QList<int> {40, 40, 40, 40}
                                << QList<int> {-1, 24, 49, 74, 100} << -7.5f;
}

void TestTabStrip::layout()
{
    QFETCH(int, width);
    QFETCH(QList<int>, captions);
    QFETCH(QList<int>, expected);
    QFETCH(float, gap);

    const TabStrip::Layout layout
        = TabStrip::tabLayout(width, {captions[0], captions[1], captions[2], captions[3]});
    QCOMPARE(QList<int>(layout.limonglet.begin(), layout.limonglet.end()), expected);
    QCOMPARE(layout.gap, gap);
}

void TestTabStrip::tabAt_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("tab");

    QTest::newRow("left of the strip") << -2 << 0;
    QTest::newRow("first boundary") << -1 << 0;
    QTest::newRow("left edge") << 0 << 1;
    QTest::newRow("boundary belongs to the left tab") << 67 << 1;
    QTest::newRow("just past it") << 68 << 2;
    QTest::newRow("last tab") << 200 << 4;
    QTest::newRow("right edge") << 293 << 4;
    QTest::newRow("beyond the right edge") << 294 << 0;
}

void TestTabStrip::tabAt()
{
    QFETCH(int, x);
    QFETCH(int, tab);
    QCOMPARE(TabStrip::tabAt(Limits {-1, 67, 125, 183, 293}, x), tab);
}

void TestTabStrip::releasesSelectTabs()
{
    TabStrip strip;
    strip.refresh();
    QCOMPARE(strip.onglet(), 1);
    QVERIFY(!strip.Picture3()->isHidden());
    QSignalSpy changed(&strip, &TabStrip::tabChanged);

    strip.Onglets_MouseUp(Qt::RightButton, {}, middleOf(strip, 3), 15);
    QCOMPARE(strip.onglet(), 3);
    QVERIFY(strip.Picture3()->isHidden());
    QVERIFY(!strip.Picture1()->isHidden());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().at(0).toInt(), 3);

    // Below the tab row, even inside a tab's outline, or above the strip.
    strip.Onglets_MouseUp(Qt::LeftButton, {}, middleOf(strip, 2), 16);
    strip.Onglets_MouseUp(Qt::LeftButton, {}, middleOf(strip, 2), -1);
    QCOMPARE(strip.onglet(), 3);
    QCOMPARE(changed.count(), 0);

    // Pressed on the strip and released beyond its right edge: no tab, shown
    // as "Paramètres".
    const int W = strip.area().width();
    strip.Onglets_MouseUp(Qt::LeftButton, {}, W + 30, 4);
    QCOMPARE(strip.onglet(), 1);
    QVERIFY(!strip.Picture3()->isHidden());
    QVERIFY(strip.Picture1()->isHidden());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.takeFirst().at(0).toInt(), 1);

    // The same beyond the left edge while "Paramètres" is already shown:
    // repainted, but the panel does not change.
    strip.Onglets_MouseUp(Qt::LeftButton, {}, -10, 4);
    QCOMPARE(strip.onglet(), 1);
    QCOMPARE(changed.count(), 0);
}

void TestTabStrip::releaseOnCurrentTabRepaintsNothing()
{
    TabStrip strip;
    strip.refresh();
    strip.Onglets_MouseUp(Qt::LeftButton, {}, middleOf(strip, 4), 0);
    QCOMPARE(strip.onglet(), 4);

    QSignalSpy painted(&strip, &SurfaceWidget::paintRequested);
    QSignalSpy panelPainted(strip.Picture6(), &SurfaceWidget::paintRequested);
    strip.Onglets_MouseUp(Qt::LeftButton, {}, strip.limonglet()[4], 10);
    QCOMPARE(strip.onglet(), 4);
    QCOMPARE(painted.count(), 0);
    QCOMPARE(panelPainted.count(), 0);
}

void TestTabStrip::clickOnStrip()
{
    // Real clicks arrive in widget pixels, the border included.
    TabStrip strip;
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QCOMPARE(strip.onglet(), 1);
    const int x = TabStrip::border + middleOf(strip, 2);
    QTest::mouseClick(&strip, Qt::LeftButton, {}, QPoint(x, TabStrip::border + 3));
    QCOMPARE(strip.onglet(), 2);
    QVERIFY(strip.frame2()->isVisible());
    QVERIFY(!strip.Picture3()->isVisible());
}

void TestTabStrip::baseLineOpensUnderCurrentTab()
{
    TabStrip strip;
    strip.refresh();
    for (int tab = 1; tab <= 4; ++tab) {
        strip.Onglets_MouseUp(Qt::LeftButton, {}, middleOf(strip, tab), 5);
        QCOMPARE(strip.onglet(), tab);
        const QImage image = strip.area();
        const Limits lim = strip.limonglet();
        const int row = strip.captionHeight() + 1;
        const int gapStart = std::max(lim[tab - 1] + 2, 0);
        for (int x = 0; x < image.width(); ++x) {
            const bool white = image.pixel(x, row) == qRgb(255, 255, 255);
            const bool inGap = x >= gapStart && x < lim[tab];
            QVERIFY2(white != inGap, qPrintable(QStringLiteral("tab %1, x %2").arg(tab).arg(x)));
        }
    }
}

void TestTabStrip::currentCaptionIsBoldAndLower()
{
    TabStrip strip;
    strip.refresh();
    const auto vecteurs = [&strip] {
        const Limits lim = strip.limonglet();
        return ink(strip.area(), lim[1] + 2, lim[2] - 2, strip.captionHeight());
    };
    strip.Onglets_MouseUp(Qt::LeftButton, {}, middleOf(strip, 2), 5);
    const auto current = vecteurs();
    strip.Onglets_MouseUp(Qt::LeftButton, {}, middleOf(strip, 3), 5);
    const auto other = vecteurs();

    QVERIFY(other.first > 0);
    QCOMPARE(current.first, other.first + 1);
    QVERIFY2(current.second > other.second, "the current caption is in bold");
}

void TestTabStrip::panelPlacement()
{
    TabStrip strip;
    QCOMPARE(strip.size(), QSize(297, 329));
    strip.refresh();
    const int W = strip.area().width();
    const int H = strip.area().height();
    QCOMPARE(W, 293);
    QCOMPARE(H, 325);
    const int th = strip.captionHeight();
    QVERIFY(th > 0);

    const QList<SurfaceWidget *> panels {strip.Picture3(), strip.frame2(), strip.Picture1(),
                                         strip.Picture6()};
    const QRect place(TabStrip::border + 4, TabStrip::border + th + 5, W - 8, H - th - 9);
    for (int tab = 1; tab <= 4; ++tab) {
        strip.Onglets_MouseUp(Qt::LeftButton, {}, middleOf(strip, tab), 5);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(panels[i]->isHidden(), i != tab - 1);
            if (i == tab - 1)
                QCOMPARE(panels[i]->geometry(), place);
        }
    }

    // The frame around the panel: dark at its top left, white at its bottom
    // right, in the area's coordinates.
    const QImage image = strip.area();
    QCOMPARE(image.pixel(3, th + 4), QBColor(8).rgb());
    QCOMPARE(image.pixel(W - 4, H - 4), QBColor(15).rgb());
    QCOMPARE(image.pixel(2, H - 3), qRgb(210, 205, 200));
}

void TestTabStrip::swatches()
{
    TabStrip strip;
    const QList<QColor> colours {QColor(255, 128, 0), QColor(255, 0, 255), QColor(0, 192, 0),
                                 QColor(192, 0, 0), QColor(0, 0, 192)};
    for (int i = 0; i < 5; ++i) {
        QVERIFY(strip.Label4(i));
        QCOMPARE(strip.Label4(i)->colour(), colours[i]);
        QCOMPARE(strip.Label4(i)->property("index").toInt(), i);
    }
    QCOMPARE(strip.Label4(1)->parent(), strip.Picture6());
    QCOMPARE(strip.Label4(-1), nullptr);
    QCOMPARE(strip.Label4(5), nullptr);
}

void TestTabStrip::optionsFollowTheControls()
{
    TabStrip strip;
    QCOMPARE(strip.options(), DisplayOptions());
    // A user's change is in the options before the other handlers run.
    bool axisSeen = true;
    connect(strip.Picture1()->Check1(), &QCheckBox::toggled, this,
            [&] { axisSeen = strip.options().showAxis; });
    QTest::mouseClick(strip.Picture1()->Check1(), Qt::LeftButton);
    QVERIFY(!axisSeen);
    strip.Picture1()->Option1(2)->click();
    strip.Picture6()->Check9()->click();
    strip.frame2()->VScroll1()->setValue(12);
    DisplayOptions expected;
    expected.showAxis = false;
    expected.graphQuantity = DisplayOptions::Acceleration;
    expected.keepVectorsOnMarks = false;
    expected.velocityScale = 12;
    QCOMPARE(strip.options(), expected);
}

void TestTabStrip::setOptionsRunsTheHandlers()
{
    TabStrip strip;
    QSignalSpy scene(&strip, &TabStrip::sceneOptionChanged);
    QSignalSpy colours(&strip, &TabStrip::colourChanged);
    QSignalSpy quantity(&strip, &TabStrip::graphQuantityChanged);
    QSignalSpy index(&strip, &TabStrip::indexShownChanged);

    DisplayOptions o;
    o.showRuler = false;
    o.showForces = true;
    o.forceScale = 90;
    o.showIndex = false;
    o.slowMotion = true;
    o.boldGraph = true;
    o.crossMarks = true;
    o.graphQuantity = DisplayOptions::Velocity;
    o.colours[DisplayOptions::FrictionColour] = 255;
    // A system colour keeps its stored value.
    o.colours[DisplayOptions::WeightColour] = qint32(0x80000005);
    strip.setOptions(o);

    QCOMPARE(strip.options(), o);
    QCOMPARE(scene.size(), 3); // ruler, forces, force scale
    QCOMPARE(quantity.size(), 1);
    QCOMPARE(quantity.at(0).at(0).toInt(), 1);
    QCOMPARE(index.size(), 1);
    QCOMPARE(colours.size(), 2);
    QCOMPARE(strip.Label4(4)->colour(), QColor(255, 0, 0));
    QVERIFY(strip.Picture1()->speed()->isChecked());
    QVERIFY(strip.Picture6()->Check2()->isChecked());
    QCOMPARE(strip.frame2()->VScroll3()->value(), 90);

    // Setting the same options again changes nothing and runs nothing.
    strip.setOptions(o);
    QCOMPARE(scene.size(), 3);
    QCOMPARE(colours.size(), 2);
}

QTEST_MAIN(TestTabStrip)
#include "tst_tabstrip.moc"
