// SPDX-License-Identifier: GPL-3.0-or-later
// The metafile records that draw: lines, polygons, rectangles, ellipses and
// text, in the state the other records have set.
#include "wmfplayer.h"

#include "core/windows1252.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace WmfPlayback {

namespace {

// Text alignment flags.
constexpr int alignUpdateCp = 1;
constexpr int alignRight = 2;
constexpr int alignCentre = 6;
constexpr int alignBottom = 8;
constexpr int alignBaseline = 24;

} // namespace

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

bool Renderer::playDrawing(quint16 function, qsizetype record, int params)
{
    // Each case reads only the parameters it has checked are there.
    const auto has = [params](qint64 count) { return params >= count; };
    switch (function) {
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
        return false;
    }
    return true;
}

} // namespace WmfPlayback
