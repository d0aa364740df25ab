// SPDX-License-Identifier: GPL-3.0-or-later
#include "indexline.h"

#include "core/parameterfields.h"
#include "platform/drawingsurface.h"
#include "scene.h"

#include <QEvent>

#include <algorithm>

namespace {

const QColor lineColour(0, 0, 0);

} // namespace

IndexLine::IndexLine(QWidget &picture2, const ParameterFields &fields)
    : QObject(&picture2)
    , m_fields(fields)
{
    m_line = new QWidget(&picture2);
    m_line->setObjectName(QStringLiteral("Line7"));
    m_line->setAccessibleName(QStringLiteral("Index"));
    // The scene under the line keeps receiving the presses and drags.
    m_line->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_line->setAutoFillBackground(true);
    QPalette palette = m_line->palette();
    palette.setColor(QPalette::Window, lineColour);
    m_line->setPalette(palette);
    place();
    m_line->show();
    picture2.installEventFilter(this);
}

int IndexLine::clampY(int y)
{
    return std::clamp(y, int(topY), int(bottomY));
}

QString IndexLine::readoutText() const
{
    return Scene::indexReadoutText(m_fields.value(ParameterFields::Height), m_y);
}

void IndexLine::Picture2_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position)
{
    if (button == Qt::LeftButton)
        moveTo(position.y());
}

void IndexLine::Picture2_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPoint position)
{
    if (buttons & Qt::LeftButton)
        moveTo(position.y());
}

void IndexLine::Check4_Click(bool checked)
{
    m_visible = checked;
    m_line->setVisible(checked);
    emit visibilityChanged(checked);
}

void IndexLine::moveTo(int y)
{
    m_y = clampY(y);
    place();
    const QString text = readoutText();
    if (!text.isEmpty())
        emit readoutChanged(text);
}

void IndexLine::drawOn(DrawingSurface &surface) const
{
    if (m_visible)
        surface.line(0, m_y, surface.width(), m_y, lineColour);
}

bool IndexLine::eventFilter(QObject *watched, QEvent *event)
{
    if (m_line && watched == m_line->parentWidget() && event->type() == QEvent::Resize)
        place();
    return QObject::eventFilter(watched, event);
}

void IndexLine::place()
{
    const QWidget *picture2 = m_line->parentWidget();
    m_line->setGeometry(0, m_y, picture2->width(), 1);
}
