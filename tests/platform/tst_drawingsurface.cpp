// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/drawingsurface.h"
#include "platform/palette.h"

#include <QFontInfo>
#include <QtTest>

namespace {

using Pixels = QList<QPoint>;

// Pixels of image that have colour, in row-major order, as "(x,y) (x,y) ..."
// so that a failing comparison shows both sets.
QString pixelsOf(const QImage &image, const QColor &colour)
{
    QStringList found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour.rgb())
                found << QStringLiteral("(%1,%2)").arg(x).arg(y);
        }
    }
    return found.join(QLatin1Char(' '));
}

QString listed(Pixels pixels)
{
    std::sort(pixels.begin(), pixels.end(),
              [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
    QStringList text;
    for (QPoint p : pixels)
        text << QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
    return text.join(QLatin1Char(' '));
}

Pixels rect(int left, int top, int right, int bottom)
{
    Pixels pixels;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x)
            pixels << QPoint(x, y);
    }
    return pixels;
}

const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

} // namespace

class TestDrawingSurface : public QObject
{
    Q_OBJECT

private slots:
    void palette_data();
    void palette();
    void storedColours();
    void lines_data();
    void lines();
    void lineToJoinsSegments();
    void wideLines_data();
    void wideLines();
    void boxes_data();
    void boxes();
    void longLinesAreClipped();
    void badCoordinatesDrawNothing();
    void circles();
    void hugeFilledCircleCoversSurface();
    void discs_data();
    void discs();
    void nestedDiscsLeaveRings();
    void discFillsItsOutline();
    void hugeAndBadDiscs();
    void printPlacesTextAtCurrentPoint();
    void printsContinueTheLine();
    void fontSizes_data();
    void fontSizes();
    void symbolFont();
    void clearAndPersist();
    void backColorAndResize();
};

void TestDrawingSurface::palette_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("colour");
    const QList<QColor> expected = {
        QColor(0, 0, 0),       QColor(0, 0, 128),   QColor(0, 128, 0),   QColor(0, 128, 128),
        QColor(128, 0, 0),     QColor(128, 0, 128), QColor(128, 128, 0), QColor(192, 192, 192),
        QColor(128, 128, 128), QColor(0, 0, 255),   QColor(0, 255, 0),   QColor(0, 255, 255),
        QColor(255, 0, 0),     QColor(255, 0, 255), QColor(255, 255, 0), QColor(255, 255, 255),
    };
    for (int i = 0; i < expected.size(); ++i)
        QTest::addRow("%d", i) << i << expected[i];
    QTest::newRow("below range") << -1 << QColor(Qt::black);
    QTest::newRow("above range") << 16 << QColor(Qt::black);
}

void TestDrawingSurface::palette()
{
    QFETCH(int, index);
    QFETCH(QColor, colour);
    QCOMPARE(QBColor(index), colour);
}

void TestDrawingSurface::storedColours()
{
    QCOMPARE(storedColour(red), 255);
    QCOMPARE(storedColour(blue), 16711680);
    QCOMPARE(colourFromStored(255), red);
    QCOMPARE(colourFromStored(16711680), blue);
    QCOMPARE(colourFromStored(storedColour(QColor(12, 34, 56))), QColor(12, 34, 56));
    // A system colour (button face) and an unknown one.
    QCOMPARE(colourFromStored(qint32(0x8000000F)), QColor(192, 192, 192));
    QCOMPARE(colourFromStored(qint32(0x800000FF)), QColor(Qt::black));
}

