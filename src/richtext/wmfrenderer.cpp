// SPDX-License-Identifier: GPL-3.0-or-later
#include "wmfrenderer.h"

#include "wmfplayer.h"

#include "core/windows1252.h"

#include <algorithm>
#include <utility>

namespace WmfPlayback {

quint16 Renderer::uword(qsizetype record, int index) const
{
    const qsizetype at = record + 6 + 2 * qsizetype(index);
    return quint16(uchar(m_data[at]) | (uchar(m_data[at + 1]) << 8));
}

int Renderer::word(qsizetype record, int index) const
{
    return qint16(uword(record, index));
}

QColor Renderer::colour(qsizetype record, int index) const
{
    const quint16 low = uword(record, index);
    const quint16 high = uword(record, index + 1);
    return QColor(low & 0xFF, low >> 8, high & 0xFF);
}

double Renderer::scaleX() const
{
    const double extent = m_state.windowExtent.width();
    return extent != 0 ? m_size.width() / extent : 1.0;
}

double Renderer::scaleY() const
{
    const double extent = m_state.windowExtent.height();
    return extent != 0 ? m_size.height() / extent : 1.0;
}

QPointF Renderer::map(double x, double y) const
{
    return QPointF((x - m_state.windowOrigin.x()) * scaleX(),
                   (y - m_state.windowOrigin.y()) * scaleY());
}

QPen Renderer::devicePen() const
{
    QPen pen = m_state.pen;
    if (pen.style() != Qt::NoPen)
        pen.setWidthF(std::clamp(pen.widthF() * std::abs(scaleX()), 1.0, double(maxImageSide)));
    return pen;
}

void Renderer::addObject(Object object)
{
    for (Object &slot : m_objects) {
        if (slot.type == Object::Type::Empty) {
            slot = std::move(object);
            return;
        }
    }
    if (int(m_objects.size()) < maxObjects)
        m_objects.push_back(std::move(object));
}

QPolygonF Renderer::points(qsizetype record, int first, int count) const
{
    QPolygonF polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i)
        polygon << map(word(record, first + 2 * i), word(record, first + 2 * i + 1));
    return polygon;
}

void Renderer::play(quint16 function, qsizetype record, int params)
{
    // Records of no group, and those the picture needs not, are passed over.
    if (playState(function, record, params) || playObject(function, record, params))
        return;
    playDrawing(function, record, params);
}

