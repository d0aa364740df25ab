// SPDX-License-Identifier: GPL-3.0-or-later
#include "icons.h"

#include "paintedicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace Icons {

namespace {

const QColor ink(40, 40, 60);
const QColor blue(40, 90, 200);
const QColor red(200, 40, 40);
const QColor green(20, 150, 60);
const QColor paper(250, 250, 245);
const QColor yellow(240, 200, 70);

// An icon painted on a 20 × 20 grid (or the given size), at the size and
// density it is shown at, when it is first shown.
QIcon painted(const PaintedIconEngine::Draw &draw, QSize size = QSize(20, 20))
{
    return QIcon(new PaintedIconEngine(draw, size));
}

QPen pen(const QColor &colour, qreal width = 1.2)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

QIcon erase()
{
    return painted([](QPainter &p) {
        p.translate(10, 10);
        p.rotate(-35);
        p.setPen(pen(ink));
        p.setBrush(QColor(235, 120, 140));
        p.drawRoundedRect(QRectF(-8, -4, 9, 8), 1, 1);
        p.setBrush(paper);
        p.drawRoundedRect(QRectF(1, -4, 7, 8), 1, 1);
    });
}

QIcon open()
{
    return painted([](QPainter &p) {
        p.setPen(pen(ink));
        p.setBrush(yellow.darker(115));
        p.drawRect(QRectF(2.5, 4.5, 14, 11));
        QPainterPath front;
        front.moveTo(2.5, 15.5);
        front.lineTo(5.5, 8.5);
        front.lineTo(18.5, 8.5);
        front.lineTo(16.5, 15.5);
        front.closeSubpath();
        p.setBrush(yellow);
        p.drawPath(front);
    });
}

QIcon save()
{
    return painted([](QPainter &p) {
        p.setPen(pen(ink));
        p.setBrush(blue);
        p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
        p.setBrush(paper);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(5.5, 11.5, 9, 6));
    });
}

QIcon copy()
{
    return painted([](QPainter &p) {
        p.setPen(pen(ink));
        p.setBrush(QColor(215, 220, 235));
        p.drawRect(QRectF(2.5, 2.5, 10, 12));
        p.setBrush(paper);
        p.drawRect(QRectF(7.5, 5.5, 10, 12));
        p.setPen(pen(blue, 1));
        for (int y : {9, 12, 15})
            p.drawLine(QPointF(9.5, y), QPointF(15.5, y));
    });
}

QIcon print()
{
    return painted([](QPainter &p) {
        p.setPen(pen(ink));
        p.setBrush(paper);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(170, 175, 190));
        p.drawRoundedRect(QRectF(2.5, 7.5, 15, 7), 1.5, 1.5);
        p.setBrush(paper);
        p.drawRect(QRectF(5.5, 12.5, 9, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        p.drawEllipse(QPointF(15, 10), 1, 1);
    });
}

QIcon calculator()
{
    return painted([](QPainter &p) {
        p.setPen(pen(ink));
        p.setBrush(QColor(90, 95, 110));
        p.drawRoundedRect(QRectF(3.5, 1.5, 13, 17), 1.5, 1.5);
        p.setBrush(QColor(150, 220, 150));
        p.drawRect(QRectF(5.5, 3.5, 9, 4));
        p.setPen(Qt::NoPen);
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                p.setBrush(col == 2 && row == 2 ? QColor(240, 150, 60) : paper);
                p.drawRect(QRectF(5.5 + col * 3.2, 9.5 + row * 2.9, 2.2, 2));
            }
        }
    });
}

QIcon help()
{
    return painted([](QPainter &p) {
        p.setPen(pen(ink));
        p.setBrush(blue);
        p.drawEllipse(QPointF(10, 10), 8, 8);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon close()
{
    return painted([](QPainter &p) {
        p.setPen(pen(ink));
        p.setBrush(QColor(150, 100, 60));
        p.drawRect(QRectF(4.5, 2.5, 10, 15));
        p.setBrush(QColor(60, 40, 30));
        p.drawEllipse(QPointF(12, 10.5), 1, 1);
        p.setPen(pen(red, 2));
        p.drawLine(QPointF(15.5, 10), QPointF(18.5, 10));
        p.drawLine(QPointF(17, 8.5), QPointF(18.5, 10));
        p.drawLine(QPointF(17, 11.5), QPointF(18.5, 10));
    });
}

QIcon reset()
{
    return painted([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRect(QRectF(3, 4, 2.5, 12));
        QPolygonF a {QPointF(11, 4), QPointF(11, 16), QPointF(5.5, 10)};
        QPolygonF b {QPointF(17, 4), QPointF(17, 16), QPointF(11.5, 10)};
        p.drawPolygon(a);
        p.drawPolygon(b);
    });
}

QIcon stop()
{
    return painted([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawRoundedRect(QRectF(4, 4, 12, 12), 1.5, 1.5);
    });
}

QIcon start()
{
    return painted([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        p.drawPolygon(QPolygonF {QPointF(5, 3), QPointF(5, 17), QPointF(17, 10)});
    });
}

QIcon pause()
{
    return painted([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawRect(QRectF(5, 4, 3.5, 12));
        p.drawRect(QRectF(11.5, 4, 3.5, 12));
    });
}

QIcon menuArrow()
{
    return painted(
        [](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawPolygon(QPolygonF({QPointF(0.5, 2.5), QPointF(8.5, 2.5), QPointF(4.5, 7)}));
        },
        QSize(9, 9));
}

namespace {

void camera(QPainter &p, bool recording)
{
    p.setPen(pen(ink));
    p.setBrush(QColor(70, 75, 90));
    p.drawRoundedRect(QRectF(5.5, 5.5, 22, 13), 2, 2);
    p.drawRect(QRectF(10.5, 3.5, 7, 3));
    QPolygonF lens {QPointF(27.5, 9), QPointF(34.5, 5.5), QPointF(34.5, 18.5), QPointF(27.5, 15)};
    p.drawPolygon(lens);
    p.setBrush(QColor(160, 200, 240));
    p.drawEllipse(QPointF(16.5, 12), 4, 4);
    if (recording) {
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(QPointF(2.5 + 1, 5), 2.5, 2.5);
    }
}

} // namespace

QIcon cameraIdle()
{
    return painted([](QPainter &p) { camera(p, false); }, QSize(36, 22));
}

QIcon cameraRecording()
{
    return painted([](QPainter &p) { camera(p, true); }, QSize(36, 22));
}

} // namespace Icons

namespace Icons {

QCursor graphCursor()
{
    // A thin cross with a small magnifying glass in its lower right quarter:
    // the point aimed at, and the enlargement a click gives.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const auto cross = [&p](const QColor &colour, qreal width) {
        p.setPen(QPen(colour, width));
        p.drawLine(QPointF(11, 1), QPointF(11, 21));
        p.drawLine(QPointF(1, 11), QPointF(21, 11));
    };
    cross(Qt::white, 3);
    cross(Qt::black, 1);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QPointF(21, 21), 5, 5);
    p.drawLine(QPointF(25, 25), QPointF(30, 30));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QPointF(21, 21), 5, 5);
    p.drawLine(QPointF(25, 25), QPointF(30, 30));
    p.end();
    return QCursor(pixmap, 11, 11);
}

} // namespace Icons
