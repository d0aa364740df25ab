// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a surface: its font, in points converted at 96 dpi whatever
// the screen, the Symbol font's letters shown as the Greek letters they
// stand for, and printing at the current point.
#include "drawingsurface.h"
#include "surfacegeometry.h"
#include "twips.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>

using namespace SurfaceGeometry;

namespace {

// The Symbol font's letters in Unicode: Latin a..z and A..Z in its order.
constexpr char16_t symbolLower[26] = {
    0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9,
    0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1,
    0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6,
};
constexpr char16_t symbolUpper[26] = {
    0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399,
    0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1,
    0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396,
};

} // namespace

void DrawingSurface::setFontName(const QString &name)
{
    m_fontName = name;
    m_symbolFont = name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
    updateFont();
}

void DrawingSurface::setFontSize(double points)
{
    if (!std::isfinite(points) || points <= 0)
        return;
    m_fontSize = points;
    updateFont();
}

void DrawingSurface::updateFont()
{
    m_font.setFamily(m_symbolFont ? QStringLiteral("Arial") : m_fontName);
    m_font.setPixelSize(std::max(
        1,
        int(std::lround(std::min(m_fontSize, 1000.0) * Twips::screenDpi / Twips::pointsPerInch))));
}

QString DrawingSurface::shownText(const QString &text) const
{
    if (!m_symbolFont)
        return text;
    QString shown = text;
    for (QChar &c : shown) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(symbolLower[u - u'a']);
        else if (u >= u'A' && u <= u'Z')
            c = QChar(symbolUpper[u - u'A']);
        else if (u == 0x00AE)
            c = QChar(0x2192);
    }
    return shown;
}

void DrawingSurface::print(const QString &text)
{
    if (!finite(m_currentX, m_currentY))
        return;
    if (!m_image.isNull()) {
        const QFontMetrics metrics(m_font);
        QPainter painter(&m_image);
        painter.setFont(m_font);
        painter.setPen(m_foreColor);
        const QPointF baseline(double(toPixel(m_currentX)),
                               double(toPixel(m_currentY) + metrics.ascent()));
        const QString shown = shownText(text);
        painter.drawText(baseline, shown);
        if (m_ratio > 1)
            hiPrint(baseline, shown);
    }
    m_currentX += textWidth(text);
}

int DrawingSurface::textWidth(const QString &text) const
{
    const QFontMetrics metrics(m_font);
    int widest = 0;
    const QStringList lines = shownText(text).split(QLatin1Char('\n'));
    for (const QString &line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

int DrawingSurface::textHeight(const QString &text) const
{
    const QFontMetrics metrics(m_font);
    return metrics.height() * int(text.count(QLatin1Char('\n')) + 1);
}