void TestDrawingSurface::lines_data()
{
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<Pixels>("pixels");
    // The last point is never drawn.
    QTest::newRow("horizontal") << QPointF(2, 3) << QPointF(7, 3)
                                << Pixels {{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}};
    QTest::newRow("horizontal, leftwards")
        << QPointF(7, 3) << QPointF(2, 3) << Pixels {{7, 3}, {6, 3}, {5, 3}, {4, 3}, {3, 3}};
    QTest::newRow("vertical") << QPointF(4, 1) << QPointF(4, 5)
                              << Pixels {{4, 1}, {4, 2}, {4, 3}, {4, 4}};
    QTest::newRow("diagonal") << QPointF(1, 1) << QPointF(5, 5)
                              << Pixels {{1, 1}, {2, 2}, {3, 3}, {4, 4}};
    QTest::newRow("shallow") << QPointF(0, 0) << QPointF(6, 2)
                             << Pixels {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}};
    QTest::newRow("steep, upwards") << QPointF(2, 6) << QPointF(3, 0)
                                    << Pixels {{2, 6}, {2, 5}, {2, 4}, {3, 3}, {3, 2}, {3, 1}};
    QTest::newRow("single pixel") << QPointF(3, 3) << QPointF(3, 3) << Pixels {{3, 3}};
    QTest::newRow("rounded ends") << QPointF(1.4, 2.6) << QPointF(4.5, 2.6)
                                  << Pixels {{1, 3}, {2, 3}, {3, 3}, {4, 3}};
}

void TestDrawingSurface::lines()
{
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);
    QFETCH(Pixels, pixels);
    DrawingSurface surface(10, 10);
    surface.line(from.x(), from.y(), to.x(), to.y(), red);
    QCOMPARE(pixelsOf(surface.image(), red), listed(pixels));
    QCOMPARE(surface.currentX(), to.x());
    QCOMPARE(surface.currentY(), to.y());
}

void TestDrawingSurface::lineToJoinsSegments()
{
    DrawingSurface surface(10, 10);
    surface.point(1, 1, red);
    surface.lineTo(4, 1, red);
    surface.lineTo(4, 4, red);
    QCOMPARE(pixelsOf(surface.image(), red),
             listed({{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3}}));
    surface.setForeColor(blue);
    surface.lineTo(1, 4);
    QCOMPARE(pixelsOf(surface.image(), blue), listed({{4, 4}, {3, 4}, {2, 4}}));
}

void TestDrawingSurface::wideLines_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<Pixels>("pixels");
    // The second pixel goes below a mostly horizontal line, right of a
    // mostly vertical one.
    QTest::newRow("horizontal") << QPoint(1, 2) << QPoint(5, 2) << rect(1, 2, 4, 3);
    QTest::newRow("vertical") << QPoint(2, 1) << QPoint(2, 4) << rect(2, 1, 3, 3);
    QTest::newRow("diagonal") << QPoint(1, 1) << QPoint(4, 4)
                              << Pixels {{1, 1}, {2, 2}, {3, 3}, {1, 2}, {2, 3}, {3, 4}};
}

void TestDrawingSurface::wideLines()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(Pixels, pixels);
    DrawingSurface surface(10, 10);
    surface.setDrawWidth(2);
    surface.line(from.x(), from.y(), to.x(), to.y(), red);
    QCOMPARE(pixelsOf(surface.image(), red), listed(pixels));
}

void TestDrawingSurface::boxes_data()
{
    QTest::addColumn<QLine>("corners");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<Pixels>("pixels");
    const Pixels outline = rect(1, 1, 4, 1) + rect(1, 3, 4, 3) + Pixels {{1, 2}, {4, 2}};
    QTest::newRow("outline") << QLine(1, 1, 4, 3) << 1 << false << outline;
    QTest::newRow("outline, corners swapped") << QLine(4, 3, 1, 1) << 1 << false << outline;
    QTest::newRow("filled") << QLine(1, 1, 4, 3) << 1 << true << rect(1, 1, 4, 3);
    Pixels ring = rect(1, 1, 6, 6);
    for (QPoint inside : rect(3, 3, 4, 4))
        ring.removeOne(inside);
    QTest::newRow("2-pixel outline grows inwards") << QLine(1, 1, 6, 6) << 2 << false << ring;
}

void TestDrawingSurface::boxes()
{
    QFETCH(QLine, corners);
    QFETCH(int, width);
    QFETCH(bool, filled);
    QFETCH(Pixels, pixels);
    DrawingSurface surface(10, 10);
    surface.setDrawWidth(width);
    surface.box(corners.x1(), corners.y1(), corners.x2(), corners.y2(), red, filled);
    QCOMPARE(pixelsOf(surface.image(), red), listed(pixels));
    QCOMPARE(surface.currentX(), double(corners.x2()));
    QCOMPARE(surface.currentY(), double(corners.y2()));
}

