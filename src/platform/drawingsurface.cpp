// SPDX-License-Identifier: GPL-3.0-or-later
#include "drawingsurface.h"
#include "surfacegeometry.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace SurfaceGeometry;

namespace {

// Past this radius a circle costs time for nothing: it is far bigger than
// any surface.
constexpr qint64 radiusLimit = 1 << 20;
// 96 dpi in dots per metre, so that nothing measured on the image depends
// on the screen.
constexpr int dotsPerMeter = 3780;

// Direct, bounds-checked access to the pixels of a Format_RGB32 image.
// Created per operation: taking bits() detaches the image once, after which
// writes are plain stores.
class PixelWriter
{
public:
    explicit PixelWriter(QImage &image)
        : m_width(image.width())
        , m_height(image.height())
        , m_stride(image.bytesPerLine() / qsizetype(sizeof(QRgb)))
        , m_bits(m_width > 0 && m_height > 0 ? reinterpret_cast<QRgb *>(image.bits()) : nullptr)
    { }

    qint64 width() const { return m_width; }
    qint64 height() const { return m_height; }

    void set(qint64 x, qint64 y, QRgb colour)
    {
        if (x >= 0 && x < m_width && y >= 0 && y < m_height)
            m_bits[y * m_stride + x] = colour;
    }

    // Pixels x1..x2 (inclusive, x1 <= x2) of row y.
    void span(qint64 x1, qint64 x2, qint64 y, QRgb colour)
    {
        if (y < 0 || y >= m_height)
            return;
        x1 = std::max<qint64>(x1, 0);
        x2 = std::min<qint64>(x2, m_width - 1);
        if (x1 <= x2)
            std::fill(m_bits + y * m_stride + x1, m_bits + y * m_stride + x2 + 1, colour);
    }

private:
    qint64 m_width;
    qint64 m_height;
    qsizetype m_stride;
    QRgb *m_bits;
};

// The pixels of a line from (x1, y1) up to, not including, (x2, y2). Along
// the major axis every step gets one pixel; the minor coordinate of step i is
// the exact one rounded, a tie stepping away from the first point. The closed
// form (rather than the incremental error term) lets the loop start at the
// surface's edge, so a long line costs no more than the surface is wide. A
// wide line gets a second pixel below (mostly horizontal) or to the right
// (mostly vertical) of each one.
void plotLine(PixelWriter &out, qint64 x1, qint64 y1, qint64 x2, qint64 y2, QRgb colour, bool wide)
{
    const qint64 dx = x2 - x1;
    const qint64 dy = y2 - y1;
    if (dx == 0 && dy == 0) {
        out.set(x1, y1, colour);
        if (wide)
            out.set(x1, y1 + 1, colour);
        return;
    }
    if (dy == 0) {
        // A horizontal line is one span (the backgrounds are made of them).
        const qint64 end = x2 - (dx > 0 ? 1 : -1);
        out.span(std::min(x1, end), std::max(x1, end), y1, colour);
        if (wide)
            out.span(std::min(x1, end), std::max(x1, end), y1 + 1, colour);
        return;
    }
    const bool horizontal = std::abs(dx) >= std::abs(dy);
    const qint64 steps = horizontal ? std::abs(dx) : std::abs(dy);
    const qint64 rise = horizontal ? std::abs(dy) : std::abs(dx);
    const qint64 major0 = horizontal ? x1 : y1;
    const qint64 minor0 = horizontal ? y1 : x1;
    const qint64 majorStep = (horizontal ? dx : dy) < 0 ? -1 : 1;
    const qint64 minorStep = (horizontal ? dy : dx) < 0 ? -1 : 1;
    const qint64 limit = horizontal ? out.width() : out.height();

    const auto [first, last] = visibleSteps(major0, majorStep, limit, steps);
    for (qint64 i = first; i <= last; ++i) {
        const qint64 major = major0 + majorStep * i;
        const qint64 minor = minor0 + minorStep * ((2 * i * rise + steps) / (2 * steps));
        if (horizontal) {
            out.set(major, minor, colour);
            if (wide)
                out.set(major, minor + 1, colour);
        } else {
            out.set(minor, major, colour);
            if (wide)
                out.set(minor + 1, major, colour);
        }
    }
}

void plotSymmetric(PixelWriter &out, qint64 cx, qint64 cy, qint64 x, qint64 y, QRgb colour)
{
    out.set(cx + x, cy + y, colour);
    out.set(cx - x, cy + y, colour);
    out.set(cx + x, cy - y, colour);
    out.set(cx - x, cy - y, colour);
    out.set(cx + y, cy + x, colour);
    out.set(cx - y, cy + x, colour);
    out.set(cx + y, cy - x, colour);
    out.set(cx - y, cy - x, colour);
}

QImage blankImage(int width, int height, const QColor &colour)
{
    if (width < 1 || height < 1)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(colour);
    return image;
}

} // namespace

