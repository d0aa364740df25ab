// SPDX-License-Identifier: GPL-3.0-or-later
#include "wmfrenderer.h"

#include "rtfsymbolfonts.h"

#include "core/windows1252.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <optional>
#include <vector>

namespace {

// Bounds on what a hostile metafile may ask for.
constexpr int maxObjects = 1024;
constexpr int maxSavedStates = 64;
constexpr int maxRecords = 200'000;
constexpr int maxImageSide = 4000;
constexpr qsizetype maxTextLength = 1024; // characters drawn by one text record

// Record functions (the low byte is the record's number, the high byte its
// count of parameters in the original format).
enum Function : quint16 {
    Eof = 0x0000,
    SaveDc = 0x001E,
    SetBkMode = 0x0102,
    SetPolyFillMode = 0x0106,
    RestoreDc = 0x0127,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DeleteObject = 0x01F0,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    ExtTextOut = 0x0A32,
};

// Text alignment flags.
constexpr int alignUpdateCp = 1;
constexpr int alignRight = 2;
constexpr int alignCentre = 6;
constexpr int alignBottom = 8;
constexpr int alignBaseline = 24;

struct LogFont
{
    int height = 12; // logical units; negative is the characters' height
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QString face;
    RtfSymbolFonts::Font symbol = RtfSymbolFonts::Font::None;
};

struct Object
{
    enum class Type : quint8 { Empty, Pen, Brush, Font } type = Type::Empty;
    QPen pen;
    QBrush brush;
    LogFont font;
};

struct State
{
    QPointF windowOrigin {0, 0};
    QSizeF windowExtent {0, 0};
    QPen pen {Qt::black};
    QBrush brush {Qt::white};
    LogFont font;
    QColor textColour {Qt::black};
    int textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF position {0, 0};
};

class Renderer
{
public:
    Renderer(QByteArrayView data, QSize size)
        : m_data(data)
        , m_size(size)
    { }

    QImage run();

private:
    int word(qsizetype record, int index) const; // signed 16-bit parameter
    quint16 uword(qsizetype record, int index) const;
    QColor colour(qsizetype record, int index) const;
    QPointF map(double x, double y) const;
    double scaleX() const;
    double scaleY() const;
    void play(quint16 function, qsizetype record, int params);
    void addObject(Object object);
    QPolygonF points(qsizetype record, int first, int count) const;
    void text(double x, double y, QByteArrayView bytes);
    QPen devicePen() const;

