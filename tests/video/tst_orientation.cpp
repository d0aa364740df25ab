// SPDX-License-Identifier: GPL-3.0-or-later
#include "video/orientation.h"
#include "video/videofile.h"

#include "videowriter.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

// How a video's display matrix turns and mirrors its pictures. Every row
// writes a video whose stored pictures carry a red, a green and a blue
// corner, with a literal matrix: where each corner is shown follows from
// the matrix alone, (p, q) shown at (a·p + c·q, b·p + d·q).

namespace {

constexpr int kOne = 1 << 16; // 1 in 16.16
constexpr int kW = 1 << 30;   // the matrix's last term, 1 in 2.30
const QSize kStored(96, 64);  // width × height as stored
constexpr int kCorner = 16;   // px, side of a coloured corner

// Red top left, green top right, blue bottom left, the rest dark grey.
QImage storedPicture()
{
    QImage image(kStored, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 40));
    QPainter painter(&image);
    painter.fillRect(0, 0, kCorner, kCorner, Qt::red);
    painter.fillRect(kStored.width() - kCorner, 0, kCorner, kCorner, Qt::green);
    painter.fillRect(0, kStored.height() - kCorner, kCorner, kCorner, Qt::blue);
    return image;
}

// R, G, B or . (the dark grey) for a colour decoded from a lossy video.
char colourName(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    if (r > 160 && g < 90 && b < 90)
        return 'R';
    if (g > 160 && r < 90 && b < 90)
        return 'G';
    if (b > 160 && r < 90 && g < 90)
        return 'B';
    if (r < 90 && g < 90 && b < 90)
        return '.';
    return '?';
}

// The colours shown at the top left, top right, bottom left and bottom
// right corners, read at the middle of each corner's square.
QString corners(const QImage &picture)
{
    const int h = kCorner / 2;
    const int right = picture.width() - 1 - h;
    const int bottom = picture.height() - 1 - h;
    QString names;
    for (const QPoint at :
         {QPoint(h, h), QPoint(right, h), QPoint(h, bottom), QPoint(right, bottom)})
        names += QLatin1Char(colourName(picture.pixel(at)));
    return names;
}

} // namespace

class TestOrientation : public QObject
{
    Q_OBJECT

private slots:
    void fromMatrix_data();
    void fromMatrix();
    void shownPictures_data();
    void shownPictures();
};

void TestOrientation::fromMatrix_data()
{
    QTest::addColumn<QList<int32_t>>("matrix");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<bool>("mirrored");

    const int one = kOne;
    QTest::newRow("identity") << QList<int32_t> {one, 0, 0, 0, one, 0, 0, 0, kW} << 0 << false;
    QTest::newRow("phone held upright")
        << QList<int32_t> {0, one, 0, -one, 0, 0, 0, 0, kW} << 90 << false;
    QTest::newRow("upside down") << QList<int32_t> {-one, 0, 0, 0, -one, 0, 0, 0, kW} << 180
                                 << false;
    QTest::newRow("phone held the other way")
        << QList<int32_t> {0, -one, 0, one, 0, 0, 0, 0, kW} << 270 << false;
    // A front camera's selfie, mirrored left to right, with the shift back
    // into view an editor writes (the width, 96 px, in 16.16).
    QTest::newRow("mirror, shifted")
        << QList<int32_t> {-one, 0, 0, 0, one, 0, 96 * one, 0, kW} << 0 << true;
    // Top and bottom swapped: the mirror, then half a turn.
    QTest::newRow("upside-down mirror")
        << QList<int32_t> {one, 0, 0, 0, -one, 0, 0, 0, kW} << 180 << true;
    // (p, q) shown at (q, p): the mirror, then three quarters clockwise.
    QTest::newRow("transposed") << QList<int32_t> {0, one, 0, one, 0, 0, 0, 0, kW} << 270 << true;
    QTest::newRow("transposed the other way")
        << QList<int32_t> {0, -one, 0, -one, 0, 0, 0, 0, kW} << 90 << true;
    // A scale and a small tilt do not change the nearest quarter turn.
    QTest::newRow("mirror at twice the size")
        << QList<int32_t> {-2 * one, 0, 0, 0, 2 * one, 0, 0, 0, kW} << 0 << true;
    QTest::newRow("upright, tilted by 10°")
        << QList<int32_t> {11380, 64540, 0, -64540, 11380, 0, 0, 0, kW} << 90 << false;
    // Nothing to show: the stored pictures as they are.
    QTest::newRow("all zero") << QList<int32_t>(9, 0) << 0 << false;
    QTest::newRow("onto a line") << QList<int32_t> {one, one, 0, one, one, 0, 0, 0, kW} << 0
                                 << false;
    // Terms whose products overflow 32 bits.
    QTest::newRow("mirror with the largest terms")
        << QList<int32_t> {INT32_MIN, 0, 0, 0, INT32_MAX, 0, 0, 0, kW} << 0 << true;
}