bool Renderer::playState(quint16 function, qsizetype record, int params)
{
    // Each case reads only the parameters it has checked are there.
    const auto has = [params](qint64 count) { return params >= count; };
    switch (function) {
    case SaveDc:
        if (int(m_saved.size()) < maxSavedStates)
            m_saved.push_back(m_state);
        break;
    case RestoreDc:
        if (!m_saved.empty()) {
            m_state = m_saved.back();
            m_saved.pop_back();
        }
        break;
    case SetPolyFillMode:
        if (has(1))
            m_state.fillRule = uword(record, 0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case SetTextAlign:
        if (has(1))
            m_state.textAlign = uword(record, 0);
        break;
    case SetTextColor:
        if (has(2))
            m_state.textColour = colour(record, 0);
        break;
    case SetWindowOrg:
        if (has(2))
            m_state.windowOrigin = QPointF(word(record, 1), word(record, 0));
        break;
    case SetWindowExt:
        if (has(2))
            m_state.windowExtent = QSizeF(word(record, 1), word(record, 0));
        break;
    case MoveTo:
        if (has(2))
            m_state.position = QPointF(word(record, 1), word(record, 0));
        break;
    default:
        return false;
    }
    return true;
}

bool Renderer::playObject(quint16 function, qsizetype record, int params)
{
    // Each case reads only the parameters it has checked are there.
    const auto has = [params](qint64 count) { return params >= count; };
    switch (function) {
    case CreatePenIndirect:
        if (has(5)) {
            Object pen;
            pen.type = Object::Type::Pen;
            const int style = uword(record, 0) & 0x0F;
            pen.pen = QPen(colour(record, 3), std::max(word(record, 1), 0));
            pen.pen.setStyle(style == 5       ? Qt::NoPen
                                 : style == 1 ? Qt::DashLine
                                 : style == 2 ? Qt::DotLine
                                              : Qt::SolidLine);
            addObject(pen);
        }
        break;
    case CreateBrushIndirect:
        if (has(3)) {
            Object brush;
            brush.type = Object::Type::Brush;
            const int style = uword(record, 0);
            brush.brush = style == 1 ? QBrush(Qt::NoBrush) : QBrush(colour(record, 1));
            addObject(brush);
        }
        break;
    case CreateFontIndirect:
        if (has(9)) {
            Object font;
            font.type = Object::Type::Font;
            font.font.height = word(record, 0);
            font.font.weight = word(record, 4);
            const QByteArrayView bytes = m_data.sliced(record + 6, qsizetype(params) * 2);
            font.font.italic = bytes[10] != 0;
            font.font.underline = bytes[11] != 0;
            font.font.strike = bytes[12] != 0;
            QByteArrayView face = bytes.sliced(18, std::min<qsizetype>(32, bytes.size() - 18));
            if (const qsizetype end = face.indexOf('\0'); end >= 0)
                face = face.first(end);
            font.font.face = Windows1252::decode(face).trimmed();
            font.font.symbol = RtfSymbolFonts::fromName(font.font.face);
            addObject(font);
        }
        break;
    case SelectObject:
        if (has(1) && uword(record, 0) < m_objects.size()) {
            const Object &object = m_objects[uword(record, 0)];
            if (object.type == Object::Type::Pen)
                m_state.pen = object.pen;
            else if (object.type == Object::Type::Brush)
                m_state.brush = object.brush;
            else if (object.type == Object::Type::Font)
                m_state.font = object.font;
        }
        break;
    case DeleteObject:
        if (has(1) && uword(record, 0) < m_objects.size())
            m_objects[uword(record, 0)] = Object();
        break;
    default:
        return false;
    }
    return true;
}

QImage Renderer::run()
{
    qsizetype pos = 0;
    // The placeable header: its key, then the picture's bounds in logical units.
    if (m_data.size() >= 22 && uchar(m_data[0]) == 0xD7 && uchar(m_data[1]) == 0xCD
        && uchar(m_data[2]) == 0xC6 && uchar(m_data[3]) == 0x9A) {
        const auto at
            = [this](int i) { return qint16(uchar(m_data[i]) | (uchar(m_data[i + 1]) << 8)); };
        m_state.windowOrigin = QPointF(at(6), at(8));
        m_state.windowExtent = QSizeF(at(10) - at(6), at(12) - at(8));
        pos = 22;
    }
    // The metafile header: type 1 or 2, a size of 9 words, version 0x100 or 0x300.
    if (m_data.size() < pos + 18)
        return {};
    const auto header = [this, pos](int i) {
        return quint16(uchar(m_data[pos + i]) | (uchar(m_data[pos + i + 1]) << 8));
    };
    if ((header(0) != 1 && header(0) != 2) || header(2) != 9
        || (header(4) != 0x100 && header(4) != 0x300))
        return {};
    m_objects.reserve(std::min<int>(header(10), maxObjects));
    pos += 18;

    const QSize size(std::clamp(m_size.width(), 1, maxImageSide),
                     std::clamp(m_size.height(), 1, maxImageSide));
    m_size = size;
    m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_image.fill(Qt::transparent);
    m_painter.emplace(&m_image);
    m_painter->setRenderHint(QPainter::Antialiasing);
    m_painter->setRenderHint(QPainter::TextAntialiasing);
    for (int records = 0; records < maxRecords && pos + 6 <= m_data.size(); ++records) {
        const qint64 words = qint64(uchar(m_data[pos])) | (qint64(uchar(m_data[pos + 1])) << 8)
            | (qint64(uchar(m_data[pos + 2])) << 16) | (qint64(uchar(m_data[pos + 3])) << 24);
        if (words < 3 || words * 2 > m_data.size() - pos)
            break;
        const quint16 function = quint16(uchar(m_data[pos + 4]) | (uchar(m_data[pos + 5]) << 8));
        if (function == Eof)
            break;
        play(function, pos, int(std::min<qint64>(words - 3, 0x7FFFFFFF)));
        pos += words * 2;
    }
    m_painter.reset();
    return m_drew ? m_image : QImage();
}

} // namespace WmfPlayback

namespace WmfRenderer {

QImage render(QByteArrayView wmf, QSize size)
{
    if (size.isEmpty())
        return {};
    return WmfPlayback::Renderer(wmf, size).run();
}

} // namespace WmfRenderer
