// SPDX-License-Identifier: GPL-3.0-or-later
#include "frameview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

FrameGeometry FrameGeometry::fit(QSize picture, QSizeF view)
{
    FrameGeometry g;
    if (picture.isEmpty() || view.isEmpty())
        return g;
    const double s = std::min(view.width() / picture.width(), view.height() / picture.height());
    const QSizeF shown(picture.width() * s, picture.height() * s);
    g.target = QRectF(
        QPointF((view.width() - shown.width()) / 2.0, (view.height() - shown.height()) / 2.0),
        shown);
    return g;
}

double FrameGeometry::scale(QSize picture) const
{
    return picture.width() > 0 ? target.width() / picture.width() : 0.0;
}

QPointF FrameGeometry::toPicture(QPointF viewPoint, QSize picture) const
{
    const double s = scale(picture);
    if (s <= 0.0)
        return {};
    return (viewPoint - target.topLeft()) / s;
}

QPointF FrameGeometry::toView(QPointF picturePoint, QSize picture) const
{
    return target.topLeft() + picturePoint * scale(picture);
}

FrameView::FrameView(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QStringLiteral("Image de la vidéo"));
    setAccessibleDescription(QStringLiteral(
        "Cliquer sur l'image, ou déplacer le curseur avec les flèches (Maj : plus vite) "
        "et appuyer sur Entrée."));
    setToolTip(accessibleDescription());
}

FrameGeometry FrameView::geometryNow() const
{
    return FrameGeometry::fit(m_picture.size(), QSizeF(size()));
}

void FrameView::setPicture(const QImage &picture)
{
    const bool resized = picture.size() != m_picture.size();
    m_picture = picture;
    if (resized || m_cursor.x() < 0.0)
        m_cursor = QPointF(picture.width() / 2.0, picture.height() / 2.0);
    clampCursor();
    update();
}

void FrameView::setOverlay(const FrameOverlay &overlay)
{
    m_overlay = overlay;
    update();
}

void FrameView::setCursor(QPointF picturePoint)
{
    m_cursor = picturePoint;
    clampCursor();
    update();
}

void FrameView::clampCursor()
{
    if (m_picture.isNull())
        return;
    m_cursor.setX(std::clamp(m_cursor.x(), 0.0, double(m_picture.width())));
    m_cursor.setY(std::clamp(m_cursor.y(), 0.0, double(m_picture.height())));
}

namespace {

void drawCross(QPainter &p, QPointF at, double half)
{
    p.drawLine(at - QPointF(half, 0.0), at + QPointF(half, 0.0));
    p.drawLine(at - QPointF(0.0, half), at + QPointF(0.0, half));
}

// Text with a dark halo, readable over any picture.
void drawLabel(QPainter &p, QPointF at, const QString &text, const QColor &colour)
{
    QPainterPath path;
    path.addText(at, p.font(), text);
    p.save();
    p.setPen(QPen(QColor(0, 0, 0, 200), 3.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.fillPath(path, colour);
    p.restore();
}

} // namespace

void FrameView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(40, 40, 40));
    if (m_picture.isNull()) {
        p.setPen(Qt::white);
        p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                   QStringLiteral("Aucune vidéo : « Ouvrir une vidéo… »"));
        return;
    }
    const FrameGeometry g = geometryNow();
    const QSize ps = m_picture.size();
    p.setRenderHint(QPainter::SmoothPixmapTransform, g.scale(ps) < 1.0);
    p.drawImage(g.target, m_picture);
    p.setRenderHint(QPainter::Antialiasing);
    const auto v = [&](QPointF q) { return g.toView(q, ps); };

    // The track: a dot per tracked centre, then the centre in this frame.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 200, 80));
    for (const QPointF &q : m_overlay.path)
        p.drawEllipse(v(q), 2.0, 2.0);
    if (m_overlay.hasCentre) {
        p.setPen(QPen(QColor(255, 40, 40), 2.0));
        drawCross(p, v(m_overlay.centre), 7.0);
    }

    // The scale: its two ends, the segment between them and its length.
    const QColor scaleColour(255, 180, 0);
    p.setPen(QPen(scaleColour, 2.0));
    p.setBrush(Qt::NoBrush);
    if (m_overlay.hasScaleStart)
        p.drawEllipse(v(m_overlay.scaleStart), 4.0, 4.0);
    if (m_overlay.hasScaleEnd)
        p.drawEllipse(v(m_overlay.scaleEnd), 4.0, 4.0);
    if (m_overlay.hasScaleStart && m_overlay.hasScaleEnd) {
        p.drawLine(v(m_overlay.scaleStart), v(m_overlay.scaleEnd));
        if (!m_overlay.scaleText.isEmpty())
            drawLabel(p, (v(m_overlay.scaleStart) + v(m_overlay.scaleEnd)) / 2.0 + QPointF(8, 4),
                      m_overlay.scaleText, scaleColour);
    }

    // The origin and the direction of the fall.
    if (m_overlay.hasOrigin) {
        const QColor originColour(0, 220, 255);
        const QPointF o = v(m_overlay.origin);
        p.setPen(QPen(originColour, 2.0));
        drawCross(p, o, 9.0);
        const QPointF tip = o + m_overlay.axis * 36.0;
        p.drawLine(o, tip);
        const QPointF back = -m_overlay.axis * 7.0;
        const QPointF side(-m_overlay.axis.y() * 4.0, m_overlay.axis.x() * 4.0);
        p.drawLine(tip, tip + back + side);
        p.drawLine(tip, tip + back - side);
        drawLabel(p, o + QPointF(8, -6), QStringLiteral("0"), originColour);
        drawLabel(p, tip + QPointF(6, 4), QStringLiteral("y"), originColour);
    }

    // The keyboard's cursor, while the view has the focus.
    if (hasFocus()) {
        p.setPen(QPen(Qt::white, 1.0, Qt::DashLine));
        drawCross(p, v(m_cursor), 12.0);
        p.setPen(QPen(palette().highlight().color(), 2.0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void FrameView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_picture.isNull())
        return;
    const FrameGeometry g = geometryNow();
    if (!g.target.contains(event->position()))
        return;
    setCursor(g.toPicture(event->position(), m_picture.size()));
    emit pictureClicked(m_cursor);
}

void FrameView::keyPressEvent(QKeyEvent *event)
{
    if (m_picture.isNull()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const double step = (event->modifiers() & Qt::ShiftModifier) ? 10.0 : 1.0;
    QPointF move;
    switch (event->key()) {
    case Qt::Key_Left:
        move = {-step, 0.0};
        break;
    case Qt::Key_Right:
        move = {step, 0.0};
        break;
    case Qt::Key_Up:
        move = {0.0, -step};
        break;
    case Qt::Key_Down:
        move = {0.0, step};
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit pictureClicked(m_cursor);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    setCursor(m_cursor + move);
    setAccessibleDescription(QStringLiteral("Curseur : x = %1 px, y = %2 px")
                                 .arg(std::lround(m_cursor.x()))
                                 .arg(std::lround(m_cursor.y())));
}
