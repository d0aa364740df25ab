// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/chronopanel.h"
#include "mainwindow/displaypanel.h"
#include "mainwindow/parameterpanel.h"
#include "mainwindow/tabstrip.h"
#include "mainwindow/vectorpanel.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

// The tab strip and its panels on a screen of two device pixels per pixel,
// and moved to one of one device pixel per pixel.

namespace {

// Whether some 2 x 2 block of device pixels inside the pixel rectangle area
// is not of one colour: detail a plain enlargement of the picture at its
// size in pixels cannot have.
bool hasDeviceDetail(const QImage &dense, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb corner = dense.pixel(2 * x, 2 * y);
            if (dense.pixel(2 * x + 1, 2 * y) != corner || dense.pixel(2 * x, 2 * y + 1) != corner
                || dense.pixel(2 * x + 1, 2 * y + 1) != corner)
                return true;
        }
    }
    return false;
}

// The caption row of tab i, inside its separators, in strip pixels; the
// current caption sits one pixel lower, so the row reaches th + 1.
QRect captionRow(const TabStrip &strip, int tab)
{
    const auto &lim = strip.limonglet();
    return QRect(TabStrip::border + lim[tab - 1] + 1, TabStrip::border + 1,
                 lim[tab] - lim[tab - 1] - 2, strip.captionHeight() + 1);
}

} // namespace

class TestTabStripHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void captionsHaveDeviceDetail_data();
    void captionsHaveDeviceDetail();
    void linesKeepTheirPixels();
    void onePixelLineIsTwoDevicePixelsWide();
    void panelsDrawAtTheScreenDensity_data();
    void panelsDrawAtTheScreenDensity();
    void followsTheWindowToAnotherScreen();
};

void TestTabStripHiDpi::captionsHaveDeviceDetail_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("Paramètres") << 1;
    QTest::newRow("Vecteurs") << 2;
    QTest::newRow("Affichage") << 3;
    QTest::newRow("Chronophotographie") << 4;
}

void TestTabStripHiDpi::captionsHaveDeviceDetail()
{
    QFETCH(int, tab);
    TabStrip strip;
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QCOMPARE(strip.devicePixelRatioF(), 2.0);
    strip.selectTab(tab == 1 ? 2 : 1);
    QCOMPARE(strip.surface().devicePixelRatio(), 2);

    // Every caption, the current one in bold and the others, is rendered at
    // the device resolution, not enlarged from the picture in pixels.
    const QImage &dense = strip.surface().displayImage();
    QCOMPARE(dense.size(), strip.size() * 2);
    QVERIFY(hasDeviceDetail(dense, captionRow(strip, tab)));
    strip.selectTab(tab);
    QVERIFY(hasDeviceDetail(strip.surface().displayImage(), captionRow(strip, tab)));

    // What the screen gets is that picture.
    const QImage shown = strip.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), strip.size() * 2);
    QVERIFY(hasDeviceDetail(shown, captionRow(strip, tab)));

    // Printing and the clipboard still get the strip in pixels.
    const QImage &plain = strip.surface().image();
    QCOMPARE(plain.size(), strip.size());
}

void TestTabStripHiDpi::linesKeepTheirPixels()
{
    TabStrip strip;
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    const QImage &plain = strip.surface().image();
    const QImage &dense = strip.surface().displayImage();
    // Away from the captions the strip is lines and boxes along the axes:
    // each pixel is exactly its 2 x 2 device pixels, so the geometry is the
    // one of the picture in pixels.
    QList<QRect> captions;
    for (int tab = 1; tab <= 4; ++tab)
        captions.append(captionRow(strip, tab));
    int checked = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (std::any_of(captions.cbegin(), captions.cend(),
                            [x, y](const QRect &r) { return r.contains(x, y); }))
                continue;
            const QRgb pixel = plain.pixel(x, y);
            for (int k = 0; k < 4; ++k) {
                if (dense.pixel(2 * x + k % 2, 2 * y + k / 2) != pixel)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
            ++checked;
        }
    }
    QVERIFY(checked > plain.width() * plain.height() / 2);
}

