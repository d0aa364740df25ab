#include "surfacewidget.h"

#include <QMouseEvent>
#include <QPainter>

SurfaceWidget::SurfaceWidget(QWidget *parent)
    : QWidget(parent)
{
    // The surface covers the whole widget, so Qt need not erase it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_surface.resize(width(), height());
}

DrawingSurface &SurfaceWidget::surface()
{
    if (m_surface.width() != width() || m_surface.height() != height())
        m_surface.resize(width(), height());
    return m_surface;
}

void SurfaceWidget::setSurface(const DrawingSurface &surface)
{
    m_surface = surface;
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

void SurfaceWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.drawImage(dirty.topLeft(), m_surface.image(), dirty);
}

void SurfaceWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
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
