// SPDX-License-Identifier: GPL-3.0-or-later
#include "parameteredit.h"

#include <QKeyEvent>

namespace {

constexpr char16_t enterCode = 13;
constexpr char16_t backspaceCode = 8;

// The character code a key event types, or 0 for a key that types nothing.
char16_t characterCode(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return enterCode;
    case Qt::Key_Backspace:
        return backspaceCode;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1 || !text.at(0).isPrint())
        return 0;
    return text.at(0).unicode();
}

// The key event that types code instead of the original key.
QKeyEvent replacement(const QKeyEvent *event, char16_t code)
{
    int key = 0;
    if (code == enterCode)
        key = Qt::Key_Return;
    else if (code == backspaceCode)
        key = Qt::Key_Backspace;
    else
        key = QChar(code).toUpper().unicode();
    const QString text = code == backspaceCode ? QString() : QString(QChar(code));
    return QKeyEvent(QEvent::KeyPress, key, event->modifiers(), text, event->isAutoRepeat());
}

bool isFocusMove(const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason
        && event->reason() != Qt::PopupFocusReason;
}

} // namespace

ParameterEdit::ParameterEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignCenter);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
    // Typed characters must arrive as key events so that the filter sees them.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void ParameterEdit::keyPressEvent(QKeyEvent *event)
{
    const bool shortcut = event->modifiers().testFlag(Qt::ControlModifier)
        && !event->modifiers().testFlag(Qt::AltModifier);
    const char16_t code = shortcut ? 0 : characterCode(event);
    if (code == 0 || !m_keyFilter) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char16_t filtered = m_keyFilter(code);
    if (filtered == 0) {
        event->accept();
        return;
    }
    if (filtered == code) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent typed = replacement(event, filtered);
    QLineEdit::keyPressEvent(&typed);
    event->setAccepted(typed.isAccepted());
}

void ParameterEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (isFocusMove(event))
        emit focusEntered();
}

void ParameterEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (isFocusMove(event))
        emit focusLeft();
}
