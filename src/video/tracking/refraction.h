// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

// The liquid in a round tube acts as a lens between the ball and the camera.
// A scale read in another plane than the ball's therefore gives distances
// that are off by a factor this module computes.
//
// Geometry: a vertical tube whose liquid has inner radius R, the ball falling
// on its axis; a pinhole camera at distance L from the axis, its optical axis
// horizontal and meeting the tube's axis. Vertical distances are seen through
// the vertical plane that holds the camera and the tube's axis; in that plane
// the front face of the liquid is a vertical line, so a ray leaving the camera
// at angle θ above or below the horizontal is refracted once (Snell,
// sin θ = n sin φ) and reaches the plane of the fall at height
//     h(θ) = (L − R)·tan θ + R·tan φ.
// The glass wall is taken as thin: its parallel faces only shift rays by a
// fraction of its thickness.
//
// A scale sees the same ray at the height its own plane gives:
//   - immersed in the plane of the fall: h(θ) itself, so no correction;
//   - marks on the front face of the tube: (L − R)·tan θ, distances too small;
//   - a ruler in air beside or behind the tube, at the distance of its axis:
//     L·tan θ, distances too large.
enum class ScalePlacement {
    Immersed,   // a ruler in the liquid, in the plane of the fall
    FrontWall,  // marks on the tube's wall, on the face turned to the camera
    AirAtCentre // a ruler in air beside or behind the tube, level with its axis
};

struct TubeOptics
{
    double refractiveIndex = 1.47; // of the liquid; glycerol
    double innerRadius = 0.0;      // R, m
    double cameraDistance = 0.0;   // L, from the lens to the tube's axis, m

    // Why these values cannot be used, in French; empty when they can.
    QString problem() const;
};

namespace Refraction {

// The factor by which distances read with a scale at placement must be
// multiplied to give distances in the plane of the fall: the true height h
// over the height the scale reads for the same ray, traced exactly. halfSpan
// is the height in m, in the plane of the fall, above and below the camera's
// axis that the measured fall spans; 0 gives the limit of rays close to the
// axis. NaN when the optics are not valid.
double scaleFactor(ScalePlacement placement, const TubeOptics &optics, double halfSpan = 0.0);

// scaleFactor for placement and halfSpan as a function of the liquid's index
// n, the tube's inner radius R (m) and the camera's distance L (m) to its
// axis, for the uncertainty of η: how the factor moves with each of them.
// NaN where the optics are not valid; safe to call from several threads.
std::function<double(double index, double radius, double cameraDistance)>
factorFunction(ScalePlacement placement, double halfSpan);

// The same factor in the small-angle approximation:
// ((L − R) + R/n)/(L − R) for the front wall, ((L − R) + R/n)/L in air.
double paraxialFactor(ScalePlacement placement, const TubeOptics &optics);

// The angle θ (rad) of the ray from the camera that meets the plane of the
// fall at height h (m); the inverse of h(θ) above.
double rayAngle(const TubeOptics &optics, double height);

} // namespace Refraction
