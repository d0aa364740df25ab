// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/drawingsurface.h"
#include "platform/surfacewidget.h"

#include <QApplication>
#include <QTest>

#include <cmath>

// Surfaces on a screen of two device pixels per pixel: the whole test runs
// with QT_SCALE_FACTOR=2.

namespace {

// The same drawing on any surface, every kind of operation.
void drawEverything(DrawingSurface &s)
{
    s.line(2, 3, 30, 3, Qt::red);
    s.line(4, 5, 25, 19, Qt::blue);
    s.setDrawWidth(2);
    s.line(33, 2, 33, 20, Qt::darkGreen);
    s.box(5, 22, 20, 28, Qt::magenta);
    s.setDrawWidth(1);
    s.box(22, 22, 26, 26, Qt::cyan, true);
    s.point(38, 1, Qt::black);
    s.setFillStyle(DrawingSurface::FillStyle::Solid);
    s.setFillColor(Qt::yellow);
    s.circle(12, 12, 5, Qt::black);
    s.persist();
    s.disc(30, 12.3, 4.6, Qt::darkRed);
    s.setCurrentPoint(2, 8);
    s.print(QStringLiteral("ab"));
}

int countColour(const QImage &image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

} // namespace

class TestHiDpiSurface : public QObject
{
    Q_OBJECT

private slots:
    void pictureAtItsSizeUnchanged();
    void linesTwiceAsWide_data();
    void linesTwiceAsWide();
    void shapesKeepTheirPixels();
    void circleOutlineTwiceAsWide_data();
    void circleOutlineTwiceAsWide();
    void discHasFinerEdges();
    void clearReturnsToPersisted();
    void widgetDrawsAtTheScreenDensity();
    void drawSurfaceCopiesBothLayers_data();
    void drawSurfaceCopiesBothLayers();
    void drawSurfaceAtOtherRatios_data();
    void drawSurfaceAtOtherRatios();
};

void TestHiDpiSurface::pictureAtItsSizeUnchanged()
{
    DrawingSurface plain(40, 30, Qt::white);
    DrawingSurface dense(40, 30, Qt::white);
    dense.setDevicePixelRatio(2);
    drawEverything(plain);
    drawEverything(dense);
    // Printing and the clipboard take image(): the same pixels at any ratio.
    QCOMPARE(dense.image(), plain.image());
    QCOMPARE(dense.displayImage().size(), QSize(80, 60));
    QCOMPARE(dense.displayImage().devicePixelRatio(), 2.0);
    QCOMPARE(plain.displayImage().size(), QSize(40, 30));
}

void TestHiDpiSurface::linesTwiceAsWide_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("1 pixel") << 1;
    QTest::newRow("2 pixels") << 2;
}

