// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "optionpanel.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

// Picture1, the "Affichage" panel: the scene's display options under the
// painted header "Animation", and the choice and look of the small graph's
// quantity under "Graphe". The main window reads the controls and connects
// their clicks.
class DisplayPanel : public OptionPanel
{
    Q_OBJECT

public:
    explicit DisplayPanel(QWidget *parent = nullptr);

    // Draws the panel: background and the two bold headers, 27 pixels above
    // the first control of each group.
    void Picture1_Paint();

    QCheckBox *Check1() const { return m_Check1; } // "Afficher l'axe"
    QCheckBox *Check6() const { return m_Check6; } // "Afficher la règle"
    QCheckBox *Check4() const { return m_Check4; } // "Afficher l'index"
    QCheckBox *speed() const { return m_speed; }   // "Animation au ralenti"
    // Quantity of the graph: 0 position, 1 velocity, 2 acceleration.
    QRadioButton *Option1(int index) const { return m_Option1[index]; }
    QCheckBox *Check3() const { return m_Check3; } // "Tracer en gras"
    // "Agrandir": opens the graph window; disabled while the sphere falls.
    QPushButton *Command5() const { return m_Command5; }

private:
    QCheckBox *m_Check1 = nullptr;
    QCheckBox *m_Check6 = nullptr;
    QCheckBox *m_Check4 = nullptr;
    QCheckBox *m_speed = nullptr;
    QCheckBox *m_Check3 = nullptr;
    QPushButton *m_Command5 = nullptr;
    QRadioButton *m_Option1[3] = {};
};
