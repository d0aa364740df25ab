// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfparser.h"

#include "wmfrenderer.h"

#include "platform/palette.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace {

// Pictures larger than this are not decoded: a few bytes of a hostile file
// could otherwise claim gigabytes.
constexpr qint64 maxPicturePixels = 40'000'000;
constexpr double maxPictureSide = 10000.0;

// Metafiles are drawn at twice the size they show at, for sharp lines when
// the text is printed or zoomed; a side never exceeds this.
constexpr int maxMetafileSide = 2000;

// The side of a placeholder whose picture gives no size, in pixels.
constexpr int placeholderSide = 32;

// Metafiles are drawn into images of at most this many pixels in all, so that
// a file of many large pictures cannot claim gigabytes; the others show as
// placeholders (and are still written back).
constexpr qint64 maxMetafilePixels = 50'000'000;

QImage decodeBitmap(QByteArray data, const char *format)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()
        || qint64(size.width()) * size.height() > maxPicturePixels)
        return {};
    return reader.read();
}

// What stands for a picture or object that cannot be shown: a grey frame
// with its diagonals, one small image stretched to each placeholder's size.
QImage placeholderImage()
{
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(QColor(235, 235, 235));
    QPainter painter(&image);
    painter.setPen(QBColor(8));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.drawLine(image.rect().topLeft(), image.rect().bottomRight());
    painter.drawLine(image.rect().topRight(), image.rect().bottomLeft());
    return image;
}

} // namespace

void RtfParser::finishPicture()
{
    if (m_picture.kind == Picture::Kind::None || m_state.chars.hidden)
        return;
    // The RTF written back on saving: the object this picture shows, or the
    // picture itself. An object's other pictures are alternatives of the
    // first, which stands for them all.
    QByteArrayView raw = m_picture.group;
    if (m_state.container > 0) {
        Container &container = m_containers[std::size_t(m_state.container - 1)];
        if (container.attached)
            return;
        container.attached = true;
        raw = container.group;
    }
    QByteArray data
        = m_picture.binary.isEmpty() ? QByteArray::fromHex(m_picture.hex) : m_picture.binary;
    m_picture.hex.clear();
    m_picture.binary.clear();
    const double goalWidth = pixelsOf(m_picture.goalWidth);
    const double goalHeight = pixelsOf(m_picture.goalHeight);
    QImage image;
    switch (m_picture.kind) {
    case Picture::Kind::Png:
        image = decodeBitmap(std::move(data), "png");
        break;
    case Picture::Kind::Jpeg:
        image = decodeBitmap(std::move(data), "jpeg");
        break;
    case Picture::Kind::Wmf:
        if (goalWidth >= 1 && goalHeight >= 1) {
            const double scale
                = std::min({2.0, maxMetafileSide / goalWidth, maxMetafileSide / goalHeight});
            const QSize size(std::max(qRound(goalWidth * scale), 1),
                             std::max(qRound(goalHeight * scale), 1));
            const qint64 pixels = qint64(size.width()) * size.height();
            if (m_metafilePixels + pixels <= maxMetafilePixels) {
                m_metafilePixels += pixels;
                image = WmfRenderer::render(data, size);
            }
        }
        break;
    case Picture::Kind::None:
    case Picture::Kind::Unknown:
        break;
    }
    const bool drawn = !image.isNull();
    // A metafile's image is drawn larger than it shows: its size is the goal.
    const double width = goalWidth > 0 || !drawn ? goalWidth : double(image.width());
    const double height = goalHeight > 0 || !drawn ? goalHeight : double(image.height());
    const double shownWidth = width * m_picture.scaleX / 100.0;
    const double shownHeight = height * m_picture.scaleY / 100.0;
    if (!drawn) {
        insertPlaceholder(raw, twipsOf(shownWidth), twipsOf(shownHeight));
        return;
    }
    flush();
    place();
    m_builder->insertImage(image, std::clamp(shownWidth, 1.0, maxPictureSide),
                           std::clamp(shownHeight, 1.0, maxPictureSide), raw.toByteArray());
}

void RtfParser::finishContainer(const Container &container)
{
    if (!container.attached && !m_state.chars.hidden)
        insertPlaceholder(container.group, container.goalWidth, container.goalHeight);
}

void RtfParser::insertPlaceholder(QByteArrayView raw, int goalWidth, int goalHeight)
{
    const double width = goalWidth > 0 ? pixelsOf(goalWidth) : placeholderSide;
    const double height = goalHeight > 0 ? pixelsOf(goalHeight) : placeholderSide;
    flush();
    place();
    m_builder->insertImage(placeholderImage(), std::clamp(width, 1.0, maxPictureSide),
                           std::clamp(height, 1.0, maxPictureSide), raw.toByteArray(),
                           QStringLiteral("rtfimage:placeholder"));
}
