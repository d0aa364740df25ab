// SPDX-License-Identifier: GPL-3.0-or-later
#include "colourswatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ColourSwatch::ColourSwatch(const QColor &colour, QWidget *parent)
    : QLabel(parent)
{
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
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

void ColourSwatch::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        if (!(event->modifiers() & ~Qt::KeypadModifier)) {
            event->accept();
            emit clicked();
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void ColourSwatch::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void ColourSwatch::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
}

void ColourSwatch::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Black or white dots, whichever stands out on the colour.
    QPainter painter(this);
    painter.setPen(QPen(qGray(m_colour.rgb()) > 110 ? Qt::black : Qt::white, 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}
