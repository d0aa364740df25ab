#pragma once

#include <QColor>

class ParameterFields;
struct SimulationState;

// What a refresh of the scene reads from the main window, each time it runs.
// The main window implements it over its controls; tests over plain values.
class SceneInputs
{
public:
    virtual ~SceneInputs() = default;

    // ypos is the distance fallen, m.
    virtual const SimulationState &state() const = 0;
    // Radius (field 0, cm) and fall height (field 2, m), read as texts.
    virtual const ParameterFields &fields() const = 0;
    // marque: a chronophotography mark is due during this tick.
    virtual bool markDue() const = 0;
    // Check1 "Afficher l'axe".
    virtual bool showAxis() const = 0;
    // Check6 "Afficher la règle".
    virtual bool showRuler() const = 0;
    // Check2: a mark is a cross at the centre of inertia rather than the whole sphere.
    virtual bool crossMarks() const = 0;
    // Check9: the vectors shown when a mark is taken are frozen with it.
    virtual bool keepVectorsOnMarks() const = 0;
    // Label4(1): colour of the crosses.
    virtual QColor markColour() const = 0;
    // Vertical position of the index line Line7 in scene pixels (25 at the release point).
    virtual int indexLineY() const = 0;
};
