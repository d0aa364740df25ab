// SPDX-License-Identifier: GPL-3.0-or-later
#include "surfacewidget.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

SurfaceWidget::SurfaceWidget(QWidget *parent)
    : QWidget(parent)
{
    // The surface covers the whole widget, so Qt need not erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The surface takes the widget's size when it is first used: a widget
    // starts at a default size that its owner changes at once, and filling a
    // picture of that size would only slow the start-up.
}

int SurfaceWidget::screenRatio(const QWidget &widget)
{
    return int(std::ceil(widget.devicePixelRatioF() - 0.01));
}

DrawingSurface &SurfaceWidget::surface()
{
    m_surface.setDevicePixelRatio(screenRatio());
    if (m_surface.width() != width() || m_surface.height() != height())
        m_surface.resize(width(), height());
    return m_surface;
}

void SurfaceWidget::setSurface(const DrawingSurface &surface)
{
    m_surface = surface;
    m_surface.setDevicePixelRatio(screenRatio());
    m_surface.resize(width(), height());
    update();
}

void SurfaceWidget::refresh()
{
    if (m_repaintedByHandler) {
        m_surface.clear();
        emit paintRequested();
    }
    update();
}

QSize SurfaceWidget::sizeHint() const
{
    if (m_surface.width() > 0 && m_surface.height() > 0)
        return QSize(m_surface.width(), m_surface.height());
    return QWidget::sizeHint();
}

bool SurfaceWidget::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ScreenChangeInternal && m_repaintedByHandler && isVisible()
        && screenRatio() != m_surface.devicePixelRatio()) {
        m_surface.setDevicePixelRatio(screenRatio());
        refresh();
    }
    return handled;
}

void SurfaceWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    const QImage &picture = m_surface.displayImage();
    const qreal ratio = picture.devicePixelRatio();
    const QRectF source(dirty.x() * ratio, dirty.y() * ratio, dirty.width() * ratio,
                        dirty.height() * ratio);
    // A picture kept at another density than the screen's (the screen changed
    // and nothing has been drawn since) is scaled smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          !qFuzzyCompare(ratio, devicePixelRatioF()));
    painter.drawImage(QRectF(dirty), picture, source);
}

void SurfaceWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_surface.setDevicePixelRatio(screenRatio());
    m_surface.resize(width(), height());
    if (m_repaintedByHandler && isVisible())
        refresh();
}

void SurfaceWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_repaintedByHandler)
        refresh();
}

void SurfaceWidget::mousePressEvent(QMouseEvent *event)
{
    emit mousePressed(event->button(), event->modifiers(), event->position().toPoint());
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(event->buttons(), event->modifiers(), event->position().toPoint());
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseReleased(event->button(), event->modifiers(), event->position().toPoint());
}
