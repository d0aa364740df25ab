#pragma once

#include <QLabel>

// A colour swatch (Label4(i)): a label whose background is the colour it
// holds. A click (left button pressed and released over it) asks for a new
// colour; the owner opens the colour picker.
class ColourSwatch : public QLabel
{
    Q_OBJECT

public:
    explicit ColourSwatch(const QColor &colour, QWidget *parent = nullptr);

    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor m_colour;
    bool m_pressed = false;
};
