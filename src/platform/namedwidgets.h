// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

// Controls made with the name a screen reader says and tests look them up
// by: name is both the objectName and the accessibleName. A caption's access
// key (&) stays on the caption; the name is written without it.
namespace NamedWidgets {

inline QComboBox *combo(const QString &name, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setAccessibleName(name);
    return combo;
}

inline QLineEdit *edit(const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(name);
    return edit;
}

// A button of a dialog's row: never the default button, so that Enter in a
// field does not press it.
inline QPushButton *button(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(name);
    button->setAutoDefault(false);
    return button;
}

inline QCheckBox *checkBox(const QString &caption, const QString &name, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAccessibleName(name);
    return box;
}

} // namespace NamedWidgets
