// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "optionpanel.h"

class ParameterEdit;

// Picture3, the "Paramètres" panel: the six parameter fields with their
// painted headings, formulas, ranges and units. The main window wires the
// fields to the validation.
class ParameterPanel : public OptionPanel
{
    Q_OBJECT

public:
    explicit ParameterPanel(QWidget *parent = nullptr);

    // Left edge, width and height shared by the six fields, and the top of
    // field index (0 radius, 1 mass, 2 height, 3 viscosity, 4 fluid density,
    // 5 sphere density), in panel pixels.
    static constexpr int fieldLeft = 128;
    static constexpr int fieldWidth = 81;
    static constexpr int fieldHeight = 21;
    static int fieldTop(int index);

    // Draws the panel: background, the sphere and fluid icons, the headings,
    // the formulas ending at each field's left edge and the units after it.
    // Reads only the fields' geometry; runs whenever the panel is repainted.
    void Picture3_Paint();

    ParameterEdit *Text5(int index) const { return m_Text5[index]; }

private:
    ParameterEdit *m_Text5[6] = {};
    void heading(int index, const QString &text);
    // Puts the current point where the formula of field index starts so that
    // measure, in the current font, ends at the field's left edge.
    void formulaStart(int index, const QString &measure);
    // Greek letter in the Symbol font, 2 pixels above the line, then back to
    // Arial 8 on the line.
    void greekLetter(const QString &letter, double lineY);
    // Text raised 4 pixels above the line, the current point back on the line.
    void raised(const QString &text, double lineY);
    // Starts the unit after field index, on the formula's line.
    void unitStart(int index);
};
