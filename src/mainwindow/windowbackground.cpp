// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowbackground.h"

#include "platform/palette.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QString titleText = QStringLiteral("Animation :");

QRect shadowOf(const QRect &exerciseBar, const QRect &textArea)
{
    // Corners as the drawing takes them, both inclusive.
    return QRect(QPoint(textArea.left() + 3, exerciseBar.top() + 3),
                 QPoint(textArea.right() + 1 + 3, textArea.bottom() + 1 + 3));
}

void setTitleFont(DrawingSurface &surface)
{
    surface.setFontName(QStringLiteral("Arial"));
    surface.setFontSize(14);
    surface.setFontBold(true);
}

} // namespace

QColor WindowBackground::rowColour(int row)
{
    // Colours are rounded to the nearest integer, a half going to the even one.
    const int d = int(std::lrint(255.0 - row * 55.0 / 600.0));
    const int c = int(std::lrint(255.0 - row * 75.0 / 600.0));
    return QColor(d, d, c);
}

void Form_Paint(DrawingSurface &surface, const QPoint &origin, const QRect &exerciseBar,
                const QRect &textArea, const QPoint &title)
{
    const int x = origin.x();
    const int y = origin.y();
    const int last = std::min(WindowBackground::height - 1, y + surface.height() - 1);
    for (int a = std::max(0, y); a <= last; ++a)
        surface.line(0 - x, a - y, WindowBackground::width - x, a - y,
                     WindowBackground::rowColour(a));

    const QRect shadow = shadowOf(exerciseBar, textArea);
    surface.box(shadow.left() - x, shadow.top() - y, shadow.right() - x, shadow.bottom() - y,
                QBColor(8), true);

    setTitleFont(surface);
    surface.setForeColor(QBColor(8));
    surface.setCurrentPoint(title.x() - x, title.y() - y);
    surface.print(titleText);
    surface.setForeColor(QBColor(9));
    surface.setCurrentPoint(title.x() - 1 - x, title.y() - 1 - y);
    surface.print(titleText);
    surface.setFontBold(false);
}

WindowBackground::WindowBackground(const QRect &exerciseBar, const QRect &textArea,
                                   const QPoint &title)
    : m_exerciseBar(exerciseBar)
    , m_textArea(textArea)
    , m_title(title)
    , m_gradient(1, height, QImage::Format_RGB32)
{
    for (int row = 0; row < height; ++row)
        m_gradient.setPixel(0, row, rowColour(row).rgb());
    DrawingSurface measure;
    setTitleFont(measure);
    // Both prints, with a margin for what antialiasing spills past the advance.
    const int margin = 3;
    m_titleRect = QRect(title.x() - 1 - margin, title.y() - 1 - margin,
                        measure.textWidth(titleText) + 1 + 2 * margin,
                        measure.textHeight(titleText) + 1 + 2 * margin);
}

void WindowBackground::drawTitle(int ratio)
{
    m_titlePicture = DrawingSurface();
    m_titlePicture.setDevicePixelRatio(ratio);
    m_titlePicture.resize(m_titleRect.width(), m_titleRect.height());
    // The whole background within the title's rectangle: the shadow too, were
    // they to meet.
    Form_Paint(m_titlePicture, m_titleRect.topLeft(), m_exerciseBar, m_textArea, m_title);
}

void WindowBackground::paint(QPainter &painter, const QRect &dirty, int ratio)
{
    const QRect area = dirty & QRect(0, 0, width, height);
    if (area.isEmpty())
        return;
    // The gradient's column, repeated across: one fill, however many rows.
    painter.fillRect(area, QBrush(m_gradient));
    painter.fillRect(shadowOf(m_exerciseBar, m_textArea) & area, QBColor(8));
    if (m_titleRect.intersects(area)) {
        if (m_titlePicture.width() == 0 || m_titlePicture.devicePixelRatio() != ratio)
            drawTitle(ratio);
        painter.save();
        painter.setClipRect(area, Qt::IntersectClip);
        painter.drawImage(m_titleRect.topLeft(), m_titlePicture.displayImage());
        painter.restore();
    }
}

QImage WindowBackground::picture()
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    paint(painter, image.rect(), 1);
    return image;
}
