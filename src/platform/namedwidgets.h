// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
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

// The "±" field of a measured input: its standard uncertainty, named
// "Incertitude-type : " + what, empty meaning exact, with help (what to type)
// as its tool tip and "What's this?". As wide as "0,003g/cm3".
inline QLineEdit *uncertaintyEdit(const QString &what, const QString &help, QWidget *parent)
{
    QLineEdit *u = edit(QStringLiteral("Incertitude-type : ") + what, parent);
    u->setPlaceholderText(QStringLiteral("exact"));
    u->setToolTip(help);
    u->setWhatsThis(help);
    u->setFixedWidth(u->fontMetrics().horizontalAdvance(QStringLiteral("0,003g/cm3")) + 16);
    return u;
}

// A form's row "label  value ± u": the label leads to the value (its
// buddy), and the "±" field comes right after the value in keyboard order.
inline void addUncertainRow(QFormLayout *form, const QString &label, QWidget *value, QLineEdit *u)
{
    auto *row = new QHBoxLayout;
    row->addWidget(value, 1);
    row->addWidget(new QLabel(QStringLiteral("±"), form->parentWidget()));
    row->addWidget(u);
    auto *text = new QLabel(label, form->parentWidget());
    text->setBuddy(value);
    form->addRow(text, row);
    QWidget::setTabOrder(value, u);
}

} // namespace NamedWidgets
