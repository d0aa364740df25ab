// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "optionpanel.h"

class ColourSwatch;
class ParameterEdit;
class QCheckBox;
class QLabel;
class QToolButton;

// Picture6, the "Chronophotographie" panel: the interval between two marks,
// the look of the marks, their colour swatch Label4(1) and the camera button
// with its caption. The main window wires the interval to the validation,
// gives the camera its pictures and pointer, and connects the camera and its
// caption to the recording.
class ChronoPanel : public OptionPanel
{
    Q_OBJECT

public:
    explicit ChronoPanel(QWidget *parent = nullptr);

    // Draws the panel: background, the title of the interval, its formula
    // with the Greek tau ending at the field's left edge, and the unit " ms"
    // after it. Reads the geometry of chrono and Check9.
    void Picture6_Paint();

    // Gives the camera its tooltip. A bubble of the old text already on
    // screen follows the change: it shows the new text while the pointer
    // still rests on the camera, and goes away otherwise.
    void setCameraToolTip(const QString &text);

    ParameterEdit *chrono() const { return m_chrono; }     // interval between two marks, ms
    QCheckBox *Check9() const { return m_Check9; }         // keep the vectors on the marks
    QCheckBox *Check2() const { return m_Check2; }         // mark only the centre of inertia
    ColourSwatch *Label4() const { return m_Label4; }      // Label4(1), colour of the crosses
    QToolButton *command12() const { return m_command12; } // the camera
    QLabel *Label5() const
    {
        return m_Label5;
    } // the camera's caption; a click on it is a click on the camera

signals:
    // Label5 was clicked (left button pressed and released over it).
    void label5Clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ParameterEdit *m_chrono = nullptr;
    QCheckBox *m_Check9 = nullptr;
    QCheckBox *m_Check2 = nullptr;
    ColourSwatch *m_Label4 = nullptr;
    QToolButton *m_command12 = nullptr;
    QLabel *m_Label5 = nullptr;
    bool m_label5Pressed = false;
};