void TestHiDpiSurface::linesTwiceAsWide()
{
    QFETCH(int, width);
    DrawingSurface s(40, 30, Qt::white);
    s.setDevicePixelRatio(2);
    s.setDrawWidth(width);
    s.line(5, 10, 25, 10, Qt::red);
    s.line(30, 4, 30, 24, Qt::blue);
    const QImage &hi = s.displayImage();
    // The horizontal line: pixels 5..24 of row 10 (and 11 when wide), in
    // device pixels columns 10..49 of rows 20..(21 or 23).
    for (int y = 18; y < 26; ++y) {
        for (int x = 8; x < 52; ++x) {
            const bool on = x >= 10 && x <= 49 && y >= 20 && y < 20 + 2 * width;
            QVERIFY2((hi.pixelColor(x, y) == QColor(Qt::red)) == on,
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    // The vertical one: rows 4..23, columns 30 (and 31) of the surface.
    for (int x = 58; x < 66; ++x) {
        const bool on = x >= 60 && x < 60 + 2 * width;
        QCOMPARE(hi.pixelColor(x, 30) == QColor(Qt::blue), on);
    }
    QCOMPARE(countColour(hi, Qt::red), 4 * countColour(s.image(), Qt::red));
    QCOMPARE(countColour(hi, Qt::blue), 4 * countColour(s.image(), Qt::blue));
}

void TestHiDpiSurface::shapesKeepTheirPixels()
{
    // Shapes along the axes cover exactly the device pixels of their pixels.
    DrawingSurface s(40, 30, Qt::white);
    s.setDevicePixelRatio(2);
    s.setDrawWidth(2);
    s.box(5, 22, 20, 28, Qt::magenta);
    s.setDrawWidth(1);
    s.box(22, 22, 26, 26, Qt::cyan, true);
    s.point(38, 1, Qt::black);
    const QImage &hi = s.displayImage();
    for (int y = 0; y < hi.height(); ++y)
        for (int x = 0; x < hi.width(); ++x)
            QCOMPARE(hi.pixel(x, y), s.image().pixel(x / 2, y / 2));
}

void TestHiDpiSurface::circleOutlineTwiceAsWide_data()
{
    QTest::addColumn<int>("width");
    QTest::newRow("1 pixel") << 1;
    QTest::newRow("2 pixels") << 2;
}

void TestHiDpiSurface::circleOutlineTwiceAsWide()
{
    QFETCH(int, width);
    DrawingSurface s(40, 30, Qt::white);
    s.setDevicePixelRatio(2);
    s.setDrawWidth(width);
    s.circle(20, 15, 10, Qt::blue);
    const QImage &hi = s.displayImage();
    // Across the outline at its four ends: two device pixels per pixel of
    // width, growing inwards from the radius (20 device pixels).
    const auto run = [&](int x, int y, int dx, int dy) {
        int n = 0;
        while (hi.pixelColor(x, y) == QColor(Qt::blue)) {
            ++n;
            x += dx;
            y += dy;
        }
        return n;
    };
    const int cx = 40; // the device pixel at the top left of the centre pixel's middle
    const int cy = 30;
    QCOMPARE(hi.pixelColor(cx + 21, cy), QColor(Qt::white));
    QCOMPARE(run(cx + 20, cy, -1, 0), 2 * width);
    QCOMPARE(run(cx - 20, cy, 1, 0), 2 * width);
    QCOMPARE(run(cx, cy + 20, 0, -1), 2 * width);
    QCOMPARE(run(cx, cy - 20, 0, 1), 2 * width);
}

void TestHiDpiSurface::discHasFinerEdges()
{
    DrawingSurface s(40, 30, Qt::white);
    s.setDevicePixelRatio(2);
    s.disc(20, 15, 9.3, Qt::darkRed);
    const int low = countColour(s.image(), Qt::darkRed);
    const int high = countColour(s.displayImage(), Qt::darkRed);
    // About four times the area, drawn at the finer grid rather than copied.
    QVERIFY(std::abs(high - 4 * low) < low / 10);
    QVERIFY(high != 4 * low);
    // Same extent: the top of the disc is at row 15 - 9 = 6, device rows 12-13.
    QCOMPARE(s.image().pixelColor(20, 6), QColor(Qt::darkRed));
    QCOMPARE(s.image().pixelColor(20, 5), QColor(Qt::white));
    QCOMPARE(s.displayImage().pixelColor(40, 11), QColor(Qt::white));
    QCOMPARE(s.displayImage().pixelColor(40, 13), QColor(Qt::darkRed));

    // Symmetric about the centre pixel's middle (device 40,5; 30,5): the
    // bottom edge mirrors the top, the right edge the left.
    const QImage &hi = s.displayImage();
    int compared = 0;
    for (int y = 0; y < hi.height(); ++y) {
        for (int x = 0; x < hi.width(); ++x) {
            const bool inked = hi.pixelColor(x, y) == QColor(Qt::darkRed);
            const int mx = 81 - x;
            const int my = 61 - y;
            if (mx >= hi.width() || my >= hi.height()) {
                QVERIFY(!inked);
                continue;
            }
            const bool mirrored = hi.pixelColor(mx, my) == QColor(Qt::darkRed);
            QVERIFY2(inked == mirrored, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            compared += inked;
        }
    }
    QCOMPARE(compared, high);
}

void TestHiDpiSurface::clearReturnsToPersisted()
{
    DrawingSurface s(20, 20, Qt::white);
    s.setDevicePixelRatio(2);
    s.line(0, 5, 20, 5, Qt::red);
    s.persist();
    s.line(0, 9, 20, 9, Qt::blue);
    s.clear();
    QCOMPARE(countColour(s.displayImage(), Qt::blue), 0);
    QCOMPARE(countColour(s.displayImage(), Qt::red), 80);
    s.clearBackgroundPicture();
    s.clear();
    QCOMPARE(countColour(s.displayImage(), Qt::red), 0);
    // Back to ratio 1: nothing is kept beside the picture.
    s.setDevicePixelRatio(1);
    QCOMPARE(s.displayImage().size(), QSize(20, 20));
}

void TestHiDpiSurface::widgetDrawsAtTheScreenDensity()
{
    SurfaceWidget widget;
    widget.resize(60, 40);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QCOMPARE(widget.devicePixelRatioF(), 2.0);
    widget.surface().line(4, 5, 50, 30, Qt::blue);
    widget.update();
    const QImage shown = widget.grab().toImage();
    QCOMPARE(shown.size(), QSize(120, 80));
    QCOMPARE(widget.surface().image().size(), QSize(60, 40));
    // The diagonal is drawn on the device grid: not just 2 x 2 blocks.
    const QImage &hi = widget.surface().displayImage();
    bool finerStep = false;
    for (int y = 0; y + 1 < hi.height(); y += 2)
        for (int x = 0; x + 1 < hi.width(); x += 2)
            finerStep |= hi.pixel(x, y) != hi.pixel(x + 1, y + 1);
    QVERIFY(finerStep);
    QCOMPARE(countColour(shown.convertToFormat(QImage::Format_RGB32), Qt::blue),
             countColour(hi, Qt::blue));
}

void TestHiDpiSurface::drawSurfaceCopiesBothLayers_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("whole pixels") << 3.0 << 2.0;
    QTest::newRow("halves go up") << 2.5 << 1.5;
    QTest::newRow("partly outside") << -7.0 << 20.4;
    QTest::newRow("not finite") << qQNaN() << 2.0;
}

void TestHiDpiSurface::drawSurfaceCopiesBothLayers()
{
    QFETCH(double, x);
    QFETCH(double, y);
    DrawingSurface source(40, 30, Qt::lightGray);
    source.setDevicePixelRatio(2);
    drawEverything(source);
    DrawingSurface target(50, 40, Qt::white);
    target.setDevicePixelRatio(2);
    target.line(0, 0, 50, 39, Qt::green);
    DrawingSurface reference = target;
    target.drawSurface(x, y, source);
    reference.drawImage(x, y, source.image());

    // In pixels, exactly what drawImage() gives; the current point stays.
    QCOMPARE(target.image(), reference.image());
    QCOMPARE(target.currentX(), 50.0);
    if (!std::isfinite(x)) {
        QCOMPARE(target.displayImage(), reference.displayImage());
        return;
    }
    // In device pixels, source's own dense picture where it lands, rather
    // than an enlargement of its picture in pixels; the rest as before.
    const QPoint at(int(std::floor(x + 0.5)), int(std::floor(y + 0.5)));
    const QRect landed
        = QRect(at * 2, source.displayImage().size()).intersected(target.displayImage().rect());
    QVERIFY(!landed.isEmpty());
    const QImage &dense = target.displayImage();
    for (int j = 0; j < dense.height(); ++j) {
        for (int i = 0; i < dense.width(); ++i) {
            const QRgb expected = landed.contains(i, j)
                ? source.displayImage().pixel(i - 2 * at.x(), j - 2 * at.y())
                : reference.displayImage().pixel(i, j);
            if (dense.pixel(i, j) != expected)
                QFAIL(qPrintable(QStringLiteral("device pixel %1,%2").arg(i).arg(j)));
        }
    }
    QVERIFY(target.displayImage() != reference.displayImage());
}

void TestHiDpiSurface::drawSurfaceAtOtherRatios_data()
{
    QTest::addColumn<int>("sourceRatio");
    QTest::addColumn<int>("targetRatio");
    QTest::newRow("both at 1") << 1 << 1;
    QTest::newRow("dense onto plain") << 2 << 1;
    QTest::newRow("plain onto dense") << 1 << 2;
    QTest::newRow("3 onto 2") << 3 << 2;
}

void TestHiDpiSurface::drawSurfaceAtOtherRatios()
{
    QFETCH(int, sourceRatio);
    QFETCH(int, targetRatio);
    DrawingSurface source(40, 30, Qt::lightGray);
    source.setDevicePixelRatio(sourceRatio);
    drawEverything(source);
    DrawingSurface target(50, 40, Qt::white);
    target.setDevicePixelRatio(targetRatio);
    DrawingSurface reference = target;
    target.drawSurface(4, 3, source);
    reference.drawImage(4, 3, source.image());
    // Without a dense picture of the same ratio to copy, the copy is the
    // picture in pixels, as drawImage() draws it; at ratio 1 no second
    // picture is made.
    QCOMPARE(target.image(), reference.image());
    QCOMPARE(target.displayImage(), reference.displayImage());
    if (targetRatio == 1)
        QCOMPARE(target.displayImage().size(), QSize(50, 40));
}

int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpiSurface test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpisurface.moc"
