#pragma once

#include <QColor>

class ParameterFields;
struct SimulationState;

// What the drawing of the vectors reads from the main window, each time it
// runs. The main window implements it over the "Vecteurs" panel; tests over
// plain values.
class VectorInputs
{
public:
    // Indices of the colour swatches Label4 that colour the vectors (index 1
    // colours the chronophotography crosses and is not read here).
    enum Swatch {
        Velocity = 0,
        Weight = 2,
        Thrust = 3,
        Friction = 4,
    };

    virtual ~VectorInputs() = default;

    // temps, vit, reynolds and the scale exponents expoids and expvit.
    virtual const SimulationState &state() const = 0;
    // Radius (0, cm), mass (1, g), viscosity (3) and fluid density (4), read as texts.
    virtual const ParameterFields &fields() const = 0;
    // Check12 "Afficher les vecteurs forces".
    virtual bool showForces() const = 0;
    // Check5 "Afficher le vecteur vitesse".
    virtual bool showVelocity() const = 0;
    // VScroll3, 0..90: the force bar of 100 - value pixels stands for 10^expoids N.
    virtual int forceScale() const = 0;
    // VScroll1, 0..90: the velocity bar of 100 - value pixels stands for 10^expvit m/s.
    virtual int velocityScale() const = 0;
    // Background colour of the swatch Label4(swatch).
    virtual QColor colour(Swatch swatch) const = 0;
};
