// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

#include <functional>

// A parameter field (Text5(i) on the parameter panel, chrono on the
// chronophotography panel): white, black text, centred, with a key filter.
//
// Every character key is passed through the filter before the field sees it,
// as a character code: the text of the key, Enter or Return as 13, Backspace
// as 8. The filter returns 0 to discard the key, another code to type that
// character instead (a point becomes a comma), or the same code to let the
// key through. Keys without text (arrows, Home, End, Delete) and shortcuts
// held with Ctrl (copy, paste, undo, select all) reach the field untouched.
//
// focusEntered() and focusLeft() report focus moves between the program's
// controls; the window losing or regaining activation and the field's own
// context menu are not moves, so they report nothing.
class ParameterEdit : public QLineEdit
{
    Q_OBJECT

public:
    using KeyFilter = std::function<char16_t(char16_t key)>;

    explicit ParameterEdit(QWidget *parent = nullptr);

    // The filter may run anything (the Enter key validates the field); an
    // empty filter lets every key through.
    void setKeyFilter(KeyFilter filter) { m_keyFilter = std::move(filter); }

signals:
    void focusEntered();
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    KeyFilter m_keyFilter;
};
