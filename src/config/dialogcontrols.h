// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QRect;
class QWidget;

// The controls the save and open dialogs build alike.
namespace DialogControls {

// A 16-pixel caption just above buddy, as wide as it, whose mnemonic gives
// buddy the focus. buddy must already have its geometry.
QLabel *caption(const QString &text, QWidget *buddy, QWidget *parent);

// A push button at where with its object name and accessible name. It is
// never a default button: Enter belongs to the fields and the lists.
QPushButton *button(const QString &text, const QString &name, const QString &accessible,
                    const QRect &where, QWidget *parent);

} // namespace DialogControls
