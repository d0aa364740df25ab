// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A colour swatch (Label4(i)): a label whose background is the colour it
// holds. A click (left button pressed and released over it) asks for a new
// colour; the owner opens the colour picker. From the keyboard the swatch
// is a stop of the Tab chain (a click does not take the focus), and Space or
// Enter asks for a colour as a click does.
class ColourSwatch : public QLabel
{
    Q_OBJECT

public:
    explicit ColourSwatch(const QColor &colour, QWidget *parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);
    // Asks for a new colour, as a click does.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // The colour, and a dotted frame inside it while the swatch has the focus.
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour;
    bool m_pressed = false;
};