void TestTabStripHiDpi::onePixelLineIsTwoDevicePixelsWide()
{
    TabStrip strip;
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    const QImage &dense = strip.surface().displayImage();
    const QColor white(Qt::white);
    // The base line under tab 3 (not the current one), between its left
    // separator and its caption: white on row th + 1 of the area only.
    const int x = 2 * (TabStrip::border + strip.limonglet()[2] + 2);
    const int base = 2 * (TabStrip::border + strip.captionHeight() + 1);
    for (int y = base - 2; y < base + 4; ++y) {
        const bool on = y == base || y == base + 1;
        QCOMPARE(dense.pixelColor(x, y) == white, on);
        QCOMPARE(dense.pixelColor(x + 1, y) == white, on);
    }
    // The white separator right of tab 1: two device columns.
    const int separator = 2 * (TabStrip::border + strip.limonglet()[1]);
    const int row = 2 * (TabStrip::border + 5);
    for (int dx = -1; dx <= 2; ++dx)
        QCOMPARE(dense.pixelColor(separator + dx, row) == white, dx == 0 || dx == 1);
}

void TestTabStripHiDpi::panelsDrawAtTheScreenDensity_data()
{
    QTest::addColumn<int>("tab");
    QTest::newRow("Paramètres") << 1;
    QTest::newRow("Vecteurs") << 2;
    QTest::newRow("Affichage") << 3;
    QTest::newRow("Chronophotographie") << 4;
}

void TestTabStripHiDpi::panelsDrawAtTheScreenDensity()
{
    QFETCH(int, tab);
    TabStrip strip;
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    strip.selectTab(tab);
    const std::array<SurfaceWidget *, 4> panels
        = {strip.Picture3(), strip.frame2(), strip.Picture1(), strip.Picture6()};
    SurfaceWidget *panel = panels[tab - 1];
    QVERIFY(panel->isVisible());
    // Each panel prints captions on its own surface, which has the ratio.
    const DrawingSurface &s = panel->surface();
    QCOMPARE(s.devicePixelRatio(), 2);
    QCOMPARE(s.displayImage().size(), panel->size() * 2);
    QVERIFY(hasDeviceDetail(s.displayImage(), QRect(QPoint(0, 0), panel->size())));
}

void TestTabStripHiDpi::followsTheWindowToAnotherScreen()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QCOMPARE(screens.size(), 2);
    TabStrip strip;
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    strip.selectTab(2);
    const QImage plainAtTwo = strip.surface().image();
    QCOMPARE(strip.surface().devicePixelRatio(), 2);

    // On the plain screen the strip is drawn again at once, with no second
    // picture, and in pixels nothing differs from the dense screen.
    strip.windowHandle()->setScreen(screens.at(1));
    QCOMPARE(strip.devicePixelRatioF(), 1.0);
    QCOMPARE(strip.area().devicePixelRatio(), 1);
    QCOMPARE(strip.surface().displayImage().size(), strip.size());
    QCOMPARE(strip.surface().image(), plainAtTwo);
    QCOMPARE(strip.frame2()->surface().devicePixelRatio(), 1);
    QCOMPARE(strip.frame2()->surface().displayImage().size(), strip.frame2()->size());

    // Back on the dense screen, the captions are sharp again.
    strip.windowHandle()->setScreen(screens.at(0));
    QCOMPARE(strip.surface().devicePixelRatio(), 2);
    QCOMPARE(strip.frame2()->surface().devicePixelRatio(), 2);
    QVERIFY(hasDeviceDetail(strip.surface().displayImage(), captionRow(strip, 2)));
    QCOMPARE(strip.surface().image(), plainAtTwo);
}

int main(int argc, char *argv[])
{
    // Two off-screen screens side by side: the first, where windows open,
    // with two device pixels per pixel, the second with one.
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screens.json")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write(R"({"screens": [
        {"name": "dense", "x": 0, "y": 0, "width": 1000, "height": 800,
         "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2},
        {"name": "plain", "x": 1000, "y": 0, "width": 1000, "height": 800,
         "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    TestTabStripHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tabstrip_hidpi.moc"