void TestDrawingSurface::longLinesAreClipped()
{
    // The part of a line inside the surface is the same pixels it has on a
    // surface big enough to hold it all.
    DrawingSurface small(10, 10);
    DrawingSurface large(60, 40);
    small.line(-20, -7, 30, 9, red);
    large.line(0, 3, 50, 19, red);
    QCOMPARE(small.image(), large.image().copy(20, 10, 10, 10));

    DrawingSurface surface(10, 10);
    surface.line(-1e9, 5, 1e9, 5, red);
    QCOMPARE(pixelsOf(surface.image(), red), listed(rect(0, 5, 9, 5)));
}

void TestDrawingSurface::badCoordinatesDrawNothing()
{
    DrawingSurface surface(10, 10);
    surface.setCurrentPoint(2, 3);
    const QImage before = surface.image();
    surface.line(0, 0, qQNaN(), 4, red);
    surface.lineTo(qInf(), 4, red);
    surface.circle(5, 5, qQNaN(), red);
    surface.point(qQNaN(), 1, red);
    QCOMPARE(surface.image(), before);
    QCOMPARE(surface.currentX(), 2.0);
    QCOMPARE(surface.currentY(), 3.0);
}

void TestDrawingSurface::circles()
{
    DrawingSurface surface(30, 30);
    surface.setFillStyle(DrawingSurface::FillStyle::Solid);
    surface.setFillColor(blue);
    surface.circle(10.4, 10, 5, red);
    const QImage image = surface.image();
    QCOMPARE(QColor(image.pixel(10, 10)), blue);
    for (QPoint outline : {QPoint(15, 10), QPoint(5, 10), QPoint(10, 5), QPoint(10, 15)})
        QCOMPARE(QColor(image.pixel(outline)), red);
    QCOMPARE(QColor(image.pixel(16, 10)), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(14, 14)), QColor(Qt::white));
    QCOMPARE(surface.currentX(), 10.4);

    surface.clear();
    surface.setFillStyle(DrawingSurface::FillStyle::Transparent);
    surface.circle(10, 10, 1, red);
    QCOMPARE(pixelsOf(surface.image(), red), listed({{10, 9}, {9, 10}, {11, 10}, {10, 11}}));
    surface.clear();
    surface.circle(3, 3, 0.2, red);
    QCOMPARE(pixelsOf(surface.image(), red), listed({{3, 3}}));
}

void TestDrawingSurface::hugeFilledCircleCoversSurface()
{
    // A sphere far larger than the scene fills it entirely.
    DrawingSurface surface(20, 30);
    surface.setFillStyle(DrawingSurface::FillStyle::Solid);
    surface.setFillColor(blue);
    surface.circle(10, 15, 2250, red);
    QCOMPARE(pixelsOf(surface.image(), blue), listed(rect(0, 0, 19, 29)));
}

void TestDrawingSurface::discs_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("r");
    QTest::addColumn<Pixels>("expected");

    QTest::newRow("radius 0") << 5.0 << 5.0 << 0.0 << Pixels {{5, 5}};
    QTest::newRow("radius 1") << 5.0 << 5.0 << 1.0
                              << Pixels {{5, 4}, {4, 5}, {5, 5}, {6, 5}, {5, 6}};
    QTest::newRow("radius 1.5") << 5.0 << 5.0 << 1.5 << rect(4, 4, 6, 6);
    QTest::newRow("between centres, radius 0.5") << 5.5 << 5.5 << 0.5 << Pixels {};
    QTest::newRow("between centres, radius 0.75") << 5.5 << 5.5 << 0.75 << rect(5, 5, 6, 6);
    QTest::newRow("centre shifted by 0.4") << 5.4 << 5.0 << 1.0 << Pixels {{5, 5}, {6, 5}};
    QTest::newRow("clipped at the corner")
        << 0.0 << 0.0 << 2.0 << Pixels {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}};
}

void TestDrawingSurface::discs()
{
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, r);
    QFETCH(Pixels, expected);

    DrawingSurface surface(12, 12);
    surface.disc(x, y, r, red);
    QCOMPARE(pixelsOf(surface.image(), red), listed(expected));
    QCOMPARE(surface.currentX(), x);
    QCOMPARE(surface.currentY(), y);
}

