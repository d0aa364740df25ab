// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogcontrols.h"

#include <QLabel>
#include <QPushButton>

QLabel *DialogControls::caption(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    const QRect below = buddy->geometry();
    label->setGeometry(below.left(), below.top() - 16, below.width(), 16);
    return label;
}

QPushButton *DialogControls::button(const QString &text, const QString &name,
                                    const QString &accessible, const QRect &where, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(accessible);
    b->setGeometry(where);
    b->setAutoDefault(false);
    return b;
}
