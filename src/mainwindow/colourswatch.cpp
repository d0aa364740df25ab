#include "colourswatch.h"

#include <QMouseEvent>

ColourSwatch::ColourSwatch(const QColor &colour, QWidget *parent)
    : QLabel(parent)
{
    setAutoFillBackground(true);
    setColour(colour);
}

void ColourSwatch::setColour(const QColor &colour)
{
    m_colour = colour.toRgb();
    QPalette colours = palette();
    colours.setColor(QPalette::Window, m_colour);
    setPalette(colours);
}

void ColourSwatch::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}