void TestDrawingSurface::nestedDiscsLeaveRings()
{
    // Radii and centres half a pixel or less apart: rounded, the second disc
    // would cover the first one entirely.
    DrawingSurface surface(20, 20);
    surface.disc(10, 10, 5, red);
    surface.disc(9.8, 9.8, 4.5, blue);
    const QImage image = surface.image();
    for (QPoint ring : {QPoint(15, 10), QPoint(10, 15), QPoint(13, 14), QPoint(5, 10)})
        QCOMPARE(QColor(image.pixel(ring)), red);
    for (QPoint inner : {QPoint(6, 10), QPoint(10, 6), QPoint(14, 10)})
        QCOMPARE(QColor(image.pixel(inner)), blue);
}

void TestDrawingSurface::discFillsItsOutline()
{
    // A disc under the outline circle of the same centre and radius fills it
    // up to the outline, with no gap and nothing outside.
    for (int r = 1; r <= 40; ++r) {
        DrawingSurface surface(90, 90);
        surface.disc(45, 45, r, blue);
        surface.circle(45, 45, r, red);
        const QImage image = surface.image();
        for (int y = 0; y < image.height(); ++y) {
            int first = -1;
            int last = -1;
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == red.rgb()) {
                    first = first < 0 ? x : first;
                    last = x;
                }
            }
            for (int x = 0; x < image.width(); ++x) {
                const bool within = first >= 0 && x >= first && x <= last;
                const QRgb expected = image.pixel(x, y) == red.rgb() ? red.rgb()
                    : within                                         ? blue.rgb()
                                                                     : QColor(Qt::white).rgb();
                if (image.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("radius %1: (%2, %3)").arg(r).arg(x).arg(y)));
            }
        }
    }
}

void TestDrawingSurface::hugeAndBadDiscs()
{
    DrawingSurface surface(20, 30);
    surface.disc(10, 15, 1e12, blue);
    QCOMPARE(pixelsOf(surface.image(), blue), listed(rect(0, 0, 19, 29)));

    surface.setCurrentPoint(2, 3);
    const QImage before = surface.image();
    surface.disc(5, 5, -1, red);
    surface.disc(qQNaN(), 5, 3, red);
    surface.disc(5, 5, qInf(), red);
    QCOMPARE(surface.currentX(), 2.0);
    // Far away, however large: clamped, it stays off the surface.
    surface.disc(1e300, -1e300, 1e300, red);
    QCOMPARE(surface.image(), before);
}

void TestDrawingSurface::printPlacesTextAtCurrentPoint()
{
    DrawingSurface surface(60, 40);
    surface.setCurrentPoint(10, 10);
    surface.print(QStringLiteral("W"));
    const QImage image = surface.image();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!ink.isEmpty());
    const QRect cell(10, 10, surface.textWidth(QStringLiteral("W")),
                     surface.textHeight(QStringLiteral("W")));
    QVERIFY2(cell.contains(ink),
             qPrintable(QStringLiteral("ink at %1,%2 %3x%4")
                            .arg(ink.x())
                            .arg(ink.y())
                            .arg(ink.width())
                            .arg(ink.height())));
    // The capital's top is just below the text's top, not a line lower.
    QVERIFY(ink.top() - 10 <= 3);
}

void TestDrawingSurface::printsContinueTheLine()
{
    DrawingSurface first(80, 30);
    DrawingSurface both(80, 30);
    for (DrawingSurface *s : {&first, &both}) {
        s->setCurrentPoint(5, 7);
        s->print(QStringLiteral("Ab"));
    }
    const double end = 5 + first.textWidth(QStringLiteral("Ab"));
    QCOMPARE(both.currentX(), end);
    QCOMPARE(both.currentY(), 7.0);
    both.print(QStringLiteral("cd"));
    QCOMPARE(both.currentX(), end + both.textWidth(QStringLiteral("cd")));

    // Everything the second print drew lies after the end of the first.
    int leftmost = both.width();
    for (int y = 0; y < both.height(); ++y) {
        for (int x = 0; x < both.width(); ++x) {
            if (first.image().pixel(x, y) != both.image().pixel(x, y))
                leftmost = std::min(leftmost, x);
        }
    }
    QVERIFY(leftmost < both.width());
    QVERIFY(leftmost >= end);
}