    QByteArrayView m_data;
    QSize m_size;
    QImage m_image;
    std::optional<QPainter> m_painter;
    State m_state;
    std::vector<State> m_saved;
    std::vector<Object> m_objects;
    bool m_drew = false;
};

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

void Renderer::text(double x, double y, QByteArrayView bytes)
{
    const LogFont &lf = m_state.font;
    bytes = bytes.first(std::min<qsizetype>(bytes.size(), maxTextLength));
    QString string;
    if (lf.symbol != RtfSymbolFonts::Font::None) {
        for (char b : bytes) {
            const char16_t mapped = RtfSymbolFonts::toUnicode(lf.symbol, uchar(b));
            string += QChar(mapped ? mapped : char16_t(uchar(b)));
        }
    } else {
        string = Windows1252::decode(bytes);
    }
    QFont font;
    // Symbol characters show in an ordinary serif font once mapped.
    font.setFamilies({lf.symbol != RtfSymbolFonts::Font::None || lf.face.isEmpty()
                          ? QStringLiteral("Times New Roman")
                          : lf.face});
    const double height = std::abs(lf.height * scaleY());
    // A positive height includes the internal leading, about a sixth of it.
    font.setPixelSize(std::clamp(qRound(lf.height < 0 ? height : height * 0.85), 1, maxImageSide));
    font.setWeight(QFont::Weight(std::clamp(lf.weight / 10 * 10, 100, 900)));
    font.setItalic(lf.italic);
    font.setUnderline(lf.underline);
    font.setStrikeOut(lf.strike);
    const QFontMetricsF metrics(font);
    QPointF at = (m_state.textAlign & alignUpdateCp)
        ? map(m_state.position.x(), m_state.position.y())
        : map(x, y);
    const double width = metrics.horizontalAdvance(string);
    const int horizontal = m_state.textAlign & alignCentre;
    if (horizontal == alignCentre)
        at.rx() -= width / 2;
    else if (horizontal == alignRight)
        at.rx() -= width;
    const int vertical = m_state.textAlign & alignBaseline;
    if (vertical == 0)
        at.ry() += metrics.ascent();
    else if (vertical == alignBottom)
        at.ry() -= metrics.descent();
    m_painter->setFont(font);
    m_painter->setPen(m_state.textColour);
    m_painter->drawText(at, string);
    if (m_state.textAlign & alignUpdateCp)
        m_state.position.rx() += width / std::max(std::abs(scaleX()), 1e-9);
    m_drew = true;
}

void Renderer::play(quint16 function, qsizetype record, int params)
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
    case LineTo:
        if (has(2)) {
            const QPointF to(word(record, 1), word(record, 0));
            m_painter->setPen(devicePen());
            m_painter->drawLine(map(m_state.position.x(), m_state.position.y()),
                                map(to.x(), to.y()));
            m_state.position = to;
            m_drew = true;
        }
        break;
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
    case Polygon:
    case Polyline:
        if (has(1) && has(1 + 2 * qint64(uword(record, 0)))) {
            const QPolygonF polygon = points(record, 1, uword(record, 0));
            m_painter->setPen(devicePen());
            if (function == Polygon) {
                m_painter->setBrush(m_state.brush);
                m_painter->drawPolygon(polygon, m_state.fillRule);
            } else {
                m_painter->drawPolyline(polygon);
            }
            m_drew = true;
        }
        break;
    case PolyPolygon:
        if (has(1) && has(1 + int(uword(record, 0)))) {
            const int polygons = uword(record, 0);
            qint64 total = 0;
            for (int i = 0; i < polygons; ++i)
                total += uword(record, 1 + i);
            if (!has(1 + polygons + 2 * total))
                break;
            QPainterPath path;
            path.setFillRule(m_state.fillRule);
            int first = 1 + polygons;
            for (int i = 0; i < polygons; ++i) {
                const int count = uword(record, 1 + i);
                path.addPolygon(points(record, first, count));
                path.closeSubpath();
                first += 2 * count;
            }
            m_painter->setPen(devicePen());
            m_painter->setBrush(m_state.brush);
            m_painter->drawPath(path);
            m_drew = true;
        }
        break;
    case Rectangle:
    case Ellipse:
        if (has(4)) {
            const QRectF rect(map(word(record, 3), word(record, 2)),
                              map(word(record, 1), word(record, 0)));
            m_painter->setPen(devicePen());
            m_painter->setBrush(m_state.brush);
            if (function == Rectangle)
                m_painter->drawRect(rect.normalized());
            else
                m_painter->drawEllipse(rect.normalized());
            m_drew = true;
        }
        break;
    case TextOut:
        if (has(1)) {
            const int count = uword(record, 0);
            const int words = (count + 1) / 2;
            if (has(1 + words + 2))
                text(word(record, 2 + words), word(record, 1 + words),
                     m_data.sliced(record + 8, count));
        }
        break;
    case ExtTextOut:
        if (has(4)) {
            const int count = uword(record, 2);
            const int options = uword(record, 3);
            // The clipping or opaque rectangle comes first when one is set.
            const int first = (options & 0x06) ? 8 : 4;
            if (has(first + (count + 1) / 2))
                text(word(record, 1), word(record, 0),
                     m_data.sliced(record + 6 + 2 * first, count));
        }
        break;
    default:
        break;
    }
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

} // namespace

namespace WmfRenderer {

QImage render(QByteArrayView wmf, QSize size)
{
    if (size.isEmpty())
        return {};
    return Renderer(wmf, size).run();
}

} // namespace WmfRenderer
