// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <array>

// Everything the user sets on the "Vecteurs", "Affichage" and
// "Chronophotographie" panels besides the fields: the nine check boxes, the
// two vector scales, the quantity of the small graph and the five swatch
// colours. The tab strip gives and takes it as a whole; the scene, the
// vectors, the graphs and the configuration files read it. A configuration
// file stores exactly these values (records 7 to 24).
struct DisplayOptions
{
    // Quantity drawn by the graphs (Option1).
    enum Quantity { Position = 0, Velocity = 1, Acceleration = 2 };
    // Index of each swatch Label4: the colour of the velocity vector, of the
    // chronophotography crosses, and of the three forces.
    enum Swatch {
        VelocityColour = 0,
        MarkColour = 1,
        WeightColour = 2,
        ThrustColour = 3,
        FrictionColour = 4
    };
    static constexpr int swatchCount = 5;
    // Range of the two scale spinners VScroll1 and VScroll3; a bar of
    // 100 - value pixels stands for one power of ten.
    static constexpr int scaleMinimum = 0;
    static constexpr int scaleMaximum = 90;

    bool showAxis = true;           // Check1 "Afficher l'axe"
    bool crossMarks = false;        // Check2: marks at the centre of inertia only
    bool boldGraph = false;         // Check3 "Tracer en gras"
    bool showIndex = true;          // Check4 "Afficher l'index"
    bool showVelocity = false;      // Check5 "Afficher le vecteur vitesse"
    bool showRuler = true;          // Check6 "Afficher la règle"
    bool keepVectorsOnMarks = true; // Check9: vectors frozen with the marks
    bool showForces = false;        // Check12 "Afficher les vecteurs forces"
    bool slowMotion = false;        // speed "Animation au ralenti"
    int velocityScale = 30;         // VScroll1, 0..90
    int forceScale = 70;            // VScroll3, 0..90
    int graphQuantity = Position;   // Option1, 0..2
    // Colours as stored in configuration files: red in the low byte, green in
    // the second, blue in the third; a negative value names a system colour.
    std::array<qint32, swatchCount> colours {0x0080ff, 0xff00ff, 0x00c000, 0x0000c0, 0xc00000};

    bool operator==(const DisplayOptions &) const = default;
};
