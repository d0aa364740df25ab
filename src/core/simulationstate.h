// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The shared record of the fall, alive for the whole run. The animation clock
// and the recompute write it; every display reads it.
struct SimulationState
{
    double temps = 0.0;       // current simulated time, s (0 at the release point)
    double vlim = 0.0;        // limit velocity, m/s; negative when the thrust beats the weight
    double tau = 0.0;         // time constant of the approach to vlim, s
    double tfin = 0.0;        // time at which the sphere has fallen the whole height, s
    float ypos = 0.0f;        // distance fallen at temps, m, downwards positive
    float vit = 0.0f;         // velocity at temps, m/s, downwards positive
    float acc = 0.0f;         // acceleration at temps, m/s²
    std::int16_t expoids = 0; // decimal exponent of the weight in N (force scale)
    std::int16_t expvit = 0;  // decimal exponent of the end-of-fall velocity (velocity scale)
    double reynolds = 0.0;    // Reynolds number of the terminal motion (linear-friction velocity)
};