void TestOrientation::fromMatrix()
{
    QFETCH(QList<int32_t>, matrix);
    QFETCH(int, rotation);
    QFETCH(bool, mirrored);
    const Orientation orientation = Orientation::fromDisplayMatrix(matrix.constData());
    QCOMPARE(orientation.rotation, rotation);
    QCOMPARE(orientation.mirrored, mirrored);
}

void TestOrientation::shownPictures_data()
{
    QTest::addColumn<QList<int32_t>>("matrix");
    QTest::addColumn<QSize>("shownSize");
    // Top left, top right, bottom left, bottom right as shown.
    QTest::addColumn<QString>("shownCorners");

    const int one = kOne;
    const QSize across = kStored;
    const QSize upright = kStored.transposed();
    QTest::newRow("no matrix") << QList<int32_t>() << across << QStringLiteral("RGB.");
    QTest::newRow("phone held upright")
        << QList<int32_t> {0, one, 0, -one, 0, 0, 0, 0, kW} << upright << QStringLiteral("BR.G");
    QTest::newRow("mirror, shifted") << QList<int32_t> {-one, 0, 0, 0, one, 0, 96 * one, 0, kW}
                                     << across << QStringLiteral("GR.B");
    QTest::newRow("upside-down mirror")
        << QList<int32_t> {one, 0, 0, 0, -one, 0, 0, 0, kW} << across << QStringLiteral("B.RG");
    QTest::newRow("transposed") << QList<int32_t> {0, one, 0, one, 0, 0, 0, 0, kW} << upright
                                << QStringLiteral("RBG.");
    QTest::newRow("transposed the other way")
        << QList<int32_t> {0, -one, 0, -one, 0, 0, 0, 0, kW} << upright << QStringLiteral(".GBR");
}

void TestOrientation::shownPictures()
{
    QFETCH(QList<int32_t>, matrix);
    QFETCH(QSize, shownSize);
    QFETCH(QString, shownCorners);
    QVERIFY(corners(storedPicture()) == QStringLiteral("RGB."));

    QTemporaryDir dir;
    VideoRecipe recipe;
    recipe.size = kStored;
    recipe.displayMatrix = matrix;
    const QString path = dir.filePath(QStringLiteral("coins.mp4"));
    QString why;
    QVERIFY2(writeVideo(
                 path, recipe, regularTimes(3, 30.0), [](int) { return storedPicture(); }, &why),
             qPrintable(why));

    VideoFile video;
    QVERIFY2(video.open(path), qPrintable(video.errorString()));
    QCOMPARE(video.frameSize(), shownSize);
    for (int frame : {0, 2, 1}) {
        const QImage picture = video.frame(frame);
        QCOMPARE(picture.size(), shownSize);
        QCOMPARE(corners(picture), shownCorners);
    }
}

QTEST_MAIN(TestOrientation)
#include "tst_orientation.moc"
