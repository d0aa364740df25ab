// SPDX-License-Identifier: GPL-3.0-or-later
#include "scalespinner.h"

#include "platform/palette.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

// An arrow held down steps again after this delay, then at this interval (ms).
constexpr int firstRepeatDelay = 400;
constexpr int repeatInterval = 80;

// A raised button face filling box, sunken while
// pressed, with a black arrow head pointing up or down in its middle.
void drawArrowButton(QPainter &painter, const QRect &box, bool up, bool pressed, bool enabled)
{
    painter.fillRect(box, QBColor(7));
    const QColor topLeft = pressed ? QBColor(8) : QBColor(15);
    const QColor bottomRight = pressed ? QBColor(15) : QBColor(8);
    painter.setPen(topLeft);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());

    // A triangle three rows high and at most five pixels wide.
    const int shift = pressed ? 1 : 0;
    const int cx = box.left() + box.width() / 2 + shift;
    const int cy = box.top() + box.height() / 2 + shift;
    painter.setPen(enabled ? QBColor(0) : QBColor(8));
    for (int row = 0; row < 3; ++row) {
        const int y = up ? cy - 1 + row : cy + 1 - row;
        painter.drawLine(cx - row, y, cx + row, y);
    }
}

} // namespace

ScaleSpinner::ScaleSpinner(int value, QWidget *parent)
    : QWidget(parent)
    , m_value(std::clamp(value, minimum, maximum))
    , m_repeat(new QTimer(this))
{
    setFocusPolicy(Qt::StrongFocus);
    connect(m_repeat, &QTimer::timeout, this, &ScaleSpinner::repeat);
}

void ScaleSpinner::setValue(int value)
{
    value = std::clamp(value, minimum, maximum);
    if (value == m_value)
        return;
    m_value = value;
    update();
    QAccessibleValueChangeEvent change(this, m_value);
    QAccessible::updateAccessibility(&change);
    emit valueChanged(m_value);
}

void ScaleSpinner::setScaleText(const QString &text)
{
    if (text == m_scaleText)
        return;
    m_scaleText = text;
    QAccessibleValueChangeEvent change(this, m_value);
    QAccessible::updateAccessibility(&change);
}

void ScaleSpinner::arrowUp()
{
    setValue(m_value - step);
}

void ScaleSpinner::arrowDown()
{
    setValue(m_value + step);
}

QSize ScaleSpinner::sizeHint() const
{
    return QSize(17, 17);
}

ScaleSpinner::Arrow ScaleSpinner::arrowAt(QPoint position) const
{
    if (!rect().contains(position))
        return Arrow::None;
    return position.y() < height() / 2 ? Arrow::Up : Arrow::Down;
}

void ScaleSpinner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect upper(0, 0, width(), half);
    const QRect lower(0, half, width(), height() - half);
    drawArrowButton(painter, upper, true, m_pressed == Arrow::Up, m_value > minimum);
    drawArrowButton(painter, lower, false, m_pressed == Arrow::Down, m_value < maximum);
    if (hasFocus()) {
        painter.setPen(QPen(QBColor(0), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void ScaleSpinner::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    press(arrowAt(event->position().toPoint()));
}

void ScaleSpinner::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_repeat->stop();
    m_pressed = Arrow::None;
    update();
}

void ScaleSpinner::press(Arrow arrow)
{
    m_pressed = arrow;
    update();
    if (arrow == Arrow::None)
        return;
    if (arrow == Arrow::Up)
        arrowUp();
    else
        arrowDown();
    m_repeat->start(firstRepeatDelay);
}

void ScaleSpinner::repeat()
{
    m_repeat->setInterval(repeatInterval);
    if (m_pressed == Arrow::Up)
        arrowUp();
    else if (m_pressed == Arrow::Down)
        arrowDown();
    else
        m_repeat->stop();
}

void ScaleSpinner::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        arrowUp();
        break;
    case Qt::Key_Down:
        arrowDown();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ScaleSpinner::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void ScaleSpinner::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}