DrawingSurface::DrawingSurface(int width, int height, const QColor &background)
    : m_image(blankImage(width, height, background))
    , m_backColor(background)
{
    setFontName(QStringLiteral("Arial"));
}

void DrawingSurface::resize(int width, int height)
{
    if (width == this->width() && height == this->height())
        return;
    QImage resized = blankImage(width, height, m_backColor);
    if (!resized.isNull() && !m_image.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, m_image);
    }
    m_image = resized;
    if (m_ratio > 1) {
        QImage hiResized = enlarged(blankImage(width, height, m_backColor));
        if (!hiResized.isNull() && !m_hiImage.isNull()) {
            QPainter painter(&hiResized);
            painter.drawImage(0, 0, m_hiImage);
        }
        m_hiImage = hiResized;
    }
}

void DrawingSurface::setBackColor(const QColor &colour)
{
    m_backColor = colour;
    clear();
}

void DrawingSurface::setDrawWidth(int width)
{
    m_drawWidth = std::clamp(width, 1, 2);
}

void DrawingSurface::setCurrentPoint(double x, double y)
{
    m_currentX = x;
    m_currentY = y;
}

void DrawingSurface::clear()
{
    m_currentX = 0;
    m_currentY = 0;
    if (m_image.isNull())
        return;
    if (m_ratio > 1) {
        if (!m_hiBackground.isNull() && m_hiBackground.size() == m_hiImage.size()) {
            m_hiImage = m_hiBackground;
        } else {
            m_hiImage.fill(m_backColor);
            if (!m_hiBackground.isNull()) {
                QPainter painter(&m_hiImage);
                painter.drawImage(0, 0, m_hiBackground);
            }
        }
    }
    if (!m_background.isNull() && m_background.size() == m_image.size()) {
        m_image = m_background;
        return;
    }
    m_image.fill(m_backColor);
    if (!m_background.isNull()) {
        QPainter painter(&m_image);
        painter.drawImage(0, 0, m_background);
    }
}

void DrawingSurface::line(double x1, double y1, double x2, double y2, const QColor &colour)
{
    if (!finite(x1, y1) || !finite(x2, y2))
        return;
    PixelWriter out(m_image);
    plotLine(out, toPixel(x1), toPixel(y1), toPixel(x2), toPixel(y2), opaque(colour),
             m_drawWidth == 2);
    if (m_ratio > 1)
        hiLine(toPixel(x1), toPixel(y1), toPixel(x2), toPixel(y2), opaque(colour));
    setCurrentPoint(x2, y2);
}

void DrawingSurface::lineTo(double x, double y, const QColor &colour)
{
    line(m_currentX, m_currentY, x, y, colour);
}

