// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

class QTimer;

// The small up/down spinner of a vector scale (VScroll1, VScroll3): a value
// from 0 to 90 moved by 10 at each arrow click, an arrow held down repeating.
// The value is what the bar is shortened by, so the UP arrow LOWERS it and
// lengthens the bar; the down arrow raises it. The Up and Down keys act as
// the arrows.
class ScaleSpinner : public QWidget
{
    Q_OBJECT

public:
    static constexpr int minimum = 0;
    static constexpr int maximum = 90;
    static constexpr int step = 10;

    explicit ScaleSpinner(int value, QWidget *parent = nullptr);

    int value() const { return m_value; }
    // Kept in 0..90; valueChanged() follows when the value changes.
    void setValue(int value);
    // One click on the up arrow: the value goes down by one step.
    void arrowUp();
    // One click on the down arrow: the value goes up by one step.
    void arrowDown();

    QSize sizeHint() const override;

    // What the bar stands for ("1 N"), for assistive tools; its owner keeps
    // it up to date.
    QString scaleText() const { return m_scaleText; }
    void setScaleText(const QString &text);

signals:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    enum class Arrow { None, Up, Down };
    Arrow arrowAt(QPoint position) const;
    void press(Arrow arrow);
    void repeat();

    int m_value;
    Arrow m_pressed = Arrow::None;
    QTimer *m_repeat;
    QString m_scaleText;
};