void TestDrawingSurface::fontSizes_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("pixels");
    QTest::newRow("8") << 8.0 << 11;
    QTest::newRow("10") << 10.0 << 13;
    QTest::newRow("14") << 14.0 << 19;
    QTest::newRow("24") << 24.0 << 32;
}

void TestDrawingSurface::fontSizes()
{
    QFETCH(double, points);
    QFETCH(int, pixels);
    DrawingSurface surface(10, 10);
    surface.setFontSize(points);
    QCOMPARE(surface.font().pixelSize(), pixels);
    QCOMPARE(QFontInfo(surface.font()).pixelSize(), pixels);
    if (points == 8.0) {
        // Arial 8 (Liberation Sans where Arial is missing): a line is 12 to
        // 14 pixels whatever the screen's resolution.
        const int height = surface.textHeight(QStringLiteral("W"));
        QVERIFY2(height >= 12 && height <= 14, qPrintable(QString::number(height)));
        QCOMPARE(surface.textHeight(QStringLiteral("a\nb")), 2 * height);
    }
}

void TestDrawingSurface::symbolFont()
{
    DrawingSurface greek(10, 10);
    greek.setFontName(QStringLiteral("Symbol"));
    greek.setFontSize(10);
    DrawingSurface latin(10, 10);
    latin.setFontSize(10);
    QCOMPARE(greek.textWidth(QStringLiteral("rhPt")),
             latin.textWidth(QStringLiteral("\u03C1\u03B7\u03A0\u03C4")));
    QCOMPARE(greek.textWidth(QStringLiteral("\u00AE")), latin.textWidth(QStringLiteral("\u2192")));
}

void TestDrawingSurface::clearAndPersist()
{
    DrawingSurface surface(10, 10);
    surface.line(0, 2, 10, 2, red);
    surface.clear();
    QCOMPARE(pixelsOf(surface.image(), Qt::white), listed(rect(0, 0, 9, 9)));

    surface.line(0, 2, 10, 2, red);
    surface.persist();
    surface.line(0, 5, 10, 5, blue);
    surface.setCurrentPoint(4, 4);
    surface.clear();
    QCOMPARE(pixelsOf(surface.image(), red), listed(rect(0, 2, 9, 2)));
    QCOMPARE(pixelsOf(surface.image(), blue), QString());
    QCOMPARE(surface.currentX(), 0.0);
    QCOMPARE(surface.currentY(), 0.0);

    QImage picture(10, 10, QImage::Format_ARGB32);
    picture.fill(QColor(155, 200, 255));
    surface.setBackgroundPicture(picture);
    surface.clear();
    QCOMPARE(pixelsOf(surface.image(), QColor(155, 200, 255)), listed(rect(0, 0, 9, 9)));

    surface.clearBackgroundPicture();
    surface.clear();
    QCOMPARE(pixelsOf(surface.image(), Qt::white), listed(rect(0, 0, 9, 9)));
}

void TestDrawingSurface::backColorAndResize()
{
    DrawingSurface surface(4, 4);
    surface.point(1, 1, red);
    surface.setBackColor(QColor(240, 235, 230));
    QCOMPARE(pixelsOf(surface.image(), QColor(240, 235, 230)), listed(rect(0, 0, 3, 3)));

    surface.point(1, 1, red);
    surface.resize(6, 5);
    QCOMPARE(pixelsOf(surface.image(), red), listed({{1, 1}}));
    QCOMPARE(QColor(surface.image().pixel(5, 4)), QColor(240, 235, 230));

    QImage stamp(2, 2, QImage::Format_RGB32);
    stamp.fill(blue);
    surface.drawImage(3, 2, stamp);
    QCOMPARE(pixelsOf(surface.image(), blue), listed(rect(3, 2, 4, 3)));
}

QTEST_MAIN(TestDrawingSurface)
#include "tst_drawingsurface.moc"