void DrawingSurface::box(double x1, double y1, double x2, double y2, const QColor &colour,
                         bool filled)
{
    if (!finite(x1, y1) || !finite(x2, y2))
        return;
    const qint64 left = std::min(toPixel(x1), toPixel(x2));
    const qint64 right = std::max(toPixel(x1), toPixel(x2));
    const qint64 top = std::min(toPixel(y1), toPixel(y2));
    const qint64 bottom = std::max(toPixel(y1), toPixel(y2));
    const QRgb rgb = opaque(colour);
    PixelWriter out(m_image);
    const qint64 firstRow = std::max<qint64>(top, 0);
    const qint64 lastRow = std::min<qint64>(bottom, out.height() - 1);
    if (m_ratio > 1) {
        if (filled) {
            hiRect(left, top, right, bottom, rgb);
        } else {
            const qint64 t = m_drawWidth - 1;
            hiRect(left, top, right, std::min(top + t, bottom), rgb);
            hiRect(left, std::max(bottom - t, top), right, bottom, rgb);
            hiRect(left, top, std::min(left + t, right), bottom, rgb);
            hiRect(std::max(right - t, left), top, right, bottom, rgb);
        }
    }
    if (filled) {
        for (qint64 y = firstRow; y <= lastRow; ++y)
            out.span(left, right, y, rgb);
    } else {
        const qint64 thickness = std::min<qint64>(m_drawWidth, bottom - top + 1);
        for (qint64 t = 0; t < thickness; ++t) {
            out.span(left, right, top + t, rgb);
            out.span(left, right, bottom - t, rgb);
        }
        const qint64 sides = std::min<qint64>(m_drawWidth, right - left + 1);
        for (qint64 y = firstRow; y <= lastRow; ++y) {
            for (qint64 t = 0; t < sides; ++t) {
                out.set(left + t, y, rgb);
                out.set(right - t, y, rgb);
            }
        }
    }
    setCurrentPoint(x2, y2);
}

void DrawingSurface::point(double x, double y, const QColor &colour)
{
    if (!finite(x, y))
        return;
    PixelWriter out(m_image);
    out.set(toPixel(x), toPixel(y), opaque(colour));
    if (m_ratio > 1)
        hiRect(toPixel(x), toPixel(y), toPixel(x), toPixel(y), opaque(colour));
    setCurrentPoint(x, y);
}

void DrawingSurface::circle(double x, double y, double r, const QColor &colour)
{
    if (!finite(x, y) || !std::isfinite(r) || r < 0)
        return;
    const qint64 cx = toPixel(x);
    const qint64 cy = toPixel(y);
    const qint64 radius = std::min(toPixel(r), radiusLimit);
    const QRgb outline = opaque(colour);
    PixelWriter out(m_image);
    setCurrentPoint(x, y);
    if (m_ratio > 1)
        hiCircle(cx, cy, radius, outline);
    if (radius == 0) {
        out.set(cx, cy, outline);
        return;
    }
    if (m_fillStyle == FillStyle::Solid) {
        // Rows cy +/- y reach x, rows cy +/- x reach y; narrower spans drawn
        // first on the same row are covered by the wider ones.
        const QRgb fill = opaque(m_fillColor);
        circleOctant(radius, [&](qint64 px, qint64 py) {
            out.span(cx - px, cx + px, cy + py, fill);
            out.span(cx - px, cx + px, cy - py, fill);
            out.span(cx - py, cx + py, cy + px, fill);
            out.span(cx - py, cx + py, cy - px, fill);
        });
    }
    const bool wide = m_drawWidth == 2;
    circleOctant(radius, [&](qint64 px, qint64 py) {
        plotSymmetric(out, cx, cy, px, py, outline);
        if (wide)
            plotSymmetric(out, cx, cy, px - 1, py, outline);
    });
}

void DrawingSurface::drawImage(double x, double y, const QImage &picture)
{
    if (!finite(x, y) || m_image.isNull() || picture.isNull())
        return;
    const QPointF at(double(toPixel(x)), double(toPixel(y)));
    QPainter painter(&m_image);
    painter.drawImage(at, picture);
    if (m_ratio > 1)
        hiDrawImage(at, picture);
}

void DrawingSurface::setBackgroundPicture(const QImage &picture)
{
    m_background = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
    m_hiBackground = m_ratio > 1 ? enlarged(m_background) : QImage();
}
