// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QLineEdit;
class QRect;
class QTextEdit;
class QToolButton;
class QWidget;

// The text block of the main window: the exercise bar fich (the path of the
// open exercise text, white on dark red), the "Exercices" button btexo laid
// over its left end, and the rich-text area supertext below, with the flag
// textemodif set while an open exercise's text has unsaved changes.
class TextArea : public QObject
{
    Q_OBJECT

public:
    // Creates the three controls on window: the bar at bar, the text under it
    // at text.
    TextArea(QWidget *window, const QRect &bar, const QRect &text);

    QLineEdit *fich() const { return m_fich; }
    QToolButton *btexo() const { return m_btexo; }
    QTextEdit *supertext() const { return m_supertext; }

    // Set while an open exercise's text has unsaved changes: any edit of the
    // text while fich names a file sets it.
    bool textemodif() const { return m_textemodif; }
    void setTextemodif(bool modified) { m_textemodif = modified; }

signals:
    // btexo was pressed: the exercise menu opens under it.
    void exerciseMenuRequested();

private:
    // The bar shows the end of a long path, and the whole path as its tooltip.
    void fich_Change();

    QLineEdit *m_fich;
    QToolButton *m_btexo;
    QTextEdit *m_supertext;
    bool m_textemodif = false;
};
