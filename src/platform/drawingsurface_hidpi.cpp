// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawingsurface.h"
#include "surfacegeometry.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

// The high-density picture of a surface: every operation is drawn a second
// time, ratio device pixels for each pixel of image(). Pixel (i, j) of the
// surface covers the device pixels ratio * i ... ratio * i + ratio - 1 across
// and down, so shapes keep the geometry they have at ratio 1 while diagonals,
// circles and text get the screen's finer steps.

using namespace SurfaceGeometry;

namespace {

// Fills device pixels x1..x2, y1..y2 (inclusive), clipped to the picture.
void fillDevice(QImage &image, qint64 x1, qint64 y1, qint64 x2, qint64 y2, QRgb colour)
{
    x1 = std::max<qint64>(x1, 0);
    y1 = std::max<qint64>(y1, 0);
    x2 = std::min<qint64>(x2, image.width() - 1);
    y2 = std::min<qint64>(y2, image.height() - 1);
    if (x1 > x2 || y1 > y2)
        return;
    for (qint64 y = y1; y <= y2; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        std::fill(row + x1, row + x2 + 1, colour);
    }
}

} // namespace

QImage DrawingSurface::enlarged(const QImage &picture) const
{
    if (picture.isNull())
        return QImage();
    QImage large
        = picture.scaled(picture.size() * m_ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation)
              .convertToFormat(QImage::Format_RGB32);
    large.setDevicePixelRatio(m_ratio);
    return large;
}

void DrawingSurface::setDevicePixelRatio(int ratio)
{
    ratio = std::clamp(ratio, 1, 4);
    if (ratio == m_ratio)
        return;
    m_ratio = ratio;
    m_hiImage = ratio > 1 ? enlarged(m_image) : QImage();
    m_hiBackground = ratio > 1 ? enlarged(m_background) : QImage();
}

void DrawingSurface::hiRect(qint64 left, qint64 top, qint64 right, qint64 bottom, QRgb colour)
{
    const qint64 r = m_ratio;
    fillDevice(m_hiImage, left * r, top * r, right * r + r - 1, bottom * r + r - 1, colour);
}

// The line of pixels (x1, y1) up to, not including, (x2, y2), as at ratio 1:
// along its major axis it covers exactly the device pixels of those pixels;
// across, each step is a run ratio (twice that for a 2-pixel line) device
// pixels deep below or to the right, and the minor coordinate moves in single
// device pixels.
void DrawingSurface::hiLine(qint64 x1, qint64 y1, qint64 x2, qint64 y2, QRgb colour)
{
    const qint64 r = m_ratio;
    const qint64 depth = r * m_drawWidth;
    const qint64 dx = x2 - x1;
    const qint64 dy = y2 - y1;
    if (dx == 0 && dy == 0) {
        hiRect(x1, y1, x1, y1 + m_drawWidth - 1, colour);
        return;
    }
    const bool horizontal = std::abs(dx) >= std::abs(dy);
    const qint64 steps = r * (horizontal ? std::abs(dx) : std::abs(dy));
    const qint64 rise = r * (horizontal ? std::abs(dy) : std::abs(dx));
    const qint64 majorStep = (horizontal ? dx : dy) < 0 ? -1 : 1;
    const qint64 minorStep = (horizontal ? dy : dx) < 0 ? -1 : 1;
    // Going backwards the line starts at the far side of its first pixel.
    const qint64 major0 = (horizontal ? x1 : y1) * r + (majorStep < 0 ? r - 1 : 0);
    const qint64 minor0 = (horizontal ? y1 : x1) * r;
    const qint64 limit = horizontal ? m_hiImage.width() : m_hiImage.height();

    const auto [first, last] = visibleSteps(major0, majorStep, limit, steps);
    for (qint64 i = first; i <= last; ++i) {
        const qint64 major = major0 + majorStep * i;
        const qint64 minor = minor0 + minorStep * ((2 * i * rise + steps) / (2 * steps));
        if (horizontal)
            fillDevice(m_hiImage, major, minor, major, minor + depth - 1, colour);
        else
            fillDevice(m_hiImage, minor, major, minor + depth - 1, major, colour);
    }
}

