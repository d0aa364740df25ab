// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "optionpanel.h"

class ColourSwatch;
class QCheckBox;
class QLabel;
class ScaleSpinner;

// frame2, the "Vecteurs" panel: the switches of the force and velocity
// vectors, their colour swatches, and the two scale spinners with the scale
// bars they set. A bar of 100 - value pixels stands for 10^expoids N (forces)
// or 10^expvit m/s (velocity).
//
// The panel repaints itself when a spinner moves or an exponent changes; the
// main window connects the spinners, check boxes and swatches to the scene.
class VectorPanel : public OptionPanel
{
    Q_OBJECT

public:
    explicit VectorPanel(QWidget *parent = nullptr);

    // Left end of both bars and the row of each (Line2 forces, Line1 velocity).
    static constexpr int barLeft = 64;
    static constexpr int forceBarY = 128;
    static constexpr int velocityBarY = 272;

    // Decimal exponents of the weight and of the end-of-fall velocity, shown
    // in the scale labels; the panel repaints when one changes while it is
    // visible.
    void setExponents(int expoids, int expvit);
    int expoids() const { return m_expoids; }
    int expvit() const { return m_expvit; }

    // Lengths in pixels of the force bar Line2 and of the velocity bar Line1:
    // 100 - the spinner's value.
    int forceBarLength() const;
    int velocityBarLength() const;

    // Text of the force scale label, "0,01 N" for expoids -2, and of the
    // velocity scale label before its raised "-1", "1 m · s" for expvit 0.
    static QString forceScaleText(int expoids);
    static QString velocityScaleText(int expvit);

    // Draws the panel: background, the two scale bars with their end ticks and
    // labels, and the vector letter with its arrow beside each swatch. Reads
    // the spinners, the swatches' geometry and the exponents.
    void Frame2_Paint();

    QCheckBox *Check12() const { return m_Check12; } // "Afficher les vecteurs forces"
    QCheckBox *Check5() const { return m_Check5; }   // "Afficher le vecteur vitesse"
    // Colours of v (0), P (2), Π (3) and f (4); index 1 (the
    // chronophotography marks) is on the chronophotography panel and null here.
    ColourSwatch *Label4(int index) const { return m_Label4[index]; }
    QLabel *Label2() const { return m_Label2; }           // caption of the force scale
    QLabel *Label11() const { return m_Label11; }         // caption of the velocity scale
    ScaleSpinner *VScroll3() const { return m_VScroll3; } // force scale
    ScaleSpinner *VScroll1() const { return m_VScroll1; } // velocity scale

private:
    QCheckBox *m_Check12 = nullptr;
    QCheckBox *m_Check5 = nullptr;
    QLabel *m_Label2 = nullptr;
    QLabel *m_Label11 = nullptr;
    ScaleSpinner *m_VScroll3 = nullptr;
    ScaleSpinner *m_VScroll1 = nullptr;
    ColourSwatch *m_Label4[5] = {};
    void scaleBar(int y, int length);
    enum class LetterFont { ArialItalic, Symbol };
    // The letter beside swatch index, then the arrow over it: back by shift
    // pixels in x and up by shift pixels.
    void legend(int index, const QString &letter, LetterFont font, double shift);

    int m_expoids = 0;
    int m_expvit = 0;
};
