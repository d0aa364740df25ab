// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <limits>

namespace MeasureCommand {

// The inputs whose "±" was written "a/√3": the half-width a of a
// rectangular law (a resolution), drawn uniform by Monte-Carlo.
struct UniformInputs
{
    bool radius = false;
    bool mass = false; // or the sphere's density
    bool fluidDensity = false;
    bool tubeDiameter = false;
    bool scaleDistance = false;
    bool captureRate = false;
    bool index = false;
    bool tubeRadius = false;
    bool cameraDistance = false;
};

// What lorva-mesures was told about the uncertainties: the standard
// uncertainty of each input typed as "value±u" (SI units, 0 when none was
// given), the Monte-Carlo draws and the glycerine reference asked for.
struct UncertaintyRequest
{
    double radius = 0.0;         // m
    double mass = 0.0;           // kg
    double sphereDensity = 0.0;  // kg/m³
    double fluidDensity = 0.0;   // kg/m³
    double tubeDiameter = 0.0;   // m
    double scaleDistance = 0.0;  // m, the length of --etalon
    double captureRate = 0.0;    // images/s, of a typed --cadence
    double index = 0.0;          // of --indice
    double tubeRadius = 0.0;     // m, of --rayon-tube
    double cameraDistance = 0.0; // m, of --distance-camera
    UniformInputs uniform;

    int monteCarloDraws = 0; // 0: no Monte-Carlo
    bool glycerine = false;
    double celsius = std::numeric_limits<double>::quiet_NaN();
    double waterFraction = 0.0; // from 0 to 1
};

} // namespace MeasureCommand