// The midpoint circle at ratio times the radius around the device pixel at
// the top left of the centre pixel's middle; its outline is ratio device
// pixels thick per pixel of width, growing inwards as at ratio 1.
void DrawingSurface::hiCircle(qint64 cx, qint64 cy, qint64 radius, QRgb colour)
{
    const qint64 r = m_ratio;
    if (radius == 0) {
        hiRect(cx, cy, cx, cy, colour);
        return;
    }
    const qint64 x0 = cx * r + (r - 1) / 2;
    const qint64 y0 = cy * r + (r - 1) / 2;
    const qint64 big = radius * r;
    if (m_fillStyle == FillStyle::Solid) {
        const QRgb fill = opaque(m_fillColor);
        circleOctant(big, [&](qint64 px, qint64 py) {
            fillDevice(m_hiImage, x0 - px, y0 + py, x0 + px, y0 + py, fill);
            fillDevice(m_hiImage, x0 - px, y0 - py, x0 + px, y0 - py, fill);
            fillDevice(m_hiImage, x0 - py, y0 + px, x0 + py, y0 + px, fill);
            fillDevice(m_hiImage, x0 - py, y0 - px, x0 + py, y0 - px, fill);
        });
    }
    const qint64 thickness = std::min<qint64>(r * m_drawWidth, big);
    circleOctant(big, [&](qint64 px, qint64 py) {
        for (qint64 k = 0; k < thickness; ++k) {
            const qint64 x = px - k;
            const qint64 points[8][2]
                = {{x, py}, {-x, py}, {x, -py}, {-x, -py}, {py, x}, {-py, x}, {py, -x}, {-py, -x}};
            for (const auto &p : points)
                fillDevice(m_hiImage, x0 + p[0], y0 + p[1], x0 + p[0], y0 + p[1], colour);
        }
    });
}

// The device pixels whose centres lie within r of (x, y), in the surface's
// pixel coordinates (device pixel I has its centre at (I + 0.5) / ratio - 0.5).
void DrawingSurface::hiDisc(double x, double y, double r, QRgb colour)
{
    const double k = m_ratio;
    const double cx = std::clamp(x, -coordinateLimit, coordinateLimit);
    const double cy = std::clamp(y, -coordinateLimit, coordinateLimit);
    const double radius = std::min(r, coordinateLimit);
    const double firstRow = std::max(0.0, std::ceil((cy - radius + 0.5) * k - 0.5));
    const double lastRow
        = std::min(double(m_hiImage.height() - 1), std::floor((cy + radius + 0.5) * k - 0.5));
    for (double j = firstRow; j <= lastRow; ++j) {
        const double dy = (j + 0.5) / k - 0.5 - cy;
        const double reach2 = radius * radius - dy * dy;
        if (reach2 < 0)
            continue;
        const double half = std::sqrt(reach2);
        const double left = std::max(0.0, std::ceil((cx - half + 0.5) * k - 0.5));
        const double right
            = std::min(double(m_hiImage.width() - 1), std::floor((cx + half + 0.5) * k - 0.5));
        if (left <= right)
            fillDevice(m_hiImage, qint64(left), qint64(j), qint64(right), qint64(j), colour);
    }
}

void DrawingSurface::hiPrint(const QPointF &baseline, const QString &shown)
{
    // The picture carries its ratio, so the painter works in surface pixels
    // and the glyphs are rendered at the device resolution.
    QPainter painter(&m_hiImage);
    painter.setFont(m_font);
    painter.setPen(m_foreColor);
    painter.drawText(baseline, shown);
}

void DrawingSurface::hiDrawImage(const QPointF &at, const QImage &picture)
{
    QPainter painter(&m_hiImage);
    painter.drawImage(at, picture);
}

void DrawingSurface::drawSurface(double x, double y, const DrawingSurface &source)
{
    if (m_ratio == 1 || source.m_ratio != m_ratio || source.m_hiImage.isNull()) {
        drawImage(x, y, source.image());
        return;
    }
    if (!finite(x, y) || m_image.isNull() || source.m_image.isNull())
        return;
    // The nearest pixel, as drawImage() places its picture.
    const QPointF at(double(toPixel(x)), double(toPixel(y)));
    {
        QPainter painter(&m_image);
        painter.drawImage(at, source.m_image);
    }
    // Both pictures carry the same ratio, so the painter copies device pixel
    // for device pixel from a whole pixel position.
    hiDrawImage(at, source.m_hiImage);
}
