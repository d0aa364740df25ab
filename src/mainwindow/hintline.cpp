// SPDX-License-Identifier: GPL-3.0-or-later
#include "hintline.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

HintLine::HintLine(QLabel *info, QObject *parent)
    : QObject(parent)
    , m_info(info)
{
    m_info->setText(defaultHint());
}

QString HintLine::defaultHint()
{
    return QStringLiteral("Vous pouvez modifier les paramètres,\n"
                          "ouvrir une configuration ou un exercice");
}

void HintLine::add(QWidget *control, const QString &text)
{
    add(control, [text] { return text; });
}

void HintLine::add(QWidget *control, std::function<QString()> text)
{
    control->setMouseTracking(true);
    control->installEventFilter(this);
    m_hints.insert(control, std::move(text));
    connect(control, &QObject::destroyed, this, [this, control] { m_hints.remove(control); });
}

void HintLine::focusEntered(QWidget *control, const QWidget *window)
{
    for (QWidget *w = control; w && w != window; w = w->parentWidget()) {
        const auto hint = m_hints.constFind(w);
        if (hint != m_hints.constEnd()) {
            show((*hint)());
            return;
        }
        if (w->isWindow())
            return;
    }
}

void HintLine::show(const QString &text)
{
    if (m_info->text() != text)
        m_info->setText(text);
}

QString HintLine::text() const
{
    return m_info->text();
}

bool HintLine::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        auto *widget = static_cast<QWidget *>(watched);
        auto *move = static_cast<QMouseEvent *>(event);
        // A move over a child reaches the parent too when the child ignores
        // it: only the control actually under the pointer counts.
        if (!widget->childAt(move->position().toPoint())) {
            const auto hint = m_hints.constFind(watched);
            if (hint != m_hints.constEnd())
                show((*hint)());
        }
    }
    return QObject::eventFilter(watched, event);
}
